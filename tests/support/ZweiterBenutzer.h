#pragma once
// A process of a second user for tests of what several users of one machine share (lock files).
//
// Only root can start a process as another user: the test then starts it as "nobody" (uid and
// gid 65534). Run as a normal user, such a test is skipped (GTEST_SKIP with the reason); run the
// suite as root to include it. The program started must be reachable for that user (a build
// folder readable by all).

#include <QProcess>
#include <QString>

#include <grp.h>
#include <unistd.h>

namespace zweiterBenutzer {

inline constexpr uid_t kUid = 65534;
inline constexpr gid_t kGid = 65534;

// "" when a second user's process can be started here; otherwise why not.
inline QString hindernis()
{
    if (::geteuid() != 0)
        return QStringLiteral("only root can start a process as a second user (nobody)");
    return {};
}

// Makes the process start as the second user.
inline void einrichten(QProcess& prozess)
{
    prozess.setChildProcessModifier([] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kGid) != 0 || ::setuid(kUid) != 0)
            ::_exit(127);
    });
}

} // namespace zweiterBenutzer

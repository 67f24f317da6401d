#pragma once
// A test step with the file rights of an ordinary user, also when the tests run as root: root's
// file access passes over the permission bits, so a test of a refused access takes the file
// system ids of the user "nobody" for its step (setfsuid: this thread only, and only for file
// access; back to root when the step ends). Run as another user, nothing changes.

#include <sys/fsuid.h>
#include <sys/types.h>
#include <unistd.h>

class OhneRootRechte
{
public:
    OhneRootRechte()
    {
        if (::geteuid() != 0)
            return;
        m_root = true;
        ::setfsgid(kNiemand);
        ::setfsuid(kNiemand);
    }
    ~OhneRootRechte()
    {
        if (!m_root)
            return;
        ::setfsuid(0);
        ::setfsgid(0);
    }
    OhneRootRechte(const OhneRootRechte&) = delete;
    OhneRootRechte& operator=(const OhneRootRechte&) = delete;

    // False when root could not give up its file rights (the step would prove nothing).
    bool gueltig() const { return !m_root || ::setfsuid(static_cast<uid_t>(-1)) == kNiemand; }

private:
    static constexpr uid_t kNiemand = 65534;
    bool m_root = false;
};

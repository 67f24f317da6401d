#include "SimPty.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct Geschwindigkeit
{
    speed_t code;
    int baud;
};

constexpr std::array<Geschwindigkeit, 17> Geschwindigkeiten{{{B50, 50},
                                                             {B75, 75},
                                                             {B110, 110},
                                                             {B134, 134},
                                                             {B150, 150},
                                                             {B200, 200},
                                                             {B300, 300},
                                                             {B600, 600},
                                                             {B1200, 1200},
                                                             {B1800, 1800},
                                                             {B2400, 2400},
                                                             {B4800, 4800},
                                                             {B9600, 9600},
                                                             {B19200, 19200},
                                                             {B38400, 38400},
                                                             {B57600, 57600},
                                                             {B115200, 115200}}};

// Whether any descriptor but our own slave descriptor (eigenesFd in this process) refers to the
// terminal with device number geraet. The open and close events of the watch only say that
// something happened: identical events that follow each other unread are merged into one, so
// counting them goes wrong as soon as two programs open the terminal one after the other.
bool andereHaltenOffen(dev_t geraet, int eigenesFd)
{
    const pid_t selbst = ::getpid();
    DIR* prozesse = ::opendir("/proc");
    if (!prozesse)
        return true; // cannot tell: leave the flag as it is
    bool gefunden = false;
    while (const dirent* p = ::readdir(prozesse)) {
        char* ende = nullptr;
        const long pid = std::strtol(p->d_name, &ende, 10);
        if (pid <= 0 || *ende != '\0')
            continue;
        const std::string ordner = std::string("/proc/") + p->d_name + "/fd";
        DIR* fds = ::opendir(ordner.c_str());
        if (!fds)
            continue; // gone, or another user's process
        while (const dirent* f = ::readdir(fds)) {
            const long fd = std::strtol(f->d_name, &ende, 10);
            if (f->d_name[0] == '.' || *ende != '\0')
                continue;
            if (pid == selbst && fd == eigenesFd)
                continue;
            struct stat info
            {
            };
            if (::stat((ordner + "/" + f->d_name).c_str(), &info) == 0 && S_ISCHR(info.st_mode) &&
                info.st_rdev == geraet) {
                gefunden = true;
                break;
            }
        }
        ::closedir(fds);
        if (gefunden)
            break;
    }
    ::closedir(prozesse);
    return gefunden;
}

QString systemFehler(const char* was)
{
    return QString("%1: %2").arg(was, QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

SimPty::~SimPty()
{
    schliessen();
}

bool SimPty::oeffnen(QString* fehler)
{
    schliessen();
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        if (fehler)
            *fehler = systemFehler("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        if (fehler)
            *fehler = systemFehler("grantpt/unlockpt/ptsname");
        schliessen();
        return false;
    }
    m_geraet = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        if (fehler)
            *fehler = systemFehler(name);
        schliessen();
        return false;
    }
    // Raw line until the program sets its own: no echo, no line editing, no CR/LF mapping.
    termios t{};
    tcgetattr(m_slave, &t);
    cfmakeraw(&t);
    cfsetspeed(&t, B2400);
    tcsetattr(m_slave, TCSANOW, &t);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // Without the watch the terminal works as before; only the flag then stays.
    m_beobachter = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_beobachter >= 0 && inotify_add_watch(m_beobachter, name, IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_beobachter);
        m_beobachter = -1;
    }
    return true;
}

void SimPty::nebenbeiLesen()
{
    alignas(inotify_event) char puffer[4096];
    bool geschlossen = false;
    for (;;) {
        const ssize_t n = ::read(m_beobachter, puffer, sizeof puffer);
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n;) {
            const auto* ereignis = reinterpret_cast<const inotify_event*>(puffer + i);
            if (ereignis->mask & IN_CLOSE)
                geschlossen = true;
            i += static_cast<ssize_t>(sizeof(inotify_event) + ereignis->len);
        }
    }
    // The last program let go of the terminal: as on the hardware, its exclusive use ends.
    if (!geschlossen || m_slave < 0)
        return;
    struct stat info
    {
    };
    if (::fstat(m_slave, &info) == 0 && !andereHaltenOffen(info.st_rdev, m_slave))
        ioctl(m_slave, TIOCNXCL);
}

void SimPty::schliessen()
{
    if (m_beobachter >= 0)
        ::close(m_beobachter);
    m_beobachter = -1;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
    m_geraet.clear();
}

int SimPty::baud() const
{
    termios t{};
    if (m_slave < 0 || tcgetattr(m_slave, &t) != 0)
        return 0;
    const speed_t code = cfgetospeed(&t);
    for (const Geschwindigkeit& g : Geschwindigkeiten)
        if (g.code == code)
            return g.baud;
    return 0;
}

int SimPty::schreiben(const char* bytes, int anzahl)
{
    const ssize_t n = ::write(m_master, bytes, static_cast<size_t>(anzahl));
    if (n < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
    return static_cast<int>(n);
}

int SimPty::lesen(char* bytes, int anzahl)
{
    const ssize_t n = ::read(m_master, bytes, static_cast<size_t>(anzahl));
    if (n < 0)
        return 0;
    return static_cast<int>(n);
}

#include "PtyBus.h"

#include <QElapsedTimer>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

PtyBus::PtyBus()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0)
        return;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        ::close(master);
        return;
    }
    m_master = master;
    m_geraet = QString::fromLocal8Bit(::ptsname(master));
}

PtyBus::~PtyBus()
{
    schliessen();
}

void PtyBus::schreiben(const QByteArray& bytes) const
{
    qsizetype geschrieben = 0;
    QElapsedTimer uhr;
    uhr.start();
    while (geschrieben < bytes.size() && uhr.elapsed() < 1000) {
        const ssize_t n = ::write(m_master, bytes.constData() + geschrieben,
                                  static_cast<size_t>(bytes.size() - geschrieben));
        if (n > 0)
            geschrieben += n;
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        else
            QThread::msleep(1);
    }
}

void PtyBus::plappern(const std::atomic<bool>& weiter) const
{
    const QByteArray block(4096, '\x55');
    while (weiter) {
        if (::write(m_master, block.constData(), static_cast<size_t>(block.size())) < 0 &&
            errno != EAGAIN && errno != EINTR)
            return;
        std::this_thread::yield();
    }
}

QByteArray PtyBus::lesen(qsizetype n, std::chrono::milliseconds frist) const
{
    QByteArray ergebnis;
    QElapsedTimer uhr;
    uhr.start();
    while (ergebnis.size() < n) {
        const qint64 rest = frist.count() - uhr.elapsed();
        if (rest <= 0)
            break;
        pollfd abfrage{m_master, POLLIN, 0};
        if (::poll(&abfrage, 1, static_cast<int>(rest)) <= 0)
            continue;
        char puffer[512];
        const ssize_t gelesen = ::read(
            m_master, puffer, static_cast<size_t>(std::min<qsizetype>(n - ergebnis.size(), 512)));
        if (gelesen > 0)
            ergebnis.append(puffer, gelesen);
        else if (gelesen < 0 && errno != EAGAIN && errno != EINTR)
            break;
        else if (gelesen == 0)
            break;
    }
    return ergebnis;
}

QByteArray PtyBus::lesenBisStille(std::chrono::milliseconds stille,
                                  std::chrono::milliseconds frist) const
{
    QByteArray ergebnis;
    QElapsedTimer uhr;
    uhr.start();
    while (uhr.elapsed() < frist.count()) {
        pollfd abfrage{m_master, POLLIN, 0};
        if (::poll(&abfrage, 1, static_cast<int>(stille.count())) <= 0)
            break;
        char puffer[512];
        const ssize_t gelesen = ::read(m_master, puffer, sizeof puffer);
        if (gelesen > 0)
            ergebnis.append(puffer, gelesen);
        else if (gelesen == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return ergebnis;
}

int PtyBus::baud() const
{
    termios t{};
    if (::tcgetattr(m_master, &t) != 0)
        return 0;
    switch (::cfgetospeed(&t)) {
    case B300:
        return 300;
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B115200:
        return 115200;
    case B921600:
        return 921600;
    default:
        return 0;
    }
}

void PtyBus::schliessen()
{
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

QByteArray LangerRahmen(const QByteArray& daten)
{
    QByteArray rahmen;
    const char l = static_cast<char>(daten.size());
    rahmen.append('\x68').append(l).append(l).append('\x68').append(daten);
    quint8 summe = 0;
    for (char b : daten)
        summe = static_cast<quint8>(summe + static_cast<quint8>(b));
    rahmen.append(static_cast<char>(summe)).append('\x16');
    return rahmen;
}

#include "PtyBus.h"

#include <QElapsedTimer>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
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

QByteArray PtyBus::lesen(qsizetype n, std::chrono::milliseconds frist) const
{
    QByteArray ergebnis;
    QElapsedTimer uhr;
    uhr.start();
    while (ergebnis.size() < n && uhr.elapsed() < frist.count()) {
        pollfd abfrage{m_master, POLLIN, 0};
        if (::poll(&abfrage, 1, static_cast<int>(frist.count() - uhr.elapsed())) <= 0)
            continue;
        char puffer[512];
        const ssize_t gelesen = ::read(
            m_master, puffer, static_cast<size_t>(std::min<qsizetype>(n - ergebnis.size(), 512)));
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
    const speed_t code = ::cfgetospeed(&t);
    return code == B2400 ? 2400 : code == B9600 ? 9600 : code == B921600 ? 921600 : 0;
}

void PtyBus::schliessen()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

QByteArray LangerRahmen(const QByteArray& daten)
{
    const char l = static_cast<char>(daten.size());
    QByteArray rahmen = QByteArray("\x68") + l + l + '\x68' + daten;
    quint8 summe = 0;
    for (char b : daten)
        summe = static_cast<quint8>(summe + static_cast<quint8>(b));
    return rahmen + static_cast<char>(summe) + '\x16';
}

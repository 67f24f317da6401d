#include "SimGeraeteserver.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

SimGeraeteserver::SimGeraeteserver(SimGeraeteserverEinstellung einstellung)
    : m_einstellung(std::move(einstellung))
{
}

SimGeraeteserver::~SimGeraeteserver()
{
    stoppen();
}

bool SimGeraeteserver::starten(QString* fehler)
{
    stoppen();
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adresse.sin_port = htons(static_cast<quint16>(m_einstellung.port));
    socklen_t laenge = sizeof adresse;
    if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0 ||
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&adresse), &laenge) != 0) {
        if (fehler)
            *fehler = QString("Geräteserver: UDP-Port %1 nicht belegbar: %2")
                          .arg(m_einstellung.port)
                          .arg(QString::fromLocal8Bit(std::strerror(errno)));
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_port = ntohs(adresse.sin_port);
    m_stopp = false;
    m_thread = std::thread([this] { lauf(); });
    return true;
}

void SimGeraeteserver::stoppen()
{
    m_stopp = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_port = 0;
}

void SimGeraeteserver::lauf()
{
    char puffer[512];
    while (!m_stopp) {
        pollfd warten{m_fd, POLLIN, 0};
        if (::poll(&warten, 1, 50) <= 0)
            continue;
        sockaddr_in absender{};
        socklen_t laenge = sizeof absender;
        const ssize_t n = ::recvfrom(m_fd, puffer, sizeof puffer, 0,
                                     reinterpret_cast<sockaddr*>(&absender), &laenge);
        if (n < 0)
            continue;
        const QByteArray datagramm(puffer, static_cast<qsizetype>(n));
        if (datagramm == "L" && !m_einstellung.stumm && !m_einstellung.antwort.isEmpty())
            ::sendto(m_fd, m_einstellung.antwort.constData(),
                     static_cast<size_t>(m_einstellung.antwort.size()), 0,
                     reinterpret_cast<sockaddr*>(&absender), laenge);
        {
            const std::lock_guard<std::mutex> sperre(m_mutex);
            m_empfangen.append(datagramm);
        }
        m_neu.notify_all();
    }
}

QList<QByteArray> SimGeraeteserver::empfangen() const
{
    const std::lock_guard<std::mutex> sperre(m_mutex);
    return m_empfangen;
}

bool SimGeraeteserver::warteAufDatagramme(int anzahl, int msMax) const
{
    std::unique_lock<std::mutex> sperre(m_mutex);
    return m_neu.wait_for(sperre, std::chrono::milliseconds(msMax),
                          [&] { return m_empfangen.size() >= anzahl; });
}

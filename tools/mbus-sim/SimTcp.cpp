#include "SimTcp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString systemFehler(const QString& was)
{
    return QString("%1: %2").arg(was, QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

SimTcp::~SimTcp()
{
    schliessen();
}

bool SimTcp::oeffnen(QString* fehler)
{
    schliessen();
    m_hoerer = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_hoerer < 0) {
        if (fehler)
            *fehler = systemFehler("socket");
        return false;
    }
    const int ja = 1;
    setsockopt(m_hoerer, SOL_SOCKET, SO_REUSEADDR, &ja, sizeof ja);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_port = htons(m_wunschPort);
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t laenge = sizeof adresse;
    if (::bind(m_hoerer, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0 ||
        ::listen(m_hoerer, 1) != 0 ||
        ::getsockname(m_hoerer, reinterpret_cast<sockaddr*>(&adresse), &laenge) != 0) {
        if (fehler)
            *fehler = systemFehler(QString("127.0.0.1:%1").arg(m_wunschPort));
        schliessen();
        return false;
    }
    m_port = ntohs(adresse.sin_port);
    return true;
}

void SimTcp::schliessen()
{
    verbindungSchliessen();
    if (m_hoerer >= 0)
        ::close(m_hoerer);
    m_hoerer = -1;
    m_port = 0;
}

QString SimTcp::geraet() const
{
    return m_hoerer < 0 ? QString() : QString("127.0.0.1:%1").arg(m_port);
}

void SimTcp::verbindungSchliessen()
{
    if (m_verbindung >= 0)
        ::close(m_verbindung);
    m_verbindung = -1;
}

int SimTcp::schreiben(const char* bytes, int anzahl)
{
    if (m_verbindung < 0)
        return anzahl; // nobody listens: the line's bytes are gone
    const ssize_t n = ::send(m_verbindung, bytes, static_cast<size_t>(anzahl), MSG_NOSIGNAL);
    if (n >= 0)
        return static_cast<int>(n);
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return 0;
    verbindungSchliessen();
    return anzahl;
}

int SimTcp::lesen(char* bytes, int anzahl)
{
    if (m_verbindung < 0) {
        if (m_hoerer >= 0)
            m_verbindung = ::accept4(m_hoerer, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (m_verbindung >= 0) {
            const int ja = 1;
            setsockopt(m_verbindung, IPPROTO_TCP, TCP_NODELAY, &ja, sizeof ja);
        }
        return 0;
    }
    const ssize_t n = ::recv(m_verbindung, bytes, static_cast<size_t>(anzahl), 0);
    if (n > 0)
        return static_cast<int>(n);
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
        verbindungSchliessen(); // the program hung up
    return 0;
}

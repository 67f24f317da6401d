#include "TibboReset.h"

#include "platform/Global.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

namespace {

bool Senden(QUdpSocket& socket, const QHostAddress& ziel, int port, const char* text)
{
    return socket.writeDatagram(QByteArray(text), ziel, static_cast<quint16>(port)) == 1;
}

} // namespace

bool TibboReset(const QString& tibboIp, int tibboPort, QUdpSocket& socket, int lokalerPort)
{
    if (socket.state() != QAbstractSocket::UnconnectedState) {
        FehlerText = QStringLiteral("TibboReset: Socket ist schon offen");
        return false;
    }
    const QHostAddress ziel(tibboIp.trimmed());
    if (ziel.isNull() || tibboPort <= 0 || tibboPort > 65535) {
        FehlerText = QStringLiteral("TibboReset: keine gültige Adresse \"%1\" Port %2")
                         .arg(tibboIp)
                         .arg(tibboPort);
        return false;
    }
    const int lokal = lokalerPort < 0 ? tibboPort : lokalerPort;
    if (!socket.bind(QHostAddress::AnyIPv4, static_cast<quint16>(lokal))) {
        FehlerText = QStringLiteral("TibboReset: Port %1 nicht belegbar: %2")
                         .arg(lokal)
                         .arg(socket.errorString());
        socket.close();
        return false;
    }

    QString antwort;
    if (Senden(socket, ziel, tibboPort, "L")) {
        QEventLoop warten;
        QTimer frist;
        frist.setSingleShot(true);
        QObject::connect(&frist, &QTimer::timeout, &warten, &QEventLoop::quit);
        QObject::connect(&socket, &QUdpSocket::readyRead, &warten, [&] {
            while (socket.hasPendingDatagrams())
                antwort = QString::fromLatin1(socket.receiveDatagram().data());
            if (antwort == QStringLiteral("A"))
                warten.quit();
        });
        frist.start(kTibboAntwortMs);
        warten.exec();
        QObject::disconnect(&socket, &QUdpSocket::readyRead, &warten, nullptr);
    }
    const bool ok = antwort == QStringLiteral("A");
    Senden(socket, ziel, tibboPort, "E");
    socket.close();
    if (!ok)
        FehlerText =
            antwort.isEmpty()
                ? QStringLiteral("TibboReset: keine Antwort von %1").arg(tibboIp)
                : QStringLiteral("TibboReset: Antwort \"%1\" von %2").arg(antwort, tibboIp);
    return ok;
}

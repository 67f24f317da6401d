#include "TcpMBus.h"

#include "log/Log.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "text/Texte.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

#include <array>
#include <cmath>
#include <functional>

namespace {

constexpr double kConnectStandard = 2.0;
constexpr double kSendStringStandard = 0.2;

const std::array<QString, 10> kZustandsTexte = {
    QStringLiteral("Close"),
    QStringLiteral("Open"),
    QStringLiteral("Listen"),
    QStringLiteral("Verbindung anstehend"),
    QStringLiteral("Host-Name wird aufgelöst"),
    QStringLiteral("Host-Name wurde aufgelöst"),
    QStringLiteral("Verbinden"),
    QStringLiteral("Verbunden"),
    QStringLiteral("Partner schließt die Verbindung"),
    QStringLiteral("Fehler"),
};

qint64 Millisekunden(double sekunden)
{
    if (!std::isfinite(sekunden) || sekunden <= 0)
        return 0;
    return static_cast<qint64>(std::min(sekunden, 86400.0) * 1000.0);
}

// Runs the event loop until fertig() holds or msMax has passed; the socket's signals wake it.
// Returns fertig() at the end. Stops early when the program is ending.
bool WarteAufSocket(QAbstractSocket& socket, qint64 msMax, const std::function<bool()>& fertig)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!fertig()) {
        const qint64 rest = msMax - uhr.elapsed();
        if (rest <= 0 || ProgrammEndet())
            return false;
        QEventLoop schleife;
        QTimer frist;
        frist.setSingleShot(true);
        QObject::connect(&frist, &QTimer::timeout, &schleife, &QEventLoop::quit);
        QObject::connect(&socket, &QAbstractSocket::stateChanged, &schleife, &QEventLoop::quit);
        QObject::connect(&socket, &QAbstractSocket::errorOccurred, &schleife, &QEventLoop::quit);
        QObject::connect(&socket, &QIODevice::readyRead, &schleife, &QEventLoop::quit);
        QObject::connect(&socket, &QIODevice::bytesWritten, &schleife, &QEventLoop::quit);
        frist.start(static_cast<int>(std::min<qint64>(rest, 24 * 3600 * 1000)));
        schleife.exec();
    }
    return true;
}

bool Verbunden(const QAbstractSocket& socket)
{
    return socket.state() == QAbstractSocket::ConnectedState;
}

// The connect's run-time error: logged, left in FehlerText, shown in the status.
int ConnectFehler(const QString& text, Textfeld& status)
{
    FehlerText = text;
    LogSchreiben(QStringLiteral("Fehler in TCPConnect : ") + text);
    status.setText(TcpMBus::kError);
    return -1;
}

// A port text as a port number (0 when it is none from 1 to 65535).
quint16 PortNummer(const QString& port)
{
    bool ok = false;
    const uint n = port.trimmed().toUInt(&ok);
    return ok && n >= 1 && n <= 65535 ? static_cast<quint16>(n) : 0;
}

} // namespace

int Winsock::State() const
{
    switch (state()) {
    case QAbstractSocket::UnconnectedState:
        return error() == QAbstractSocket::UnknownSocketError ? 0 : 9;
    case QAbstractSocket::BoundState:
        return 1;
    case QAbstractSocket::ListeningState:
        return 2;
    case QAbstractSocket::HostLookupState:
        return 4;
    case QAbstractSocket::ConnectingState:
        return 6;
    case QAbstractSocket::ConnectedState:
        return 7;
    case QAbstractSocket::ClosingState:
        return 8;
    }
    return 9;
}

QString GetWinsockStatusTxt(int zustand)
{
    if (zustand < 0 || zustand >= static_cast<int>(kZustandsTexte.size()))
        return QString();
    return kZustandsTexte[static_cast<size_t>(zustand)];
}

QString GetWinsockStatusTxt(const Winsock& socket)
{
    return GetWinsockStatusTxt(socket.State());
}

int TCPConnect(Winsock& socket, const QString& port, const QString& host, double& zeitlimitSekunden,
               Textfeld& status)
{
    if (zeitlimitSekunden == 0)
        zeitlimitSekunden = kConnectStandard;
    if (status.text() == TcpMBus::kWarte)
        return -1;
    if (Verbunden(socket))
        return 0;
    const quint16 portNummer = PortNummer(port);
    if (portNummer == 0)
        return ConnectFehler(
            QStringLiteral("Ungültige Portnummer: \"") + port + QStringLiteral("\""), status);
    if (host.trimmed().isEmpty())
        return ConnectFehler(QStringLiteral("Kein Host angegeben"), status);

    status.setText(TcpMBus::kWarte);
    socket.Close();
    socket.connectToHost(host.trimmed(), portNummer);
    const bool verbunden =
        WarteAufSocket(socket, Millisekunden(zeitlimitSekunden),
                       [&] {
                           // a refused or failed connect ends the wait at once: nothing more will
                           // come
                           return Verbunden(socket) ||
                                  socket.state() == QAbstractSocket::UnconnectedState;
                       }) &&
        Verbunden(socket);
    if (!verbunden) {
        status.setText(TcpMBus::kTimeOut);
        return -2;
    }
    status.setText(TcpMBus::kConnect);
    return 0;
}

void TCPClose(Winsock& socket, QString& statusText)
{
    if (socket.State() == 0)
        return;
    statusText = TcpMBus::kClose;
    socket.Close();
}

int TCP_SendString(Winsock& socket, const QByteArray& daten, int laenge, double& zeitlimitSekunden,
                   QByteArray& antwort, bool nurSenden)
{
    socket.readAll();
    antwort.clear();
    if (Verbunden(socket)) {
        socket.write(daten);
        socket.flush();
    }
    if (nurSenden)
        return 0;
    if (zeitlimitSekunden == 0)
        zeitlimitSekunden = kSendStringStandard;
    WarteAufSocket(socket, Millisekunden(zeitlimitSekunden), [&] {
        antwort += socket.readAll();
        return antwort.size() >= laenge || !Verbunden(socket);
    });
    antwort += socket.readAll();
    return 0;
}

TcpLesung TCPReadMsg(Winsock& socket, const QString& /*a*/, int /*b*/, double zeitlimitSekunden)
{
    QElapsedTimer uhr;
    uhr.start();
    const qint64 frist = Millisekunden(zeitlimitSekunden);
    TcpLesung lesung;
    const auto etwasDa = [&] {
        lesung.daten += socket.readAll();
        return !lesung.daten.isEmpty() || !Verbunden(socket);
    };
    WarteAufSocket(socket, frist, etwasDa);
    if (lesung.daten.isEmpty()) {
        lesung.zeitueberschreitung = true;
        lesung.text = QStringLiteral("Timeout : ") + Cp1252ZuText(lesung.daten) +
                      QStringLiteral("  ") +
                      ZahlAlsText(std::round(static_cast<double>(uhr.elapsed()) / 10.0) / 100.0);
        return lesung;
    }
    // the rest of the reply: until it falls silent, within the time-out
    forever
    {
        const qint64 rest = frist - uhr.elapsed();
        if (rest <= 0)
            break;
        const qsizetype vorher = lesung.daten.size();
        const bool mehr =
            WarteAufSocket(socket, std::min<qint64>(rest, TcpMBus::kAntwortStilleMs), [&] {
                lesung.daten += socket.readAll();
                return lesung.daten.size() > vorher || !Verbunden(socket);
            });
        if (!mehr || lesung.daten.size() == vorher)
            break;
    }
    lesung.daten += socket.readAll();
    return lesung;
}

int TCPSendBefehl(Winsock& socket, const QByteArray& daten, const QString& a, int b,
                  double zeitlimitSekunden, QByteArray& antwort)
{
    antwort.clear();
    if (!Verbunden(socket))
        return -1;
    socket.readAll();
    if (socket.write(daten) != daten.size())
        return -1;
    socket.flush();
    const TcpLesung lesung = TCPReadMsg(socket, a, b, zeitlimitSekunden);
    if (lesung.zeitueberschreitung)
        return -3;
    antwort = lesung.daten;
    return 0;
}

#pragma once
// Talking to an M-Bus line behind a serial device server over TCP: connect, close, send a
// telegram and read the reply, and the socket's state as a number and as text.
//
// The socket's states are fixed numbers (shown in the status and compared by callers): 0 closed,
// 1 open, 2 listening, 3 connection pending, 4 resolving the host, 5 host resolved,
// 6 connecting, 7 connected, 8 the peer is closing, 9 error.
//
// Telegrams and replies are raw bytes. Every wait runs the event loop until the socket has
// something to tell or the deadline has passed; no wait polls. A wait also ends when the program
// is ending.

#include <QByteArray>
#include <QString>
#include <QTcpSocket>

// What a connect writes its status into (a label, a text box).
class Textfeld
{
public:
    virtual ~Textfeld() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
};

// The result of TCPReadMsg: the bytes received, or the time-out text.
struct TcpLesung
{
    QByteArray daten;
    bool zeitueberschreitung = false;
    // "Timeout : " & the bytes received so far & "  " & the seconds waited (on a time-out).
    QString text;
};

// The socket control: a TCP socket with the control's state numbers, whose Close leaves it
// closed (state 0) also after a failed connect.
class Winsock : public QTcpSocket
{
public:
    using QTcpSocket::QTcpSocket;
    // The state number (see above).
    int State() const;
    void Close()
    {
        abort();
        setSocketError(QAbstractSocket::UnknownSocketError);
    }
};

namespace TcpMBus {

// The status texts of TCPConnect.
inline const QString kWarte = QStringLiteral("Warte");
inline const QString kTimeOut = QStringLiteral("TimeOut");
inline const QString kConnect = QStringLiteral("Connect");
inline const QString kError = QStringLiteral("Error");
inline const QString kClose = QStringLiteral("Close");

// Milliseconds of silence after the first byte that end a reply (a long frame comes in pieces).
inline constexpr int kAntwortStilleMs = 100;

} // namespace TcpMBus

// The text of a state number: "Close", "Open", "Listen", "Verbindung anstehend",
// "Host-Name wird aufgelöst", "Host-Name wurde aufgelöst", "Verbinden", "Verbunden",
// "Partner schließt die Verbindung", "Fehler"; "" for any other number.
QString GetWinsockStatusTxt(int zustand);
QString GetWinsockStatusTxt(const Winsock& socket);

// Connects to host:port within the time-out (seconds; 0 becomes 2, also in the caller's
// variable). Returns 0 connected (at once when already connected, status untouched), -1 when the
// status shows "Warte" (a connect is already waiting; nothing else done) or on a run-time error
// (port no whole number from 1 to 65535, no host: the program log gets
// "Fehler in TCPConnect : " & the text, FehlerText the text, the status "Error"), -2 when the
// connection did not come within the time-out or was refused (status "TimeOut"). The status
// shows "Warte" while it waits and "Connect" when connected.
int TCPConnect(Winsock& socket, const QString& port, const QString& host, double& zeitlimitSekunden,
               Textfeld& status);

// When the socket is not closed: the window's status text becomes "Close" and the socket closes.
void TCPClose(Winsock& socket, QString& statusText);

// Drops what waits to be read, sends the data and, unless nurSenden, collects the reply until it
// has at least laenge bytes or the time-out (seconds; 0 becomes 0.2, also in the caller's
// variable) has passed. Returns 0.
int TCP_SendString(Winsock& socket, const QByteArray& daten, int laenge, double& zeitlimitSekunden,
                   QByteArray& antwort, bool nurSenden);

// Reads one reply: waits up to the time-out (seconds) for its first byte, then takes what follows
// until kAntwortStilleMs of silence, all within the time-out. Nothing within the time-out (or the
// connection ended without a byte): the time-out text. The two middle values are not used.
TcpLesung TCPReadMsg(Winsock& socket, const QString& a, int b, double zeitlimitSekunden);

// Drops what waits to be read (a late reply to an earlier telegram), sends the data and reads
// the reply with TCPReadMsg. Returns 0 with the reply, -1 when the data could not be sent (not
// connected), -3 on a time-out (reply ""). The values a and b go to TCPReadMsg.
int TCPSendBefehl(Winsock& socket, const QByteArray& daten, const QString& a, int b,
                  double zeitlimitSekunden, QByteArray& antwort);

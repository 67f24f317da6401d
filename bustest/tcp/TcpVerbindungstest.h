#pragma once
// The TCP link test: connects to a serial device server, sends a telegram typed as hex bytes and
// shows the reply as hex bytes. The window wires its boxes and buttons to it.
//
// Telegram text: hex bytes, each followed by ";" ("10;7B;0A;85;16;"); the last one needs no ";"
// and blanks around a byte are allowed. Every byte is one or two hex digits; a text that breaks
// this is refused with a message and nothing is sent. Reply text: every byte as upper-case hex
// without a leading zero, followed by ";" ("E5;", "8;").
//
// One operation at a time: while a connect or a send waits, a second one does nothing.

#include <QByteArray>
#include <QString>

#include <optional>

class Textfeld;
class Winsock;

class TcpVerbindungstest
{
public:
    static constexpr double kConnectZeitlimit = 1.0; // seconds
    static constexpr double kSendeZeitlimit = 3.0;   // seconds
    static inline const QString kStandardPort = QStringLiteral("10001");
    static inline const QString kTitel = QStringLiteral("Comtest");
    static inline const QString kKeineAntwort = QStringLiteral("Keine Antwort");
    static inline const QString kVerbindungFehlt =
        QStringLiteral("Verbindung konnte nicht erstellt werden.\rBitte versuchen Sie es erneut.");
    static inline const QString kNichtVerbunden =
        QStringLiteral("Keine Verbindung. Bitte zuerst mit \"TCP Connect\" verbinden.");

    explicit TcpVerbindungstest(Winsock& socket) : m_socket(socket) {}

    // The port text to connect with: "10001" when its number value is 0 (also "" and no number).
    static QString PortOderStandard(const QString& port);
    // The bytes of a telegram text, or nothing (fehler then says which field is wrong).
    static std::optional<QByteArray> TelegrammBytes(const QString& text, QString* fehler);
    static QString AntwortText(const QByteArray& antwort);

    // "TCP Connect": port becomes "10001" when its number is 0; connects within one second.
    // A failure shows the message and closes the socket. The state box then shows the socket's
    // state number. True when connected (the window then swaps the buttons).
    bool verbinden(QString& port, const QString& host, Textfeld& status);
    // "TCP Close": closes the connection; the state box shows the state number.
    void trennen(Textfeld& status);
    // "TCP Send": the text for the reply box ("" with a message when the telegram is bad or the
    // socket is not connected; "Keine Antwort" when nothing came within the send time-out).
    QString senden(const QString& telegramm);

    bool beschaeftigt() const { return m_beschaeftigt; }
    // The window closes: a connect or send that waits ends at once (the socket is closed) and
    // reports nothing.
    void abbrechen();
    // The window's status text ("Close" after a close).
    QString statusText() const { return m_statusText; }
    // Tests shorten the waits.
    void zeitlimitsSetzen(double connectSekunden, double sendeSekunden);

private:
    Winsock& m_socket;
    QString m_statusText;
    double m_connectZeitlimit = kConnectZeitlimit;
    double m_sendeZeitlimit = kSendeZeitlimit;
    bool m_beschaeftigt = false;
    bool m_abgebrochen = false;
};

#include "TcpVerbindungstest.h"

#include "TcpMBus.h"
#include "platform/Meldung.h"
#include "text/Texte.h"

#include <QRegularExpression>

namespace {

// Marks an operation as running for as long as it lives.
class Beschaeftigt
{
public:
    explicit Beschaeftigt(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Beschaeftigt() { m_flag = false; }
    Beschaeftigt(const Beschaeftigt&) = delete;
    Beschaeftigt& operator=(const Beschaeftigt&) = delete;

private:
    bool& m_flag;
};

// The leading whole number of a port box's text (0 when none).
qint64 FuehrendeZahl(const QString& text)
{
    static const QRegularExpression zahl(QStringLiteral("^\\s*\\+?(\\d+)"));
    const QRegularExpressionMatch treffer = zahl.match(text);
    return treffer.hasMatch() ? treffer.captured(1).left(12).toLongLong() : 0;
}

} // namespace

QString TcpVerbindungstest::PortOderStandard(const QString& port)
{
    return FuehrendeZahl(port.trimmed()) == 0 ? kStandardPort : port;
}

std::optional<QByteArray> TcpVerbindungstest::TelegrammBytes(const QString& text, QString* fehler)
{
    static const QRegularExpression hexByte(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
    const auto falsch = [&](const QString& was) -> std::optional<QByteArray> {
        if (fehler)
            *fehler = was;
        return std::nullopt;
    };
    if (BlanksTrimmen(text).isEmpty())
        return falsch(QStringLiteral("Kein Telegramm eingegeben."));
    // the fields ended by ";", and a last one without it
    int anzahl = GetFeldAnzahl(text);
    if (!BlanksTrimmen(text.mid(text.lastIndexOf(QLatin1Char(';')) + 1)).isEmpty())
        ++anzahl;
    QByteArray bytes;
    for (int i = 0; i < anzahl; ++i) {
        const QString feld = BlanksTrimmen(GetFeld(text, i));
        if (!hexByte.match(feld).hasMatch())
            return falsch(QStringLiteral("Feld ") + QString::number(i + 1) +
                          QStringLiteral(" des Telegramms (\"") + feld +
                          QStringLiteral("\") ist kein Hex-Byte (1 oder 2 Hex-Ziffern)."));
        bytes.append(static_cast<char>(feld.toUInt(nullptr, 16)));
    }
    return bytes;
}

QString TcpVerbindungstest::AntwortText(const QByteArray& antwort)
{
    QString text;
    for (const char b : antwort)
        text += QString::number(static_cast<quint8>(b), 16).toUpper() + QLatin1Char(';');
    return text;
}

bool TcpVerbindungstest::verbinden(QString& port, const QString& host, Textfeld& status)
{
    if (m_beschaeftigt)
        return false;
    const Beschaeftigt sperre(m_beschaeftigt);
    m_abgebrochen = false;
    MauszeigerSetzen(vbHourglass);
    port = PortOderStandard(port);
    double zeitlimit = m_connectZeitlimit;
    const int rc = TCPConnect(m_socket, port, host, zeitlimit, status);
    if (rc != 0) {
        if (!m_abgebrochen)
            MsgBox(kVerbindungFehlt, vbOKOnly, kTitel);
        m_socket.Close();
    }
    MauszeigerSetzen(vbDefault);
    status.setText(QString::number(m_socket.State()));
    return rc == 0;
}

void TcpVerbindungstest::trennen(Textfeld& status)
{
    if (m_beschaeftigt)
        return;
    TCPClose(m_socket, m_statusText);
    status.setText(QString::number(m_socket.State()));
}

QString TcpVerbindungstest::senden(const QString& telegramm)
{
    if (m_beschaeftigt)
        return QString();
    const Beschaeftigt sperre(m_beschaeftigt);
    QString fehler;
    const std::optional<QByteArray> daten = TelegrammBytes(telegramm, &fehler);
    if (!daten) {
        MsgBox(fehler, vbOKOnly, kTitel);
        return QString();
    }
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        MsgBox(kNichtVerbunden, vbOKOnly, kTitel);
        return QString();
    }
    QByteArray antwort;
    TCPSendBefehl(m_socket, *daten, QString(), 16, m_sendeZeitlimit, antwort);
    return antwort.isEmpty() ? kKeineAntwort : AntwortText(antwort);
}

void TcpVerbindungstest::abbrechen()
{
    m_abgebrochen = true;
    m_socket.Close();
}

void TcpVerbindungstest::zeitlimitsSetzen(double connectSekunden, double sendeSekunden)
{
    m_connectZeitlimit = connectSekunden;
    m_sendeZeitlimit = sendeSekunden;
}

#include "FelsquellAustausch.h"

#include "driver/engine/Ereignis.h"
#include "driver/faces/MBusRacX4.h"
#include "frames/TelegrammText.h"
#include "grid/FlexGrid.h"
#include "lesen/Zaehlerlesen.h"
#include "log/Log.h"
#include "platform/Meldung.h"
#include "platform/Warten.h"
#include "serial/SerielleDienste.h"

#include <QRegularExpression>

#include <array>

namespace {

constexpr quint8 kQuittung = 0xE5;
constexpr quint8 kLangerRahmenStart = 0x68;
constexpr quint8 kRahmenEnde = 0x16;
constexpr double kZeitlimitSekunden = 0.8;
// The driver's A field that asks for a second REQ_UD2.
constexpr int kZweiteAnfrageAdresse = 9999;

const QString kTab = QStringLiteral("\t");

// Marks the exchange as running for as long as it lives.
class Lauf
{
public:
    explicit Lauf(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Lauf() { m_flag = false; }
    Lauf(const Lauf&) = delete;
    Lauf& operator=(const Lauf&) = delete;

private:
    bool& m_flag;
};

struct EmpfangsFehler
{
    int wert;
    const char16_t* text;
};

constexpr std::array<EmpfangsFehler, 8> kEmpfangsFehler = {{
    {1, u"TimeOut"},
    {2, u"Falsche Parität"},
    {4, u"Falsche Checksumme"},
    {8, u"Falsches Startzeichen"},
    {16, u"Falsche Länge"},
    {32, u"Falsches Stoppzeichen"},
    {64, u"Collision"},
    {128, u"Frame Error"},
}};

QString Hex(const QByteArray& bytes)
{
    return StrToHex(bytes, QStringLiteral(";"));
}

} // namespace

const QStringList FelsquellAustausch::kVorgaben = {
    QStringLiteral("Felsquell 1 #68;1D;1D;68;53;FD;51;9;97;6;4;FF;FF;FF;FF;FF;FF;FF;FF;8;2E;8;"
                   "3D;8;5B;8;5F;8;63;8;22;8;6D;92;16;"),
    QStringLiteral("Felsquell 1 #68;1D;1D;68;53;FD;51;10;97;6;4;FF;FF;FF;FF;FF;FF;FF;FF;8;2E;8;"
                   "3D;8;5B;8;5F;8;63;8;22;8;6D;99;16;"),
    QStringLiteral("Felsquell 1 #68;1D;1D;68;53;FD;51;11;97;6;4;FF;FF;FF;FF;FF;FF;FF;FF;8;2E;8;"
                   "3D;8;5B;8;5F;8;63;8;22;8;6D;9A;16;"),
    QStringLiteral("Felsquell 4069709  #68;1F;1F;68;53;FD;51;9;97;6;F4;FF;FF;FF;FF;FF;FF;FF;FF;"
                   "8;6;8;2E;8;3D;8;5B;8;5F;8;63;8;22;8;6D;90;16;"),
    QStringLiteral("Felsquell 4069710 = 68;1F;1F;68;53;FD;51;10;97;6;F4;FF;FF;FF;FF;FF;FF;FF;FF;"
                   "8;6;8;2E;8;3D;8;5B;8;5F;8;63;8;22;8;6D;97;16;"),
    QStringLiteral("Felsquell 4069711 = 68;1F;1F;68;53;FD;51;11;97;6;F4;FF;FF;FF;FF;FF;FF;FF;FF;"
                   "8;6;8;2E;8;3D;8;5B;8;5F;8;63;8;22;8;6D;98;16;"),
    QStringLiteral("Irgend eine Seriennummer #68 0B 0B 68 53 FD 52 FF FF FF FF FF FF FF FF 9A 16"),
    QStringLiteral("70267 Rel Impulszaehler #68 0B 0B 68 53 FD 52 67 02 F7 FF FF FF FF FF FD 16"),
    QStringLiteral("Übergabestation 248280 #68 0B 0B 68 53 FD 52 80 82 24 FF FF FF FF FF C3 16"),
    QStringLiteral("Wärmemengen#68 0B 0B 68 53 FD 52 49 02 25 23 FF FF FF FF 31 16"),
    QStringLiteral("Zähler 1803 #68 0B 0B 68 53 FD 52 03 18 FF FF FF FF FF FF B7 16"),
};

QString FelsquellAustausch::TelegrammAusVorgabe(const QString& eintrag)
{
    for (const QString& trenner : {QStringLiteral("#"), QStringLiteral(" = ")}) {
        const qsizetype stelle = eintrag.indexOf(trenner);
        if (stelle >= 0)
            return eintrag.mid(stelle + trenner.size());
    }
    return eintrag;
}

std::optional<QByteArray> FelsquellAustausch::TelegrammBytes(const QString& text, QString* fehler)
{
    static const QRegularExpression hexByte(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
    const QChar trenner = text.contains(QLatin1Char(';')) ? QLatin1Char(';') : QLatin1Char(' ');
    QByteArray bytes;
    int nummer = 0;
    for (const QString& roh : text.split(trenner)) {
        const QString feld = roh.trimmed();
        if (feld.isEmpty())
            continue;
        ++nummer;
        if (!hexByte.match(feld).hasMatch()) {
            if (fehler)
                *fehler = QStringLiteral("Das Telegramm ist ungültig: Byte ") +
                          QString::number(nummer) + QStringLiteral(" (\"") + feld +
                          QStringLiteral("\") ist keine Hex-Zahl mit 1 oder 2 Ziffern.");
            return std::nullopt;
        }
        bytes.append(static_cast<char>(feld.toUInt(nullptr, 16)));
    }
    if (bytes.isEmpty()) {
        if (fehler)
            *fehler = QStringLiteral("Kein Telegramm eingegeben.");
        return std::nullopt;
    }
    return bytes;
}

QString FelsquellAustausch::EmpfangsFehlerText(int fehler)
{
    for (const EmpfangsFehler& f : kEmpfangsFehler)
        if (f.wert == fehler)
            return QString::fromUtf16(f.text);
    return QStringLiteral("Other UART Error");
}

FelsquellAustausch::FelsquellAustausch(SerielleSchnittstelle& comm, MBusRacX4& treiber,
                                       FlexGrid& satzGrid, Anzeige anzeige)
    : m_comm(comm), m_treiber(treiber), m_satzGrid(satzGrid), m_anzeige(std::move(anzeige))
{
}

void FelsquellAustausch::text2(int index, const QString& text)
{
    if (m_anzeige.text2)
        m_anzeige.text2(index, text);
}

void FelsquellAustausch::log(const QString& text)
{
    if (m_anzeige.logZeile)
        m_anzeige.logZeile(text);
}

void FelsquellAustausch::ausfuehren(const QString& telegrammText)
{
    if (m_laeuft)
        return;
    if (!m_comm.PortOpen()) {
        MsgBox(QStringLiteral("Comport ") + QString::number(m_comm.CommPort()) +
               QStringLiteral(" nicht geöffnet!"));
        return;
    }
    QString fehler;
    const std::optional<QByteArray> telegramm = TelegrammBytes(telegrammText, &fehler);
    if (!telegramm) {
        MsgBox(fehler);
        return;
    }
    const Lauf lauf(m_laeuft);

    for (int i = 0; i <= 6; ++i)
        text2(i, QString());
    m_satzGrid.setRows(2);
    LogSchreiben(QStringLiteral("******") + kTab + QString(62, QLatin1Char('*')));
    if (m_anzeige.logZeigen)
        m_anzeige.logZeigen();
    log(QStringLiteral("***** ") + kTab + QString(59, QLatin1Char('*')));
    log(QStringLiteral("Send ") + QString::number(telegramm->size()) + kTab + Hex(*telegramm));
    if (m_anzeige.logSpaltenAnpassen)
        m_anzeige.logSpaltenAnpassen();

    if (V3CommSendMsg(m_comm, *telegramm, 0, 0, 0, true) != 0)
        return;
    double zeitlimit = kZeitlimitSekunden;
    QByteArray quittung;
    if (V3CommReadMsg(m_comm, kQuittung, kQuittung, zeitlimit, quittung, true) != 1) {
        log(QStringLiteral("Read ") + kTab + QStringLiteral("FEHLER kein E5"));
        return;
    }
    log(QStringLiteral("Read ") + QString::number(quittung.size()) + kTab + Hex(quittung));
    if (!reqUd2Senden())
        return;
    const std::optional<QByteArray> antwort = langenRahmenLesen();
    if (!antwort) {
        // A read cut short by the end of the program is logged only.
        if (!ProgrammEndet())
            MsgBox(kFehlerRqud2);
        return;
    }
    decodieren(*antwort);
}

bool FelsquellAustausch::reqUd2Senden()
{
    log(QStringLiteral("Send 5") + kTab + kReqUd2);
    return V3CommSendMsg(m_comm, HexToStr(kReqUd2), 0, 0, 0, true) == 0;
}

std::optional<QByteArray> FelsquellAustausch::langenRahmenLesen()
{
    double zeitlimit = kZeitlimitSekunden;
    QByteArray antwort;
    const LeseErgebnis r =
        V3CommReadMsg(m_comm, kLangerRahmenStart, kRahmenEnde, zeitlimit, antwort, true);
    if (r.istZeitueberschreitung() || r <= 0 || antwort.isEmpty()) {
        log(QStringLiteral("Read ") + kTab + QStringLiteral("FEHLER keine Antwort."));
        return std::nullopt;
    }
    log(QStringLiteral("Read ") + QString::number(antwort.size()) + kTab + Hex(antwort));
    return antwort;
}

void FelsquellAustausch::decodieren(const QByteArray& antwort)
{
    QString telegrammText = QStringLiteral("Read ") + QString::number(antwort.size()) +
                            QStringLiteral(" Byte \r\n") + Hex(antwort);
    text2(1, telegrammText);
    m_treiber.APPInterpretTelegramHex(StrToHex(antwort, QString()));
    // Only a decoded telegram counts: anything else is a receive error of this answer.
    if (m_treiber.APPReceiveTest() != mbus::kEmpfangTelegramm) {
        const QString fehler = EmpfangsFehlerText(m_treiber.APPReceiveError());
        text2(1, telegrammText + QStringLiteral("\r\nFEHLER : ") + fehler);
        log(QStringLiteral("Read ") + kTab + QStringLiteral("FEHLER : ") + fehler);
        return;
    }
    text2(3, QString::number(m_treiber.APPGenerationNo()));
    text2(0, m_treiber.APPManufacturerIDAsc());
    text2(5, m_treiber.APPDeviceIDDec());
    text2(6, m_treiber.APPMediumAsc());
    text2(2, QString::number(m_treiber.APPAField()));
    if (m_treiber.APPAField() == kZweiteAnfrageAdresse && reqUd2Senden())
        langenRahmenLesen(); // read and logged, not decoded
    TelegrammInGrid(m_satzGrid, m_treiber, telegrammText);
    text2(1, telegrammText);
}

#include "MBusRahmen.h"

#include "MBusAdresse.h"
#include "RahmenArgumente.h"
#include "TelegrammText.h"

#include <cstdint>
#include <optional>

namespace {

const QString kKeineGueltigeId = QStringLiteral("Keine gültige ID erhalten");
const QString kKeineGueltigeBaudrate = QStringLiteral("Keine gültige Baudrate erhalten");
const QString kModusHex = QStringLiteral("HEX");
const QString kModusChr = QStringLiteral("CHR");

constexpr std::uint8_t kStartLang = 0x68;
constexpr std::uint8_t kStopp = 0x16;
constexpr std::uint8_t kSndUd = 0x53;    // SND_UD, FCV set, FCB 0
constexpr std::uint8_t kSndUdFcb = 0x73; // SND_UD, FCV set, FCB 1
constexpr std::uint8_t kCiAnwendungsReset = 0x50;
constexpr std::uint8_t kCiDaten = 0x51;    // data send (here: the new primary address)
constexpr std::uint8_t kCiAuswahl = 0x52;  // selection by secondary address
constexpr std::uint8_t kDifEinByte = 0x01; // one byte of data follows
constexpr std::uint8_t kVifAdresse = 0x7A; // bus address
constexpr int kSekAdrStellen = 8;
constexpr int kSekAdrPlatzhalter = 4; // manufacturer (2), version, medium

// The CI fields that switch the baud rate.
struct BaudCode
{
    int baud;
    std::uint8_t ci;
};
constexpr BaudCode kBaudCodes[] = {
    {300, 0xB8}, {600, 0xB9}, {1200, 0xBA}, {2400, 0xBB}, {4800, 0xBC}, {9600, 0xBD},
};
// Every rate the table does not hold.
constexpr std::uint8_t kBaudCodeSonst = 0xBB;

std::uint8_t BaudCodeZu(double baud)
{
    for (const BaudCode& eintrag : kBaudCodes) {
        if (baud == eintrag.baud)
            return eintrag.ci;
    }
    return kBaudCodeSonst;
}

// The eight BCD digits of a secondary address, least significant byte first, then the wildcards;
// nothing unless the value has 1 to 8 decimal digits.
std::optional<QByteArray> SekAdrBytes(const QVariant& sekAdr)
{
    const std::optional<QString> ziffern = ZiffernText(sekAdr);
    if (!ziffern || ziffern->size() > kSekAdrStellen)
        return std::nullopt;
    const QString stellen = ziffern->rightJustified(kSekAdrStellen, u'0');
    QByteArray bytes;
    for (int p = kSekAdrStellen - 2; p >= 0; p -= 2) {
        const int hoch = stellen[p].unicode() - u'0';
        const int tief = stellen[p + 1].unicode() - u'0';
        bytes.append(static_cast<char>(hoch << 4 | tief));
    }
    bytes.append(QByteArray(kSekAdrPlatzhalter, static_cast<char>(0xFF)));
    return bytes;
}

// A primary address a meter may carry, 0 to 250.
std::optional<std::uint8_t> PrimAdrByte(const QVariant& primAdr)
{
    const std::optional<QString> ziffern = ZiffernText(primAdr);
    if (!ziffern)
        return std::nullopt;
    bool ok = false;
    const qulonglong wert = ziffern->toULongLong(&ok);
    if (!ok || wert > static_cast<qulonglong>(MBusAdresse::kLetzteZaehleradresse))
        return std::nullopt;
    return static_cast<std::uint8_t>(wert);
}

// Blank-separated hex, no blank at the end.
QString HexText(const QByteArray& bytes)
{
    QString text = StrToHex(bytes, QStringLiteral(" "));
    text.chop(1);
    return text;
}

// A long frame to the selected meter: 68 L L 68, C field (SND_UD), address 253, CI, data.
MBusRahmen Rahmen(std::uint8_t ci, const QByteArray& daten, const QString& modus,
                  std::uint8_t c = kSndUd)
{
    QByteArray koerper;
    koerper.append(static_cast<char>(c));
    koerper.append(static_cast<char>(MBusAdresse::kNetzwerkschicht));
    koerper.append(static_cast<char>(ci));
    koerper.append(daten);

    const char laenge = static_cast<char>(koerper.size());
    QByteArray kopf;
    kopf.append(static_cast<char>(kStartLang));
    kopf.append(laenge);
    kopf.append(laenge);
    kopf.append(static_cast<char>(kStartLang));
    kopf.append(koerper);

    MBusRahmen rahmen;
    rahmen.gueltig = true;
    if (modus == kModusChr) {
        rahmen.bytes = kopf;
    } else if (modus == kModusHex) {
        const QByteArray stopp(1, static_cast<char>(kStopp));
        rahmen.text = HexText(kopf) + u' ' + MB_Checksumme(koerper) + u' ' + HexText(stopp);
    } else {
        rahmen.text = HexText(kopf);
    }
    return rahmen;
}

MBusRahmen Fehler(const QString& text)
{
    MBusRahmen rahmen;
    rahmen.text = text;
    return rahmen;
}

} // namespace

MBusRahmen MB_TelSelectSekAdr(const QVariant& sekAdr, const QString& modus)
{
    const std::optional<QByteArray> adresse = SekAdrBytes(sekAdr);
    if (!adresse)
        return Fehler(kKeineGueltigeId);
    return Rahmen(kCiAuswahl, *adresse, modus);
}

MBusRahmen MB_TelAnwendungsReset(const QString& modus)
{
    // FCB 1 between the select (FCB 0) and the select again (FCB 0): a meter that keeps one FCB
    // over every frame would take a reset with FCB 0 for a repeated select and not carry it out.
    return Rahmen(kCiAnwendungsReset, QByteArray(), modus, kSndUdFcb);
}

MBusRahmen MB_TelSetPrimAdr(const QVariant& primAdr, const QString& modus)
{
    const std::optional<std::uint8_t> neu = PrimAdrByte(primAdr);
    if (!neu)
        return Fehler(kKeineGueltigeId);
    QByteArray daten;
    daten.append(static_cast<char>(kDifEinByte));
    daten.append(static_cast<char>(kVifAdresse));
    daten.append(static_cast<char>(*neu));
    return Rahmen(kCiDaten, daten, modus);
}

MBusRahmen MB_TelSetBaudrate(const QVariant& baud, const QString& modus)
{
    const std::optional<double> wert = ZahlWert(baud);
    if (!wert)
        return Fehler(kKeineGueltigeBaudrate);
    return Rahmen(BaudCodeZu(*wert), QByteArray(), modus);
}

MBusRahmen MB_TelSetPrimAdrSekAdr(const QVariant& sekAdr, const QVariant& primAdr,
                                  const QString& modus)
{
    const std::optional<QByteArray> adresse = SekAdrBytes(sekAdr);
    const std::optional<std::uint8_t> neu = PrimAdrByte(primAdr);
    if (!adresse || !neu)
        return Fehler(kKeineGueltigeId);
    QByteArray daten = *adresse;
    daten.append(static_cast<char>(kDifEinByte));
    daten.append(static_cast<char>(kVifAdresse));
    daten.append(static_cast<char>(*neu));
    return Rahmen(kCiDaten, daten, modus);
}

MBusRahmen MB_TelSetBaudrateSekAdr(const QVariant& sekAdr, const QVariant& baud,
                                   const QString& modus)
{
    const std::optional<QByteArray> adresse = SekAdrBytes(sekAdr);
    const std::optional<double> wert = ZahlWert(baud);
    if (!adresse || !wert)
        return Fehler(kKeineGueltigeId);
    return Rahmen(BaudCodeZu(*wert), *adresse, modus);
}

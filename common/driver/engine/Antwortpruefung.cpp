#include "Antwortpruefung.h"

#include "Rahmenbau.h"
#include "driver/decode/LangerRahmen.h"

#include <cstdint>

namespace mbus {

namespace {

// Bytes a line produces without a meter sending: a break or an idle glitch.
bool IstRauschen(char byte)
{
    const auto b = static_cast<std::uint8_t>(byte);
    return b == 0x00 || b == 0xFF;
}

bool NurRauschen(QByteArrayView bytes)
{
    for (const char b : bytes) {
        if (!IstRauschen(b))
            return false;
    }
    return true;
}

// 68 L L 68 and L bytes from C on, checksum and stop.
constexpr int kRahmenZusatz = 6;

QByteArrayView OhneRauschenDavor(QByteArrayView bytes)
{
    qsizetype anfang = 0;
    while (anfang < bytes.size() && IstRauschen(bytes[anfang]))
        ++anfang;
    return bytes.sliced(anfang);
}

// Exactly one long frame with sound length, second start character, checksum and stop.
bool GesunderRahmen(QByteArrayView bytes)
{
    if (bytes.size() < kRahmenZusatz || static_cast<std::uint8_t>(bytes[0]) != kStartLang ||
        bytes[1] != bytes[2] || static_cast<std::uint8_t>(bytes[3]) != kStartLang)
        return false;
    const int laenge = static_cast<std::uint8_t>(bytes[1]);
    if (bytes.size() != laenge + kRahmenZusatz ||
        static_cast<std::uint8_t>(bytes[bytes.size() - 1]) != kStopp)
        return false;
    std::uint8_t summe = 0;
    for (const char b : bytes.sliced(4, laenge))
        summe = static_cast<std::uint8_t>(summe + static_cast<std::uint8_t>(b));
    return summe == static_cast<std::uint8_t>(bytes[4 + laenge]);
}

Ereignis Ungueltig(int bits)
{
    Ereignis ereignis;
    ereignis.art = Ereignisart::Ungueltig;
    ereignis.empfangsfehler = bits;
    return ereignis;
}

Ereignis PruefeLangenRahmen(QByteArrayView bytes)
{
    if (bytes.size() >= 3) {
        const int gesamt = static_cast<std::uint8_t>(bytes[1]) + kRahmenZusatz;
        if (bytes[1] == bytes[2] && bytes.size() > gesamt) {
            if (!NurRauschen(bytes.sliced(gesamt)))
                return Ungueltig(kFehlerKollision);
            bytes = bytes.first(gesamt);
        }
    }
    const auto rahmen = LiesLangenRahmen(bytes);
    if (const auto* fehler = std::get_if<DekodierFehler>(&rahmen))
        return Ungueltig(EmpfangsfehlerBits(*fehler));

    Ereignis ereignis;
    ereignis.dekodiert = DekodiereTelegramm(bytes);
    ereignis.art = std::holds_alternative<DekodierFehler>(*ereignis.dekodiert)
                       ? Ereignisart::Ungueltig
                       : Ereignisart::Telegramm;
    return ereignis;
}

} // namespace

Ereignis PruefeAntwort(QByteArrayView antwort)
{
    const QByteArrayView bytes = OhneRauschenDavor(antwort);

    Ereignis ereignis;
    if (bytes.isEmpty()) {
        ereignis.art = Ereignisart::Zeitueberschreitung;
        ereignis.empfangsfehler = kFehlerZeitueberschreitung;
    } else if (static_cast<std::uint8_t>(bytes[0]) == kQuittung) {
        if (NurRauschen(bytes.sliced(1)))
            ereignis.art = Ereignisart::Quittung;
        else
            ereignis = Ungueltig(kFehlerKollision);
    } else if (static_cast<std::uint8_t>(bytes[0]) == kStartLang) {
        ereignis = PruefeLangenRahmen(bytes);
    } else {
        ereignis = Ungueltig(kFehlerKollision);
    }
    ereignis.antwort = antwort.toByteArray();
    return ereignis;
}

bool LangerRahmenUnvollstaendig(QByteArrayView antwort)
{
    const QByteArrayView bytes = OhneRauschenDavor(antwort);
    if (bytes.isEmpty() || static_cast<std::uint8_t>(bytes[0]) != kStartLang)
        return false;
    if (bytes.size() < 3)
        return true;
    if (bytes[1] != bytes[2])
        return false;
    if (bytes.size() < 4)
        return true;
    if (static_cast<std::uint8_t>(bytes[3]) != kStartLang)
        return false;
    return bytes.size() < static_cast<std::uint8_t>(bytes[1]) + kRahmenZusatz;
}

bool LangerRahmenKomplett(QByteArrayView antwort)
{
    return GesunderRahmen(OhneRauschenDavor(antwort));
}

std::optional<std::uint8_t> RahmenAdresse(QByteArrayView antwort)
{
    constexpr int kAdresse = 5;
    QByteArrayView bytes = OhneRauschenDavor(antwort);
    if (bytes.size() < kRahmenZusatz || static_cast<std::uint8_t>(bytes[0]) != kStartLang)
        return std::nullopt;
    const int gesamt = static_cast<std::uint8_t>(bytes[1]) + kRahmenZusatz;
    if (gesamt <= kAdresse || bytes.size() < gesamt || !NurRauschen(bytes.sliced(gesamt)))
        return std::nullopt;
    if (!GesunderRahmen(bytes.first(gesamt)))
        return std::nullopt;
    return static_cast<std::uint8_t>(bytes[kAdresse]);
}

} // namespace mbus

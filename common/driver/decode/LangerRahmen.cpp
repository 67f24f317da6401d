#include "LangerRahmen.h"

#include <algorithm>

namespace mbus {

namespace {

constexpr std::uint8_t kStart = 0x68;
constexpr std::uint8_t kStopp = 0x16;
constexpr int kKopfbytes = 4;     // 68 L L 68
constexpr int kMindestLaenge = 3; // C, A, CI
constexpr int kRahmenZusatz = 6;  // 68 L L 68 ... CS 16

} // namespace

std::variant<LangerRahmen, DekodierFehler> LiesLangenRahmen(QByteArrayView bytes)
{
    const int anzahl = static_cast<int>(std::min<qsizetype>(bytes.size(), 0x7FFFFFFF));
    const auto byte = [&bytes](int i) { return static_cast<std::uint8_t>(bytes[i]); };
    if (anzahl < 1)
        return Unvollstaendig{kMindestLaenge + kRahmenZusatz, 0};
    if (byte(0) != kStart)
        return UngueltigesStartzeichen{byte(0), 0};
    if (anzahl < kKopfbytes)
        return Unvollstaendig{kMindestLaenge + kRahmenZusatz, anzahl};
    if (byte(1) != byte(2))
        return LaengenUngleich{byte(1), byte(2)};
    if (byte(3) != kStart)
        return UngueltigesStartzeichen{byte(3), 3};
    const int laenge = byte(1);
    if (laenge < kMindestLaenge)
        return UngueltigeLaenge{byte(1)};
    const int gesamt = laenge + kRahmenZusatz;
    if (anzahl < gesamt)
        return Unvollstaendig{gesamt, anzahl};
    if (anzahl > gesamt)
        return UeberzaehligeBytes{gesamt, anzahl};

    std::uint8_t summe = 0;
    for (int i = kKopfbytes; i < kKopfbytes + laenge; ++i)
        summe = static_cast<std::uint8_t>(summe + byte(i));
    if (summe != byte(kKopfbytes + laenge))
        return Pruefsumme{summe, byte(kKopfbytes + laenge)};
    if (byte(gesamt - 1) != kStopp)
        return UngueltigesStoppzeichen{byte(gesamt - 1)};

    LangerRahmen rahmen;
    rahmen.steuerfeld = byte(4);
    rahmen.adresse = byte(5);
    rahmen.ci = byte(6);
    rahmen.datenAnfang = 7;
    rahmen.datenEnde = kKopfbytes + laenge;
    return rahmen;
}

} // namespace mbus

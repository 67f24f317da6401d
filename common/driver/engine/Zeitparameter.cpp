#include "Zeitparameter.h"

#include <algorithm>

namespace mbus {

namespace {

constexpr long long kMikrosekundenJeSekunde = 1000000;

int Baud(const Zeitparameter& zeiten)
{
    return zeiten.baud > 0 ? zeiten.baud : kStandardZeiten.baud;
}

long long NichtNegativ(long long wert)
{
    return wert < 0 ? 0 : wert;
}

} // namespace

Dauer Bitzeiten(const Zeitparameter& zeiten, long long bits)
{
    // Rounded up: a deadline is never earlier than the bits can arrive.
    const long long baud = Baud(zeiten);
    return Dauer((NichtNegativ(bits) * kMikrosekundenJeSekunde + baud - 1) / baud);
}

Dauer Sendedauer(const Zeitparameter& zeiten, long long bytes)
{
    return Bitzeiten(zeiten, NichtNegativ(bytes) * kBitsJeZeichen);
}

Dauer Antwortfenster(const Zeitparameter& zeiten)
{
    return Bitzeiten(zeiten, zeiten.antwortBits) +
           std::chrono::milliseconds(NichtNegativ(zeiten.antwortOffsetMs));
}

Dauer Antwortfrist(const Zeitparameter& zeiten)
{
    return Antwortfenster(zeiten) + Sendedauer(zeiten, 1) + kEmpfangsZugabe;
}

Dauer Antwortpause(const Zeitparameter& zeiten)
{
    return std::max<Dauer>(Sendedauer(zeiten, zeiten.pauseZeichen),
                           std::chrono::milliseconds(NichtNegativ(zeiten.pauseMindestMs)));
}

Dauer RahmenPause(const Zeitparameter& zeiten)
{
    return std::max<Dauer>(Antwortpause(zeiten),
                           std::chrono::milliseconds(NichtNegativ(zeiten.pauseImRahmenMs)));
}

Dauer Antwortgrenze(const Zeitparameter& zeiten)
{
    const Dauer inZeichen =
        Sendedauer(zeiten, kLaengsteAntwort * (1 + NichtNegativ(zeiten.pauseZeichen)));
    const Dauer mitMindestpause =
        kLaengsteAntwort *
        (Sendedauer(zeiten, 1) + std::chrono::milliseconds(NichtNegativ(zeiten.pauseMindestMs)));
    return std::max(inZeichen, mitMindestpause);
}

Dauer Totzeit(const Zeitparameter& zeiten)
{
    return Bitzeiten(zeiten, zeiten.totzeitBits);
}

} // namespace mbus

// Finding a time in a value file by bisection over the record numbers.

#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"

#include <algorithm>

namespace {

// A bisection of 2^31 records needs 32 probes; more means the loop went wrong.
constexpr int kHoechsteProben = 64;

// (lo + hi) / 2, a half rounded to the even neighbour.
qint64 MitteHalbGerade(qint64 lo, qint64 hi)
{
    const qint64 summe = lo + hi;
    const qint64 unten = summe >= 0 ? summe / 2 : -((-summe + 1) / 2);
    if (summe - 2 * unten == 0)
        return unten;
    return unten % 2 == 0 ? unten : unten + 1;
}

qint64 Abstand(UnixZeit a, UnixZeit b)
{
    return qAbs(qint64(a) - qint64(b));
}

} // namespace

UnixZeit RB6_SatzLesen(Wertdatei& datei, qint32 satz)
{
    RB6_Satz gelesen;
    datei.satzLesen(satz, gelesen);
    return gelesen.Tm;
}

bool RB6_ZeitImBereich(UnixZeit gesucht, qint32 fenster, UnixZeit zeit, RB6_Richtung& richtung)
{
    const qint64 ende = qint64(gesucht) + fenster;
    const qint64 von = fenster > 0 ? gesucht : ende;
    const qint64 bis = fenster > 0 ? ende : gesucht;
    richtung = zeit > gesucht ? RB6_Richtung::Abwaerts : RB6_Richtung::Aufwaerts;
    return zeit >= von && zeit <= bis;
}

qint32 RB6_SatzSuchen(Wertdatei& datei, qint32 ersterSatz, qint32 letzterSatz, UnixZeit gesucht,
                      qint32 fenster)
{
    if (letzterSatz < 1)
        return ersterSatz;
    qint64 lo = 1;
    qint64 hi = letzterSatz;
    qint64 probe = std::clamp<qint64>(ersterSatz, 1, letzterSatz);
    qint64 abstand = 0;
    for (int runde = 0; runde < kHoechsteProben; ++runde) {
        const UnixZeit zeit = RB6_SatzLesen(datei, qint32(probe));
        RB6_Richtung richtung = RB6_Richtung::Aufwaerts;
        if (RB6_ZeitImBereich(gesucht, fenster, zeit, richtung))
            return qint32(probe);
        abstand = Abstand(zeit, gesucht);
        if (richtung == RB6_Richtung::Aufwaerts)
            lo = probe;
        else
            hi = probe;
        probe = MitteHalbGerade(lo, hi);
        if (qAbs(hi - lo) <= 1)
            break;
    }
    // The range is down to two neighbours; the record after the last probe wins when it is
    // the wanted time or nearer to it than the last record read.
    if (hi - lo == 1 && probe + 1 <= letzterSatz) {
        const UnixZeit danach = RB6_SatzLesen(datei, qint32(probe + 1));
        if (danach == gesucht || Abstand(danach, gesucht) < abstand)
            return qint32(probe + 1);
    }
    return qint32(probe);
}

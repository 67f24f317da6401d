#include "datafiles/RB_Schreibplan.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kZaehlerUmlauf = 1000000;
constexpr int kLetzteZeileOhneEnde = 2; // rows 0 to 2 with time 0 are only skipped

std::optional<qint32> Ganzzahl(double wert)
{
    if (!std::isfinite(wert))
        return std::nullopt;
    // The default rounding mode takes halves to the even neighbour.
    const double gerundet = std::nearbyint(wert);
    if (gerundet < std::numeric_limits<qint32>::min() ||
        gerundet > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(gerundet);
}

QString Zeilenfehler(qsizetype i, const QString& was)
{
    return was + QStringLiteral(" in Zeile ") + QString::number(i + 1);
}

} // namespace

RB_Schreibplan RB_SchreibplanErstellen(const RB_Kopf& kopf, UnixZeit letzteZeit,
                                       const QList<RB_Zeile>& zeilen, bool differenz)
{
    RB_Schreibplan plan;
    const qint32 n = kopf.h[0];
    qint32 p = kopf.h[1] + 1; // slot number from 1
    plan.zaehlerstand = kopf.h[11];
    plan.letzteZeit = kopf.h[12];
    qint64 neuesteZeit = letzteZeit;

    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const RB_Zeile& zeile = zeilen[i];
        const std::optional<qint32> zeit = Ganzzahl(zeile.zeit);
        if (!zeit || *zeit < 0) {
            plan.fehler = Zeilenfehler(i, QStringLiteral("Zeit außerhalb 1970 bis 2038"));
            return plan;
        }
        if (*zeit == 0 || *zeit <= neuesteZeit) {
            if (*zeit == 0 && i > kLetzteZeileOhneEnde)
                break;
            continue;
        }
        const std::optional<qint32> sekunden = Ganzzahl(zeile.sekunden);
        const std::optional<qint32> wert = Ganzzahl(zeile.wert);
        if (!sekunden || !wert) {
            plan.fehler = Zeilenfehler(i, QStringLiteral("Zahl außerhalb 32 Bit"));
            return plan;
        }

        RB_Slotwert slot;
        p = p >= n ? 1 : p + 1;
        slot.slot = p - 1;
        slot.zeit = *zeit;
        slot.wert = *wert;
        if (differenz) {
            const qint64 alt = plan.zaehlerstand;
            if (alt <= 0) {
                slot.wert = 0;
            } else if (*wert >= alt) {
                slot.wert = static_cast<qint32>(*wert - alt);
            } else if (const qint64 umlauf = kZaehlerUmlauf - alt + *wert;
                       umlauf >= 0 && umlauf < kZaehlerUmlauf) {
                slot.wert = static_cast<qint32>(umlauf);
            } else {
                // No six-digit counter wrapped here (a meter exchange, a longer counter, a
                // wild reading): the slot shows no consumption and the file goes on from the
                // new reading.
                slot.wert = 0;
                UnixZeit wann = *zeit;
                plan.spruenge << QStringLiteral("Zählerstand springt von ") + QString::number(alt) +
                                     QStringLiteral(" auf ") + QString::number(*wert) +
                                     QStringLiteral(", Differenz 0 gespeichert um ") +
                                     UnixZeitAlsText(wann);
            }
            plan.zaehlerstand = *wert;
        }
        qint64 sek = *sekunden;
        if (sek == 0)
            sek = qint64(*zeit) - plan.letzteZeit;
        if (sek < std::numeric_limits<qint32>::min() || sek > std::numeric_limits<qint32>::max()) {
            plan.fehler = Zeilenfehler(i, QStringLiteral("Zahl außerhalb 32 Bit"));
            return plan;
        }
        slot.sekunden = static_cast<qint32>(sek);
        plan.letzteZeit = *zeit;
        neuesteZeit = *zeit;
        plan.slotwerte << slot;
    }
    plan.letzterSlot = p - 1;
    return plan;
}

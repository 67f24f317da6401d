// Gap filling, resampling and counter differences of the day values.

#include "datafiles/Tageswerte.h"

#include "log/Log.h"
#include "platform/Global.h"
#include "settings/Einstellungen.h"

#include <cmath>
#include <limits>

namespace {

// A step longer than one and a half grid intervals is a gap.
constexpr double kLueckeAb = 1.5 * kTageswerteRaster;
// More grid points than the whole 32-bit time range holds at 900 seconds are refused.
constexpr qint64 kMaxRasterpunkte = 2'500'000;

bool AdminLog()
{
    return Kommandozeile().contains(QStringLiteral("AdminLog"));
}

} // namespace

void RB_RohDatenAuffuellenMitRecordset(RB6_Tabelle& zeilen, qint32& intervall,
                                       const QVariant& /*unbenutzt*/)
{
    if (AdminLog())
        LogSchreiben(QStringLiteral("Starte RB_RohDatenAuffuellenMitRecordset"));
    // The first row is row 0, or row 1 when row 0 has no time (the record before the first
    // value of a file).
    qsizetype erste = 0;
    while (erste < 2 && erste < zeilen.size() && zeilen[erste][0] <= 0)
        ++erste;
    if (erste >= 2 || erste >= zeilen.size())
        return;
    intervall = kTageswerteRaster;

    RB6_Tabelle gefuellt;
    auto anfuegen = [&gefuellt](double tm, double wert) {
        gefuellt << RB6_Zeile{tm, wert, tm, wert};
    };
    anfuegen(zeilen[erste][0], zeilen[erste][1]);
    // The last row kept: gaps are measured from it, never from a row without a time.
    double letzteZeit = zeilen[erste][0];
    double letzterWert = zeilen[erste][1];
    for (qsizetype i = erste + 1; i < zeilen.size(); ++i) {
        const double tm = zeilen[i][0];
        if (tm <= 0)
            continue;
        if (tm - letzteZeit > kLueckeAb) {
            double raster =
                std::floor(letzteZeit / kTageswerteRaster) * kTageswerteRaster + kTageswerteRaster;
            for (; raster < tm - kTageswerteRaster; raster += kTageswerteRaster)
                anfuegen(raster, letzterWert);
        }
        anfuegen(tm, zeilen[i][1]);
        letzteZeit = tm;
        letzterWert = zeilen[i][1];
    }
    gefuellt << RB6_Zeile{};
    zeilen = std::move(gefuellt);
    if (AdminLog())
        LogSchreiben(QStringLiteral("Fertig RB_RohDatenAuffuellenMitRecordset"));
}

void RB6_RohDatenRastern(const RB6_Tabelle& quelle, RB6_Tabelle& ergebnis, qint64 erster,
                         qint64 letzter, qint32 intervall)
{
    if (intervall <= 0 || letzter < erster) {
        FehlerText = QStringLiteral("Ungültiges Raster von %1 bis %2, Intervall %3")
                         .arg(erster)
                         .arg(letzter)
                         .arg(intervall);
        return;
    }
    const qint64 punkte = (letzter - erster) / intervall;
    if (punkte >= kMaxRasterpunkte) {
        FehlerText = QStringLiteral("Zu viele Rasterpunkte: %1").arg(punkte + 1);
        return;
    }
    RB6_Tabelle raster(punkte + 1, RB6_Zeile{});
    qsizetype start = 0;
    for (qint64 k = 0; k <= punkte; ++k) {
        const double zeit =
            (punkte == 1 && k == 1) ? double(letzter) : double(erster + k * intervall);
        qsizetype treffer = -1;
        double naechste = std::numeric_limits<double>::infinity();
        for (qsizetype i = start; i < quelle.size(); ++i) {
            if (quelle[i][0] <= 0)
                continue;
            const double abstand = std::fabs(std::trunc(quelle[i][0] - zeit));
            if (abstand > naechste)
                break;
            treffer = i;
            naechste = abstand;
            if (abstand == 0)
                break;
        }
        if (treffer < 0)
            continue;
        raster[k] = quelle[treffer];
        start = treffer;
    }
    ergebnis = std::move(raster);
}

double RB6_DiffMitUeberlauf(qint32 zStellen, double alt, double neu, double faktor,
                            double& differenz, bool& ueberlauf)
{
    ueberlauf = false;
    if (alt == neu) {
        differenz = 0.0;
        return 0.0;
    }
    if (zStellen > 0) {
        const double bereich = std::pow(10.0, zStellen);
        if (alt > neu) {
            differenz = bereich - alt + neu;
            ueberlauf = true;
        } else {
            differenz = neu - alt;
        }
    } else {
        differenz = neu - alt;
        ueberlauf = alt > neu;
    }
    return faktor * differenz;
}

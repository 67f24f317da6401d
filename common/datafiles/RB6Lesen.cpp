// Reading a period of a value file into rows.

#include "datafiles/RB6Intern.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "platform/Global.h"

namespace {

constexpr qint64 kMandantOhneWertdateien = 1450;
// An end found this close before the last value is taken as the last value.
constexpr qint64 kEndeNaheLetztem = 10;

int Fehler(int status, const QString& grund, const QString& datei)
{
    FehlerText = grund + QStringLiteral(": ") + datei;
    return status;
}

} // namespace

int RB6_WerteLesen(qint32 lznr, UnixZeit& von, UnixZeit& bis, RB6_Tabelle& feld, qint32 intervall,
                   qint32 index)
{
    FehlerText.clear();
    const QString name = RB6_DateiName(DBPath, lznr, index);
    if (RB6_MandantNummer() == kMandantOhneWertdateien)
        return Fehler(kRB6_StatusMandant1450,
                      QStringLiteral("Für Mandant 1450 werden keine Wertdateien gelesen"), name);
    if (von < 0 || bis < 0 || intervall < 0)
        return Fehler(-3,
                      QStringLiteral("Ungültiger Zeitraum %1 bis %2, Intervall %3")
                          .arg(von)
                          .arg(bis)
                          .arg(intervall),
                      name);

    Wertdatei datei(name);
    if (!datei.oeffnenLesen()) {
        RB6_DateifehlerMelden(datei);
        return -1;
    }
    // An empty file has no header: the header check fails first.
    if (datei.groesse() == 0) {
        datei.loeschen();
        return Fehler(-1, QStringLiteral("Leere Wertdatei gelöscht"), name);
    }
    RB6_Kopf kopf;
    if (!RB6_GeprueftenKopfLesen(datei, kopf))
        return -1;
    const qint32 letzter = qint32(RB6_LetzterSatz(kopf));
    if (letzter < kRB6_ErsterWertsatz)
        return Fehler(-5, QStringLiteral("Keine Werte in der Datei"), name);

    const qint32 halbesIntervall = intervall / 2;
    qint32 start = kRB6_ErsterWertsatz;
    qint32 ende = letzter;
    datei.fehlerLoeschen();
    if (von == 0) {
        von = kopf.Tm10;
    } else {
        // A hit lies in [von - intervall/2, von]; the record before it is taken as well.
        start = RB6_SatzSuchen(datei, kRB6_ErsterWertsatz, letzter, von, -halbesIntervall);
        if (start > kRB6_ErsterWertsatz)
            --start;
        // A time before every value may end the search in the header.
        start = qMax<qint32>(start, kRB6_ErsterWertsatz);
    }
    if (bis == 0) {
        bis = kopf.Tm2;
    } else {
        // A hit lies in [bis, bis + intervall/2 - 1].
        ende = RB6_SatzSuchen(datei, start, letzter, bis, halbesIntervall - 1);
        if (letzter - ende < kEndeNaheLetztem)
            ende = letzter;
    }
    if (!datei.fehler().isEmpty()) {
        RB6_DateifehlerMelden(datei);
        return -3;
    }
    if (ende - start <= 0)
        return Fehler(-5, QStringLiteral("Keine Werte im Zeitraum"), name);

    // Row 0 is the record before the first one found; one read for all rows.
    QList<RB6_Satz> saetze;
    if (!datei.saetzeLesen(start - 1, qint64(ende) - start + 2, saetze)) {
        RB6_DateifehlerMelden(datei);
        return -4;
    }
    RB6_Tabelle zeilen;
    zeilen.reserve(saetze.size());
    for (const RB6_Satz& satz : saetze)
        zeilen << RB6_Zeile{double(satz.Tm), satz.Wert, 0.0, 0.0};
    feld = std::move(zeilen);
    return 0;
}

// Appending a value to a value file.

#include "datafiles/RB6Intern.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "platform/Global.h"

#include <QFileInfo>

namespace {

int Abgelehnt(const QString& grund, const QString& datei)
{
    FehlerText = grund + QStringLiteral(": ") + datei;
    return -2;
}

} // namespace

int RB6_WertSchreiben(const QString& pfad, qint32 lznr, UnixZeit tm, double wert, qint32 index,
                      QString& datei)
{
    FehlerText.clear();
    if (datei.isEmpty())
        datei = RB6_DateiName(pfad, lznr, index);
    // Times start after 01.01.1970 00:00:00; 0 is what an unreadable date turns into.
    if (tm <= 0)
        return Abgelehnt(QStringLiteral("Ungültige Zeit %1").arg(tm), datei);

    Wertdatei wertdatei(datei);
    const QFileInfo info(wertdatei.pfad());
    if (!info.exists() || (info.isFile() && info.size() == 0)) {
        if (RB6_Anlegen(datei, RB6_Bloecke(0), 1.0, 1.0, 0.0, 0.0) != 0)
            return -1;
    }

    if (!wertdatei.oeffnenSchreiben()) {
        RB6_DateifehlerMelden(wertdatei);
        return -2;
    }
    RB6_Kopf kopf;
    if (!RB6_GeprueftenKopfLesen(wertdatei, kopf))
        return -2;
    const qint64 letzter = RB6_LetzterSatz(kopf);
    const UnixZeit neuester = kopf.Tm2;

    if (tm > neuester) {
        const qint64 neu = letzter + 1;
        if (neu > kRB6_HoechsterSatz)
            return Abgelehnt(QStringLiteral("Wertdatei voll"), datei);
        // The value first, then the header that points at it: an interrupted append leaves
        // the file as it was before.
        if (!wertdatei.satzSchreiben(neu, {tm, wert}) ||
            !wertdatei.satzSchreiben(2, {tm, double(neu)})) {
            RB6_DateifehlerMelden(wertdatei);
            return -3;
        }
        if (neu > kopf.Tm5 && !wertdatei.satzSchreiben(5, {qint32(neu), kopf.Wert5})) {
            RB6_DateifehlerMelden(wertdatei);
            return -3;
        }
        return 0;
    }
    if (tm == neuester) {
        // With no value stored yet the newest record is a header record.
        if (letzter < kRB6_ErsterWertsatz)
            return Abgelehnt(QStringLiteral("Zeit %1 träfe einen Kopfsatz").arg(tm), datei);
        if (!wertdatei.satzSchreiben(letzter, {tm, wert})) {
            RB6_DateifehlerMelden(wertdatei);
            return -4;
        }
        return 0;
    }
    return Abgelehnt(QStringLiteral("Zeit %1 älter als der neueste Wert %2").arg(tm).arg(neuester),
                     datei);
}

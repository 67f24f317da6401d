// Reading and writing the header of a value file.

#include "datafiles/RB6Intern.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "log/Log.h"
#include "platform/Global.h"

namespace {

// Records 1 to 11: the header and the oldest value.
constexpr qint64 kKopfblock = 11 * kRB6_Satzlaenge;

// Opens an existing file; an empty one holds nothing and is deleted.
bool VorhandeneOeffnen(Wertdatei& datei, bool schreiben)
{
    if (!(schreiben ? datei.oeffnenSchreiben() : datei.oeffnenLesen())) {
        RB6_DateifehlerMelden(datei);
        return false;
    }
    if (datei.groesse() == 0) {
        datei.loeschen();
        FehlerText = QStringLiteral("Leere Wertdatei gelöscht: ") + datei.name();
        return false;
    }
    return true;
}

} // namespace

bool RB6_GeprueftenKopfLesen(Wertdatei& datei, RB6_Kopf& kopf)
{
    QByteArray bytes;
    if (!datei.bytesLesen(0, kKopfblock, bytes)) {
        RB6_DateifehlerMelden(datei);
        return false;
    }
    QString grund;
    const RB6_Kopf gelesen = RB6_KopfAusBytes(bytes);
    if (bytes.size() < kRB6_Kopfsaetze * kRB6_Satzlaenge)
        grund = QStringLiteral("Datei kürzer als der Kopf");
    else
        RB6_KopfGueltig(gelesen, datei.saetze(), grund);
    if (!grund.isEmpty()) {
        FehlerText = QStringLiteral("Kopf der Wertdatei ungültig (") + grund +
                     QStringLiteral("): ") + datei.name();
        LogSchreiben(FehlerText);
        return false;
    }
    kopf = gelesen;
    return true;
}

int RB6_KopfLesen(const QString& datei, RB6_Kopf& kopf)
{
    FehlerText.clear();
    Wertdatei wertdatei(datei);
    if (!VorhandeneOeffnen(wertdatei, false))
        return -1;
    return RB6_GeprueftenKopfLesen(wertdatei, kopf) ? 0 : -2;
}

int RB6_KopfSchreiben(const QString& datei, const RB6_Kopf& kopf)
{
    FehlerText.clear();
    Wertdatei wertdatei(datei);
    if (!VorhandeneOeffnen(wertdatei, true))
        return -1;
    RB6_Kopf bisher;
    if (!RB6_GeprueftenKopfLesen(wertdatei, bisher))
        return -2;
    QString grund;
    if (!RB6_KopfGueltig(kopf, wertdatei.saetze(), grund)) {
        FehlerText =
            QStringLiteral("Neuer Kopf ungültig (") + grund + QStringLiteral("): ") + datei;
        return -2;
    }
    if (!wertdatei.bytesSchreiben(0, RB6_KopfBytes(kopf))) {
        RB6_DateifehlerMelden(wertdatei);
        return -2;
    }
    return 0;
}

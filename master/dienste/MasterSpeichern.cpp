#include "MasterSpeichern.h"

#include "database/IndexListeSpeichern.h"
#include "database/WertTabellen.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/RB_DateiAnlegen.h"
#include "datafiles/RB_DateiName.h"
#include "datafiles/RB_WerteSchreiben.h"
#include "log/Log.h"
#include "log/MasterLogZeile.h"
#include "master/dienste/MasterLog.h"
#include "platform/Global.h"
#include "platform/Uhr.h"
#include "text/Texte.h"

#include <cmath>
#include <limits>

namespace {

constexpr qint32 kIntervallTage = 1000;

void mbLog(const QString& text)
{
    MBusLogSchreiben(text, QString(), kMBusLogSuffix);
}

// One row (t1, 0, v) into an interval file, in difference mode.
void IntervallSchreiben(const QString& name, UnixZeit t1, qint32 v)
{
    RB_ZStandDifferenz = true;
    const QList<RB_Zeile> zeile{{static_cast<double>(t1), 0.0, static_cast<double>(v)}};
    if (RB_WerteSchreiben(name, zeile, RB_ZStandDifferenz) != 0)
        mbLog(QStringLiteral("Fehler beim speichern RB: ") + name + QStringLiteral(" rc=") +
              FehlerText);
}

// The main index: both interval files and the meter reading.
void HauptindexSpeichern(const MBZaehler& zaehler, int k, MasterSpeicherZiel& ziel)
{
    const MBWert& wert = zaehler.Werte[static_cast<size_t>(k)];
    const UnixZeit t1 = DatumInUnixZeit(Jetzt());
    const double hundertstel = std::nearbyint(wert.Wert * 100.0);
    if (!(hundertstel >= std::numeric_limits<qint32>::min() &&
          hundertstel <= std::numeric_limits<qint32>::max())) {
        mbLog(QStringLiteral("Wert zu groß für die Intervalldateien : lznr=") +
              QString::number(zaehler.LZNR) + QStringLiteral(" Index=") + QString::number(k) +
              QStringLiteral(" Wert=") + ZahlAlsText(wert.Wert));
    } else {
        const auto v = static_cast<qint32>(hundertstel);
        // A new file starts just before its first reading, so that reading is its first row
        // (the writer stores only rows later than the file's newest time).
        RB_DateiAnlegenZaehler(-1, zaehler.LZNR, 0, t1 - 1, kIntervallTage, v);
        IntervallSchreiben(RB_DateiName15p(zaehler.LZNR, 0), t1, v);
        const QString zwilling = MasterIntervallDateiName(zaehler.LZNR, k);
        RB_DateiAnlegen(zwilling, t1 - 1, kIntervallTage, v);
        IntervallSchreiben(zwilling, t1, v);
    }
    if (!ziel.z.ZaehlerstaendeOffen)
        return;
    if (MB_ZaehlerstandSpeichern(ziel.z.rsZaehlerstaende, zaehler.LZNR, wert.Tm, zaehler.BasisTarif,
                                 wert.Wert) != 0) {
        mbLog(QStringLiteral("Fehler beim speichern Index in Zaehlerstande : ") +
              QStringLiteral(" rc=") + FehlerText);
        MasterLogZeile(ziel.log, QStringLiteral("Fehler speichern ZStaende ") + FehlerText);
    } else {
        MasterLogZeile(ziel.log, QStringLiteral("Speichern ZStaende Ok"));
    }
}

} // namespace

QString MasterIntervallDateiName(qint32 lznr, qint32 index)
{
    QString name = RB6_DateiName(DatenPath, lznr, index);
    name.chop(4);
    return name + QStringLiteral(".15p");
}

void WertdateiEintragSchreiben(const WertdateiEintrag& eintrag)
{
    QString datei;
    if (RB6_WertSchreiben(DBPath, eintrag.lznr, eintrag.tm, eintrag.wert, eintrag.index, datei) !=
        0)
        mbLog(QStringLiteral("Fehler beim speichern RB6 : ") + datei + QStringLiteral(" rc=") +
              FehlerText);
}

void MasterWerteSpeichern(MBZaehler& zaehler, const QString& adresse, MasterSpeicherZiel& ziel)
{
    MasterZustand& z = ziel.z;
    if (z.TestModus && z.ZaehlerstaendeOffen) {
        // Test meters only mark that they were read.
        MB_ZaehlerstandSpeichern(z.rsZaehlerstaende, zaehler.LZNR, zaehler.Werte[0].Tm,
                                 zaehler.BasisTarif, zaehler.Werte[0].Wert);
        return;
    }

    const int n = zaehler.AnzWerte;
    if (z.ZaehlerstaendeOffen && zaehler.IndexAnz != n && n == 0) {
        // An answer without records would wipe the meter's configured index list.
        mbLog(QStringLiteral("Indexliste nicht gespeichert: keine Werte gelesen lznr=") +
              QString::number(zaehler.LZNR));
    } else if (z.ZaehlerstaendeOffen && zaehler.IndexAnz != n) {
        const int zeilen = MB_IndexListeSpeichern(zaehler);
        if (zeilen >= 0)
            zaehler.IndexAnz = static_cast<qint16>(static_cast<quint8>(zeilen));
    }
    MasterLogZeile(ziel.log, QStringLiteral("Indexe Speichern für ") + zaehler.MB_ID);

    const bool mandant200 = Val(Mandant) == 200.0;
    const bool mandantText200 = Mandant == QStringLiteral("200");
    for (int k = 1; k <= n; ++k) {
        MBWert& wert = zaehler.Werte[static_cast<size_t>(k)];
        if (ziel.haken[1]) {
            MasterLogZeileSchreiben(zaehler.MB_ID, zaehler.Zname, ziel.port, adresse, k, wert.Wert,
                                    wert.Einheit);
            if (mandant200 && k == 1)
                MBusLogSchreiben(
                    MasterIndex1Zeile(zaehler.MB_ID, zaehler.Zname, wert.Wert, wert.Einheit),
                    kIndex1Kopf, kIndex1Suffix);
        }
        const bool speichern = wert.Speichern == 255;
        if (ziel.haken[0] && speichern && z.MBusWerteOffen) {
            if (MB_MBusWertSpeichern(z.rsMBusWerte, zaehler.LZNR, wert.Tm, k, wert.Wert) != 0) {
                mbLog(QStringLiteral("Fehler beim speichern Index in DB : ") +
                      QStringLiteral(" rc=") + FehlerText);
                MasterLogZeile(ziel.log, QStringLiteral("Fehler speichern MBIndexe ") + FehlerText);
            } else {
                MasterLogZeile(ziel.log,
                               QStringLiteral("Speichern MBIndex Ok ") + QString::number(k));
            }
        }
        if (ziel.haken[2] && speichern) {
            const WertdateiEintrag eintrag{zaehler.LZNR, k, wert.Tm, wert.Wert};
            if (!ziel.dateienGesperrt)
                WertdateiEintragSchreiben(eintrag);
            else if (ziel.zurueckgestellt)
                ziel.zurueckgestellt->append(eintrag);
        }
        if (k == zaehler.MBIndex && !mandantText200)
            HauptindexSpeichern(zaehler, k, ziel);
    }
}

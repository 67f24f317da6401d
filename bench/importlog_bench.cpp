// Import of one day's mb.log of a 250-meter port (20 records a meter, a read every 15 minutes:
// 480,000 data lines) into the value files, against the cost of appending one value to a value
// file measured in the same run: import time / (lines x append cost) must stay at or below 1.5.
// Prints the ratio and the lines per second.

#include "database/Schema.h"
#include "database/Transaktion.h"
#include "database/Verbindung.h"
#include "datafiles/RB6Wertdatei.h"
#include "grid/GridModell.h"
#include "log/MasterLogZeile.h"
#include "master/importlog/LogImport.h"
#include "platform/Global.h"
#include "platform/Pfad.h"
#include "platform/Sperren.h"
#include "platform/Textdatei.h"
#include "platform/Uhr.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kZaehler = 250;
constexpr int kSaetze = 20;
constexpr int kZyklen = 96;
constexpr int kPort = 3;
constexpr int kAnhaengen = 20'000;
const QDate kTag(2005, 9, 15);

bool ZaehlerAnlegen()
{
    if (!DatenbankAnlegen(DBPath + QStringLiteral("basis.mdb")))
        return false;
    std::unique_ptr<Verbindung> db = Verbindung::OpenDatabase(DBPath + QStringLiteral("basis.mdb"));
    if (!db)
        return false;
    Transaktion transaktion(*db);
    for (int a = 1; a <= kZaehler; ++a)
        if (!db->Execute(QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, MBIndex, MBComP) "
                                        "VALUES (?, ?, ?, ?)"),
                         {1000 + a, a, 1, kPort}))
            return false;
    return transaktion.Commit();
}

// The day's log: the master's header and data lines, one append per cycle.
qint64 LogSchreiben()
{
    const QString datei = PfadAufloesen(LogImport::logDatei(kTag));
    QDir().mkpath(OrdnerVon(datei));
    QFile::remove(datei);
    if (!TextZeilenAnhaengen(datei, {kMasterLogKopf}))
        return -1;
    qint64 zeilen = 0;
    for (int zyklus = 0; zyklus < kZyklen; ++zyklus) {
        QStringList block;
        block.reserve(kZaehler * kSaetze);
        for (int a = 1; a <= kZaehler; ++a) {
            const QDateTime zeit = Wandzeit(kTag, QTime(0, 0).addSecs(zyklus * 900 + a / 10));
            const QString zeitText =
                QLocale::c().toString(zeit, QStringLiteral("dd.MM.yy hh:mm:ss")) +
                QStringLiteral(" ;");
            for (int k = 1; k <= kSaetze; ++k)
                block << zeitText + MasterLogZeile(QStringLiteral("fff%1").arg(70000 + a),
                                                   QStringLiteral("Zähler %1").arg(a), kPort,
                                                   QString::number(a), k,
                                                   12345.678 + zyklus * 0.25 + k,
                                                   QStringLiteral("m^3"));
        }
        if (!TextZeilenAnhaengen(datei, block))
            return -1;
        zeilen += block.size();
    }
    return zeilen;
}

// Mean cost of one RB6_WertSchreiben append, in seconds.
double AnhaengenKosten()
{
    QString datei;
    const UnixZeit anfang = 1'126'742'400;
    QElapsedTimer uhr;
    uhr.start();
    for (int i = 0; i < kAnhaengen; ++i) {
        if (RB6_WertSchreiben(DBPath, 999'999, anfang + 60 * i, i, 1, datei) != 0)
            return -1;
    }
    const double sekunden = double(uhr.nsecsElapsed()) / 1e9;
    QFile::remove(PfadAufloesen(datei));
    return sekunden / kAnhaengen;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir ordner;
    DBPath = ordner.path() + u'/';
    Mandant = QStringLiteral("1320");
    RB6_StandardGroesse = 100;
    Sperren::ordnerSetzen(ordner.filePath(QStringLiteral("sperren")));

    if (!ZaehlerAnlegen()) {
        std::printf("Datenbank nicht angelegt: %s\n", qPrintable(FehlerText));
        return 1;
    }
    const qint64 zeilen = LogSchreiben();
    if (zeilen != qint64(kZaehler) * kSaetze * kZyklen) {
        std::printf("Log nicht geschrieben\n");
        return 1;
    }
    const double kosten = AnhaengenKosten();
    if (kosten <= 0) {
        std::printf("Anhaengen misslungen: %s\n", qPrintable(FehlerText));
        return 1;
    }

    GridModell grid;
    LogImport import;
    const QString tag = kTag.toString(QStringLiteral("dd.MM.yyyy"));
    QElapsedTimer uhr;
    uhr.start();
    import.importieren(tag, tag, grid);
    const double sekunden = double(uhr.nsecsElapsed()) / 1e9;

    const LogImport::Bilanz& bilanz = import.bilanz();
    const double verhaeltnis = sekunden / (double(zeilen) * kosten);
    std::printf(
        "Import eines Tages-Logs: %lld Datenzeilen (+1 Kopfzeile) in %.2f s, %.0f Zeilen/s; "
        "%lld Werte in %d Wertdateien\n",
        static_cast<long long>(zeilen), sekunden, double(bilanz.zeilen) / sekunden,
        static_cast<long long>(bilanz.werte), bilanz.dateien);
    std::printf("Anhaengen eines Wertes: %.1f us; Zeit / (Zeilen x Anhaengen) = %.3f (Grenze 1,5): "
                "%s\n",
                kosten * 1e6, verhaeltnis, verhaeltnis <= 1.5 ? "eingehalten" : "UEBERSCHRITTEN");
    return bilanz.dateien == kZaehler && bilanz.werte == kZaehler * kZyklen ? 0 : 1;
}

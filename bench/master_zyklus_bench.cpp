// The master's cycle, measured:
//   --tempo      50 meters selected by identification number, each answering a 100-byte
//                telegram at 2400 baud, simulator pacing on, no pause: wall time of one cycle
//                against the wire minimum (every byte at 11 bits plus the simulator's answer
//                delays); limit 1.10
//   --speichern  one cycle's storing of 250 meters x 20 values with every output on (SQLite,
//                mb.log, value files, both interval files) against that cycle's wire time at
//                2400 baud; limit 2 %
//   --dauer [n]  n cycles (300) with pacing off over 20 meters (one silent, one answering only
//                in the repeat pass, one with a bad checksum), the database reloaded each cycle:
//                resident memory and open file descriptors after cycle 30 and after cycle n
//                (within 5 %); then the same bus read by the master window itself (offscreen,
//                "Auto", interval 1 s, database, mb.log and value files on), one cycle after
//                the other: its resident memory after cycle 30 and after cycle n
//   --fenster [n] only the master window's part of it
//   --erster [n] n cycles (2) of 30 meters (100-byte telegrams, 2400 baud, pacing on) with
//                mb.log and value files on, in a folder without files: the CPU share of the
//                cycle's thread (CPU time over wall time) per cycle; the first one creates the
//                two interval files of every meter. (strace -c -e trace=write on "--erster 1"
//                counts the first cycle's write() calls.)
// Without an option all run.

#include "BusSimulator.h"
#include "database/MBConnection.h"
#include "database/Schema.h"
#include "database/WertTabellen.h"
#include "datafiles/RB6Wertdatei.h"
#include "grid/GridModell.h"
#include "master/dienste/MasterSpeichern.h"
#include "master/dienste/MasterZaehlerliste.h"
#include "master/dienste/MasterZyklus.h"
#include "master/frmMbusMasterV4.h"
#include "platform/Global.h"
#include "platform/Uhr.h"
#include "serial/SerielleSchnittstelle.h"
#include "settings/Einstellungen.h"
#include "ui/FlexGridWidget.h"
#include "zugang/UserConfig.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kBaud = 2400;
constexpr double kBitsJeZeichen = 11.0;

double Zeichenzeit(double bytes)
{
    return bytes * kBitsJeZeichen / kBaud;
}

void ZepIni(const QString& geraet)
{
    QFile ini(QStringLiteral("ZEP.INI"));
    ini.open(QIODevice::WriteOnly);
    ini.write(
        QStringLiteral("[ZEP]\r\nDBPATH201=.\\\r\n[COM]\r\nCOM1=%1\r\n").arg(geraet).toUtf8());
}

// A cycle driver without a window: grids in memory, the tick boxes as given.
struct Zyklusumgebung
{
    GridModell zaehler, log, zeiten;
    SerielleSchnittstelle comm;
    MasterZustand z;
    std::array<bool, 4> haken{};
    std::function<void(const QString&)> label = [](const QString&) {};

    MasterZyklusFenster fenster()
    {
        return {zaehler,
                log,
                zeiten,
                comm,
                [this](int i) { return i >= 0 && i < 4 && haken[static_cast<size_t>(i)]; },
                [] { return MB_DatenbankVerbinden(); },
                [this] {
                    QStringList auswahl;
                    return BM_ZaehlerlisteLadenComPort(MB_Connection.get(), 1,
                                                       {zaehler, log, z.MasterZaehler, auswahl});
                },
                [](const QString&) { return 4; },
                [] { return false; },
                [this](const QString& text) { label(text); },
                [](bool) {},
                [] {},
                [] { return false; },
                [](const QString&, const QStringList&, QString&) { return true; }};
    }

    // Meters in the grid and the records without a database: ids 10000001 ...
    void zaehlerEintragen(int anzahl)
    {
        zaehler.setCols(7);
        zaehler.setRows(anzahl + 1);
        z.MasterZaehler.assign(static_cast<size_t>(anzahl) + 2, MBZaehler{});
        for (int i = 1; i <= anzahl; ++i) {
            zaehler.setTextMatrix(i, 0, QString::number(i));
            MBZaehler& m = z.MasterZaehler[static_cast<size_t>(i)];
            m.MB_ID = QString::number(10000000 + i);
            m.MBComP = 1;
            m.MBBaud = kBaud;
            m.LZNR = i;
            m.MBIndex = 1;
        }
    }
};

// 100 bytes: 68 L L 68 C A CI, 12 header bytes, 79 bytes of records, CS 16.
QString Zaehler100(int i, bool adresse)
{
    QString text = QStringLiteral("zaehler id=%1%2\n")
                       .arg(10000000 + i)
                       .arg(adresse ? QStringLiteral(" adresse=%1").arg(i) : QString());
    for (int k = 0; k < 11; ++k)
        text += QStringLiteral("satz 0406 ") + QString::number(10 + k) + QStringLiteral("000000\n");
    text += QStringLiteral("satz 0E06 123456789012\nsatz 0B13 123456\n");
    return text;
}

// A paced bus at 2400 baud of n meters of 100-byte telegrams, selected by their ids.
QString BusMit100(int n)
{
    QString bus = QStringLiteral("bus takt=ja antwort_bits=11 antwort_ms=3\n");
    for (int i = 1; i <= n; ++i)
        bus += Zaehler100(i, false);
    return bus;
}

// The bus started on a terminal of its own and entered as COM1 in ZEP.INI; nullptr (the reason
// printed) when it does not start.
std::unique_ptr<BusSimulator> BusStarten(const QString& bus)
{
    SimBus simBus;
    QString fehler;
    if (!BusSimulator::busTextLesen(bus, simBus, &fehler)) {
        std::printf("Bus: %s\n", qPrintable(fehler));
        return nullptr;
    }
    auto sim = std::make_unique<BusSimulator>(simBus);
    if (!sim->starten(&fehler)) {
        std::printf("Simulator: %s\n", qPrintable(fehler));
        return nullptr;
    }
    ZepIni(sim->geraet());
    return sim;
}

int Tempo()
{
    constexpr int kZaehler = 50;
    const std::unique_ptr<BusSimulator> simulator = BusStarten(BusMit100(kZaehler));
    if (!simulator)
        return 1;
    BusSimulator& sim = *simulator;
    Zyklusumgebung u;
    u.z.MeterPause = 0;
    u.z.ComTimeouts = {330, 50, 4, 11};
    u.z.Gestartet = true;
    u.zaehlerEintragen(kZaehler);
    MasterZyklus zyklus(u.z, u.fenster());
    QElapsedTimer uhr;
    uhr.start();
    zyklus.laufen(0);
    const double wand = double(uhr.nsecsElapsed()) / 1e9;
    sim.stoppen();
    int ok = 0;
    for (int i = 1; i <= kZaehler; ++i)
        ok += u.zaehler.TextMatrix(i, 4) == QStringLiteral("Ok") ? 1 : 0;
    // Per meter: select (17 bytes) and E5, application reset (9) and E5, select again (17) and
    // E5, REQ_UD2 (5) and the 100-byte answer; each answer starts 11 bit times + 3 ms after its
    // request.
    const double minimum =
        kZaehler * (Zeichenzeit(17 + 1 + 9 + 1 + 17 + 1 + 5 + 100) + 4 * (11.0 / kBaud + 0.003));
    const double verhaeltnis = wand / minimum;
    std::printf("Zyklus über %d Zähler (100 Bytes, %d Baud, Takt an): %.2f s, Leitungsminimum "
                "%.2f s, Verhältnis %.3f (Grenze 1,10): %s; %d von %d gelesen\n",
                kZaehler, kBaud, wand, minimum, verhaeltnis,
                verhaeltnis <= 1.10 ? "eingehalten" : "UEBERSCHRITTEN", ok, kZaehler);
    return 0;
}

int Speichern()
{
    constexpr int kZaehler = 250;
    constexpr int kWerte = 20;
    if (!DatenbankAnlegen(QDir::current().filePath(QStringLiteral("basis.mdb"))))
        return std::printf("Datenbank: %s\n", qPrintable(FehlerText)), 1;
    DBParameter = {QStringLiteral("1"),
                   QDir::current().filePath(QStringLiteral("basis.mdb")),
                   QString(),
                   QString(),
                   QStringLiteral("1"),
                   QString(),
                   QString()};
    Zyklusumgebung u;
    if (!MB_DatenbankVerbinden() || !MBIndexlisteOeffnen(u.z.rsMBusWerte) ||
        !MB_ZaehlerstaendeOeffnen(u.z.rsZaehlerstaende))
        return std::printf("Datenbank: %s\n", qPrintable(FehlerText)), 1;
    u.z.MBusWerteOffen = u.z.ZaehlerstaendeOffen = true;
    u.log.setRows(1);
    RB6_StandardGroesse = 20;
    std::vector<MBZaehler> zaehler(kZaehler);
    for (int i = 0; i < kZaehler; ++i) {
        MBZaehler& m = zaehler[static_cast<size_t>(i)];
        m.LZNR = i + 1;
        m.MB_ID = QString::number(10000001 + i);
        m.Zname = QStringLiteral("Zähler %1").arg(i + 1);
        m.MBIndex = 1;
        m.AnzWerte = kWerte;
        m.IndexAnz = kWerte;
        for (int k = 1; k <= kWerte; ++k) {
            m.Werte[static_cast<size_t>(k)].Speichern = 255;
            m.Werte[static_cast<size_t>(k)].Einheit = MBWertText(QStringLiteral("kWh"));
        }
    }
    StellbareUhr takt(Wandzeit(QDate(2026, 12, 5), QTime(12, 0, 0)));
    UhrSetzen(&takt);
    // The first cycle creates the files; the second is the one measured.
    double gemessen = 0;
    for (int zyklus = 0; zyklus < 2; ++zyklus) {
        QElapsedTimer uhr;
        uhr.start();
        for (MBZaehler& m : zaehler) {
            for (int k = 1; k <= kWerte; ++k) {
                m.Werte[static_cast<size_t>(k)].Wert = 1000.0 * m.LZNR + k + zyklus;
                m.Werte[static_cast<size_t>(k)].Tm = DatumInUnixZeit(Jetzt());
            }
            MasterSpeicherZiel ziel{u.z, {true, true, true}, 1, false, u.log};
            MasterWerteSpeichern(m, QStringLiteral("1"), ziel);
            u.log.setRows(1);
        }
        gemessen = double(uhr.nsecsElapsed()) / 1e9;
        takt.vorstellen(900);
    }
    UhrSetzen(nullptr);
    u.z.rsMBusWerte.Close();
    u.z.rsZaehlerstaende.Close();
    MB_ConnectionSchliessen();
    // Per meter: REQ_UD2 (5) and the answer (7 + 12 + 20 records of 6 bytes + 2).
    const double leitung = kZaehler * Zeichenzeit(5 + 7 + 12 + kWerte * 6 + 2);
    const double anteil = 100.0 * gemessen / leitung;
    std::printf("Speichern eines Zyklus (%d Zähler x %d Werte, alle Ausgaben): %.1f ms; "
                "Leitungszeit %.1f s; Anteil %.3f %% (Grenze 2 %%): %s\n",
                kZaehler, kWerte, gemessen * 1000.0, leitung, anteil,
                anteil <= 2.0 ? "eingehalten" : "UEBERSCHRITTEN");
    return 0;
}

qint64 RssKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    const QList<QByteArray> felder = statm.readAll().split(' ');
    return felder.size() > 1 ? felder[1].toLongLong() * sysconf(_SC_PAGESIZE) / 1024 : -1;
}

qint64 Dateideskriptoren()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files | QDir::Dirs)
        .size();
}

constexpr int kDauerZaehler = 20;
constexpr int kStumm = 5, kNurWiederholung = 10, kPruefsumme = 15;

// The soak's bus on a simulator and its meters in a fresh basis.mdb in the working folder; ZEP.INI
// names the simulator's terminal as COM1. Nothing on failure (the reason printed).
std::unique_ptr<BusSimulator> DauerbusAufbauen()
{
    QString bus = QStringLiteral("bus takt=nein\n");
    for (int i = 1; i <= kDauerZaehler; ++i) {
        bus += QStringLiteral("zaehler id=%1 adresse=%2\nsatz 0406 A0860100\n"
                              "satz 0C13 45230100\nfehler zaehlt\n")
                   .arg(10000000 + i)
                   .arg(i);
        if (i == kStumm)
            bus += QStringLiteral("fehler stumm\n");
        if (i == kPruefsumme)
            bus += QStringLiteral("fehler pruefsumme_falsch\n");
    }
    std::unique_ptr<BusSimulator> sim = BusStarten(bus);
    if (!sim)
        return nullptr;
    const QString datei = QDir::current().filePath(QStringLiteral("basis.mdb"));
    QFile::remove(datei);
    if (!DatenbankAnlegen(datei))
        return std::printf("Datenbank: %s\n", qPrintable(FehlerText)), nullptr;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuellen"));
        db.setDatabaseName(datei);
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("INSERT INTO tagrp VALUES (1, 'Wärme', 5)"));
        for (int i = 1; i <= kDauerZaehler; ++i)
            q.exec(QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, MBBaud, MB_ID, MBComP, "
                                  "STUFE, ZQUELLE, TARIFGRP, MBIndex, zname) VALUES (%1, %1, "
                                  "2400, '%2', 1, 1, 'M-Bus', 1, 2, 'Z%1')")
                       .arg(i)
                       .arg(10000000 + i));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fuellen"));
    DBParameter = {QStringLiteral("1"), datei,     QString(), QString(),
                   QStringLiteral("1"), QString(), QString()};
    RB6_StandardGroesse = 20;
    return sim;
}

int Dauer(int zyklen)
{
    constexpr int kZaehler = kDauerZaehler;
    const std::unique_ptr<BusSimulator> simulator = DauerbusAufbauen();
    if (!simulator)
        return 1;
    BusSimulator& sim = *simulator;
    Zyklusumgebung u;
    u.z.MeterPause = 0;
    u.z.ComTimeouts = {330, 50, 4, 11};
    u.z.Gestartet = true;
    u.z.LeseIntervall = 1;
    u.z.MasterComPort = 1;
    u.haken = {true, true, true, false};
    u.log.setRows(1);
    // The meter that answers only in the repeat pass is silent while pass 1 reads it.
    int gelesen = 0;
    u.label = [&](const QString& text) {
        if (text == QStringLiteral("Start jetzt"))
            gelesen = 0;
        if (text == QStringLiteral("Lese %1 von %2").arg(kNurWiederholung).arg(kZaehler)) {
            SimFehler f;
            f.stumm = ++gelesen == 1;
            f.zaehlt = true;
            sim.fehlerSetzen(kNurWiederholung - 1, f);
        }
    };
    MasterZyklus zyklus(u.z, u.fenster());
    qint64 rss30 = 0, fd30 = 0;
    QElapsedTimer uhr;
    uhr.start();
    for (int n = 1; n <= zyklen; ++n) {
        zyklus.laufen(0);
        // The simulator runs in this process: its record of received frames is not ours.
        sim.rahmenVergessen();
        if (n % 30 == 0)
            std::printf("  Zyklus %d: %lld kB, %lld Dateideskriptoren\n", n, RssKb(),
                        Dateideskriptoren());
        if (n == std::min(30, zyklen)) {
            rss30 = RssKb();
            fd30 = Dateideskriptoren();
        }
    }
    const qint64 rss = RssKb();
    const qint64 fd = Dateideskriptoren();
    sim.stoppen();
    const double rssAenderung = 100.0 * double(rss - rss30) / double(rss30);
    const double fdAenderung = 100.0 * double(fd - fd30) / double(fd30);
    std::printf("Dauerlauf %d Zyklen (%.0f s): Speicher nach Zyklus 30 %lld kB, nach Zyklus %d "
                "%lld kB (%+.1f %%); Dateideskriptoren %lld und %lld (%+.1f %%) (Grenze 5 %%): "
                "%s; Wiederholungszähler %s, stummer Zähler %s, Prüfsumme %s\n",
                zyklen, double(uhr.elapsed()) / 1000.0, rss30, zyklen, rss, rssAenderung, fd30, fd,
                fdAenderung,
                std::abs(rssAenderung) <= 5.0 && std::abs(fdAenderung) <= 5.0 ? "eingehalten"
                                                                              : "UEBERSCHRITTEN",
                qPrintable(u.zaehler.TextMatrix(kNurWiederholung, 4)),
                qPrintable(u.zaehler.TextMatrix(kStumm, 4)),
                qPrintable(u.zaehler.TextMatrix(kPruefsumme, 4)));
    return 0;
}

double FadenCpuSekunden()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

int Erster(int zyklen)
{
    constexpr int kZaehler = 30;
    const std::unique_ptr<BusSimulator> simulator = BusStarten(BusMit100(kZaehler));
    if (!simulator)
        return 1;
    BusSimulator& sim = *simulator;
    // A folder of its own: no interval or value file exists before the first cycle.
    const QString vorher = DBPath;
    DBPath = DatenPath = QDir::current().filePath(QStringLiteral("erster")) + QLatin1Char('/');
    QDir().mkpath(DBPath);
    RB6_StandardGroesse = 20;
    Zyklusumgebung u;
    u.z.MeterPause = 0;
    u.z.ComTimeouts = {330, 50, 4, 11};
    u.z.Gestartet = true;
    u.z.MasterComPort = 1;
    u.haken = {false, true, true, false};
    u.log.setRows(1);
    u.zaehlerEintragen(kZaehler);
    for (int i = 1; i <= kZaehler; ++i)
        for (MBWert& wert : u.z.MasterZaehler[static_cast<size_t>(i)].Werte)
            wert.Speichern = 255;
    MasterZyklus zyklus(u.z, u.fenster());
    for (int n = 1; n <= zyklen; ++n) {
        QElapsedTimer uhr;
        uhr.start();
        const double cpu = FadenCpuSekunden();
        zyklus.laufen(0);
        const double wand = double(uhr.nsecsElapsed()) / 1e9;
        const double anteil = 100.0 * (FadenCpuSekunden() - cpu) / wand;
        int ok = 0;
        for (int i = 1; i <= kZaehler; ++i)
            ok += u.zaehler.TextMatrix(i, 4) == QStringLiteral("Ok") ? 1 : 0;
        std::printf("Zyklus %d über %d Zähler (Intervalldateien %s): %.2f s, CPU-Anteil %.2f %%; "
                    "%d von %d gelesen\n",
                    n, kZaehler, n == 1 ? "neu angelegt" : "vorhanden", wand, anteil, ok, kZaehler);
    }
    sim.stoppen();
    DBPath = DatenPath = vorher;
    return 0;
}

// The same bus read by the master window (offscreen) with "Auto": each cycle is started by a
// tick of the window as soon as the one before has ended.
int FensterDauer(int zyklen)
{
    const std::unique_ptr<BusSimulator> sim = DauerbusAufbauen();
    if (!sim)
        return 1;
    QFile ini(QStringLiteral("ZEP.INI"));
    ini.open(QIODevice::Append);
    ini.write("[201MBus]\r\nIntervallCom1=1\r\n[MB201]\r\nMBSpeichern0=1\r\nMBSpeichern1=1\r\n"
              "MBSpeichern2=1\r\nMBSpeichern3=0\r\n");
    ini.close();
    ProgrammordnerSetzen(QDir::currentPath());
    KommandozeileSetzen(QStringLiteral("Auto -M201 -C1 -T0"));
    frmMbusMasterV4 fenster;
    // The cycles follow one another here, not on the second.
    fenster.ui().Timer1->stop();
    MasterZustand& z = fenster.zustand();
    qint64 rss30 = 0;
    QElapsedTimer uhr;
    uhr.start();
    for (int n = 1; n <= zyklen; ++n) {
        z.NaechsterStart = 0;
        fenster.Timer1_Timer();
        while (z.ZyklusLaeuft == 1)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        sim->rahmenVergessen();
        if (n % 30 == 0)
            std::printf("  Fenster, Zyklus %d: %lld kB, %lld Dateideskriptoren\n", n, RssKb(),
                        Dateideskriptoren());
        if (n == std::min(30, zyklen))
            rss30 = RssKb();
    }
    const qint64 rss = RssKb();
    sim->stoppen();
    const qint64 wachstum = rss - rss30;
    std::printf("Dauerlauf des Masterfensters %d Zyklen (%.0f s): Speicher nach Zyklus 30 %lld kB, "
                "nach Zyklus %d %lld kB, Zuwachs %lld kB (%.2f kB je Zyklus) (Ziel unter 100 kB): "
                "%s; Zähler 1 %s, stummer Zähler %s, Prüfsumme %s\n",
                zyklen, double(uhr.elapsed()) / 1000.0, rss30, zyklen, rss, wachstum,
                zyklen > 30 ? double(wachstum) / (zyklen - 30) : 0.0,
                wachstum < 100 ? "eingehalten" : "UEBERSCHRITTEN",
                qPrintable(fenster.ui().MSFlexGrid1->TextMatrix(1, 4)),
                qPrintable(fenster.ui().MSFlexGrid1->TextMatrix(kStumm, 4)),
                qPrintable(fenster.ui().MSFlexGrid1->TextMatrix(kPruefsumme, 4)));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // The master window runs without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList argumente = app.arguments().mid(1);
    QTemporaryDir ordner;
    QDir::setCurrent(ordner.path());
    DBPath = ordner.path() + QLatin1Char('/');
    DatenPath = DBPath;
    Mandant = QStringLiteral("201");
    const bool alle = argumente.isEmpty() || (argumente.size() == 1 && argumente[0].toInt() > 0);
    int rc = 0;
    if (alle || argumente.contains(QStringLiteral("--tempo")))
        rc |= Tempo();
    if (alle || argumente.contains(QStringLiteral("--speichern")))
        rc |= Speichern();
    if (alle || argumente.contains(QStringLiteral("--dauer"))) {
        const qsizetype i = argumente.indexOf(QStringLiteral("--dauer"));
        const int zyklen = i >= 0 && i + 1 < argumente.size() ? argumente[i + 1].toInt() : 300;
        rc |= Dauer(zyklen > 0 ? zyklen : 300);
    }
    if (alle || argumente.contains(QStringLiteral("--erster"))) {
        const qsizetype i = argumente.indexOf(QStringLiteral("--erster"));
        const int zyklen = i >= 0 && i + 1 < argumente.size() ? argumente[i + 1].toInt() : 2;
        rc |= Erster(zyklen > 0 ? zyklen : 2);
    }
    if (alle || argumente.contains(QStringLiteral("--dauer")) ||
        argumente.contains(QStringLiteral("--fenster"))) {
        qsizetype i = argumente.indexOf(QStringLiteral("--fenster"));
        if (i < 0)
            i = argumente.indexOf(QStringLiteral("--dauer"));
        const int zyklen = i >= 0 && i + 1 < argumente.size() ? argumente[i + 1].toInt() : 300;
        rc |= FensterDauer(zyklen > 0 ? zyklen : 300);
    }
    return rc;
}

// pollex processes: one master per port, several ports side by side.

#include "support/TestUmgebung.h"

#include "BusSimulator.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/RB_DateiZeitraum.h"

#include "database/Schema.h"
#include "master/dienste/MasterPortSperre.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

#include <csignal>

#include <functional>
#include <memory>

class PollexProzessTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        qputenv("TELVARIN_SPERREN", pfad(QStringLiteral("sperren")).toLocal8Bit());
        schreiben(QStringLiteral("ZEP.INI"), "[ZEP]\r\nDBPATH200=.\\\r\n");
        ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("basis.mdb"))));
    }
    void TearDown() override
    {
        for (auto& prozess : m_prozesse)
            toeten(*prozess);
        qunsetenv("TELVARIN_SPERREN");
        TestUmgebung::TearDown();
    }

    QProcess& starten(const QString& zeile, const QString& programm = QStringLiteral(POLLEX_BEFEHL))
    {
        auto prozess = std::make_unique<QProcess>();
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        prozess->setProcessEnvironment(umgebung);
        prozess->setWorkingDirectory(m_ordner.path());
        prozess->start(programm, zeile.split(u' '));
        EXPECT_TRUE(prozess->waitForStarted(5000));
        m_prozesse.push_back(std::move(prozess));
        return *m_prozesse.back();
    }
    // Kills the process (SIGKILL, no clean-up of its own) and removes the serial port lock file
    // it leaves.
    static void toeten(QProcess& prozess)
    {
        const qint64 pid = prozess.processId();
        if (prozess.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
            prozess.waitForFinished(5000);
        }
        SperrdateienEntfernen(pid);
    }
    // The data lines of every mb.log file (a run may pass midnight).
    int datenzeilen() const
    {
        int n = 0;
        const QDir dir(pfad(QStringLiteral("MBusLog")));
        for (const QString& name : dir.entryList({QStringLiteral("*mb.log")}, QDir::Files))
            n += Cp1252ZuText(lesen(QStringLiteral("MBusLog/") + name)).count(QStringLiteral(";Z"));
        return n;
    }
    // Waits (with a deadline) until a live process holds the port's lock.
    static bool warteAufSperre(int port)
    {
        return BisWahr([port] { return MasterLaeuftFuerPort(port); }, 15000);
    }
    QString logText(const QString& muster, const QString& ordner = QString()) const
    {
        const QDir dir(pfad(ordner));
        const QStringList dateien = dir.entryList({muster}, QDir::Files);
        return dateien.isEmpty()
                   ? QString()
                   : Cp1252ZuText(lesen(ordner.isEmpty() ? dateien.first()
                                                         : ordner + u'/' + dateien.first()));
    }

    // The bus on a simulator as COM1 of client 201 (further ZEP.INI lines in ini) and its
    // meters 1 to anzahl (ID 1000000<n>, main index index) at 2400 baud in basis.mdb.
    void busUndZaehler(const QString& bus, const QString& ini, int anzahl, int index)
    {
        SimBus simBus;
        QString fehler;
        ASSERT_TRUE(BusSimulator::busTextLesen(bus, simBus, &fehler)) << qPrintable(fehler);
        m_sim = std::make_unique<BusSimulator>(simBus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << qPrintable(fehler);
        schreiben(
            QStringLiteral("ZEP.INI"),
            (QStringLiteral("[ZEP]\r\nDBPATH201=.\\\r\n[COM]\r\nCOM1=%1\r\n").arg(m_sim->geraet()) +
             ini)
                .toUtf8());
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuellen"));
            db.setDatabaseName(pfad(QStringLiteral("basis.mdb")));
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO tagrp VALUES (1, 'Wärme', 5)")));
            for (int i = 1; i <= anzahl; ++i)
                ASSERT_TRUE(
                    q.exec(QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, MBBaud, MB_ID, "
                                          "MBComP, STUFE, ZQUELLE, TARIFGRP, MBIndex, "
                                          "zname) VALUES (%1, %1, 2400, '1000000%1', 1, 1, "
                                          "'M-Bus', 1, %2, 'Z%1')")
                               .arg(i)
                               .arg(index)));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fuellen"));
    }

    std::vector<std::unique_ptr<QProcess>> m_prozesse;
    std::unique_ptr<BusSimulator> m_sim;
};

TEST_F(PollexProzessTest, aSecondMasterForAPortEndsAndOtherPortsRunSideBySide)
{
    QProcess& eins = starten(QStringLiteral("-M200 -C1"));
    ASSERT_TRUE(warteAufSperre(1));
    QProcess& zehn = starten(QStringLiteral("-M200 -C10"));
    ASSERT_TRUE(warteAufSperre(10));
    EXPECT_EQ(eins.state(), QProcess::Running);

    QProcess& zweiter = starten(QStringLiteral("Auto -M200 -C1"));
    ASSERT_TRUE(zweiter.waitForFinished(15000));
    EXPECT_EQ(zweiter.exitCode(), 1);
    const QString text = QStringLiteral("Master für Com1 läuft bereits (Prozess %1), dieser "
                                        "Start endet")
                             .arg(eins.processId());
    EXPECT_TRUE(logText(QStringLiteral("*mb.log"), QStringLiteral("MBusLog"))
                    .contains(QStringLiteral(";") + text));
    EXPECT_TRUE(logText(QStringLiteral("*ed.log")).contains(QStringLiteral(" ") + text));
    EXPECT_EQ(eins.state(), QProcess::Running);
    EXPECT_EQ(zehn.state(), QProcess::Running);

    // The lock of a master that died is taken over.
    toeten(eins);
    ASSERT_EQ(eins.state(), QProcess::NotRunning);
    MasterPortSperre nachfolger(1);
    EXPECT_TRUE(nachfolger.holen()) << qPrintable(FehlerText);
    EXPECT_TRUE(MasterLaeuftFuerPort(10));
}

// A master killed in the middle of its cycle, again and again, leaves every value file,
// interval file and the database sound, and the next master stores on.
TEST_F(PollexProzessTest, killedWhileStoringLeavesEveryFileSoundAndTheNextCycleStores)
{
    QString bus = QStringLiteral("bus takt=nein\n");
    for (int i = 1; i <= 6; ++i)
        bus += QStringLiteral("zaehler adresse=%1 id=1000000%1\nsatz 0406 A0860100\n"
                              "satz 0C13 45230100\nfehler zaehlt\n")
                   .arg(i);
    ASSERT_NO_FATAL_FAILURE(busUndZaehler(
        bus,
        QStringLiteral("[MBus]\r\nRB6_StandardGroesse=20\r\n[201MBus]\r\nIntervallCom1=1\r\n"
                       "RB6_StandardGroesse=20\r\n[MB201]\r\nMBSpeichern0=1\r\n"
                       "MBSpeichern1=1\r\nMBSpeichern2=1\r\n"),
        6, 2));

    // Each run is killed once a number of values have been stored, at another point each time.
    int zeilen = 0;
    for (int lauf = 0; lauf < 4; ++lauf) {
        QProcess& pollex = starten(QStringLiteral("-M201 -C1 -T0 Auto"));
        const QDeadlineTimer frist(30000);
        while (datenzeilen() < zeilen + 7 + lauf * 3 && !frist.hasExpired())
            QThread::msleep(5);
        toeten(pollex);
        ASSERT_EQ(pollex.state(), QProcess::NotRunning);
        ASSERT_GT(datenzeilen(), zeilen) << lauf;
        zeilen = datenzeilen();
    }

    const QDir z(pfad(QStringLiteral("Z201")));
    int dateien = 0;
    for (const QString& name : z.entryList({QStringLiteral("*.zep")}, QDir::Files)) {
        RB6_Kopf kopf;
        EXPECT_EQ(RB6_KopfLesen(z.filePath(name), kopf), 0) << qPrintable(name);
        ++dateien;
    }
    QStringList intervalle;
    for (const QString& name : z.entryList({QStringLiteral("*.15p")}, QDir::Files))
        intervalle << z.filePath(name);
    for (const QString& name : QDir(pfad(QString())).entryList({QStringLiteral("*.15p")}))
        intervalle << pfad(name);
    for (const QString& name : intervalle) {
        RB_Kopf kopf;
        UnixZeit letzte = 0;
        UnixZeit erste = 0;
        EXPECT_EQ(RB_DateiZeitraum15p(name, kopf, letzte, erste), 0) << qPrintable(name);
    }
    EXPECT_EQ(dateien, 12);
    EXPECT_EQ(intervalle.size(), 12);

    // The database is sound and the next master stores on.
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("pruefen"));
        db.setDatabaseName(pfad(QStringLiteral("basis.mdb")));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("ok"));
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM MBusWerte")) && q.next());
        EXPECT_GT(q.value(0).toInt(), 0);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pruefen"));
    RB6_Kopf vorher;
    ASSERT_EQ(RB6_KopfLesen(z.filePath(QStringLiteral("000001001.zep")), vorher), 0);
    QProcess& weiter = starten(QStringLiteral("-M201 -C1 -T0 Auto"));
    const QDeadlineTimer frist(30000);
    while (datenzeilen() < zeilen + 14 && !frist.hasExpired())
        QThread::msleep(5);
    toeten(weiter);
    ASSERT_EQ(weiter.state(), QProcess::NotRunning);
    RB6_Kopf nachher;
    ASSERT_EQ(RB6_KopfLesen(z.filePath(QStringLiteral("000001001.zep")), nachher), 0);
    EXPECT_GT(RB6_LetzterSatz(nachher), RB6_LetzterSatz(vorher));
}

// The last record number of a value file (-1 while it cannot be read).
qint64 LetzterWert(const QString& datei)
{
    RB6_Kopf kopf;
    return RB6_KopfLesen(datei, kopf) == 0 ? qint64(RB6_LetzterSatz(kopf)) : -1;
}

// The lock folder deleted under a running master (a clean-up, the end of a session): the
// master takes its lock again, so that a second master for its port still ends, and its cycles
// go on writing the value files.
TEST_F(PollexProzessTest, aMasterWhoseLockFolderIsDeletedTakesItsLockAgainAndStoresOn)
{
    ASSERT_NO_FATAL_FAILURE(busUndZaehler(
        QStringLiteral("bus takt=nein\nzaehler adresse=1 id=10000001\nsatz 0406 A0860100\n"
                       "fehler zaehlt\n"),
        QStringLiteral("[201MBus]\r\nIntervallCom1=1\r\n[MB201]\r\nMBSpeichern0=1\r\n"
                       "MBSpeichern1=1\r\nMBSpeichern2=1\r\n"),
        1, 1));
    const QString wertdatei = pfad(QStringLiteral("Z201/000001001.zep"));
    QProcess& pollex = starten(QStringLiteral("-M201 -C1 -T0 Auto"));
    ASSERT_TRUE(warteAufSperre(1));
    ASSERT_TRUE(BisWahr([&] { return LetzterWert(wertdatei) > 0; }))
        << qPrintable(QDir(pfad(QStringLiteral("Z201"))).entryList().join(u' ')) << " | "
        << qPrintable(logText(QStringLiteral("*mb.log"), QStringLiteral("MBusLog")));

    ASSERT_TRUE(QDir(pfad(QStringLiteral("sperren"))).removeRecursively());
    EXPECT_TRUE(BisWahr([] { return MasterLaeuftFuerPort(1); }));
    const qint64 danach = LetzterWert(wertdatei);
    EXPECT_TRUE(BisWahr([&] { return LetzterWert(wertdatei) > danach + 1; }))
        << LetzterWert(wertdatei) << " " << danach;
    EXPECT_EQ(pollex.state(), QProcess::Running);

    QProcess& zweiter = starten(QStringLiteral("Auto -M201 -C1"));
    ASSERT_TRUE(zweiter.waitForFinished(15000));
    EXPECT_EQ(zweiter.exitCode(), 1);
}

// A lock folder that cannot be made keeps no master from running: one program-log line each,
// and the cycles write the value files (no import can hold a lock that cannot exist).
TEST_F(PollexProzessTest, aMasterWhoseLockFolderCannotBeMadeRunsAndWritesItsValueFiles)
{
    ASSERT_NO_FATAL_FAILURE(busUndZaehler(
        QStringLiteral("bus takt=nein\nzaehler adresse=1 id=10000001\nsatz 0406 A0860100\n"
                       "fehler zaehlt\n"),
        QStringLiteral("[201MBus]\r\nIntervallCom1=1\r\n[MB201]\r\nMBSpeichern0=1\r\n"
                       "MBSpeichern1=1\r\nMBSpeichern2=1\r\n"),
        1, 1));
    schreiben(QStringLiteral("datei"), "keine Ordner");
    qputenv("TELVARIN_SPERREN", pfad(QStringLiteral("datei/sperren")).toLocal8Bit());
    const QString wertdatei = pfad(QStringLiteral("Z201/000001001.zep"));
    QProcess& pollex = starten(QStringLiteral("-M201 -C1 -T0 Auto"));
    EXPECT_TRUE(BisWahr([&] { return LetzterWert(wertdatei) > 1 || pollex.waitForFinished(0); }));
    EXPECT_EQ(pollex.state(), QProcess::Running);
    EXPECT_GT(LetzterWert(wertdatei), 1);
    const QString master = QStringLiteral("Sperre des Masters für Com1 nicht anlegbar, der Master "
                                          "läuft ohne sie: Ordner ") +
                           pfad(QStringLiteral("datei/sperren")) +
                           QStringLiteral(" nicht anlegbar");
    const QString zyklus = QStringLiteral("Zyklussperre Com1 nicht anlegbar, Wertdateien werden "
                                          "ohne sie geschrieben: Ordner ") +
                           pfad(QStringLiteral("datei/sperren")) +
                           QStringLiteral(" nicht anlegbar");
    EXPECT_TRUE(BisWahr([&] { return logText(QStringLiteral("*ed.log")).contains(master); }))
        << qPrintable(logText(QStringLiteral("*ed.log")));
    // Once each, however many cycles and looks have passed.
    const qint64 jetzt = LetzterWert(wertdatei);
    ASSERT_TRUE(BisWahr([&] { return LetzterWert(wertdatei) > jetzt + 1; }));
    const QString programmlog = logText(QStringLiteral("*ed.log"));
    EXPECT_EQ(programmlog.count(zyklus), 1) << qPrintable(programmlog);
    EXPECT_EQ(programmlog.count(master), 1) << qPrintable(programmlog);
}

// A master started with "Auto" whose program folder takes no credentials file (the default file
// cannot be written): the boxes of its start-up go to the program log and to mb.log, and its
// cycles run.
TEST_F(PollexProzessTest, anUnattendedStartLogsItsBoxesAndGoesOnWithItsCycles)
{
    ASSERT_NO_FATAL_FAILURE(busUndZaehler(
        QStringLiteral("bus takt=nein\nzaehler adresse=1 id=10000001\nsatz 0406 A0860100\n"),
        QStringLiteral("[201MBus]\r\nIntervallCom1=1\r\n[MB201]\r\nMBSpeichern1=1\r\n"), 1, 1));
    // The program's own folder, where obrak.conf points into a folder that does not exist: no
    // one (root neither) can create the file.
    const QString programm = pfad(QStringLiteral("programm/pollex"));
    ASSERT_TRUE(QDir().mkpath(pfad(QStringLiteral("programm"))));
    ASSERT_TRUE(QFile::copy(QStringLiteral(POLLEX_BEFEHL), programm));
    ASSERT_TRUE(QFile::link(pfad(QStringLiteral("fehlt/obrak.conf")),
                            pfad(QStringLiteral("programm/obrak.conf"))));

    QProcess& pollex = starten(QStringLiteral("Auto -C1 -M201 -T0"), programm);
    auto mbLog = [this] { return logText(QStringLiteral("*mb.log"), QStringLiteral("MBusLog")); };
    const QDeadlineTimer frist(20000);
    while (!mbLog().contains(QStringLiteral(";Z1")) && !frist.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(pollex.state(), QProcess::Running);
    const QString box = QStringLiteral("Meldung im Automatikbetrieb: Fehler Nummer: 53 "
                                       "Fehlerbeschreibung: Datei nicht gefunden: ") +
                        pfad(QStringLiteral("programm/obrak.conf")) +
                        QStringLiteral(" Fehlerquelle: WriteDefaultUserConfig Hilfe:");
    EXPECT_TRUE(logText(QStringLiteral("*ed.log")).contains(box)) << qPrintable(box);
    const QString log = mbLog();
    EXPECT_TRUE(log.contains(QStringLiteral(";") + box)) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral(";Z1"))) << qPrintable(log);
}

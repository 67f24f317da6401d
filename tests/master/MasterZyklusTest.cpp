// The master's cycle end to end: the window on a simulated bus (pacing off) and a real meter
// database file, the clock set by the test.

#include "MasterBusUmgebung.h"

#include "database/OdbcVerbindungstext.h"
#include "database/WertTabellen.h"
#include "database/ZielUmgebung.h"
#include "datafiles/RB6Wertdatei.h"
#include "master/dienste/MasterLog.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QScopeGuard>
#include <QThread>

class MasterZyklusTest : public MasterBusUmgebung
{
};

TEST_F(MasterZyklusTest, singleRunReadsRepeatsAndStoresEveryMeterThatAnswers)
{
    // Meter 1 is silent; meter 3 is silent in the first pass and answers in the repeat pass.
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nfehler stumm\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                               "satz 0C13 45230100\n"
                               "zaehler adresse=3 id=33333333\nsatz 0406 10270000\n"
                               "satz 0C13 00500000\nfehler stumm\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222"),
                 QStringLiteral("3;3;33333333")});
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    const int zeitZeilen = f.ui().MSFlexGrid3->Rows();
    bool zyklusGesperrt = false;
    auto* uhr = new QTimer(&f);
    QObject::connect(uhr, &QTimer::timeout, &f, [this, &f, uhr, &zyklusGesperrt] {
        zyklusGesperrt = zyklusGesperrt || Sperren::zyklusLaeuft(201);
        if (f.ui().MSFlexGrid1->TextMatrix(3, 4) != QStringLiteral("Fehler"))
            return;
        uhr->stop();
        m_sim->fehlerSetzen(2, SimFehler{});
    });
    uhr->start(0);
    ASSERT_TRUE(tick(f));

    EXPECT_EQ(f.ui().Label1->text(), QStringLiteral("Fertig"));
    EXPECT_FALSE(f.ui().Timer1->isActive());
    EXPECT_FALSE(f.ui().cmdStart->isHidden());
    // The cycle lock is held while the cycle runs, and only then.
    EXPECT_TRUE(zyklusGesperrt);
    EXPECT_FALSE(Sperren::zyklusLaeuft(201));
    EXPECT_EQ(spalte(f, 4),
              (QStringList{QStringLiteral("Fehler"), QStringLiteral("Ok"), QStringLiteral("Ok")}));
    EXPECT_EQ(spalte(f, 2),
              (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1")}));
    EXPECT_EQ(spalte(f, 3),
              (QStringList{QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("1")}));
    EXPECT_EQ(logZaehlen(f, QStringLiteral("Nochmal ersten lesen")), 2);
    // A cycle-time row after each pass.
    EXPECT_EQ(f.ui().MSFlexGrid3->Rows(), std::min(zeitZeilen + 2, 4));
    EXPECT_TRUE(f.ui().MSFlexGrid3->TextMatrix(0, 0).endsWith(QStringLiteral(" s")));
    EXPECT_TRUE(f.ui().MSFlexGrid3->TextMatrix(1, 0).endsWith(QStringLiteral(" s")));

    const QString log = mbLog();
    for (const QString& zeile :
         {QStringLiteral("05.12.26 10:07:30 ;1;Lesefehler;1;rc=-1\r\n"),
          QStringLiteral("05.12.26 10:07:30 ;3;Lesefehler;1;rc=-1\r\n"),
          QStringLiteral("05.12.26 10:07:30 ;1;Lesefehler;2;rc=-1\r\n"),
          QStringLiteral("05.12.26 10:07:30 ;22222222;Z2;3;2;1;100000;kWh;\r\n"),
          QStringLiteral("05.12.26 10:07:30 ;22222222;Z2;3;2;2;12,345;m^3;\r\n"),
          QStringLiteral("05.12.26 10:07:30 ;33333333;Z3;3;3;2;5;m^3;\r\n")})
        EXPECT_TRUE(log.contains(zeile)) << qPrintable(zeile) << qPrintable(log);
    EXPECT_EQ(log.count(QStringLiteral("Zeitstempel;")), 0) << "the Start line made the file";

    // The meter that answered only in the repeat pass has its rows and index list too.
    EXPECT_EQ(zeilen(QStringLiteral("SELECT lznr || ':' || idx || ':' || Wert FROM MBusWerte "
                                    "ORDER BY lznr, idx")),
              (QStringList{QStringLiteral("2:1:100000.0"), QStringLiteral("2:2:12.345"),
                           QStringLiteral("3:1:10000.0"), QStringLiteral("3:2:5.0")}));
    EXPECT_EQ(zeilen(QStringLiteral("SELECT lznr || ':' || ZStand || ':' || ta FROM "
                                    "Zaehlerstaende ORDER BY lznr")),
              (QStringList{QStringLiteral("2:12.345:5"), QStringLiteral("3:5.0:5")}));
    EXPECT_EQ(zeilen(QStringLiteral("SELECT count(*) FROM MB_IndexListe")),
              QStringList{QStringLiteral("4")});
    for (const QString& datei :
         {QStringLiteral("Z201/000002001.zep"), QStringLiteral("Z201/000003002.zep"),
          QStringLiteral("Z201/000003002.15p"), QStringLiteral("00000003.15p")})
        EXPECT_TRUE(QFile::exists(pfad(datei))) << qPrintable(datei);
    // Everything the cycle opened is closed again.
    EXPECT_FALSE(MB_Connection);
    EXPECT_FALSE(f.zustand().MBusWerteOffen || f.zustand().ZaehlerstaendeOffen);
    EXPECT_EQ(f.zustand().ZyklusLaeuft, 0);
}

TEST_F(MasterZyklusTest, aMeterWithoutAddressIsLoggedWithoutOneNotAtAddressZero)
{
    // Meters 4 and 5 have no stored address; meter 1 is stored at address 0 (the log import
    // finds meters by address and main index).
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=0 id=11111111\nsatz 0406 A0860100\n"
                               "zaehler adresse=7 id=44444444\nsatz 0406 10270000\n"
                               "zaehler adresse=9 id=55555555\nfehler stumm\n"),
                {QStringLiteral("1;0;11111111"), QStringLiteral("4;NULL;44444444"),
                 QStringLiteral("5;NULL;55555555")});
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(spalte(f, 0), (QStringList{QString(), QString(), QStringLiteral("0")}));
    const QString log = mbLog();
    for (const QString& zeile : {QStringLiteral(" ;44444444;Z4;3;;1;10000;kWh;\r\n"),
                                 QStringLiteral(" ;;Lesefehler;1;rc=-1\r\n"),
                                 QStringLiteral(" ;11111111;Z1;3;0;1;100000;kWh;\r\n")})
        EXPECT_TRUE(log.contains(zeile)) << qPrintable(zeile) << qPrintable(log);
    EXPECT_FALSE(log.contains(QStringLiteral(";44444444;Z4;3;0;"))) << qPrintable(log);
    EXPECT_FALSE(log.contains(QStringLiteral(" ;0;Lesefehler;"))) << qPrintable(log);
}

TEST_F(MasterZyklusTest, dueTimesFollowTheIntervalGrid)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=2 id=22222222\n"
                               "satz 0406 A0860100\n"),
                {QStringLiteral("2;2;22222222")});
    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    EXPECT_EQ(f.ui().Label1->text(), QStringLiteral("Starte Datenholen um 05.12.2026 10:15:00"));
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 14, 59)));
    EXPECT_FALSE(tick(f));
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 15, 0)));
    // A log grid past 800 rows is cut back to 500 at the end of the cycle.
    f.ui().MSFlexGrid4->setRows(850);
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(f.ui().MSFlexGrid4->Rows(), 500);
    EXPECT_EQ(f.ui().Label1->text(),
              QStringLiteral("Starte Datenholen um 05.12.2026 10:30:00  [0 Soll]"));
    // A cycle that ends after a due time: the next multiple after its end. The log import holds
    // the value folder: no value or interval file is written, mb.log gets the values.
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(11, 2, 0)));
    {
        MasterZyklus::importWartezeitSetzen(200);
        Sperre import(Sperren::wertordnerDatei(DBPath, 201));
        ASSERT_TRUE(import.holen());
        ASSERT_TRUE(tick(f));
    }
    RB6_Kopf kopf;
    ASSERT_EQ(RB6_KopfLesen(RB6_DateiName(DBPath, 2, 1), kopf), 0);
    EXPECT_EQ(RB6_LetzterSatz(kopf), 10);
    EXPECT_EQ(mbLog().count(QStringLiteral(" ;Wertdateien gesperrt (Import läuft) : nicht "
                                           "geschrieben ") +
                            RB6_DateiName(DBPath, 2, 1) + QStringLiteral("\r\n")),
              1)
        << qPrintable(mbLog());
    EXPECT_EQ(mbLog().count(QStringLiteral(";22222222;Z2;3;2;1;100000;kWh;")), 2);
    EXPECT_EQ(f.ui().Label1->text(),
              QStringLiteral("Starte Datenholen um 05.12.2026 11:15:00  [3 Soll]"));
    EXPECT_TRUE(f.ui().Timer1->isActive());
    EXPECT_EQ(f.ui().MSFlexGrid3->Rows(), 4);
}

TEST_F(MasterZyklusTest, stopMidPassAndStartAgainNeverNests)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 A0860100\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                               "zaehler adresse=3 id=33333333\nsatz 0406 A0860100\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222"),
                 QStringLiteral("3;3;33333333")});
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    // While meter 2 is read: Stop, Start, a tick (turned away), Stop again.
    auto* uhr = new QTimer(&f);
    QObject::connect(uhr, &QTimer::timeout, &f, [&f, uhr] {
        if (f.ui().Label1->text() != QStringLiteral("Lese 2 von 3"))
            return;
        uhr->stop();
        f.cmdStop_Click();
        f.cmdStart_Click();
        f.Timer1_Timer();
        f.cmdStop_Click();
    });
    uhr->start(0);
    const int ticks = f.zustand().TickZaehler;
    ASSERT_TRUE(tick(f));
    // The tick during the cycle counted, and was turned away.
    EXPECT_EQ(f.zustand().TickZaehler, ticks + 2);
    EXPECT_EQ(spalte(f, 4), (QStringList{QStringLiteral("Ok"), QStringLiteral("Ok"), QString()}));
    EXPECT_EQ(logZaehlen(f, QStringLiteral("Öffne Datenbank")), 1);
    EXPECT_EQ(f.zustand().ZyklusLaeuft, 0);
    EXPECT_EQ(f.ui().MSFlexGrid3->TextMatrix(0, 0), QString());
    EXPECT_FALSE(MB_Connection);
    // The next Start runs a whole cycle again.
    f.cmdStart_Click();
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(f.ui().Label1->text(), QStringLiteral("Fertig"));
    EXPECT_EQ(logZaehlen(f, QStringLiteral("Öffne Datenbank")), 2);
}

TEST_F(MasterZyklusTest, closingTheWindowMidPassEndsTheCycleAfterItsStepThenTheProgram)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 A0860100\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                               "zaehler adresse=3 id=33333333\nsatz 0406 A0860100\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222"),
                 QStringLiteral("3;3;33333333")});
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    auto* uhr = new QTimer(&f);
    int endenBeimSchliessen = -1;
    QObject::connect(uhr, &QTimer::timeout, &f, [this, &f, uhr, &endenBeimSchliessen] {
        if (f.ui().Label1->text() != QStringLiteral("Lese 2 von 3"))
            return;
        uhr->stop();
        f.close();
        endenBeimSchliessen = m_programmEnden;
    });
    uhr->start(0);
    ASSERT_TRUE(tick(f));
    // The program ends only once the cycle has returned, and it has closed what it opened.
    EXPECT_EQ(endenBeimSchliessen, 0);
    EXPECT_EQ(m_programmEnden, 1);
    EXPECT_EQ(f.zustand().ZyklusLaeuft, 0);
    EXPECT_FALSE(MB_Connection);
    EXPECT_FALSE(f.zustand().MBusWerteOffen || f.zustand().ZaehlerstaendeOffen);
    // Meter 3 is not read any more; what was read is stored.
    EXPECT_EQ(spalte(f, 4).value(2), QString());
    EXPECT_EQ(mbLog().count(QStringLiteral(";11111111;")), 1);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT count(*) FROM MBusWerte WHERE lznr = 3")),
              QStringList{QStringLiteral("0")});
}

TEST_F(MasterZyklusTest, closingTheWindowDuringAMetersReadLogsTheReadAsEndedNotAsAFault)
{
    // Meter 2 is silent: its read waits for the answer when the window is closed.
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 A0860100\n"
                               "zaehler adresse=2 id=22222222\nfehler stumm\n"
                               "zaehler adresse=3 id=33333333\nsatz 0406 A0860100\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222"),
                 QStringLiteral("3;3;33333333")});
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    // Closed as soon as the select of meter 2 (its id in the frame) has gone out.
    auto* uhr = new QTimer(&f);
    QObject::connect(uhr, &QTimer::timeout, &f, [this, &f, uhr] {
        const QByteArray id = QByteArray::fromHex("22222222");
        for (const SimEmpfangenerRahmen& rahmen : m_sim->empfangeneRahmen()) {
            if (!rahmen.bytes.contains(id))
                continue;
            uhr->stop();
            f.close();
            return;
        }
    });
    uhr->start(0);
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(m_programmEnden, 1);
    const QString log = mbLog();
    EXPECT_FALSE(log.contains(QStringLiteral("Lesefehler"))) << qPrintable(log);
    EXPECT_EQ(log.count(QStringLiteral(" ;2;Lesen abgebrochen (Programmende);0;rc=")), 1)
        << qPrintable(log);
    EXPECT_EQ(f.zustand().MasterZaehler[2].LeseFehler, 0);
    EXPECT_EQ(spalte(f, 4), (QStringList{QStringLiteral("Ok"), QString(), QString()}));
    EXPECT_EQ(logZaehlen(f, QStringLiteral("Nochmal ersten lesen")), 0);
}

TEST_F(MasterZyklusTest, client1450FirstMeterSilentChecksTheServiceAndResetsTheDeviceServer)
{
    vorbereiten(QStringLiteral("1450"),
                QStringLiteral("geraeteserver port=0\n"
                               "zaehler adresse=1 id=11111111\nfehler stumm\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222")});
    QDir().mkpath(pfad(QStringLiteral("obrak.conf")));
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    f.zustand().TibboIP = QStringLiteral("127.0.0.1");
    f.zustand().TibboPort = QString::number(m_sim->geraeteserver()->port());
    f.tibboLokalerPortSetzen(0);
    ASSERT_TRUE(tick(f));
    EXPECT_TRUE(m_sim->geraeteserver()->warteAufDatagramme(4, 5000));
    // Once per pass, after the retry.
    EXPECT_EQ(m_dienste->units,
              (QStringList{QStringLiteral("tsvc.service"), QStringLiteral("tsvc.service")}));
    EXPECT_EQ(logZaehlen(f, QStringLiteral("Dienst ist gestartet")), 2);
    EXPECT_EQ(logZaehlen(f, QStringLiteral("Tibbo Reset Ok")), 2);
    EXPECT_EQ(mbLog().count(QStringLiteral(";Fehler Dienst ist gestartet\r\n")), 2);
    EXPECT_EQ(mbLog().count(QStringLiteral(";Fehler Tibbo Reset Ok\r\n")), 2);
}

TEST_F(MasterZyklusTest, stepModeWaitsForWeiterAndLeavesItsWaitOnStop)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 A0860100\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222")});
    KommandozeileSetzen(QStringLiteral("-M201 TEST -C3"));
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    ASSERT_TRUE(f.zustand().SchrittModus);
    int gewartet = 0;
    auto* uhr = new QTimer(&f);
    QObject::connect(uhr, &QTimer::timeout, &f, [&f, &gewartet, uhr] {
        if (f.ui().cmdWeiter->isHidden())
            return;
        if (++gewartet == 1) {
            f.cmdWeiter_Click();
        } else {
            uhr->stop();
            f.cmdStop_Click();
        }
    });
    uhr->start(0);
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(gewartet, 2);
    EXPECT_EQ(spalte(f, 4), (QStringList{QStringLiteral("Ok"), QString()}));
    EXPECT_TRUE(f.ui().cmdWeiter->isHidden());
    EXPECT_EQ(f.zustand().ZyklusLaeuft, 0);
}

TEST_F(MasterZyklusTest, weiterOutsideTheStepModeLeavesThePauseBeforeAMeterAlone)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 A0860100\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222")});
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    f.zustand().MeterPause = 30;
    bool gelesenNachWeiter = true;
    auto* uhr = new QTimer(&f);
    QObject::connect(uhr, &QTimer::timeout, &f, [this, &f, uhr, &gelesenNachWeiter] {
        if (f.ui().Label1->text() == QStringLiteral("Lese 1 von 2")) {
            f.cmdStop_Click();
            f.cmdStart_Click();
            return;
        }
        if (f.ui().Label1->text() != QStringLiteral("Lese 2 von 2"))
            return;
        uhr->stop();
        m_sim->rahmenVergessen();
        f.cmdWeiter_Click();
        // Looked at once the pause would have been left: the meter must still wait.
        QTimer::singleShot(50, &f, [this, &f, &gelesenNachWeiter] {
            gelesenNachWeiter = !m_sim->empfangeneRahmen().isEmpty();
            f.cmdStop_Click();
        });
    });
    uhr->start(0);
    ASSERT_TRUE(tick(f));
    EXPECT_FALSE(gelesenNachWeiter);
}

TEST_F(MasterZyklusTest, calculatorStartsWhenDueAndAFailedStartIsOneLogLine)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=2 id=22222222\n"
                               "satz 0406 A0860100\n"),
                {QStringLiteral("2;2;22222222")});
    // A calculator on PATH that notes its arguments.
    schreiben(QStringLiteral("bin/kalvix"), QStringLiteral("#!/bin/sh\necho \"$@\" > %1\n")
                                                .arg(pfad(QStringLiteral("kalvix.txt")))
                                                .toUtf8());
    QFile(pfad(QStringLiteral("bin/kalvix")))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray pfadVorher = qgetenv("PATH");
    qputenv("PATH", pfad(QStringLiteral("bin")).toLocal8Bit() + ':' + pfadVorher);
    const auto zurueck = qScopeGuard([&pfadVorher] { qputenv("PATH", pfadVorher); });
    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    f.ui().Check1[3]->setChecked(true);
    EXPECT_EQ(f.zustand().VBZNaechsterStart, NaechsterIntervall(900));
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 15, 0)));
    ASSERT_TRUE(tick(f));
    const QDeadlineTimer frist(10000);
    while (lesen(QStringLiteral("kalvix.txt")).isEmpty() && !frist.hasExpired())
        QThread::msleep(10);
    EXPECT_EQ(lesen(QStringLiteral("kalvix.txt")), QByteArray("-M201 AutoBerechnen\n"));
    EXPECT_EQ(f.zustand().VBZNaechsterStart,
              DatumInUnixZeit(Wandzeit(QDate(2026, 12, 5), QTime(10, 30, 0))));

    // Due again, with no calculator to be found: one line in mb.log.
    QFile::remove(pfad(QStringLiteral("bin/kalvix")));
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 30, 0)));
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(mbLog().count(QStringLiteral(" ;Fehler beim Start von kalvix -M201 AutoBerechnen : "
                                           "kalvix nicht gefunden\r\n")),
              1);
}

// Client "1450" with a server database in its credentials stores the same rows there.
TEST_F(MasterZyklusTest, theSameCycleStoresIntoTheServerDatabase)
{
    const QString text = ServerZiel::verbindungstext();
    if (text.isEmpty())
        GTEST_SKIP() << "TELVARIN_TEST_ODBC is not set";
    vorbereiten(QStringLiteral("1450"),
                QStringLiteral("zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                               "satz 0C13 45230100\n"),
                {});
    const QString treiber =
        ProfilLesen(QStringLiteral("PostgreSQL Unicode"), QStringLiteral("Driver"), QString(),
                    QStringLiteral("/etc/odbcinst.ini"));
    ASSERT_FALSE(treiber.isEmpty());
    const QString schema = QStringLiteral("tvzyklus%1").arg(QCoreApplication::applicationPid());
    VerbindungsDaten daten;
    daten.treiber = QStringLiteral("QODBC");
    daten.datenbankName = text;
    std::shared_ptr<Verbindung> db = Verbindung::Oeffnen(daten);
    ASSERT_TRUE(db && db->Execute(QStringLiteral("CREATE SCHEMA ") + schema) &&
                db->Execute(QStringLiteral("SET search_path TO ") + schema) && SchemaAnlegen(*db))
        << qPrintable(FehlerText);
    const auto aufraeumen =
        qScopeGuard([&] { db->Execute(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema)); });
    ASSERT_TRUE(db->Execute(QStringLiteral(
        "INSERT INTO tagrp (TAGRP_NR, TAGRP_NAME, BasisTarif) VALUES (1, 'Wärme', 5)")));
    ASSERT_TRUE(db->Execute(QStringLiteral(
        "INSERT INTO zaehler (LZNR, MBAdr, MBBaud, MB_ID, MBComP, STUFE, ZQUELLE, TARIFGRP, "
        "MBIndex, zname) VALUES (2, 2, 2400, '22222222', 3, 1, 'M-Bus', 1, 2, 'Z2')")));
    OdbcVerbindungstext ziel(text);
    ziel.setzen(QStringLiteral("DRIVER"), treiber);
    ziel.entfernen(QStringLiteral("UID"));
    ziel.entfernen(QStringLiteral("PWD"));
    ziel.setzen(QStringLiteral("ConnSettings"), QStringLiteral("SET\tsearch_path\tTO\t") + schema);
    zugangSchreiben(
        {QStringLiteral("2"), ziel.text(), OdbcVerbindungstext(text).wert(QStringLiteral("UID")),
         OdbcVerbindungstext(text).wert(QStringLiteral("PWD")),
         OdbcVerbindungstext(text).wert(QStringLiteral("DATABASE")), QStringLiteral("konto")});

    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    ASSERT_EQ(f.ui().MSFlexGrid1->Rows(), 2);
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(spalte(f, 4), QStringList{QStringLiteral("Ok")});

    auto zeilenAufServer = [&db](const QString& sql, const QStringList& felder) {
        Recordset rs;
        EXPECT_TRUE(MB_RecordsetOeffnen(db, rs, sql)) << qPrintable(FehlerText);
        QStringList ergebnis;
        while (rs.offen() && !rs.Eof()) {
            QStringList werte;
            for (const QString& feld : felder)
                werte << QString::number(rs.Feld(feld).zahl());
            ergebnis << werte.join(u':');
            rs.MoveNext();
        }
        return ergebnis;
    };
    EXPECT_EQ(
        zeilenAufServer(QStringLiteral("SELECT lznr, idx, Wert FROM MBusWerte ORDER BY idx"),
                        {QStringLiteral("lznr"), QStringLiteral("idx"), QStringLiteral("Wert")}),
        (QStringList{QStringLiteral("2:1:100000"), QStringLiteral("2:2:12.345")}));
    EXPECT_EQ(
        zeilenAufServer(QStringLiteral("SELECT lznr, ZStand, ta FROM Zaehlerstaende"),
                        {QStringLiteral("lznr"), QStringLiteral("ZStand"), QStringLiteral("ta")}),
        QStringList{QStringLiteral("2:12.345:5")});
    EXPECT_EQ(zeilenAufServer(QStringLiteral("SELECT MBIndex FROM MB_IndexListe ORDER BY MBIndex"),
                              {QStringLiteral("MBIndex")}),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_TRUE(QFile::exists(pfad(QStringLiteral("Z1450/000002002.15p"))));
    EXPECT_FALSE(MB_Connection);
}

TEST_F(MasterZyklusTest, anAnswerWithoutRecordsKeepsTheConfiguredIndexList)
{
    vorbereiten(QStringLiteral("201"), QStringLiteral("zaehler adresse=2 id=22222222\n"),
                {QStringLiteral("2;2;22222222")});
    {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("fuellen")));
        for (int k = 1; k <= 2; ++k)
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex, Faktor, "
                                              "Speichern, Reihenfolge) VALUES (2, %1, 2.5, 0, %2)")
                                   .arg(k)
                                   .arg(3 - k)));
    }
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(spalte(f, 4), QStringList{QStringLiteral("Ok")});
    EXPECT_EQ(zeilen(QStringLiteral("SELECT MBIndex || ':' || Faktor || ':' || Speichern || ':' "
                                    "|| Reihenfolge FROM MB_IndexListe ORDER BY MBIndex")),
              (QStringList{QStringLiteral("1:2.5:0:2"), QStringLiteral("2:2.5:0:1")}));
    EXPECT_EQ(mbLog().count(
                  QStringLiteral(" ;Indexliste nicht gespeichert: keine Werte gelesen lznr=2\r\n")),
              1)
        << qPrintable(mbLog());
}

TEST_F(MasterZyklusTest, valueFilesWaitForTheImportAndIntervalFilesAreAlwaysWritten)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                               "satz 0C13 45230100\n"),
                {QStringLiteral("2;2;22222222")});
    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    const QStringList intervalldateien{QStringLiteral("00000002.15p"),
                                       QStringLiteral("Z201/000002002.15p")};
    auto letzterSatz = [] {
        RB6_Kopf kopf;
        return RB6_KopfLesen(RB6_DateiName(DBPath, 2, 1), kopf) == 0 ? RB6_LetzterSatz(kopf) : 0;
    };
    const QString ungeschrieben = QStringLiteral(" : nicht geschrieben ") +
                                  RB6_DateiName(DBPath, 2, 1) + u' ' + RB6_DateiName(DBPath, 2, 2) +
                                  QStringLiteral("\r\n");

    // The import holds the value folder as the cycle starts and ends a little after the meter
    // has been read, while the cycle waits for it: the values set aside reach the value files,
    // the interval files are written as always.
    MasterZyklus::importWartezeitSetzen(60000);
    auto import = std::make_unique<Sperre>(Sperren::wertordnerDatei(DBPath, 201));
    ASSERT_TRUE(import->holen());
    auto uhr = new QTimer(&f);
    QObject::connect(uhr, &QTimer::timeout, &f, [&f, &import, uhr] {
        if (f.ui().MSFlexGrid1->TextMatrix(1, 4) == QStringLiteral("Ok")) {
            uhr->stop();
            QTimer::singleShot(300, &f, [&import] { import.reset(); });
        }
    });
    uhr->start(0);
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 15, 0)));
    ASSERT_TRUE(tick(f));
    EXPECT_FALSE(import);
    import.reset();
    EXPECT_EQ(letzterSatz(), 10);
    for (const QString& datei : intervalldateien)
        EXPECT_TRUE(QFile::exists(pfad(datei))) << qPrintable(datei);
    EXPECT_FALSE(mbLog().contains(ungeschrieben)) << qPrintable(mbLog());

    // Held past the wait: the value files are named, the interval files still get their row.
    MasterZyklus::importWartezeitSetzen(200);
    QList<QByteArray> vorher;
    for (const QString& datei : intervalldateien)
        vorher << lesen(datei);
    {
        Sperre gehalten(Sperren::wertordnerDatei(DBPath, 201));
        ASSERT_TRUE(gehalten.holen());
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 30, 0)));
        ASSERT_TRUE(tick(f));
    }
    EXPECT_EQ(letzterSatz(), 10);
    for (int i = 0; i < intervalldateien.size(); ++i)
        EXPECT_NE(lesen(intervalldateien[i]), vorher[i]) << qPrintable(intervalldateien[i]);
    EXPECT_EQ(
        mbLog().count(QStringLiteral(" ;Wertdateien gesperrt (Import läuft)") + ungeschrieben), 1)
        << qPrintable(mbLog());

    // A cycle without its own lock cannot keep an import out: it acts as if one ran.
    {
        Sperre fremd(Sperren::zyklusDatei(201, 3));
        ASSERT_TRUE(fremd.holen());
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 45, 0)));
        ASSERT_TRUE(tick(f));
    }
    EXPECT_EQ(letzterSatz(), 10);
    EXPECT_EQ(mbLog().count(QStringLiteral(" ;Zyklussperre nicht erhalten (")), 1);
    EXPECT_TRUE(mbLog().contains(QStringLiteral(")") + ungeschrieben)) << qPrintable(mbLog());
}

// Stop while the end of the cycle waits for the log import to free the value folder: the
// cycle ends as Stop ends it after a meter, and the values set aside reach their files when the
// folder is free by then, else mb.log names the files.
TEST_F(MasterZyklusTest, stopWhileTheCycleWaitsForTheValueFolderEndsItAsStopDoes)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                               "satz 0C13 45230100\n"),
                {QStringLiteral("2;2;22222222")});
    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    f.ui().Check1[3]->setChecked(true);
    MasterZyklus::importWartezeitSetzen(60000);
    const QString ungeschrieben = QStringLiteral(" : nicht geschrieben ") +
                                  RB6_DateiName(DBPath, 2, 1) + u' ' + RB6_DateiName(DBPath, 2, 2) +
                                  QStringLiteral("\r\n");
    auto letzterSatz = [] {
        RB6_Kopf kopf;
        return RB6_KopfLesen(RB6_DateiName(DBPath, 2, 1), kopf) == 0 ? RB6_LetzterSatz(kopf) : 0;
    };

    // Runs aktion once the cycle waits for the folder: both passes have shown their time.
    auto inDerWartezeit = [&f](std::function<void()> aktion) {
        const int zeitZeilen = f.ui().MSFlexGrid3->Rows();
        auto* uhr = new QTimer(&f);
        QObject::connect(uhr, &QTimer::timeout, &f, [&f, uhr, zeitZeilen, aktion] {
            if (f.ui().MSFlexGrid3->Rows() < zeitZeilen + 2)
                return;
            uhr->stop();
            uhr->deleteLater();
            aktion();
        });
        uhr->start(0);
    };

    // First the import still holds the folder when Stop comes, then it lets go just before.
    for (const auto& [zeit, freigeben] :
         {std::pair{QTime(10, 15, 0), false}, std::pair{QTime(10, 30, 0), true}}) {
        SCOPED_TRACE(freigeben ? "folder freed with Stop" : "folder held");
        auto import = std::make_unique<Sperre>(Sperren::wertordnerDatei(DBPath, 201));
        ASSERT_TRUE(import->holen());
        f.cmdStart_Click();
        // The calculator is due with this cycle.
        const UnixZeit rechnerFaellig = f.zustand().VBZNaechsterStart;
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), zeit));
        ASSERT_GE(DatumInUnixZeit(Jetzt()), rechnerFaellig);
        QString gestopptText;
        inDerWartezeit([&] {
            if (freigeben)
                import.reset();
            f.cmdStop_Click();
            gestopptText = f.ui().Label1->text();
        });
        ASSERT_TRUE(tick(f));
        import.reset();
        EXPECT_TRUE(gestopptText.startsWith(QStringLiteral("Datenholen gestoppt am ")));
        EXPECT_EQ(f.ui().Label1->text(), gestopptText);
        EXPECT_EQ(f.zustand().VBZNaechsterStart, rechnerFaellig);
        EXPECT_EQ(f.zustand().ZyklusLaeuft, 0);
        EXPECT_FALSE(mbLog().contains(QStringLiteral("kalvix"))) << qPrintable(mbLog());
        if (freigeben) {
            EXPECT_GT(letzterSatz(), 0);
            // Only the line of the first round names them.
            EXPECT_EQ(mbLog().count(ungeschrieben), 1) << qPrintable(mbLog());
        } else {
            EXPECT_EQ(letzterSatz(), 0);
            EXPECT_EQ(mbLog().count(QStringLiteral(" ;Wertdateien gesperrt (Import läuft)") +
                                    ungeschrieben),
                      1)
                << qPrintable(mbLog());
        }
    }
    EXPECT_FALSE(MB_Connection);
}

TEST_F(MasterZyklusTest, aPortThatDoesNotOpenIsOneProgramLogLinePerCycle)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 A0860100\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222")});
    // A device that never exists: the number of a closed terminal may be taken again at once by
    // a test running beside this one.
    m_sim->stoppen();
    const QString geraet = pfad(QStringLiteral("kein-geraet"));
    schreiben(
        QStringLiteral("ZEP.INI"),
        QStringLiteral("[ZEP]\r\nDBPATH201=.\\\r\n[COM]\r\nCOM3=%1\r\n").arg(geraet).toUtf8());
    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    for (const QTime zeit : {QTime(10, 15, 0), QTime(10, 30, 0)}) {
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), zeit));
        ASSERT_TRUE(tick(f));
    }
    EXPECT_EQ(spalte(f, 4), (QStringList{QStringLiteral("Fehler"), QStringLiteral("Fehler")}));
    const QString zeile = QStringLiteral("Fehler Open Com 3 (COM3: Gerät ") + geraet +
                          QStringLiteral(" nicht vorhanden: ZEP.INI [COM] COM3=") + geraet +
                          QStringLiteral("; Ungültige Anschlussnummer (8002))\r\n");
    const QString log = programmLog();
    EXPECT_EQ(log.count(zeile), 2) << qPrintable(log);
    EXPECT_EQ(log.count(QStringLiteral("Fehler Open Com")), 2) << qPrintable(log);
}

namespace {

qint64 RssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& zeile : status.readAll().split('\n'))
        if (zeile.startsWith("VmRSS:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

// The log lines cut from the log grid at the end of a cycle give their memory back to the
// system, also when newer blocks lie behind them in the heap: a master that runs for months
// keeps its size.
TEST_F(MasterZyklusTest, memoryOfTheLogLinesCutAtTheEndOfACycleGoesBackToTheSystem)
{
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the heap of this build is not the C library's";
#else
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"),
                {QStringLiteral("2;2;22222222")});
    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 15, 0)));
    ASSERT_TRUE(tick(f));
    // A log grid of 4000 lines, and a block that stays allocated behind them: the heap cannot
    // give the room of the lines back by merely shortening itself at its end.
    for (int i = 0; i < 4000; ++i)
        MasterLogZeile(*f.ui().MSFlexGrid4,
                       QStringLiteral("Speichern MBIndex Ok %1 für Zähler 22222222").arg(i));
    // The texts of the lines the cycle cuts (it adds its own lines at the top first).
    quintptr hoechsteZeile = 0;
    const FlexGrid& logGrid = *f.ui().MSFlexGrid4;
    for (int r = 500; r < logGrid.Rows(); ++r)
        for (int c = 0; c < 2; ++c)
            hoechsteZeile = std::max(
                hoechsteZeile, reinterpret_cast<quintptr>(logGrid.TextMatrix(r, c).constData()));
    // A block may fill a gap the heap had below the lines; the blocks are taken until one lies
    // behind them (those in gaps stay too).
    auto adresse = [](const QByteArray& b) { return reinterpret_cast<quintptr>(b.constData()); };
    std::vector<QByteArray> dahinter;
    do
        dahinter.emplace_back(16 * 1024, 'x');
    while (adresse(dahinter.back()) < hoechsteZeile && dahinter.size() < 4096);
    ASSERT_GT(adresse(dahinter.back()), hoechsteZeile)
        << "no block lies behind the lines the cycle cuts";
    const qint64 voll = RssKb();
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 30, 0)));
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(f.ui().MSFlexGrid4->Rows(), 500);
    // 3500 lines are gone: well over a megabyte.
    EXPECT_LT(RssKb(), voll - 1024) << voll;
#endif
}

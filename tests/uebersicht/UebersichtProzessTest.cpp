// The overview with real processes: two simulated buses on COM1 and COM2, the overview program
// started with "Auto", the master processes it starts and the values they read into the daily
// mb.log, a second overview, and a master that ended started again from its row.

#include "support/TestUmgebung.h"

#include "BusSimulator.h"
#include "database/BasisMdb.h"
#include "database/Schema.h"
#include "database/Verbindung.h"
#include "log/MasterLogZeile.h"
#include "master/dienste/MasterPortSperre.h"
#include "master/dienste/MasterTreiber.h"
#include "master/uebersicht/frmMbusmasterV4Alle.h"
#include "platform/Cp1252.h"
#include "platform/FensterRegister.h"
#include "platform/Global.h"
#include "platform/Sperren.h"
#include "settings/Einstellungen.h"
#include "ui/FlexGridWidget.h"
#include "zugang/UserConfig.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <functional>
#include <memory>
#include <set>

class UebersichtProzessTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        qputenv("TELVARIN_SPERREN", pfad(QStringLiteral("sperren")).toLocal8Bit());
        qputenv("TELVARIN_FENSTERREGISTER", pfad(QStringLiteral("fenster")).toLocal8Bit());
        ProgrammordnerSetzen(m_ordner.path());
        CPortListe.clear();
        QString com;
        for (int i = 0; i < 2; ++i) {
            SimBus bus;
            QString fehler;
            ASSERT_TRUE(BusSimulator::busTextLesen(
                QStringLiteral("bus takt=nein\nzaehler adresse=%1 id=1234567%1 baud=2400\n"
                               "satz 0406 A0860100\n")
                    .arg(i + 1),
                bus, &fehler))
                << qPrintable(fehler);
            m_sims[i] = std::make_unique<BusSimulator>(bus);
            ASSERT_TRUE(m_sims[i]->starten(&fehler)) << qPrintable(fehler);
            com += QStringLiteral("COM%1=%2\r\n").arg(i + 1).arg(m_sims[i]->geraet());
        }
        // The masters log every value into mb.log and write no other output.
        schreiben(QStringLiteral("ZEP.INI"),
                  (QStringLiteral("[ZEP]\r\nDBPATH200=.\\\r\n[MB200]\r\nMBSpeichern0=0\r\n"
                                  "MBSpeichern1=1\r\nMBSpeichern2=0\r\nMBSpeichern3=0\r\n"
                                  "[COM]\r\n") +
                   com)
                      .toUtf8());
        ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("basis.mdb"))));
        auto db = Verbindung::OpenDatabase(pfad(QStringLiteral("basis.mdb")));
        ASSERT_TRUE(db->Execute(QStringLiteral(
            "INSERT INTO tagrp (TAGRP_NR, TAGRP_NAME, BasisTarif) VALUES (1, 'Wärme', 5)")));
        for (int port : {1, 2})
            ASSERT_TRUE(db->Execute(
                QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, MBBaud, MB_ID, MBComP, STUFE, "
                               "ZQUELLE, TARIFGRP) VALUES (?, ?, 2400, ?, ?, 1, 'M-Bus', 1)"),
                {port, port, QStringLiteral("1234567%1").arg(port), port}));
    }

    void TearDown() override
    {
        m_fenster.reset();
        DatenbankSchliessen();
        MasterTreiberFreigeben();
        for (auto& prozess : m_prozesse) {
            const qint64 pid = prozess->processId();
            prozess->kill();
            prozess->waitForFinished(5000);
            SperrdateienEntfernen(pid);
        }
        // The masters run detached: each is ended by its number and waited for.
        for (int port : {1, 2})
            if (const qint64 pid = halter(port); pid > 0)
                m_master.insert(pid);
        for (qint64 pid : m_master) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
            BisWahr([pid] { return ::kill(static_cast<pid_t>(pid), 0) != 0; });
            SperrdateienEntfernen(pid);
        }
        for (auto& sim : m_sims)
            if (sim)
                sim->stoppen();
        CPortListe.clear();
        ProgrammordnerSetzen(QString());
        KommandozeileZuruecksetzen();
        qunsetenv("TELVARIN_SPERREN");
        qunsetenv("TELVARIN_FENSTERREGISTER");
        TestUmgebung::TearDown();
    }


    // The live process holding the port's master lock (0: none).
    static qint64 halter(int port)
    {
        if (!MasterLaeuftFuerPort(port))
            return 0;
        QLockFile sperre(Sperren::masterDatei(port));
        qint64 pid = 0;
        QString rechner;
        QString programm;
        return sperre.getLockInfo(&pid, &rechner, &programm) ? pid : 0;
    }

    // Waits until a live master holds the port's lock and notes it; its number.
    qint64 masterAbwarten(int port, qint64 nicht = 0)
    {
        qint64 pid = 0;
        EXPECT_TRUE(BisWahr([&] {
            pid = halter(port);
            return pid > 0 && pid != nicht;
        })) << "no master for Com"
            << port;
        m_master.insert(pid);
        return pid;
    }

    // The program and arguments a process was started with, and its working folder.
    static QStringList aufruf(qint64 pid)
    {
        QFile datei(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!datei.open(QIODevice::ReadOnly))
            return {};
        QStringList teile = QString::fromLocal8Bit(datei.readAll()).split(QChar(0));
        teile.removeLast();
        return teile;
    }
    static QString ordnerVon(qint64 pid)
    {
        return QFileInfo(QStringLiteral("/proc/%1/cwd").arg(pid)).canonicalFilePath();
    }
    void masterPruefen(qint64 pid, int port) const
    {
        const QStringList teile = aufruf(pid);
        ASSERT_FALSE(teile.isEmpty());
        EXPECT_EQ(QFileInfo(teile.first()).fileName(), QStringLiteral("pollex"));
        EXPECT_EQ(teile.mid(1), (QStringList{QStringLiteral("Auto"), QStringLiteral("-M200"),
                                             QStringLiteral("-C%1").arg(port)}));
        EXPECT_EQ(ordnerVon(pid), QFileInfo(m_ordner.path()).canonicalFilePath());
    }

    QProcess& uebersichtStarten(const QString& zeile)
    {
        auto prozess = std::make_unique<QProcess>();
        prozess->setWorkingDirectory(m_ordner.path());
        prozess->start(QStringLiteral(MBUSMASTER_BEFEHL), zeile.split(u' '));
        EXPECT_TRUE(prozess->waitForStarted(5000));
        m_prozesse.push_back(std::move(prozess));
        return *m_prozesse.back();
    }
    // Waits until the process shows the overview window (its start-up, "Auto" included, is done).
    static bool fensterAbwarten(qint64 pid)
    {
        return BisWahr([pid] {
            for (const RegistriertesFenster& f : RegistrierteFensterLesen())
                if (ProzessVonFensterHandle(f.handle) == pid && f.sichtbar &&
                    f.titel == QStringLiteral("ZEP MBus-Master V4.1"))
                    return true;
            return false;
        });
    }

    // Lines "Master Com<n> gestartet" in every program log of the folder.
    int startZeilen() const
    {
        int anzahl = 0;
        for (const QString& name : QDir(m_ordner.path()).entryList({QStringLiteral("*ed.log")}))
            anzahl += static_cast<int>(
                Cp1252ZuText(lesen(name))
                    .count(QRegularExpression(QStringLiteral("Master Com\\d+ gestartet: "))));
        return anzahl;
    }

    // The ports of the data lines in the daily mb.log files (every day's, should the test run
    // across midnight) whose meter is that port's meter of the simulator.
    std::set<int> gelesenePorts() const
    {
        std::set<int> ports;
        const QDir ordner(pfad(QStringLiteral("MBusLog")));
        for (const QString& name : ordner.entryList({QStringLiteral("*") + kMBusLogSuffix})) {
            const QString text = Cp1252ZuText(lesen(QStringLiteral("MBusLog/") + name));
            for (const QString& zeile : text.split(QStringLiteral("\r\n"))) {
                const QStringList felder = zeile.split(u';');
                if (felder.size() < MasterLogFelder::kAnzahl)
                    continue;
                const QString port = felder[MasterLogFelder::kPort];
                if (felder[MasterLogFelder::kId] == QStringLiteral("1234567") + port &&
                    felder[MasterLogFelder::kAdresse] == port)
                    ports.insert(port.toInt());
            }
        }
        return ports;
    }

    std::array<std::unique_ptr<BusSimulator>, 2> m_sims;
    std::vector<std::unique_ptr<QProcess>> m_prozesse;
    std::set<qint64> m_master;
    std::unique_ptr<frmMbusmasterV4Alle> m_fenster;
};

TEST_F(UebersichtProzessTest, autoStartsOneMasterPerPortAndNeverASecondAndAnEndedOneStartsAgain)
{
    // The overview program with "Auto": one master each for COM1 and COM2.
    QProcess& erste = uebersichtStarten(QStringLiteral("Auto -M200"));
    ASSERT_TRUE(fensterAbwarten(erste.processId()));
    const qint64 eins = masterAbwarten(1);
    const qint64 zwei = masterAbwarten(2);
    masterPruefen(eins, 1);
    masterPruefen(zwei, 2);
    EXPECT_EQ(startZeilen(), 2);

    // Each master reads its own meter into the daily mb.log (a generous deadline: the masters
    // load their database and open their ports first, and the machine may be busy).
    std::set<int> ports;
    EXPECT_TRUE(BisWahr(
        [&] {
            ports = gelesenePorts();
            return ports.size() == 2;
        },
        120000));
    EXPECT_EQ(ports, (std::set<int>{1, 2}));

    // A second overview with "Auto" starts none.
    QProcess& zweite = uebersichtStarten(QStringLiteral("Auto -M200"));
    ASSERT_TRUE(fensterAbwarten(zweite.processId()));
    EXPECT_EQ(startZeilen(), 2);
    EXPECT_EQ(halter(1), eins);
    EXPECT_EQ(halter(2), zwei);
    EXPECT_EQ(erste.state(), QProcess::Running);
    EXPECT_EQ(zweite.state(), QProcess::Running);

    // An overview without "Auto": a click on a running port's row starts none; once that
    // master has ended, its row starts it again, as often as it ends.
    KommandozeileSetzen(QStringLiteral("-M200"));
    MasterStarter starter;
    starter.programmSetzen(QStringLiteral(POLLEX_BEFEHL));
    m_fenster = std::make_unique<frmMbusmasterV4Alle>(std::move(starter), [] {});
    FlexGridWidget& grid = *m_fenster->MSFlexGrid1;
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(m_fenster->uebersicht().zeileStarten(grid, 1), MasterStarter::Ergebnis::LaeuftSchon);
    EXPECT_EQ(m_fenster->uebersicht().zeileStarten(grid, 2), MasterStarter::Ergebnis::LaeuftSchon);

    qint64 vorher = eins;
    for (int runde = 0; runde < 2; ++runde) {
        ::kill(static_cast<pid_t>(vorher), SIGTERM);
        ASSERT_TRUE(BisWahr([] { return !MasterLaeuftFuerPort(1); }));
        EXPECT_EQ(m_fenster->uebersicht().zeileStarten(grid, 1), MasterStarter::Ergebnis::Gestartet)
            << qPrintable(FehlerText);
        EXPECT_EQ(m_fenster->uebersicht().zeileStarten(grid, 1),
                  MasterStarter::Ergebnis::LaeuftSchon);
        const qint64 neu = masterAbwarten(1, vorher);
        masterPruefen(neu, 1);
        vorher = neu;
    }
    EXPECT_EQ(halter(2), zwei);
    EXPECT_EQ(CPortListe, QStringLiteral(";CPort1;"));
}

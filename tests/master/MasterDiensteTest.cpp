// The master's command line, interval rule, service check, device-server reset and port lock.

#include "support/TestUmgebung.h"

#include "BusSimulator.h"
#include "SimGeraeteserver.h"
#include "master/dienste/DienstPruefung.h"
#include "master/dienste/MasterAufruf.h"
#include "master/dienste/MasterEinstellungen.h"
#include "master/dienste/MasterMeldungen.h"
#include "master/dienste/MasterPortSperre.h"
#include "master/dienste/TibboReset.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUdpSocket>

#include <unistd.h>

class MasterDiensteTest : public TestUmgebung
{
};

TEST_F(MasterDiensteTest, commandLineSwitches)
{
    struct Fall
    {
        const char* zeile;
        int port;
        double pause;
        bool autoStart, testzaehler, schritt;
    };
    const Fall faelle[] = {
        {"Auto -M200 -c3 -T250", 3, 0.25, true, false, false},
        {"-t250", 0, 0.1, false, false, false},
        {"-C 3", 0, 0.1, false, false, false},
        {"", 0, 0.1, false, false, false},
        {"-C10 -T0 TestZaehler", 10, 0.0, false, true, false},
        {"auto -C1x", 1, 0.1, false, false, false},
        {"test -C2", 2, 0.1, false, false, true},
        {"-C99999999", 0, 0.1, false, false, false},
    };
    for (const Fall& f : faelle) {
        const MasterAufruf a = MasterAufrufLesen(QString::fromLatin1(f.zeile));
        EXPECT_EQ(a.comPort, f.port) << f.zeile;
        EXPECT_DOUBLE_EQ(a.meterPause, f.pause) << f.zeile;
        EXPECT_EQ(a.autoStart, f.autoStart) << f.zeile;
        EXPECT_EQ(a.testzaehler, f.testzaehler) << f.zeile;
        EXPECT_EQ(a.schrittModus, f.schritt) << f.zeile;
    }
}

TEST_F(MasterDiensteTest, intervalAcceptsWholeSecondsUpTo32Bits)
{
    const std::pair<const char*, std::optional<qint32>> faelle[] = {
        {"900", 900},
        {"0", 0},
        {" 60 ", 60},
        {"2147483647", 2147483647},
        {"-5", std::nullopt},
        {"abc", std::nullopt},
        {"12.5", std::nullopt},
        {"2147483648", std::nullopt},
        {"99999999999", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, erwartet] : faelle)
        EXPECT_EQ(IntervallPruefen(QString::fromLatin1(text)), erwartet) << text;
}

TEST_F(MasterDiensteTest, serviceUnitComesFromTheSettingsOrTheName)
{
    Mandant = QStringLiteral("1450");
    const MasterEinstellungen einstellungen(4);
    EXPECT_EQ(einstellungen.dienstUnit(QStringLiteral("tsvc")), QStringLiteral("tsvc.service"));
    schreiben(QStringLiteral("ZEP.INI"), "[1450MBus4]\r\nDienst=zaehlerdienst.service\r\n");
    EXPECT_EQ(einstellungen.dienstUnit(QStringLiteral("tsvc")),
              QStringLiteral("zaehlerdienst.service"));
}

namespace {

class FalscheDienste : public DienstSteuerung
{
public:
    bool zustand(const QString& unit, DienstZustand& z, QString& fehler) override
    {
        aufrufe << QStringLiteral("show ") + unit;
        if (!zustandGelingt)
            fehler = QStringLiteral("keine Antwort");
        z = stand;
        return zustandGelingt;
    }
    bool starten(const QString& unit, QString& fehler) override
    {
        aufrufe << QStringLiteral("start ") + unit;
        fehler = QStringLiteral("Zugriff verweigert");
        return aktionGelingt;
    }
    bool fortsetzen(const QString& unit, QString& fehler) override
    {
        aufrufe << QStringLiteral("thaw ") + unit;
        fehler = QStringLiteral("Zugriff verweigert");
        return aktionGelingt;
    }
    DienstZustand stand;
    bool zustandGelingt = true;
    bool aktionGelingt = true;
    QStringList aufrufe;
};

} // namespace

TEST_F(MasterDiensteTest, serviceCheckByState)
{
    struct Fall
    {
        const char *load, *aktiv, *frieren;
        bool aktionGelingt;
        int ergebnis;
        const char* aktion; // the call after "show" ("" none)
    };
    const Fall faelle[] = {
        {"loaded", "active", "running", true, 4, ""},
        {"loaded", "reloading", "running", true, 4, ""},
        {"loaded", "inactive", "running", true, 1, "start u.service"},
        {"loaded", "failed", "", true, 1, "start u.service"},
        {"loaded", "active", "frozen", true, 7, "thaw u.service"},
        {"loaded", "activating", "running", true, 2, ""},
        {"loaded", "deactivating", "running", true, 3, ""},
        {"not-found", "inactive", "running", true, -1, ""},
        {"loaded", "maintenance", "running", true, -1, ""},
        {"loaded", "inactive", "running", false, -1, "start u.service"},
        {"loaded", "active", "frozen", false, -1, "thaw u.service"},
    };
    for (const Fall& f : faelle) {
        FalscheDienste dienste;
        dienste.stand = {QString::fromLatin1(f.load), QString::fromLatin1(f.aktiv),
                         QString::fromLatin1(f.frieren)};
        dienste.aktionGelingt = f.aktionGelingt;
        EXPECT_EQ(CheckService(QStringLiteral("u.service"), dienste), f.ergebnis) << f.aktiv;
        QStringList erwartet{QStringLiteral("show u.service")};
        if (*f.aktion)
            erwartet << QString::fromLatin1(f.aktion);
        EXPECT_EQ(dienste.aufrufe, erwartet) << f.aktiv;
        EXPECT_EQ(FehlerText.isEmpty(), f.ergebnis > 0) << f.aktiv;
    }
    FalscheDienste stumm;
    stumm.zustandGelingt = false;
    EXPECT_EQ(CheckService(QStringLiteral("u.service"), stumm), -1);
    EXPECT_EQ(FehlerText, QStringLiteral("keine Antwort"));
}

TEST_F(MasterDiensteTest, serviceTexts)
{
    EXPECT_EQ(DienstStatusText(1), QStringLiteral("Dienst war beendet"));
    EXPECT_EQ(DienstStatusText(4), QStringLiteral("Dienst ist gestartet"));
    EXPECT_EQ(DienstStatusText(7), QStringLiteral("Dienst war angehalten"));
    EXPECT_EQ(DienstStatusText(-1), QStringLiteral("Dienst Status = -1"));
}

// A systemctl on PATH that answers from a state file and notes its arguments.
TEST_F(MasterDiensteTest, serviceCheckThroughSystemctl)
{
    const QString bin = pfad(QStringLiteral("bin"));
    QDir().mkpath(bin);
    schreiben(
        QStringLiteral("bin/systemctl"),
        "#!/bin/sh\n"
        "echo \"$*\" >> \"$(dirname \"$0\")/aufrufe\"\n"
        "case \"$1\" in\n"
        "  show) cat \"$(dirname \"$0\")/zustand\" ;;\n"
        "  start) exit \"$(cat \"$(dirname \"$0\")/startfehler\" 2>/dev/null || echo 0)\" ;;\n"
        "  thaw) ;;\n"
        "esac\n");
    QFile::setPermissions(pfad(QStringLiteral("bin/systemctl")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray altPfad = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit() + ':' + altPfad);
    SystemctlSteuerung systemctl;

    schreiben(QStringLiteral("bin/zustand"),
              "LoadState=loaded\nActiveState=inactive\nFreezerState=running\n");
    EXPECT_EQ(CheckService(QStringLiteral("tsvc.service"), systemctl), 1);
    schreiben(QStringLiteral("bin/zustand"),
              "LoadState=loaded\nActiveState=active\nFreezerState=frozen\n");
    EXPECT_EQ(CheckService(QStringLiteral("tsvc.service"), systemctl), 7);
    schreiben(QStringLiteral("bin/startfehler"), "1");
    schreiben(QStringLiteral("bin/zustand"),
              "LoadState=loaded\nActiveState=failed\nFreezerState=running\n");
    EXPECT_EQ(CheckService(QStringLiteral("tsvc.service"), systemctl), -1);
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("Rückgabe 1"))) << qPrintable(FehlerText);
    qputenv("PATH", altPfad);

    EXPECT_EQ(lesen(QStringLiteral("bin/aufrufe")),
              "show -p LoadState,ActiveState,FreezerState -- tsvc.service\n"
              "start --no-block -- tsvc.service\n"
              "show -p LoadState,ActiveState,FreezerState -- tsvc.service\n"
              "thaw -- tsvc.service\n"
              "show -p LoadState,ActiveState,FreezerState -- tsvc.service\n"
              "start --no-block -- tsvc.service\n");
    // A service manager that does not answer is given up after its deadline.
    schreiben(QStringLiteral("bin/langsam"), "#!/bin/sh\nexec sleep 30\n");
    QFile::setPermissions(pfad(QStringLiteral("bin/langsam")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SystemctlSteuerung langsam(pfad(QStringLiteral("bin/langsam")), 200);
    EXPECT_EQ(CheckService(QStringLiteral("tsvc.service"), langsam), -1);
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("keine Antwort in 200 ms")))
        << qPrintable(FehlerText);
    SystemctlSteuerung fehlt(pfad(QStringLiteral("bin/gibtesnicht")));
    EXPECT_EQ(CheckService(QStringLiteral("tsvc.service"), fehlt), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(MasterDiensteTest, serviceCheckAgainstTheRealSystemctl)
{
    if (QStandardPaths::findExecutable(QStringLiteral("systemctl")).isEmpty())
        GTEST_SKIP() << "systemctl is not installed here";
    SystemctlSteuerung systemctl;
    EXPECT_EQ(CheckService(QStringLiteral("telvarin-gibt-es-nicht-4711.service"), systemctl), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
}

// --- Device-server reset ---------------------------------------------------------------------

class TibboResetTest : public TestUmgebung
{
protected:
    // Runs the exchange against a device server with the settings given; the local port is
    // any free one, since the device server holds its own on the same host.
    bool tauschen(SimGeraeteserverEinstellung einstellung)
    {
        einstellung.vorhanden = true;
        einstellung.port = 0;
        m_server = std::make_unique<SimGeraeteserver>(einstellung);
        EXPECT_TRUE(m_server->starten());
        QUdpSocket socket;
        const bool ok = TibboReset(QStringLiteral("127.0.0.1"), m_server->port(), socket, 0);
        EXPECT_EQ(socket.state(), QAbstractSocket::UnconnectedState);
        EXPECT_TRUE(m_server->warteAufDatagramme(2, 5000));
        return ok;
    }
    std::unique_ptr<SimGeraeteserver> m_server;
};

TEST_F(TibboResetTest, answerAGivesTrueAndEAlwaysFollows)
{
    SimGeraeteserverEinstellung a;
    EXPECT_TRUE(tauschen(a));
    EXPECT_EQ(m_server->empfangen(), (QList<QByteArray>{"L", "E"}));

    SimGeraeteserverEinstellung x;
    x.antwort = "X";
    EXPECT_FALSE(tauschen(x));
    EXPECT_EQ(m_server->empfangen(), (QList<QByteArray>{"L", "E"}));
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("\"X\""))) << qPrintable(FehlerText);

    SimGeraeteserverEinstellung still;
    still.stumm = true;
    EXPECT_FALSE(tauschen(still));
    EXPECT_EQ(m_server->empfangen(), (QList<QByteArray>{"L", "E"}));
}

TEST_F(TibboResetTest, busyLocalPortOpenSocketOrNoAddressGiveFalseAtOnce)
{
    SimGeraeteserverEinstellung einstellung;
    einstellung.vorhanden = true;
    einstellung.port = 0;
    SimGeraeteserver server(einstellung);
    ASSERT_TRUE(server.starten());

    QUdpSocket belegt;
    ASSERT_TRUE(belegt.bind(QHostAddress::AnyIPv4, 0));
    QUdpSocket socket;
    EXPECT_FALSE(
        TibboReset(QStringLiteral("127.0.0.1"), server.port(), socket, belegt.localPort()));
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("nicht belegbar"))) << qPrintable(FehlerText);
    EXPECT_FALSE(TibboReset(QStringLiteral("127.0.0.1"), server.port(), belegt, 0));
    EXPECT_FALSE(TibboReset(QString(), server.port(), socket, 0));
    EXPECT_FALSE(TibboReset(QStringLiteral("kein.host"), server.port(), socket, 0));
    EXPECT_TRUE(server.empfangen().isEmpty());
}

TEST_F(TibboResetTest, theSimulatorPlaysTheDeviceServerFromItsBusFile)
{
    SimBus bus;
    QString fehler;
    ASSERT_TRUE(BusSimulator::busTextLesen(
        QStringLiteral("geraeteserver port=0 antwort=A\nzaehler id=1\n"), bus, &fehler))
        << qPrintable(fehler);
    BusSimulator sim(bus);
    ASSERT_TRUE(sim.starten(&fehler)) << qPrintable(fehler);
    ASSERT_TRUE(sim.geraeteserver());
    QUdpSocket socket;
    EXPECT_TRUE(TibboReset(QStringLiteral("127.0.0.1"), sim.geraeteserver()->port(), socket, 0));
    EXPECT_TRUE(sim.geraeteserver()->warteAufDatagramme(2, 5000));
    EXPECT_FALSE(
        BusSimulator::busTextLesen(QStringLiteral("geraeteserver port=70000\n"), bus, &fehler));
}

// --- One master per port ---------------------------------------------------------------------

TEST_F(MasterDiensteTest, portLockIsHeldOncePerPort)
{
    qputenv("TELVARIN_SPERREN", pfad(QStringLiteral("sperren")).toLocal8Bit());
    {
        MasterPortSperre eins(1);
        ASSERT_TRUE(eins.holen()) << qPrintable(FehlerText);
        EXPECT_TRUE(MasterLaeuftFuerPort(1));
        EXPECT_FALSE(MasterLaeuftFuerPort(10));
        MasterPortSperre zweiter(1);
        EXPECT_FALSE(zweiter.holen());
        EXPECT_EQ(zweiter.halter(), getpid());
        EXPECT_EQ(FehlerText,
                  QStringLiteral("Master für Com1 läuft bereits (Prozess %1)").arg(getpid()));
        MasterPortSperre zehn(10);
        EXPECT_TRUE(zehn.holen());
        EXPECT_TRUE(QFile::exists(pfad(QStringLiteral("sperren/master-com10.lock"))));
    }
    EXPECT_FALSE(MasterLaeuftFuerPort(1));
    qunsetenv("TELVARIN_SPERREN");
}

TEST_F(MasterDiensteTest, aSecondMasterSaysSoInBothLogsAndABoxUnlessSilent)
{
    DBPath = QDir::currentPath() + u'/';
    ZweiterMasterMelden(3, 4711, false);
    ZweiterMasterMelden(3, 4711, true);
    const QString text =
        QStringLiteral("Master für Com3 läuft bereits (Prozess 4711), dieser Start endet");
    EXPECT_EQ(m_meldungen.texte, QStringList{text});
    EXPECT_EQ(Cp1252ZuText(lesen(QStringLiteral("MBusLog/261205mb.log"))),
              QStringLiteral("\r\n05.12.26 12:00:00 ;%1\r\n05.12.26 12:00:00 ;%1\r\n").arg(text));
    EXPECT_EQ(Cp1252ZuText(lesen(QStringLiteral("261205ed.log"))),
              QStringLiteral("05.12.26 12:00:00 %1\r\n05.12.26 12:00:00 %1\r\n").arg(text));
}

// Unattended, a box becomes a line in both logs and is answered with its default button; a box
// of a handler the user started still goes to the screen.
TEST_F(MasterDiensteTest, unattendedBoxesGoToTheLogsAndTheUsersBoxesToTheScreen)
{
    DBPath = m_ordner.path() + u'/';
    UnbeaufsichtigteMeldungen ohneBediener(m_meldungen);
    MeldungSinkSetzen(&ohneBediener);
    EXPECT_EQ(MsgBox(QStringLiteral("Sind sie sicher?"), vbYesNo + vbCritical + 256,
                     QStringLiteral("Com1 beenden")),
              vbNo);
    EXPECT_EQ(MsgBox(QStringLiteral("Zeile 1\r\nZeile 2;3")), vbOK);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    {
        const BedienteMeldungen bedient;
        m_meldungen.antworten << vbNo;
        EXPECT_EQ(MsgBox(QStringLiteral("Frage"), vbYesNo), vbNo);
    }
    MeldungSinkSetzen(&m_meldungen);
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("Frage")});

    const QString mbLog = Cp1252ZuText(lesen(
        QStringLiteral("MBusLog/") +
        QDir(pfad(QStringLiteral("MBusLog"))).entryList({QStringLiteral("*mb.log")}).value(0)));
    EXPECT_TRUE(mbLog.contains(
        QStringLiteral(";Meldung im Automatikbetrieb: (Com1 beenden) Sind sie sicher?\r\n")));
    EXPECT_TRUE(mbLog.contains(QStringLiteral(";Meldung im Automatikbetrieb: Zeile 1 Zeile 2,3")));
    EXPECT_FALSE(mbLog.contains(QStringLiteral("Frage")));
    const QString log =
        Cp1252ZuText(lesen(QDir(pfad(QString())).entryList({QStringLiteral("*ed.log")}).value(0)));
    EXPECT_TRUE(
        log.contains(QStringLiteral(" Meldung im Automatikbetrieb: Zeile 1 Zeile 2;3\r\n")));
}

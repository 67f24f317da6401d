// The master window: start-up against a working folder, command line, settings written back,
// database choice and the handlers of the settings frame.

#include "MasterfensterUmgebung.h"

#include "database/ZielUmgebung.h"
#include "datafiles/RB6Wertdatei.h"
#include "ui/FlexGridWidget.h"

#include <QAction>
#include <QTest>

class frmMbusMasterV4Test : public MasterfensterUmgebung
{
};

TEST_F(frmMbusMasterV4Test, freshIniHoldsExactlyTheKeysWrittenBackAndKeepsForeignSections)
{
    zepIni("[Fremd]\r\nSchluessel=bleibt\r\n");
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    EXPECT_EQ(lesen(QStringLiteral("ZEP.INI")),
              QByteArray("[ZEP]\r\nDBPATH200=.\\\r\nDBPATH1450=.\\\r\n"
                         "[Fremd]\r\nSchluessel=bleibt\r\n"
                         "[MBus]\r\nVBZBerechnenIntervall=900\r\nVBZBerechnenStartFenster=6\r\n"
                         "[200MBus]\r\nIntervallCom3=0\r\n"
                         "[200MBus3]\r\nCOMTimeout=330\r\nCOMTimeoutOffset=50\r\n"
                         "COMTimeoutByte=4\r\nCOMTimeoutDeadTime=11\r\nTibboIP3=\r\n"
                         "OleProvider=1\r\n"
                         "[MB200]\r\nMBSpeichern2=1\r\nMBSpeichern3=1\r\n"));
    const MasterZustand& z = const_cast<frmMbusMasterV4&>(f).zustand();
    EXPECT_EQ(z.VBZIntervall, 900);
    EXPECT_EQ(z.VBZFensterStil, 6);
    EXPECT_EQ(z.ComTimeouts, (std::array<qint32, 4>{330, 50, 4, 11}));
    EXPECT_EQ(z.TibboPort, QStringLiteral("65535"));
    EXPECT_EQ(z.StatusText, QStringLiteral("Stop"));
    EXPECT_EQ(z.StartZeit, DatumInUnixZeit(m_uhr.jetzt()));
    const auto& e = f.ui();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Com3 MBus-Master V1.1"));
    EXPECT_FALSE(e.Check1[0]->isChecked() || e.Check1[1]->isChecked());
    EXPECT_TRUE(e.Check1[2]->isChecked() && e.Check1[3]->isChecked());
    EXPECT_FALSE(e.Text3->isHidden());
    EXPECT_EQ(e.Text3->text(), QStringLiteral("900"));
    EXPECT_EQ(e.Label5->text(), QStringLiteral("Startzeit : 05.12.2026 10:07:30"));
    EXPECT_EQ(e.Label1->text(), QStringLiteral("Datenholen gestoppt am 05.12.2026 10:07:30"));
    EXPECT_EQ(e.MSFlexGrid1->TextMatrix(0, 3), QStringLiteral("LeseFehler"));
    EXPECT_EQ(e.MSFlexGrid4->ColWidth(0), 1800);
    EXPECT_TRUE(e.Timer1->isActive());
    EXPECT_TRUE(e.cmdStop->isHidden());
    EXPECT_FALSE(e.cmdStart->isHidden());
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join(u'|'));
    EXPECT_EQ(mbLog(), QStringLiteral("\r\n05.12.26 10:07:30 ;Start MBusMaster : Keine Zähler für "
                                      "Com3\r\n05.12.26 10:07:30 ;Datenholen gestoppt am "
                                      "05.12.2026 10:07:30\r\n"));
}

TEST_F(frmMbusMasterV4Test, storedValuesAreUsedAndNotRewritten)
{
    zepIni(
        "[200MBus3]\r\nCOMTimeout=500\r\nTibboIP3=10.0.0.9\r\n[200MBus]\r\n"
        "IntervallCom3=900\r\nRB6_StandardGroesse=12\r\n[MB200]\r\nMBSpeichern0=1\r\n"
        "MBSpeichern3=0\r\n[MBus]\r\nVBZBerechnenIntervall=60\r\nVBZBerechnenStartFenster=2\r\n");
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    MasterZustand& z = f.zustand();
    EXPECT_EQ(z.ComTimeouts[0], 500);
    EXPECT_EQ(z.TibboIP, QStringLiteral("10.0.0.9"));
    EXPECT_EQ(z.LeseIntervall, 900);
    EXPECT_EQ(z.NaechsterStart, DatumInUnixZeit(Wandzeit(QDate(2026, 12, 5), QTime(10, 15))));
    EXPECT_EQ(z.VBZIntervall, 60);
    EXPECT_EQ(z.VBZFensterStil, 2);
    EXPECT_EQ(RB6_StandardGroesse, 12);
    EXPECT_TRUE(f.ui().Check1[0]->isChecked());
    EXPECT_FALSE(f.ui().Check1[3]->isChecked());
    EXPECT_TRUE(f.ui().Text3->isHidden());
    EXPECT_EQ(ini(QStringLiteral("MB200"), QStringLiteral("MBSpeichern0")), QStringLiteral("1"));
    EXPECT_EQ(ini(QStringLiteral("MB200"), QStringLiteral("MBSpeichern1")),
              QStringLiteral("<fehlt>"));
    EXPECT_EQ(ini(QStringLiteral("MB200"), QStringLiteral("MBSpeichern3")), QStringLiteral("0"));
}

TEST_F(frmMbusMasterV4Test, commandLineVariants)
{
    struct Fall
    {
        const char* zeile;
        int port;
        double pause;
        const char* status;
        bool minimiert, testKnoepfe;
        const char* box;
    };
    const Fall faelle[] = {
        {"Auto -M200 -c3 -T250", 3, 0.25, "Start", true, false, ""},
        {"-M200 -t250", 0, 0.1, "Stop", false, false, "Kein Comport anngegeben"},
        {"-M200 -C 3", 0, 0.1, "Stop", false, false, "Kein Comport anngegeben"},
        {"-M200 -C3 TestZaehler", 3, 0.1, "Stop", false, true, ""},
    };
    zepIni();
    basisAnlegen();
    for (const Fall& fall : faelle) {
        m_meldungen.texte.clear();
        KommandozeileSetzen(QString::fromLatin1(fall.zeile));
        frmMbusMasterV4& f = oeffnen();
        EXPECT_EQ(f.zustand().MasterComPort, fall.port) << fall.zeile;
        EXPECT_DOUBLE_EQ(f.zustand().MeterPause, fall.pause) << fall.zeile;
        EXPECT_EQ(f.zustand().StatusText, QString::fromLatin1(fall.status)) << fall.zeile;
        EXPECT_EQ(f.zustand().Gestartet, fall.status[1] == 't' && fall.status[2] == 'a');
        EXPECT_EQ(f.windowState().testFlag(Qt::WindowMinimized), fall.minimiert) << fall.zeile;
        EXPECT_EQ(f.ui().TestZaehlerLaden->isHidden(), !fall.testKnoepfe) << fall.zeile;
        EXPECT_EQ(f.ui().cmd_V2_MBLesenSecundaer->isHidden(), !fall.testKnoepfe) << fall.zeile;
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Com%1 MBus-Master V1.1").arg(fall.port))
            << fall.zeile;
        EXPECT_EQ(m_meldungen.texte.join(u'|'), QString::fromLatin1(fall.box)) << fall.zeile;
        m_fenster.reset();
        MasterTreiberFreigeben();
    }
}

TEST_F(frmMbusMasterV4Test, everyClientButThe1450UsesBasisMdb)
{
    zepIni();
    basisAnlegen();
    zugangSchreiben({QStringLiteral("2"), QStringLiteral("DRIVER={X};SERVER=nirgends;PWD=geheim"),
                     QStringLiteral("benutzer"), QStringLiteral("geheim"), QStringLiteral("db"),
                     QStringLiteral("konto")});
    {
        auto db = Verbindung::OpenDatabase(pfad(QStringLiteral("basis.mdb")));
        ASSERT_TRUE(db && db->Execute(QStringLiteral("INSERT INTO tagrp (TAGRP_NR) VALUES (1)")) &&
                    db->Execute(QStringLiteral(
                        "INSERT INTO zaehler (LZNR, MBAdr, MBComP, STUFE, ZQUELLE, TARIFGRP) "
                        "VALUES (1, 7, 3, 1, 'M-Bus', 1)")));
    }
    frmMbusMasterV4& f = oeffnen();
    EXPECT_EQ(f.ui().Label7->text(), QStringLiteral("DB : .\\basis.mdb  User: "));
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("7"));
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join(u'|'));
}

TEST_F(frmMbusMasterV4Test, databaseThatDoesNotOpenShowsItsBoxWithoutThePassword)
{
    zepIni();
    KommandozeileSetzen(QStringLiteral("-M1450 -C3"));
    zugangSchreiben({QStringLiteral("2"),
                     QStringLiteral("DRIVER=/gibt/es/nicht.so;SERVER=127.0.0.1;PORT=1;PWD=geheim"),
                     QStringLiteral("benutzer"), QStringLiteral("geheim"), QStringLiteral("db"),
                     QStringLiteral("konto")});
    frmMbusMasterV4& f = oeffnen();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    const QString box = m_meldungen.texte.first();
    EXPECT_TRUE(box.startsWith(
        QStringLiteral("Fehler beim öffnen der Datenbank "
                       "DRIVER=/gibt/es/nicht.so;SERVER=127.0.0.1;PORT=1;PWD=***\r")))
        << qPrintable(box);
    EXPECT_TRUE(box.endsWith(u'\r'));
    EXPECT_FALSE(box.contains(QStringLiteral("geheim")) ||
                 f.ui().Label7->text().contains(QStringLiteral("geheim")));
    EXPECT_EQ(f.ui().MSFlexGrid1->Rows(), 2);
    EXPECT_EQ(f.zustand().StatusText, QStringLiteral("Stop"));
}

TEST_F(frmMbusMasterV4Test, garbageSettingsAreLoggedAndLeftAlone)
{
    zepIni("[MBus]\r\nVBZBerechnenStartFenster=999\r\n[200MBus]\r\nIntervallCom3=-5\r\n"
           "[200MBus3]\r\nCOMTimeoutByte=99999999999\r\n");
    // A database without tables.
    schreiben(QStringLiteral("basis.mdb"), QByteArray());
    frmMbusMasterV4& f = oeffnen();
    EXPECT_EQ(f.zustand().LeseIntervall, 0);
    EXPECT_EQ(f.zustand().ComTimeouts[2], 4);
    EXPECT_EQ(ini(QStringLiteral("200MBus"), QStringLiteral("IntervallCom3")),
              QStringLiteral("-5"));
    EXPECT_EQ(ini(QStringLiteral("200MBus3"), QStringLiteral("COMTimeoutByte")),
              QStringLiteral("99999999999"));
    EXPECT_EQ(ini(QStringLiteral("MBus"), QStringLiteral("VBZBerechnenStartFenster")),
              QStringLiteral("999"));
    const QString log = mbLog();
    EXPECT_TRUE(log.contains(QStringLiteral(";Fehler FormLoad Überlauf: \"999\"")))
        << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral(";Fehler FormLoad IntervallCom3 = \"-5\"")));
    EXPECT_TRUE(log.contains(QStringLiteral(";Fehler FormLoad Überlauf: \"99999999999\"")));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Com3 MBus-Master V1.1"));
}

TEST_F(frmMbusMasterV4Test, intervalBoxTable)
{
    zepIni();
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    struct Fall
    {
        const char* text;
        qint32 intervall;
        const char* label;
        const char* ini;
    };
    const Fall faelle[] = {
        {"900", 900, "Starte Datenholen um 05.12.2026 10:15:00", "900"},
        {"0", 0, "Bereit", "0"},
        {"60", 60, "Starte Datenholen um 05.12.2026 10:08:00", "60"},
        {"", 60, "Starte Datenholen um 05.12.2026 10:08:00", "60"},
        {"-5", 60, "Starte Datenholen um 05.12.2026 10:08:00", "60"},
        {"2147483648", 60, "Starte Datenholen um 05.12.2026 10:08:00", "60"},
        {"abc", 60, "Starte Datenholen um 05.12.2026 10:08:00", "60"},
    };
    for (const Fall& fall : faelle) {
        f.ui().Text1->setText(QString::fromLatin1(fall.text));
        EXPECT_EQ(f.zustand().LeseIntervall, fall.intervall) << fall.text;
        EXPECT_EQ(f.ui().Label1->text(), QString::fromLatin1(fall.label)) << fall.text;
        EXPECT_EQ(ini(QStringLiteral("200MBus"), QStringLiteral("IntervallCom3")),
                  QString::fromLatin1(fall.ini))
            << fall.text;
    }
    EXPECT_EQ(f.zustand().NaechsterStart,
              DatumInUnixZeit(Wandzeit(QDate(2026, 12, 5), QTime(10, 8))));
}

TEST_F(frmMbusMasterV4Test, timeOutBoxesAndTickBoxesWriteTheirKeys)
{
    zepIni();
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    f.ui().Text4[3]->setText(QStringLiteral("25"));
    f.ui().Text4[1]->setText(QStringLiteral("99999999999"));
    f.ui().Text4[2]->setText(QStringLiteral("x"));
    EXPECT_EQ(ini(QStringLiteral("200MBus3"), QStringLiteral("COMTimeoutDeadTime")),
              QStringLiteral("25"));
    EXPECT_EQ(ini(QStringLiteral("200MBus3"), QStringLiteral("COMTimeoutOffset")),
              QStringLiteral("50"));
    EXPECT_EQ(ini(QStringLiteral("200MBus3"), QStringLiteral("COMTimeoutByte")),
              QStringLiteral("4"));
    EXPECT_EQ(f.zustand().ComTimeouts, (std::array<qint32, 4>{330, 50, 4, 25}));

    f.ui().Check1[0]->click();
    f.ui().Check1[3]->click();
    EXPECT_EQ(ini(QStringLiteral("MB200"), QStringLiteral("MBSpeichern0")), QStringLiteral("1"));
    EXPECT_EQ(ini(QStringLiteral("MB200"), QStringLiteral("MBSpeichern3")), QStringLiteral("0"));
    EXPECT_TRUE(f.ui().Text3->isHidden() && f.ui().Label11->isHidden());
}

TEST_F(frmMbusMasterV4Test, settingsFrameRestoresTheTimerAsItWasWhenFirstOpened)
{
    zepIni();
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    const auto& e = f.ui();
    struct Fall
    {
        bool laeuft;
        int oeffnungen;
    };
    for (const Fall fall : {Fall{true, 1}, Fall{false, 1}, Fall{true, 2}}) {
        if (fall.laeuft)
            e.Timer1->start();
        else
            e.Timer1->stop();
        for (int i = 0; i < fall.oeffnungen; ++i)
            e.mnuEinstellung->trigger();
        EXPECT_FALSE(e.Frame3->isHidden());
        EXPECT_FALSE(e.Timer1->isActive());
        e.cmdEinstellungenZurueck->click();
        EXPECT_TRUE(e.Frame3->isHidden());
        EXPECT_EQ(e.Timer1->isActive(), fall.laeuft) << fall.oeffnungen;
    }
    EXPECT_EQ(m_meldungen.zeiger_, (QList<int>{11, 0, 11, 0, 11, 0, 11, 0}));
    // Opening the settings releases the fixed-interface driver (also when there is none).
    f.LoadMBusPovider(0);
    ASSERT_TRUE(MB_OleServer);
    e.mnuEinstellung->trigger();
    e.mnuEinstellung->trigger();
    EXPECT_FALSE(MB_OleServer);
}

TEST_F(frmMbusMasterV4Test, driverChoiceLogMenuAndServiceButton)
{
    zepIni("[200MBus3]\r\nDienst=zaehlerdienst.service\r\n");
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    const auto& e = f.ui();
    EXPECT_EQ(e.Combo2->count(), 3);
    EXPECT_FALSE(e.Frame7->isHidden());
    e.Combo2->setCurrentIndex(2);
    f.Combo2_Click();
    EXPECT_TRUE(e.Frame7->isHidden());
    EXPECT_EQ(MB_OleProvider, 2);
    EXPECT_EQ(ini(QStringLiteral("200MBus3"), QStringLiteral("OleProvider")), QStringLiteral("2"));
    f.LoadMBusPovider(MB_OleProvider);
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("Kein OleProvider ausgewählt")});
    EXPECT_FALSE(MB_OleServer || MB_RacServer);

    // The log view first shows the index list; two clicks bring the same arrangement back.
    EXPECT_TRUE(e.Frame4->isHidden());
    EXPECT_FALSE(e.Frame5->isHidden());
    e.mnuLog->trigger();
    EXPECT_FALSE(e.Frame4->isHidden());
    EXPECT_TRUE(e.Frame5->isHidden());
    e.mnuLog->trigger();
    EXPECT_TRUE(e.Frame4->isHidden());

    m_meldungen.texte.clear();
    m_meldungen.titel_.clear();
    e.cmdTestService->click();
    EXPECT_EQ(m_dienste->units, QStringList{QStringLiteral("zaehlerdienst.service")});
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("Dienst ist gestartet")});
    EXPECT_EQ(m_meldungen.titel_, QStringList{QStringLiteral("Test tsvc")});
}

TEST_F(frmMbusMasterV4Test, indexListChoiceStaysAtTheTopWhileTheValueGridIsHidden)
{
    zepIni();
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    f.resize(1280, 800);
    f.show();
    // Start hides the value grid; the combo box and its button stay under the frame's title.
    f.cmdStart_Click();
    QCoreApplication::processEvents();
    const auto& e = f.ui();
    EXPECT_LT(e.Combo3->geometry().top(), 3 * e.Combo3->height()) << e.Combo3->geometry().top();
    e.MSFlexGrid2->show();
    QCoreApplication::processEvents();
    EXPECT_GT(e.MSFlexGrid2->height(), e.Frame5->height() / 2);
}

TEST_F(frmMbusMasterV4Test, endMenuAsksFirstAndUnloadRemovesThePort)
{
    zepIni();
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    m_meldungen.antworten = {vbNo, vbYes};
    {
        // While a step of the cycle runs, a confirmed end waits until it has returned.
        Programmende::Lauf schritt(f.programmende());
        ASSERT_TRUE(schritt.gueltig());
        f.ui().mnuEnde->trigger();
        EXPECT_TRUE(f.ui().Timer1->isActive());
        f.ui().mnuEnde->trigger();
        EXPECT_FALSE(f.ui().Timer1->isActive());
        EXPECT_EQ(m_programmEnden, 0);
    }
    EXPECT_EQ(m_programmEnden, 1);
    EXPECT_EQ(m_meldungen.texte, QStringList(2, QStringLiteral("Sind sie sicher?")));
    EXPECT_EQ(m_meldungen.titel_.first(), QStringLiteral("Com3 MBus-Master V1.1 beenden"));

    CPortListe = QStringLiteral(";CPort3;CPort13;");
    f.close();
    EXPECT_EQ(CPortListe, QStringLiteral(";CPort13;"));
}

// Client "1450" works on the server its credentials name.
TEST_F(frmMbusMasterV4Test, client1450UsesTheServerOfItsCredentials)
{
    const QString text = ServerZiel::verbindungstext();
    if (text.isEmpty())
        GTEST_SKIP() << "TELVARIN_TEST_ODBC is not set";
    // obrak.conf cannot carry blanks: the driver by its file, the statement with tabs.
    const QString treiber =
        ProfilLesen(QStringLiteral("PostgreSQL Unicode"), QStringLiteral("Driver"), QString(),
                    QStringLiteral("/etc/odbcinst.ini"));
    ASSERT_FALSE(treiber.isEmpty());
    const QString schema = QStringLiteral("tvmaster%1").arg(QCoreApplication::applicationPid());
    VerbindungsDaten daten;
    daten.treiber = QStringLiteral("QODBC");
    daten.datenbankName = text;
    auto db = Verbindung::Oeffnen(daten);
    ASSERT_TRUE(db && db->Execute(QStringLiteral("CREATE SCHEMA ") + schema) &&
                db->Execute(QStringLiteral("SET search_path TO ") + schema) && SchemaAnlegen(*db))
        << qPrintable(FehlerText);
    ASSERT_TRUE(db->Execute(QStringLiteral(
        "INSERT INTO tagrp (TAGRP_NR, TAGRP_NAME, BasisTarif) VALUES (1, 'Wärme', 5)")));
    ASSERT_TRUE(db->Execute(QStringLiteral(
        "INSERT INTO zaehler (LZNR, MBAdr, MBBaud, MB_ID, MBComP, STUFE, ZQUELLE, TARIFGRP) "
        "VALUES (1, 7, 2400, '12345678', 3, 1, 'M-Bus', 1)")));

    OdbcVerbindungstext ziel(text);
    ziel.setzen(QStringLiteral("DRIVER"), treiber);
    ziel.entfernen(QStringLiteral("UID"));
    ziel.entfernen(QStringLiteral("PWD"));
    ziel.setzen(QStringLiteral("ConnSettings"), QStringLiteral("SET\tsearch_path\tTO\t") + schema);
    zepIni();
    KommandozeileSetzen(QStringLiteral("-M1450 -C3"));
    zugangSchreiben(
        {QStringLiteral("2"), ziel.text(), OdbcVerbindungstext(text).wert(QStringLiteral("UID")),
         OdbcVerbindungstext(text).wert(QStringLiteral("PWD")),
         OdbcVerbindungstext(text).wert(QStringLiteral("DATABASE")), QStringLiteral("konto")});
    frmMbusMasterV4& f = oeffnen();
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join(u'|'));
    EXPECT_EQ(f.ui().MSFlexGrid1->Rows(), 2);
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(1, 5), QStringLiteral("12345678"));
    EXPECT_TRUE(f.ui().Label7->text().startsWith(QStringLiteral("DB : DRIVER=")));
    EXPECT_FALSE(MB_Connection);
    EXPECT_TRUE(db->Execute(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema)));
}

TEST_F(frmMbusMasterV4Test, tickShowsTheClockAndHidesTheLogGridAfterItsLimit)
{
    zepIni();
    basisAnlegen();
    frmMbusMasterV4& f = oeffnen();
    const int logZeilen = f.ui().MSFlexGrid4->Rows();
    for (int i = 0; i < 300; ++i)
        f.Timer1_Timer();
    EXPECT_FALSE(f.ui().MSFlexGrid4->isHidden());
    EXPECT_EQ(f.ui().Label6->text(), QStringLiteral("05.12.2026 10:07:30 (1)"));
    f.Timer1_Timer();
    EXPECT_TRUE(f.ui().MSFlexGrid4->isHidden());
    EXPECT_EQ(f.zustand().TickZaehler, 301);
    // Stopped: the ticks never reach the cycle.
    EXPECT_EQ(f.ui().MSFlexGrid4->Rows(), logZeilen);
}

TEST_F(frmMbusMasterV4Test, missingBasisMdbOrUnreadableCredentialsFallBackToTheFile)
{
    zepIni();
    frmMbusMasterV4& ohne = oeffnen();
    EXPECT_EQ(m_meldungen.texte,
              QStringList{QStringLiteral("Fehler beim öffnen der Datenbank .\\basis.mdb\r"
                                         "Provider=SQLite;Data Source=.\\basis.mdb\r")});
    EXPECT_EQ(ohne.ui().MSFlexGrid1->Rows(), 2);
    m_fenster.reset();

    // Credentials that cannot be read leave the client "1450" on basis.mdb too.
    basisAnlegen();
    QDir().mkpath(pfad(QStringLiteral("obrak.conf")));
    KommandozeileSetzen(QStringLiteral("-M1450 -C3"));
    m_meldungen.texte.clear();
    DBParameter.clear();
    frmMbusMasterV4& f = oeffnen();
    EXPECT_EQ(f.ui().Label7->text(), QStringLiteral("DB : .\\basis.mdb  User: "));
    EXPECT_EQ(DBParameter.size(), 7);
    EXPECT_FALSE(m_meldungen.texte.join(u'|').contains(QStringLiteral("Fehler beim öffnen")))
        << qPrintable(m_meldungen.texte.join(u'|'));
}

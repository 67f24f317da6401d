// Reading one meter at the user's request, the index list and the test buttons, on the
// simulated bus.

#include "MasterBusUmgebung.h"

#include "master/dienste/MasterTreiber.h"

#include <QStatusBar>
#include <QTest>

class MasterEinzellesenTest : public MasterBusUmgebung
{
protected:
    // Meters: 1 at address 2 (counting), 2 at address 0 (read by its id), 3 silent on the link
    // reset, 4 silent on the data request.
    frmMbusMasterV4& oeffnenMitBus()
    {
        vorbereiten(QStringLiteral("201"),
                    QStringLiteral("zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                                   "satz 0C13 45230100\nfehler zaehlt\n"
                                   "zaehler adresse=7 id=77777777\nsatz 0406 10270000\n"
                                   "zaehler adresse=3 id=33333333\nfehler stumm\n"
                                   "zaehler adresse=4 id=44444444\nfehler ohne_daten\n"),
                    {QStringLiteral("1;2;22222222"), QStringLiteral("2;0;77777777"),
                     QStringLiteral("3;3;33333333"), QStringLiteral("4;4;44444444")});
        frmMbusMasterV4& f = oeffnen();
        f.einzellesen().nkeFristMs = 300;
        f.einzellesen().anforderungFristMs = 300;
        return f;
    }
    // Clicks the grid row of the meter with the address shown.
    int klicken(frmMbusMasterV4& f, const QString& adresse)
    {
        for (int r = 1; r < f.ui().MSFlexGrid1->Rows(); ++r) {
            if (f.ui().MSFlexGrid1->TextMatrix(r, 0) == adresse) {
                f.ui().MSFlexGrid1->setRow(r);
                f.MSFlexGrid1_RowClick(r);
                return r;
            }
        }
        ADD_FAILURE() << "no row for address " << qPrintable(adresse);
        return 0;
    }
    // Clicks the grid row with the mouse, as the user does (the press moves the highlight).
    static void mausKlick(frmMbusMasterV4& f, int zeile)
    {
        FlexGridWidget& g = *f.ui().MSFlexGrid1;
        const QRect zelle = g.visualRect(g.model()->index(zeile - 1, 1));
        ASSERT_TRUE(zelle.isValid());
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, zelle.center());
    }
    QStringList werte(frmMbusMasterV4& f) const
    {
        QStringList zeilen;
        const FlexGrid& g = *f.ui().MSFlexGrid2;
        for (int r = 1; r < g.Rows(); ++r) {
            QStringList zellen;
            for (int c = 0; c < g.Cols(); ++c)
                zellen << g.TextMatrix(r, c);
            zeilen << zellen.join(u'|');
        }
        return zeilen;
    }
    QStringList logNeu(frmMbusMasterV4& f, int vorher) const
    {
        QStringList texte;
        for (int r = f.ui().MSFlexGrid4->Rows() - vorher; r >= 1; --r)
            texte << f.ui().MSFlexGrid4->TextMatrix(r, 1);
        return texte;
    }
    // Runs aktion once inside the next read's wait, as soon as the bus has seen its first frame.
    void waehrendDesLesens(frmMbusMasterV4& f, std::function<void()> aktion)
    {
        m_sim->rahmenVergessen();
        auto* schau = new QTimer(&f);
        QObject::connect(schau, &QTimer::timeout, &f, [this, schau, aktion] {
            if (m_sim->empfangeneRahmen().isEmpty())
                return;
            schau->stop();
            schau->deleteLater();
            aktion();
        });
        schau->start(1);
    }
    // The silent meter at address 3 keeps the read waiting on its link reset for 1.5 s.
    void langWarten(frmMbusMasterV4& f)
    {
        f.zustand().ComTimeouts = {240000, 0, 4, 11};
        f.einzellesen().nkeFristMs = 1500;
    }
    static bool IstNke(const QByteArray& r)
    {
        return r.size() == 5 && static_cast<quint8>(r[1]) == 0x40;
    }
    int nkeZaehlen() const
    {
        int n = 0;
        for (const SimEmpfangenerRahmen& r : m_sim->empfangeneRahmen())
            n += IstNke(r.bytes) ? 1 : 0;
        return n;
    }
};

TEST_F(MasterEinzellesenTest, rowClickReadsThroughTheMemberNameDriver)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    const int vorher = f.ui().MSFlexGrid4->Rows();
    const int r = klicken(f, QStringLiteral("2"));
    EXPECT_FALSE(f.ui().MSFlexGrid2->isHidden());
    EXPECT_EQ(f.ui().MSFlexGrid2->TextMatrix(0, 0), QStringLiteral("(Prim) Index"));
    EXPECT_EQ(werte(f), (QStringList{QStringLiteral("|||"), QStringLiteral("(2) 1|100000|kWh|0"),
                                     QStringLiteral("(2) 2|12,345|m^3|0")}));
    EXPECT_EQ(logNeu(f, vorher),
              (QStringList{QStringLiteral("Öffne Com3"), QStringLiteral("Send NKE 2"),
                           QStringLiteral("Send REQUD2 2"), QStringLiteral("Antwort OK  2")}));
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(r, 2), QStringLiteral("1"));
    EXPECT_EQ(f.einzellesen().KlickZaehler.MB_ID, QStringLiteral("22222222"));
    // An hour later the counting record has risen by one: one per hour.
    m_uhr.vorstellen(3600);
    klicken(f, QStringLiteral("2"));
    EXPECT_EQ(werte(f).value(1), QStringLiteral("(2) 1|100001|kWh|1"));
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(r, 2), QStringLiteral("2"));
    EXPECT_EQ(m_meldungen.zeiger_.last(), vbDefault);

    // The header row does nothing; a row without address clears the values, counts nothing.
    m_sim->rahmenVergessen();
    f.MSFlexGrid1_RowClick(0);
    EXPECT_EQ(werte(f).value(1), QStringLiteral("(2) 1|100001|kWh|1"));
    f.ui().MSFlexGrid1->setTextMatrix(r, 0, QString());
    f.MSFlexGrid1_RowClick(r);
    EXPECT_EQ(werte(f), QStringList{QStringLiteral("|||")});
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(r, 2), QStringLiteral("2"));
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(r, 3), QStringLiteral("0"));
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
    EXPECT_EQ(m_meldungen.zeiger_.last(), vbDefault);
}

TEST_F(MasterEinzellesenTest, addressZeroSilentMetersAndAPortThatDoesNotOpen)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    // Address 0: selected by its id, no link reset.
    m_sim->rahmenVergessen();
    klicken(f, QStringLiteral("0"));
    EXPECT_EQ(werte(f).value(1), QStringLiteral("(0) 1|10000|kWh|0"));
    EXPECT_EQ(nkeZaehlen(), 0);

    struct Fall
    {
        QString adresse;
        int ergebnis;
    };
    for (const Fall& fall : {Fall{QStringLiteral("3"), -2}, Fall{QStringLiteral("4"), -1}}) {
        int r = 0;
        for (int i = 1; i < f.ui().MSFlexGrid1->Rows(); ++i)
            r = f.ui().MSFlexGrid1->TextMatrix(i, 0) == fall.adresse ? i : r;
        LoadMBusPovider(1);
        EXPECT_EQ(f.MB_ReadPrimAdrRac(3, fall.adresse.toInt(), 2400, r), fall.ergebnis);
        klicken(f, fall.adresse);
        EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(r, 3), QStringLiteral("1"));
        EXPECT_EQ(werte(f), QStringList{QStringLiteral("|||")});
    }

    // A driver whose answer window outlasts the limits is cut off at the limit (the port
    // closes), and the next read opens the port again.
    f.zustand().ComTimeouts = {240000, 0, 4, 11};
    for (const Fall& fall : {Fall{QStringLiteral("3"), -2}, Fall{QStringLiteral("4"), -1},
                             Fall{QStringLiteral("2"), 0}}) {
        int r = 0;
        for (int i = 1; i < f.ui().MSFlexGrid1->Rows(); ++i)
            r = f.ui().MSFlexGrid1->TextMatrix(i, 0) == fall.adresse ? i : r;
        LoadMBusPovider(1);
        EXPECT_EQ(f.MB_ReadPrimAdrRac(3, fall.adresse.toInt(), 2400, r), fall.ergebnis);
    }
    f.zustand().ComTimeouts = {330, 50, 4, 11};

    // A port that does not open counts one read error.
    schreiben(QStringLiteral("ZEP.INI"), "[ZEP]\r\nDBPATH201=.\\\r\n[COM]\r\nCOM3=/dev/fehlt\r\n");
    const int r = klicken(f, QStringLiteral("2"));
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(r, 3), QStringLiteral("1"));
}

TEST_F(MasterEinzellesenTest, fixedInterfaceDriverClosesItsPortOnEveryPath)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    MB_OleProvider = 0;
    const int vorher = f.ui().MSFlexGrid4->Rows();
    klicken(f, QStringLiteral("4"));
    EXPECT_EQ(logNeu(f, vorher).last(), QStringLiteral("Fehler lesen Adr 4"));
    // The next read opens the port again.
    const int r = klicken(f, QStringLiteral("2"));
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(r, 2), QStringLiteral("1"));
    EXPECT_TRUE(logNeu(f, vorher).contains(QStringLiteral("Lesen Ok Adr 2")));
    EXPECT_EQ(f.ui().MSFlexGrid2->TextMatrix(2, 2), QStringLiteral("kWh"));
}

TEST_F(MasterEinzellesenTest, indexListSaveStoredRecordsAndRefusalsDuringACycle)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    const int vorher = f.ui().MSFlexGrid4->Rows();
    // Nothing chosen, nothing read: nothing changes.
    f.ui().Combo3->setCurrentIndex(-1);
    f.cmdSpeichernIndexliste_Click();
    f.ui().Combo3->setCurrentIndex(0);
    f.cmdSpeichernIndexliste_Click();
    EXPECT_EQ(zeilen(QStringLiteral("SELECT count(*) FROM MB_IndexListe")),
              QStringList{QStringLiteral("0")});

    const int r = klicken(f, QStringLiteral("2"));
    f.ui().Combo3->setCurrentIndex(r - 1);
    f.Combo3_Click();
    EXPECT_EQ(f.ui().MSFlexGrid2->TextMatrix(0, 1), QStringLiteral("Medium"));
    EXPECT_EQ(f.ui().MSFlexGrid2->TextMatrix(2, 2), QStringLiteral("12,345"));
    f.cmdSpeichernIndexliste_Click();
    EXPECT_EQ(zeilen(QStringLiteral("SELECT Einheit FROM MB_IndexListe WHERE Lznr = 1 ORDER BY "
                                    "MBIndex")),
              (QStringList{QStringLiteral("kWh"), QStringLiteral("m^3")}));
    EXPECT_EQ(f.zustand().MasterZaehler[static_cast<size_t>(r)].IndexAnz, 2);
    // The save closes the database it opened.
    EXPECT_FALSE(MB_Connection);

    // While the cycle reads, nothing shares its port and records.
    f.zustand().ZyklusLaeuft = 1;
    m_sim->rahmenVergessen();
    klicken(f, QStringLiteral("2"));
    f.cmd_V2_MBLesenSecundaer_Click();
    f.TestZaehlerLaden_Click();
    f.cmdSpeichernIndexliste_Click();
    f.zustand().ZyklusLaeuft = 0;
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
    EXPECT_EQ(f.ui().MSFlexGrid1->Rows(), 5);
    const QStringList log = logNeu(f, vorher);
    EXPECT_EQ(log.mid(0, 2),
              (QStringList{QStringLiteral("Indexliste nicht gespeichert: kein Zähler ausgewählt"),
                           QStringLiteral("Indexliste nicht gespeichert: keine Werte gelesen "
                                          "lznr=2")}));
    EXPECT_TRUE(log.contains(QStringLiteral("Speichen MBIndexListe lznr=1 Anz=2")));
    EXPECT_EQ(log.count(QStringLiteral("Lesen nicht möglich: der Zyklus liest gerade")), 2);
}

TEST_F(MasterEinzellesenTest, v2ReadsTheClickedMeterAndTestMetersLeaveWithTheNextLoad)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    const int r = klicken(f, QStringLiteral("2"));
    const int vorher = f.ui().MSFlexGrid4->Rows();
    f.cmd_V2_MBLesenSecundaer_Click();
    EXPECT_EQ(logNeu(f, vorher), QStringList{QStringLiteral("Lesen Ok Adr 22222222")});
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(r, 2), QStringLiteral("1"));

    f.TestZaehlerLaden_Click();
    EXPECT_EQ(f.ui().MSFlexGrid1->Rows(), 101);
    EXPECT_EQ(f.zustand().MasterComPort, 7);
    EXPECT_TRUE(f.zustand().TestModus);
    EXPECT_EQ(f.zustand().MasterZaehler[100].LZNR, 100);
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(100, 1), QStringLiteral("9600"));

    // A cycle that loads the port's meters from the database ends the test mode.
    f.ui().Check1[0]->setChecked(true);
    f.Text1Setzen(QStringLiteral("0"));
    f.cmdStart_Click();
    ASSERT_TRUE(tick(f));
    EXPECT_FALSE(f.zustand().TestModus);
    // No meters on the port: the cycle ends at once and closes what it opened.
    EXPECT_EQ(logZaehlen(f, QStringLiteral("MBusMaster : Keine Zähler für Com7")), 1);
    EXPECT_FALSE(MB_Connection);
    EXPECT_FALSE(f.zustand().MBusWerteOffen || f.zustand().ZaehlerstaendeOffen);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT count(*) FROM Zaehlerstaende")),
              QStringList{QStringLiteral("0")});
}

TEST_F(MasterEinzellesenTest, whileARowReadWaitsNothingReplacesItsDriverAndTheEndWaits)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    langWarten(f);
    QString fehlerWaehrend = QStringLiteral("nie"), statusWaehrend;
    int endenWaehrend = -1;
    waehrendDesLesens(f, [&] {
        fehlerWaehrend = f.ui().MSFlexGrid1->TextMatrix(3, 3);
        f.cmdStart_Click();
        klicken(f, QStringLiteral("2"));
        f.cmd_V2_MBLesenSecundaer_Click();
        f.ui().Combo2->setCurrentIndex(0);
        f.Combo2_Click();
        f.mnuEinstellung_Click();
        f.TestZaehlerLaden_Click();
        f.cmdSpeichernIndexliste_Click();
        statusWaehrend = f.statusBar()->currentMessage();
        f.close();
        endenWaehrend = m_programmEnden;
    });
    klicken(f, QStringLiteral("3"));
    EXPECT_EQ(fehlerWaehrend, QString()); // not yet counted: the read still waited
    EXPECT_EQ(statusWaehrend, QStringLiteral("Nicht möglich: Lesen oder Speichern läuft noch."));
    EXPECT_TRUE(f.statusBar()->currentMessage().isEmpty());
    // Only the link reset of the silent meter went out; nothing else changed.
    ASSERT_EQ(m_sim->empfangeneRahmen().size(), 1);
    EXPECT_EQ(static_cast<quint8>(m_sim->empfangeneRahmen()[0].bytes[2]), 3);
    EXPECT_EQ(spalte(f, 3), (QStringList{QString(), QString(), QStringLiteral("1"), QString()}));
    EXPECT_FALSE(f.zustand().Gestartet || !f.ui().Frame3->isHidden());
    EXPECT_EQ(MB_OleProvider, 1);
    EXPECT_EQ(f.ui().Combo2->currentIndex(), 1);
    EXPECT_EQ(f.ui().MSFlexGrid1->Rows(), 5);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT count(*) FROM MB_IndexListe")),
              QStringList{QStringLiteral("0")});
    // The program ends once the read has closed its port, then the drivers go.
    EXPECT_EQ(endenWaehrend, 0);
    EXPECT_EQ(m_programmEnden, 1);
    EXPECT_FALSE(MB_RacServer);
}

// A click on another row while a row read or the cycle reads is turned away; the highlight
// stays on the meter being read, and the V2 button reads that meter.
TEST_F(MasterEinzellesenTest, aClickTurnedAwayLeavesTheHighlightWhereItWas)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    langWarten(f);
    const int leseZeile = 3;
    ASSERT_EQ(f.ui().MSFlexGrid1->TextMatrix(leseZeile, 0), QStringLiteral("3"));
    int zeileWaehrend = -1;
    waehrendDesLesens(f, [&] {
        mausKlick(f, 1);
        zeileWaehrend = f.ui().MSFlexGrid1->Row();
    });
    mausKlick(f, leseZeile);
    EXPECT_EQ(zeileWaehrend, leseZeile);
    EXPECT_EQ(f.ui().MSFlexGrid1->Row(), leseZeile);
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(1, 2), QString());
    EXPECT_EQ(f.einzellesen().KlickZaehler.MB_ID, QStringLiteral("33333333"));

    // During the cycle: the highlight stays on the meter the cycle reads.
    f.einzellesen().nkeFristMs = 300;
    f.zustand().ComTimeouts = {330, 50, 4, 11};
    f.Text1Setzen(QStringLiteral("0"));
    f.cmdStart_Click();
    int zyklusZeile = -1;
    zeileWaehrend = -1;
    auto* uhr = new QTimer(&f);
    QObject::connect(uhr, &QTimer::timeout, &f, [&f, uhr, &zyklusZeile, &zeileWaehrend] {
        if (f.ui().Label1->text() != QStringLiteral("Lese 3 von 4") ||
            f.ui().MSFlexGrid1->Row() != 3)
            return;
        uhr->stop();
        zyklusZeile = f.ui().MSFlexGrid1->Row();
        mausKlick(f, 1);
        zeileWaehrend = f.ui().MSFlexGrid1->Row();
    });
    uhr->start(0);
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(zyklusZeile, 3);
    EXPECT_EQ(zeileWaehrend, 3);
}

TEST_F(MasterEinzellesenTest, theSettingsFrameAndRowReadsWaitForTheOtherReads)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    MB_OleProvider = 0;
    bool offenWaehrend = true;
    waehrendDesLesens(f, [&] {
        f.mnuEinstellung_Click();
        offenWaehrend = !f.ui().Frame3->isHidden();
    });
    klicken(f, QStringLiteral("3"));
    EXPECT_FALSE(offenWaehrend);
    EXPECT_EQ(f.ui().MSFlexGrid1->TextMatrix(3, 3), QStringLiteral("1"));
    f.mnuEinstellung_Click();
    EXPECT_FALSE(f.ui().Frame3->isHidden() || MB_OleServer);

    // The V2 read of the silent meter clicked last.
    bool klickWaehrendV2 = false;
    waehrendDesLesens(f, [&] {
        klicken(f, QStringLiteral("2"));
        klickWaehrendV2 = true;
    });
    f.ui().MSFlexGrid1->setRow(3);
    f.cmd_V2_MBLesenSecundaer_Click();
    EXPECT_TRUE(klickWaehrendV2);
    EXPECT_EQ(spalte(f, 2), (QStringList{QString(), QString(), QStringLiteral("0"), QString()}));
}

TEST_F(MasterEinzellesenTest, aCycleDueDuringAReadStartsAtTheFirstTickAfterIt)
{
    frmMbusMasterV4& f = oeffnenMitBus();
    langWarten(f);
    f.Text1Setzen(QStringLiteral("60"));
    f.cmdStart_Click();
    int zyklusWaehrend = -1;
    waehrendDesLesens(f, [&] {
        m_uhr.vorstellen(30);
        f.Timer1_Timer();
        zyklusWaehrend = f.zustand().ZyklusLaeuft;
    });
    klicken(f, QStringLiteral("3"));
    EXPECT_EQ(zyklusWaehrend, 0);
    f.einzellesen().nkeFristMs = 300;
    f.zustand().ComTimeouts = {330, 50, 4, 11};
    ASSERT_TRUE(tick(f));
    EXPECT_EQ(spalte(f, 4), (QStringList{QStringLiteral("Ok"), QStringLiteral("Ok"),
                                         QStringLiteral("Fehler"), QStringLiteral("Fehler")}));
}

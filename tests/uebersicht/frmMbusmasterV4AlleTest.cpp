// The overview window: start-up on a working folder, "Auto", the row click, the driver box and
// the menus.

#include "support/TestUmgebung.h"

#include "database/BasisMdb.h"
#include "database/Schema.h"
#include "database/Verbindung.h"
#include "master/dienste/MasterTreiber.h"
#include "master/uebersicht/frmMbusmasterV4Alle.h"
#include "platform/Global.h"
#include "platform/Programmende.h"
#include "platform/Warten.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"
#include "ui/FlexGridWidget.h"
#include "zugang/UserConfig.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

#include <functional>
#include <memory>

class frmMbusmasterV4AlleTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        ProgrammordnerSetzen(m_ordner.path());
        KommandozeileSetzen(QStringLiteral("Auto -M200"));
        CPortListe.clear();
        schreiben(QStringLiteral("ZEP.INI"), "[ZEP]\r\nDBPATH200=.\\\r\n");
    }
    void TearDown() override
    {
        m_fenster.reset();
        DatenbankSchliessen();
        MasterTreiberFreigeben();
        CPortListe.clear();
        ProgrammordnerSetzen(QString());
        KommandozeileZuruecksetzen();
        TestUmgebung::TearDown();
    }

    // basis.mdb with meters at the ports given (2400 Bd each).
    void basis(const QList<int>& ports)
    {
        ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("basis.mdb"))));
        auto db = Verbindung::OpenDatabase(pfad(QStringLiteral("basis.mdb")));
        int lznr = 0;
        for (int port : ports)
            ASSERT_TRUE(db->Execute(
                QStringLiteral("INSERT INTO zaehler (LZNR, MBComP, MBBaud) VALUES (?, ?, 2400)"),
                {++lznr, port}));
    }

    frmMbusmasterV4Alle& oeffnen()
    {
        MasterStarter starter(
            [this](const QString&, const QStringList& argumente, qint64& pid, QString&) {
                aufrufe << argumente;
                pid = 4000 + aufrufe.size();
                return true;
            },
            [](int) { return false; }, [](qint64) { return true; });
        m_fenster =
            std::make_unique<frmMbusmasterV4Alle>(std::move(starter), [this] { ++m_enden; });
        return *m_fenster;
    }

    // A click on the first cell of grid row zeile.
    void zeileKlicken(FlexGridWidget& grid, int zeile)
    {
        const QRect zelle = grid.visualItemRect(grid.item(zeile - 1, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, zelle.center());
    }

    std::unique_ptr<frmMbusmasterV4Alle> m_fenster;
    QList<QStringList> aufrufe;
    int m_enden = 0;
};

TEST_F(frmMbusmasterV4AlleTest, autoStartsEveryPortInRowOrderAndARowClickStartsNoSecond)
{
    basis({10, 2, 2, 1});
    frmMbusmasterV4Alle& f = oeffnen();
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join(u'|'));
    EXPECT_EQ(m_enden, 0);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("ZEP MBus-Master V4.1"));
    EXPECT_EQ(f.Label4[0]->text(), DBPath + QStringLiteral("basis.mdb"));
    EXPECT_EQ(f.Label4[1]->text(), DBPath + QStringLiteral("yymmddmb.txt"));
    EXPECT_EQ(f.Frame1->title(), QStringLiteral("Übersicht"));
    EXPECT_EQ(f.MSFlexGrid1->Rows(), 4);
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(2, 1), QStringLiteral("2"));
    EXPECT_EQ(f.MSFlexGrid1->TextMatrix(2, 7), QStringLiteral("0,75"));
    EXPECT_EQ(aufrufe,
              (QList<QStringList>{
                  {"Auto", "-M200", "-C1"}, {"Auto", "-M200", "-C2"}, {"Auto", "-M200", "-C10"}}));
    EXPECT_EQ(CPortListe, QStringLiteral(";CPort1;CPort2;CPort10;"));
    EXPECT_EQ(f.windowState(), Qt::WindowNoState);
    EXPECT_EQ(f.Combo1->count(), 3);
    // Every header and every cell can be read in full.
    for (int s = 0; s < f.MSFlexGrid1->Cols(); ++s) {
        EXPECT_GE(f.MSFlexGrid1->columnWidth(s),
                  f.MSFlexGrid1->horizontalHeader()->sectionSizeHint(s))
            << s;
        for (int z = 1; z < f.MSFlexGrid1->Rows(); ++z)
            EXPECT_GT(f.MSFlexGrid1->columnWidth(s), f.MSFlexGrid1->fontMetrics().horizontalAdvance(
                                                         f.MSFlexGrid1->TextMatrix(z, s)));
    }

    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    zeileKlicken(*f.MSFlexGrid1, 3);
    EXPECT_EQ(f.MSFlexGrid1->Row(), 3);
    EXPECT_EQ(aufrufe.size(), 3);
}

TEST_F(frmMbusmasterV4AlleTest, aRowClickStartsItsPortWithoutAuto)
{
    KommandozeileSetzen(QStringLiteral("-M200 auto"));
    basis({4, 7});
    frmMbusmasterV4Alle& f = oeffnen();
    EXPECT_TRUE(aufrufe.isEmpty());
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    zeileKlicken(*f.MSFlexGrid1, 2);
    EXPECT_EQ(aufrufe, (QList<QStringList>{{"Auto", "-M200", "-C7"}}));
}

TEST_F(frmMbusmasterV4AlleTest, noMeterOrNoDatabaseEndsWithTheMessage)
{
    // No basis.mdb: the reason follows the message.
    oeffnen();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].startsWith(QStringLiteral("Keine MBuszähler gefunden.\r")));
    EXPECT_TRUE(m_meldungen.texte[0].contains(QStringLiteral("basis.mdb")));
    EXPECT_EQ(m_enden, 1);

    m_fenster.reset();
    m_meldungen.texte.clear();
    basis({});
    oeffnen();
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("Keine MBuszähler gefunden.")});
    EXPECT_EQ(m_enden, 2);
    EXPECT_TRUE(aufrufe.isEmpty());
}

TEST_F(frmMbusmasterV4AlleTest, theDriverBoxReadsAndWritesTheClientsDriverNumber)
{
    KommandozeileSetzen(QStringLiteral("-M200"));
    schreiben(QStringLiteral("ZEP.INI"),
              "[ZEP]\r\nDBPATH200=.\\\r\n[200MBus0]\r\nOleProvider=1\r\n");
    basis({1});
    frmMbusmasterV4Alle& f = oeffnen();
    EXPECT_EQ(f.Combo1->currentIndex(), 1);
    EXPECT_EQ(MB_OleProvider, 1);
    EXPECT_TRUE(MB_RacServer);
    f.Combo1->setCurrentIndex(0);
    f.Combo1_Click();
    EXPECT_EQ(MB_OleProvider, 0);
    EXPECT_EQ(
        ProfilLesen(QStringLiteral("200MBus0"), QStringLiteral("OleProvider"), QString(), kZepIni),
        QStringLiteral("0"));

    // "MBus ZEP" names no driver object.
    m_fenster.reset();
    schreiben(QStringLiteral("ZEP.INI"),
              "[ZEP]\r\nDBPATH200=.\\\r\n[200MBus0]\r\nOleProvider=2\r\n");
    oeffnen();
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("Kein OleProvider ausgewählt")});
}

TEST_F(frmMbusmasterV4AlleTest, menusShowOneImportAndOneTestWindowAndTheListEntryOnlyThePointer)
{
    KommandozeileSetzen(QStringLiteral("-M200"));
    basis({1});
    frmMbusmasterV4Alle& f = oeffnen();
    f.MnuZaehler->trigger();
    EXPECT_EQ(m_meldungen.zeiger_, (QList<int>{vbHourglass, vbDefault}));
    EXPECT_EQ(f.importFenster(), nullptr);

    f.mnuImportLogFile->trigger();
    frmImportLogFile* import = f.importFenster();
    ASSERT_NE(import, nullptr);
    EXPECT_TRUE(import->isVisible());
    f.mnuImportLogFile->trigger();
    EXPECT_EQ(f.importFenster(), import);
    EXPECT_EQ(m_meldungen.zeiger_.size(), 6);

    // Closed, it goes; the menu makes a new one.
    import->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.importFenster(), nullptr);
    f.mnuImportLogFile->trigger();
    EXPECT_NE(f.importFenster(), nullptr);

    f.mnuMBusTest->trigger();
    frmMBustest* test = f.testFenster();
    ASSERT_NE(test, nullptr);
    f.mnuMBusTest->trigger();
    EXPECT_EQ(f.testFenster(), test);
    EXPECT_TRUE(test->isVisible());

    f.mnuEnde->trigger();
    EXPECT_EQ(m_enden, 1);
}

TEST_F(frmMbusmasterV4AlleTest, endingStopsALoopStillRunningInTheTestWindow)
{
    KommandozeileSetzen(QStringLiteral("-M200"));
    basis({1});
    const std::function<void(frmMbusmasterV4Alle&)> enden[] = {
        [](frmMbusmasterV4Alle& f) { f.mnuEnde->trigger(); },
        [](frmMbusmasterV4Alle& f) { f.close(); },
    };
    for (const auto& ende : enden) {
        ProgrammEndeZuruecksetzen();
        frmMbusmasterV4Alle& f = oeffnen();
        f.mnuMBusTest->trigger();
        frmMBustest* test = f.testFenster();
        ASSERT_NE(test, nullptr);
        // A scan of the test window waits for the bus when the overview ends.
        Programmende::Lauf scan(test->programmende());
        ASSERT_TRUE(scan.gueltig());
        const int vorher = m_enden;
        ende(f);
        EXPECT_EQ(m_enden, vorher + 1);
        EXPECT_FALSE(Warten(1));
    }
}

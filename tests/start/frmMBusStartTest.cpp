// The start menu: one instance of each window, the master's port lock, the entries without a
// window.

#include "support/TestUmgebung.h"

#include "bustest/felsquell/frmMBusFelsquell.h"
#include "bustest/frmMBustest.h"
#include "database/MBConnection.h"
#include "database/Schema.h"
#include "master/dienste/MasterPortSperre.h"
#include "master/dienste/MasterTreiber.h"
#include "master/frmMbusMasterV4.h"
#include "master/start/frmMBusStart.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "platform/Programmende.h"
#include "platform/Warten.h"
#include "settings/Einstellungen.h"
#include "zugang/UserConfig.h"

#include <QAction>
#include <QApplication>

#include <memory>

class frmMBusStartTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        qputenv("TELVARIN_SPERREN", pfad(QStringLiteral("sperren")).toLocal8Bit());
        ProgrammordnerSetzen(m_ordner.path());
        KommandozeileSetzen(QStringLiteral("-M200 -C3"));
        CPortListe.clear();
        schreiben(QStringLiteral("ZEP.INI"), "[ZEP]\r\nDBPATH200=.\\\r\n");
        ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("basis.mdb"))));
        m_fenster = std::make_unique<frmMBusStart>(StartMenue::Fabrik(), StartMenue::Fabrik(),
                                                   StartMenue::Fabrik(), [this] { ++m_enden; });
    }
    void TearDown() override
    {
        m_fenster.reset();
        MB_ConnectionSchliessen();
        MasterTreiberFreigeben();
        CPortListe.clear();
        ProgrammordnerSetzen(QString());
        KommandozeileZuruecksetzen();
        qunsetenv("TELVARIN_SPERREN");
        TestUmgebung::TearDown();
    }

    template <class T> static int fensterAnzahl()
    {
        int anzahl = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            anzahl += qobject_cast<T*>(w) != nullptr ? 1 : 0;
        return anzahl;
    }
    QString mbLog() const { return Cp1252ZuText(lesen(QStringLiteral("MBusLog/261205mb.log"))); }

    std::unique_ptr<frmMBusStart> m_fenster;
    int m_enden = 0;
};

TEST_F(frmMBusStartTest, masterTwiceShowsOneWindowLoadedOnceHoldingItsPortLock)
{
    frmMBusStart& f = *m_fenster;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("MBus Start"));
    f.mnuMaster->trigger();
    f.mnuMaster->trigger();
    EXPECT_EQ(fensterAnzahl<frmMbusMasterV4>(), 1);
    auto* master = qobject_cast<frmMbusMasterV4*>(f.menue().master().vorhanden());
    ASSERT_NE(master, nullptr);
    EXPECT_TRUE(master->isVisible());
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Com3 MBus-Master V1.1"));
    // Each load notes the port without meters once.
    EXPECT_EQ(mbLog().count(QStringLiteral("Keine Zähler für Com3")), 1);
    EXPECT_TRUE(MasterLaeuftFuerPort(3));
    EXPECT_EQ(m_meldungen.zeiger_, (QList<int>{vbHourglass, vbDefault, vbHourglass, vbDefault}));
}

TEST_F(frmMBusStartTest, aPortWhoseMasterRunsElsewhereOpensNoMasterWindow)
{
    MasterPortSperre andere(3);
    ASSERT_TRUE(andere.holen());
    m_fenster->mnuMaster->trigger();
    EXPECT_EQ(fensterAnzahl<frmMbusMasterV4>(), 0);
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].startsWith(QStringLiteral("Master für Com3 läuft bereits")));
    EXPECT_TRUE(mbLog().contains(QStringLiteral("Master für Com3 läuft bereits")));
}

TEST_F(frmMBusStartTest, felsquellAndTestWindowShareTheOneTestWindow)
{
    frmMBusStart& f = *m_fenster;
    f.mnuFelsquelltest->trigger();
    f.mnuFelsquelltest->trigger();
    f.mnuMBusTest->trigger();
    EXPECT_EQ(fensterAnzahl<frmMBusFelsquell>(), 1);
    EXPECT_EQ(fensterAnzahl<frmMBustest>(), 1);
    EXPECT_EQ(f.menue().testfenster().erzeugt(), 1);
    EXPECT_EQ(f.menue().felsquell().erzeugt(), 1);
    EXPECT_TRUE(f.menue().felsquell().vorhanden()->property("visible").toBool());
}

TEST_F(frmMBusStartTest, editOnlyTurnsThePointerAndEndEnds)
{
    m_fenster->mnuMBusEdit->trigger();
    EXPECT_EQ(m_meldungen.zeiger_, (QList<int>{vbHourglass, vbDefault}));
    EXPECT_EQ(QApplication::topLevelWidgets().size(), 1);
    EXPECT_EQ(m_enden, 0);
    m_fenster->mnuEnde->trigger();
    EXPECT_EQ(m_enden, 1);
}

TEST_F(frmMBusStartTest, endStopsALoopStillRunningInAWindowOpenedHere)
{
    m_fenster->mnuMBusTest->trigger();
    auto* test = qobject_cast<frmMBustest*>(m_fenster->menue().testfenster().vorhanden());
    ASSERT_NE(test, nullptr);
    Programmende::Lauf scan(test->programmende());
    ASSERT_TRUE(scan.gueltig());
    m_fenster->mnuEnde->trigger();
    EXPECT_EQ(m_enden, 1);
    EXPECT_FALSE(Warten(1));
}

// The window "Halvor MBus" on the bus simulator: its boxes and settings, Start, the month tick
// and closing while a pass runs.

#include "HalvorUmgebung.h"

#include "master/halvor/frmHalvorMBus.h"
#include "platform/Global.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class frmHalvorMBusTest : public HalvorUmgebung
{
protected:
    frmHalvorMBus& oeffnen()
    {
        m_fenster = std::make_unique<frmHalvorMBus>(fabrik());
        m_fenster->show();
        m_fenster->Text1[1]->setText(QString::number(kPort));
        m_fenster->Text1[3]->setText(QStringLiteral("3"));
        return *m_fenster;
    }

    void TearDown() override
    {
        EXPECT_EQ(m_offenFreigegeben, 0);
        m_fenster.reset();
        HalvorUmgebung::TearDown();
    }

    // One tick of the window's timer, as the timer gives it.
    static void ticken(frmHalvorMBus& fenster)
    {
        ASSERT_TRUE(QMetaObject::invokeMethod(fenster.Timer1, "timeout", Qt::DirectConnection));
    }

    std::unique_ptr<frmHalvorMBus> m_fenster;
};

TEST_F(frmHalvorMBusTest, loadShowsBoxesByRoleAndTheFolderOfMbIni)
{
    schreiben(QStringLiteral("MB.ini"), "[MB]\r\nDatenPath=D:\\Kunde\\\r\n");
    frmHalvorMBus& fenster = oeffnen();
    EXPECT_EQ(fenster.windowTitle(), QStringLiteral("Halvor MBus"));
    EXPECT_EQ(fenster.cmdStart->text(), QStringLiteral("&Start"));
    EXPECT_EQ(fenster.Text1[2]->text(), QStringLiteral("D:\\Kunde\\"));
    EXPECT_EQ(DatenPath, QStringLiteral("D:\\Kunde\\"));
    EXPECT_TRUE(fenster.Timer1->isActive());
    EXPECT_EQ(fenster.Timer1->interval(), 10000);

    // Each label stands in the row of the box it names.
    auto* raster = qobject_cast<QGridLayout*>(fenster.layout());
    ASSERT_NE(raster, nullptr);
    const QStringList erwartet = {QStringLiteral("TimerS : "), QStringLiteral("Com : "),
                                  QStringLiteral("Path : "), QStringLiteral("Anz : ")};
    for (int box = 0; box < 4; ++box) {
        int zeile = 0, spalte = 0, z = 0, s = 0;
        raster->getItemPosition(raster->indexOf(fenster.Text1[static_cast<size_t>(box)]), &zeile,
                                &spalte, &z, &s);
        auto* beschriftung = qobject_cast<QLabel*>(raster->itemAtPosition(zeile, 0)->widget());
        EXPECT_EQ(beschriftung ? beschriftung->text() : QString(), erwartet[box]);
    }
}

TEST_F(frmHalvorMBusTest, loadingWritesNothingAndEveryKeystrokeWritesTheFolder)
{
    frmHalvorMBus& fenster = oeffnen();
    EXPECT_EQ(fenster.Text1[2]->text(), QStringLiteral("Slave.dat"));
    EXPECT_TRUE(lesen(QStringLiteral("mb.INI")).isEmpty());

    fenster.Text1[2]->clear();
    fenster.Text1[2]->setFocus();
    QTest::keyClick(fenster.Text1[2], Qt::Key_X);
    EXPECT_EQ(lesen(QStringLiteral("mb.INI")), "[MB]\r\nDatenPath=x\r\n");
    QTest::keyClick(fenster.Text1[2], Qt::Key_Backslash);
    EXPECT_EQ(lesen(QStringLiteral("mb.INI")), "[MB]\r\nDatenPath=x\\\r\n");
    EXPECT_EQ(DatenPath, QStringLiteral("x\\"));
}

TEST_F(frmHalvorMBusTest, startIsDisabledWhileThePassRuns)
{
    busStarten(kVierAdressen);
    frmHalvorMBus& fenster = oeffnen();
    QList<bool> startFrei;
    m_vorTreiber = [&](int n) {
        startFrei << fenster.cmdStart->isEnabled();
        if (n == 2)
            QTest::mouseClick(fenster.cmdStart, Qt::LeftButton);
    };
    QTest::mouseClick(fenster.cmdStart, Qt::LeftButton);
    EXPECT_EQ(startFrei, QList<bool>({false, false, false, false}));
    EXPECT_TRUE(fenster.cmdStart->isEnabled());
    EXPECT_EQ(zeilen(QStringLiteral("Slave.dat261205mb.txt")), kVierZeilen);
}

TEST_F(frmHalvorMBusTest, timerReadsOnlyWhenTheMonthChanges)
{
    busStarten(kVierAdressen);
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 31), QTime(23, 59, 55)));
    frmHalvorMBus& fenster = oeffnen();
    ticken(fenster);
    EXPECT_EQ(m_treiber, 0);
    m_uhr.stellen(Wandzeit(QDate(2027, 1, 1), QTime(0, 0, 5)));
    ticken(fenster);
    ticken(fenster);
    EXPECT_EQ(angefragt(), QList<int>({0, 1, 2, 3}));
    EXPECT_EQ(zeilen(QStringLiteral("Slave.dat270101mb.txt")).size(), 4);
}

TEST_F(frmHalvorMBusTest, closingDuringAPassEndsItAfterTheMeterThenCloses)
{
    busStarten(kVierAdressen);
    frmHalvorMBus& fenster = oeffnen();
    bool geschlossen = true;
    m_vorTreiber = [&](int n) {
        if (n == 2)
            geschlossen = fenster.close();
    };
    fenster.cmdStart->click();
    EXPECT_FALSE(geschlossen);
    EXPECT_EQ(zeilen(QStringLiteral("Slave.dat261205mb.txt")), kVierZeilen.mid(0, 2));
    EXPECT_TRUE(fenster.isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_FALSE(fenster.Timer1->isActive());
}

} // namespace

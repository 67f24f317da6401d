// Every window opens with its frame inside the free area of the screen and shows all of its
// contents, on the screen size given by TELVARIN_BILDSCHIRM (ctest runs 1280x800 and 1024x768).
// TELVARIN_BILDORDNER names a folder for pictures of the windows.

#include "bustest/felsquell/frmMBusFelsquell.h"
#include "bustest/frmMBustest.h"
#include "bustest/hilfe/FrmHilfe.h"
#include "bustest/hilfe/FrmInfo.h"
#include "bustest/hilfe/FrmMBusLog.h"
#include "bustest/tcp/frmTCPMBus.h"
#include "master/dienste/DienstPruefung.h"
#include "master/frmMbusMasterV4.h"
#include "master/halvor/frmHalvorMBus.h"
#include "master/importlog/frmImportLogFile.h"
#include "master/indexexport/frmMBusEditIndexExport.h"
#include "master/start/frmMBusStart.h"
#include "master/uebersicht/frmMbusmasterV4Alle.h"
#include "settings/Einstellungen.h"
#include "support/TestUmgebung.h"
#include "ui/Bildschirmplatz.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// A frame as window managers draw it: a title bar of 30 pixels, borders of 4.
const QMargins kRahmen(4, 30, 4, 4);

using Fabrik = std::function<std::unique_ptr<QWidget>()>;

// Services that run, for the master window's service check.
class LaufendeDienste : public DienstSteuerung
{
public:
    bool zustand(const QString&, DienstZustand& z, QString&) override
    {
        z = {QStringLiteral("loaded"), QStringLiteral("active"), QStringLiteral("running")};
        return true;
    }
    bool starten(const QString&, QString&) override { return true; }
    bool fortsetzen(const QString&, QString&) override { return true; }
};

struct Fenster
{
    const char* name;
    Fabrik fabrik;
};

void PrintTo(const Fenster& fenster, std::ostream* os)
{
    *os << fenster.name;
}

const Fenster kFenster[] = {
    {"frmMBustest", [] { return std::make_unique<frmMBustest>(); }},
    {"frmMBusFelsquell", [] { return std::make_unique<frmMBusFelsquell>(); }},
    {"frmMBusLog", [] { return std::make_unique<frmMBusLog>(); }},
    {"frm_help", [] { return std::make_unique<frm_help>(QStringLiteral("Zähler lesen")); }},
    {"frm_about", [] { return std::make_unique<frm_about>(); }},
    {"frmTCPMBus", [] { return std::make_unique<frmTCPMBus>(); }},
    {"frmHalvorMBus", [] { return std::make_unique<frmHalvorMBus>(); }},
    {"frmImportLogFile", [] { return std::make_unique<frmImportLogFile>(); }},
    {"frmMBusEditIndexExport", [] { return std::make_unique<frmMBusEditIndexExport>(); }},
    {"frmMBusStart", [] { return std::make_unique<frmMBusStart>(); }},
    {"frmMbusMasterV4",
     [] {
         KommandozeileSetzen(QStringLiteral("-M200 -C3"));
         return std::make_unique<frmMbusMasterV4>(std::make_unique<LaufendeDienste>());
     }},
    {"frmMbusmasterV4Alle",
     [] { return std::make_unique<frmMbusmasterV4Alle>(MasterStarter(), [] {}); }},
};

class ImBildschirm : public TestUmgebung, public ::testing::WithParamInterface<Fenster>
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        KommandozeileSetzen(QString());
    }
    void TearDown() override
    {
        KommandozeileZuruecksetzen();
        TestUmgebung::TearDown();
    }
};

void Auffrischen()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Fenster, ImBildschirm, ::testing::ValuesIn(kFenster),
                         [](const ::testing::TestParamInfo<Fenster>& info) {
                             return std::string(info.param.name);
                         });

TEST_P(ImBildschirm, opensWithItsFrameInsideTheScreenAndShowsAllItsContents)
{
    std::unique_ptr<QWidget> fenster = GetParam().fabrik();
    fenster->show();
    Auffrischen();
    ASSERT_TRUE(fenster->isVisible());
    const QRect platz = fenster->screen()->availableGeometry();
    const QRect rahmen = fenster->geometry().marginsAdded(kRahmen);
    EXPECT_LE(rahmen.width(), platz.width());
    EXPECT_LE(rahmen.height(), platz.height());
    EXPECT_TRUE(platz.contains(rahmen))
        << rahmen.x() << ',' << rahmen.y() << ' ' << rahmen.width() << 'x' << rahmen.height();
    // Nothing lies beyond the client area, apart from what a scroll area holds.
    for (const QWidget* element : fenster->findChildren<QWidget*>()) {
        if (!element->isVisibleTo(fenster.get()) || element->window() != fenster.get())
            continue;
        bool gerollt = false;
        for (const QWidget* w = element->parentWidget(); w && w != fenster.get();
             w = w->parentWidget())
            gerollt = gerollt || qobject_cast<const QAbstractScrollArea*>(w);
        if (gerollt)
            continue;
        const QRect lage(element->mapTo(fenster.get(), QPoint(0, 0)), element->size());
        EXPECT_TRUE(fenster->rect().contains(lage))
            << element->metaObject()->className() << ' ' << element->objectName().toStdString();
    }
    const QByteArray ordner = qgetenv("TELVARIN_BILDORDNER");
    if (!ordner.isEmpty())
        fenster->grab().save(QString::fromLocal8Bit(ordner) + QLatin1Char('/') +
                             QLatin1String(GetParam().name) + QLatin1Char('-') +
                             QString::number(platz.width()) + QStringLiteral(".png"));
}

// A window whose minimum is larger than the screen shrinks to it and scrolls its contents.
TEST(Bildschirmplatz, aWindowLargerThanTheScreenEvenAtItsMinimumScrollsItsContents)
{
    QWidget fenster;
    auto* inhalt = new QVBoxLayout(&fenster);
    auto* gross = new QLabel(QStringLiteral("Unten"), &fenster);
    gross->setMinimumSize(1500, 1000);
    inhalt->addWidget(gross);
    BeimZeigenEinpassen(fenster);
    fenster.show();
    Auffrischen();
    const QRect platz = fenster.screen()->availableGeometry();
    EXPECT_TRUE(platz.contains(fenster.geometry().marginsAdded(kRahmen)));
    const auto* bereich = fenster.findChild<QScrollArea*>();
    ASSERT_NE(bereich, nullptr);
    EXPECT_TRUE(bereich->isAncestorOf(gross));
    EXPECT_EQ(gross->size(), QSize(1500, 1000));
}

// The same for a main window: its central widget goes into the scroll area, the menu stays.
TEST(Bildschirmplatz, aMainWindowLargerThanTheScreenScrollsItsCentralWidget)
{
    QMainWindow fenster;
    fenster.menuBar()->addMenu(QStringLiteral("&Datei"));
    auto* gross = new QLabel(QStringLiteral("Mitte"));
    gross->setMinimumSize(1500, 1000);
    fenster.setCentralWidget(gross);
    BeimZeigenEinpassen(fenster);
    fenster.show();
    Auffrischen();
    EXPECT_TRUE(
        fenster.screen()->availableGeometry().contains(fenster.geometry().marginsAdded(kRahmen)));
    const auto* bereich = qobject_cast<QScrollArea*>(fenster.centralWidget());
    ASSERT_NE(bereich, nullptr);
    EXPECT_EQ(bereich->widget(), gross);
    EXPECT_TRUE(fenster.menuBar()->isVisible());
}

// A window the program placed partly off the screen is moved into it, as near as it fits.
TEST(Bildschirmplatz, aWindowPlacedPartlyOffTheScreenIsMovedIntoIt)
{
    QMainWindow fenster;
    fenster.setCentralWidget(new QLabel(QStringLiteral("Mitte")));
    fenster.resize(400, 300);
    BeimZeigenEinpassen(fenster);
    const QRect platz = QGuiApplication::primaryScreen()->availableGeometry();
    fenster.move(platz.right() - 100, platz.bottom() - 100);
    fenster.show();
    Auffrischen();
    const QRect rahmen = fenster.geometry().marginsAdded(kRahmen);
    EXPECT_TRUE(platz.contains(rahmen));
    EXPECT_EQ(fenster.size(), QSize(400, 300));
    EXPECT_GE(rahmen.right(), platz.right() - kAngenommenerRahmen.right());
    EXPECT_GE(rahmen.bottom(), platz.bottom() - kAngenommenerRahmen.bottom());
    EXPECT_EQ(fenster.findChild<QScrollArea*>(), nullptr);
}

#include "frmMBusStart.h"

#include "bustest/felsquell/frmMBusFelsquell.h"
#include "bustest/frmMBustest.h"
#include "master/frmMbusMasterV4.h"
#include "platform/Warten.h"
#include "ui/Bildschirmplatz.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

namespace {

// Ends the program at once, without asking any window.
void ProgrammBeenden()
{
    for (QWidget* fenster : QApplication::topLevelWidgets())
        fenster->hide();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Vorholen(QObject* objekt)
{
    auto* fenster = qobject_cast<QWidget*>(objekt);
    if (!fenster)
        return;
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
}

// A window without owner that goes when it is closed. The windows show themselves when loaded.
template <class T, class... A> QObject* Neu(A&&... argumente)
{
    auto* fenster = new T(std::forward<A>(argumente)...);
    fenster->setAttribute(Qt::WA_DeleteOnClose);
    return fenster;
}

} // namespace

frmMBusStart::frmMBusStart(StartMenue::Fabrik testfenster, StartMenue::Fabrik master,
                           StartMenue::Fabrik felsquell, std::function<void()> endeAktion,
                           QWidget* eltern)
    : QMainWindow(eltern),
      m_endeAktion(endeAktion ? std::move(endeAktion) : std::function<void()>(ProgrammBeenden)),
      m_menue(
          testfenster ? std::move(testfenster) : [] { return Neu<frmMBustest>(); },
          master ? std::move(master) : [] { return Neu<frmMbusMasterV4>(); },
          felsquell ? std::move(felsquell) : StartMenue::Fabrik([this] {
              // Its loading shows the one test window of this menu.
              return Neu<frmMBusFelsquell>(std::function<void()>([this] { mnuMBusTest_Click(); }));
          }),
          Vorholen)
{
    setWindowTitle(QStringLiteral("MBus Start"));
    mnuEnde = menuBar()->addAction(QStringLiteral("Ende"));
    mnuMBusTest = menuBar()->addAction(QStringLiteral("MBusTest"));
    mnuMaster = menuBar()->addAction(QStringLiteral("Master"));
    mnuMBusEdit = menuBar()->addAction(QStringLiteral("MBus Edit"));
    mnuFelsquelltest = menuBar()->addAction(QStringLiteral("FelsquellTest"));
    connect(mnuEnde, &QAction::triggered, this, &frmMBusStart::mnuEnde_Click);
    connect(mnuMBusTest, &QAction::triggered, this, &frmMBusStart::mnuMBusTest_Click);
    connect(mnuMaster, &QAction::triggered, this, &frmMBusStart::mnuMaster_Click);
    connect(mnuMBusEdit, &QAction::triggered, this, &frmMBusStart::mnuMBusEdit_Click);
    connect(mnuFelsquelltest, &QAction::triggered, this, &frmMBusStart::mnuFelsquelltest_Click);
    resize(420, 60);
    BeimZeigenEinpassen(*this);
}

frmMBusStart::~frmMBusStart() = default;

void frmMBusStart::mnuEnde_Click()
{
    // A loop still running in a window opened from here (a scan, the master's cycle) stops at
    // its next wait and closes its port, instead of running on unseen.
    ProgrammEndeMelden();
    m_endeAktion();
}

void frmMBusStart::mnuMBusTest_Click()
{
    m_menue.testfensterZeigen();
}

void frmMBusStart::mnuMaster_Click()
{
    m_menue.masterZeigen();
}

void frmMBusStart::mnuMBusEdit_Click()
{
    m_menue.nurZeiger();
}

void frmMBusStart::mnuFelsquelltest_Click()
{
    m_menue.felsquellZeigen();
}

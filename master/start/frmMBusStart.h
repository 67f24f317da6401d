#pragma once
// The start menu "MBus Start": a bare menu bar that opens the bus test window, the master window
// and the customer raw-telegram window (one instance each, see StartMenue), or ends the program.
// Loading it does nothing else.

#include "StartMenue.h"

#include <QMainWindow>

#include <functional>

class QAction;

class frmMBusStart : public QMainWindow
{
    Q_OBJECT

public:
    // Empty factories take the real windows; endeAktion replaces the end of the program (tests).
    explicit frmMBusStart(StartMenue::Fabrik testfenster = {}, StartMenue::Fabrik master = {},
                          StartMenue::Fabrik felsquell = {}, std::function<void()> endeAktion = {},
                          QWidget* eltern = nullptr);
    ~frmMBusStart() override;

    void mnuEnde_Click();
    void mnuMBusTest_Click();
    void mnuMaster_Click();
    void mnuMBusEdit_Click();
    void mnuFelsquelltest_Click();

    QAction* mnuEnde = nullptr;
    QAction* mnuMBusTest = nullptr;
    QAction* mnuMaster = nullptr;
    QAction* mnuMBusEdit = nullptr;
    QAction* mnuFelsquelltest = nullptr;

    StartMenue& menue() { return m_menue; }

private:
    std::function<void()> m_endeAktion;
    StartMenue m_menue;
};

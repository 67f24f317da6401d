#pragma once
// The master overview "ZEP MBus-Master V4.1": the meters of each COM port per baud rate with
// the estimated cycle time, and one master process per port, started by a click on the port's
// row or for every port at start-up when the command line holds "Auto". Its menus open the bus
// test window and the log-file import window (one instance each).
//
// The work is done by Uebersicht; the window only wires its controls to it. Ending the program
// (menu, closing the window, no meters at start-up) runs the end action, which quits the
// application unless a test replaces it.

#include "Uebersicht.h"
#include "bustest/frmMBustest.h"
#include "master/importlog/frmImportLogFile.h"
#include "platform/Einzelinstanz.h"

#include <QMainWindow>

#include <array>
#include <functional>

class FlexGridWidget;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;

class frmMbusmasterV4Alle : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the window and runs its start-up. endeAktion replaces the end of the program
    // (tests); the starter starts the masters.
    explicit frmMbusmasterV4Alle(MasterStarter starter = MasterStarter(),
                                 std::function<void()> endeAktion = {}, QWidget* eltern = nullptr);
    ~frmMbusmasterV4Alle() override;

    // Public operations, in slot order.
    void LoadMBusPovider(int treiberNummer);
    void init();
    int MB_ComPortGetAnz(FlexGridWidget& grid);

    // Handlers.
    void mnuEnde_Click();
    void MnuZaehler_Click();
    void mnuImportLogFile_Click();
    void mnuMBusTest_Click();
    void Combo1_Click();
    void MSFlexGrid1_Click();

    // Controls, named and indexed as the handlers address them.
    QAction* mnuDatei = nullptr;
    QAction* mnuEnde = nullptr;
    QAction* MnuZaehler = nullptr;
    QAction* mnuImportLogFile = nullptr;
    QAction* mnuMBusTest = nullptr;
    QGroupBox* Frame1 = nullptr;
    FlexGridWidget* MSFlexGrid1 = nullptr;
    std::array<QLabel*, 2> Label4{};
    std::array<QLabel*, 4> Label5{};
    QComboBox* Combo1 = nullptr;

    Uebersicht& uebersicht() { return m_uebersicht; }
    // The windows opened from the menus, while they are there.
    frmImportLogFile* importFenster() const { return m_import.vorhanden(); }
    frmMBustest* testFenster() const { return m_test.vorhanden(); }
    bool beendet() const { return m_beendet; }

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void aufbauen();
    void Form_Load();
    void beenden();

    Uebersicht m_uebersicht;
    std::function<void()> m_endeAktion;
    Einzelinstanz<frmImportLogFile> m_import;
    Einzelinstanz<frmMBustest> m_test;
    bool m_beendet = false;
};

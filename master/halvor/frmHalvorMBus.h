#pragma once
// The customer reading window "Halvor MBus": the COM port, the output folder and the highest
// primary address in three boxes; "&Start" reads the addresses once, and while the window is open
// a 10-second tick reads them again whenever the calendar month changes. The reading itself is
// HalvorAuslesung; the window only wires its controls to it.
//
// Boxes Text1(0..3): (0) no function, beside "TimerS : "; (1) the port, beside "Com : "; (2) the
// output folder, beside "Path : "; (3) the highest address, beside "Anz : ". Start is disabled
// while a pass runs. Closing the window during a pass ends the pass after the meter being read
// and then closes.

#include "HalvorAuslesung.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class frmHalvorMBus : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kTimerIntervallMs = 10000;

    // Builds the window and runs its load; tests hand in their own driver factory.
    explicit frmHalvorMBus(HalvorAuslesung::TreiberFabrik fabrik = {}, QWidget* eltern = nullptr);
    ~frmHalvorMBus() override;

    // Public procedures, in slot order.
    void AlleMBusZaehlerAuslesen();
    void MBus_AuslesenAlle(int adresse, int port, int baud);

    // Handlers.
    void cmdStart_Click();
    void Text1_Change(int index);
    void Timer1_Timer();

    std::array<QLineEdit*, 4> Text1{};
    std::array<QLabel*, 4> Label1{};
    QPushButton* cmdStart = nullptr;
    QTimer* Timer1 = nullptr;

    HalvorAuslesung& auslesung() { return m_auslesung; }

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void laufGeaendert(bool laeuft);

    HalvorAuslesung m_auslesung;
    bool m_schliessenNachLauf = false;
};

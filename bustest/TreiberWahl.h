#pragma once
// The test window's M-Bus drivers: the fixed-interface one (OleServer) and the name-bound one
// (RacServer), created by driver number as the driver-choice boxes number them:
//   0 "MBus.OLEAutoServer", 1 "MBusRacX4.MBusRacX4.1" (English texts), 2 none.

#include "driver/faces/MBusTreiber.h"

#include <memory>

class IMBusOLEAutoServer;
class MBusRacX4;

class TreiberWahl
{
public:
    TreiberWahl();
    ~TreiberWahl();
    TreiberWahl(const TreiberWahl&) = delete;
    TreiberWahl& operator=(const TreiberWahl&) = delete;

    // Creates the driver of the number, replacing the window's earlier one of that face; 2
    // creates nothing; any other number shows "Kein OleProvider ausgewählt".
    void LoadMBusPovider(int& treiberNummer);

    // nullptr while none was created (or after the name-bound one was released).
    IMBusOLEAutoServer* OleServer() const;
    MBusRacX4* RacServer() const;

    // COMClose on the name-bound driver, then releases it (no driver: nothing happens).
    void racServerSchliessen();
    // Closes the ports of both drivers (program end).
    void allePortsSchliessen();

private:
    std::unique_ptr<MBusTreiber> m_oleServer;
    std::unique_ptr<MBusTreiber> m_racServer;
};

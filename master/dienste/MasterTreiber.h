#pragma once
// The program-wide driver objects of the master windows and their driver number, and the list
// of COM ports for which a master was started in this process.

#include "driver/faces/MBusTreiber.h"

#include <QString>

#include <memory>

class IMBusOLEAutoServer;
class MBusRacX4;

// Driver number: 0 fixed-interface driver, 1 member-name driver, 2 none ("MBus ZEP").
inline int MB_OleProvider = 1;
// The driver objects; empty until LoadMBusPovider creates one.
inline std::unique_ptr<MBusTreiber> MB_OleServer;
inline std::unique_ptr<MBusTreiber> MB_RacServer;
// ";" and then "CPort" & port & ";" for each port a master was started for.
inline QString CPortListe;

IMBusOLEAutoServer* OleServer();
MBusRacX4* RacServer();

// Releases both driver objects, then creates the one of the number: 0 the fixed-interface
// driver, 1 the member-name driver with English texts; any other number shows "Kein
// OleProvider ausgewählt" and leaves both released. A driver that cannot be created shows
// "Fehler LoadMBusPovider " & FehlerText.
void LoadMBusPovider(int treiberNummer);

// Closes the fixed-interface driver's port and releases it (nothing when there is none).
void OleServerFreigeben();
// Closes both drivers' ports and releases them (program end).
void MasterTreiberFreigeben();

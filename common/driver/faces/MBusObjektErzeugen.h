#pragma once
// Creates an M-Bus driver object by the name a window asks for (case does not matter):
//
//   "MBusRacX4.MBusRacX4.1"  name-bound face (MBusRacX4: APP*, COM*, TEL*, records from 1)
//   "MBus.OLEAutoServer"     fixed interface (IMBusOLEAutoServer: OLE*, records from 0)
//
// Both faces drive the same bus master; each object has its own port.

#include "MBusTreiber.h"

#include <QString>

#include <memory>

inline const QString kTreiberRacX4 = QStringLiteral("MBusRacX4.MBusRacX4.1");
inline const QString kTreiberOleAutoServer = QStringLiteral("MBus.OLEAutoServer");

// A new driver object; nullptr for any other name, with FehlerText telling which name.
std::unique_ptr<MBusTreiber> MBusObjektErzeugen(const QString& name);

#pragma once
// Which device file a COM port number stands for.
//
// ZEP.INI maps port numbers to devices in the section "[COM]": "COM3=/dev/ttyUSB0". A port
// without a line there is the n-th built-in serial port, /dev/ttyS<n-1>. The serial control and
// the M-Bus driver both resolve ports here, so the same number always means the same device.

#include <QString>

// Lowest and highest port number a control accepts.
inline constexpr int kErsterComPort = 1;
inline constexpr int kLetzterComPort = 255;

// The device path of port n ("" for a number outside 1..255).
QString ComGeraet(int port);

// For the program log when port n did not open: the device tried and, when it is missing, the
// ZEP.INI line that maps the port. "Gerät /dev/ttyS36 nicht vorhanden, Eintrag fehlt:
// ZEP.INI [COM] COM37=" for a port without a line; "Gerät /dev/pts/9 nicht vorhanden:
// ZEP.INI [COM] COM3=/dev/pts/9" for one whose line names a missing device; "Gerät /dev/pts/7"
// when the device is there (taken or refused), followed by ", " and the sentence of
// VerwaistePortsperreText (Portsperre.h) when a lock file that only its owner or root may delete
// keeps it closed; "Gerät /dev/ttyS0: " & kTextGeraetVerweigert when it is there but this user
// may not open it.
QString ComGeraetHinweis(int port);

// A device that is there but that this user may not open (no read or write permission).
inline const QString kTextGeraetVerweigert =
    QStringLiteral("Zugriff verweigert (keine Lese- und Schreibberechtigung für das Gerät)");
// Whether this process may read and write the device, by the ids an open is checked with.
bool GeraetZugaenglich(const QString& geraet);

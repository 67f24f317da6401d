#pragma once
// The serial port's own lock file of a device, as QSerialPort keeps it while the device is
// open: "LCK..<device name>" ("/dev/pts/11" gives "LCK..pts_11") in the first of the usual lock
// folders (/var/lock, ... /run/lock) that holds such a file or that this process may write.
//
// A program that was killed leaves its file behind. QSerialPort takes over such a file on its
// own, with two gaps this layer closes: a file its holder left empty (killed between creating
// and writing it) counts as held for 30 s, and a file of another user in a sticky folder such
// as /run/lock cannot be removed by anyone but that user or root.

#include <QString>

// The lock file of the device ("" when no lock folder fits).
QString PortSperrdatei(const QString& geraet);

// Removes the device's lock file when its holder has ended and this process may remove it
// (Sperrdatei.h); true when it did.
bool VerwaistePortsperreEntfernen(const QString& geraet);

// When the device's lock file was left by a process that ended and this process may not remove
// it: the sentence that says so ("Sperrdatei /var/lock/LCK..pts_11 des beendeten Prozesses 4711
// gehört dem Benutzer root, nur root kann sie löschen"); otherwise "".
QString VerwaistePortsperreText(const QString& geraet);

#pragma once
// A port of the test window that did not open: the message the user sees, and the same text in
// the program log together with the device tried and the ZEP.INI line that maps the port, so
// that a technician finds the cause ("Fehler Open Com 37 (COM37: Gerät /dev/ttyS36 nicht
// vorhanden, Eintrag fehlt: ZEP.INI [COM] COM37=)").

#include <QString>
#include <QVariant>

// Shows the message, then logs it with the hint for the port (a number, "Com n" or "COMn").
void PortFehlerMelden(const QString& meldung, const QVariant& port);

#pragma once
// The database credentials file "obrak.conf" in the program's folder: one scrambled value a
// line, lines ended by CR LF, in a fixed order (database kind, data source, user, password,
// catalog, account name of the user administration). Read into DBParameter (Global.h), one
// element a line and one empty element after the last.

#include <QString>
#include <QStringList>

inline const QString kUserConfigDatei = QStringLiteral("obrak.conf");

// The folder that holds obrak.conf: the program's own folder unless one was set.
QString Programmordner();
// Sets the folder (tests, installations that keep the file elsewhere); "" gives the program's
// own folder again.
void ProgrammordnerSetzen(const QString& ordner);
// Full path of obrak.conf in that folder (the file name matched without regard to letter case).
QString UserConfigPfad();

// The six values written when the file is missing, unscrambled, in line order.
QStringList UserConfigVorgaben();

// Fills DBParameter from the file, writing the default file first when none exists. Lines end
// at CR or CR LF (a lone LF belongs to the value, as the scrambler can produce it); the byte 26
// ends the file. Returns true when DBParameter was filled from the file.
// When the default file cannot be written, DBParameter becomes the default values with the
// empty last element, FehlerText tells why, and the call returns false (one attempt only).
// When an existing file cannot be read, DBParameter keeps what it held and FehlerText tells why.
// Each failure is also shown with ShowErrorMessage; no message, FehlerText or log line ever
// holds a value of the file.
bool ReadUserConfig();

// Writes the file with the six default values, replacing any file there; the file is readable
// and writable by its owner only. A file left half-written is removed. Failure: false,
// FehlerText set and ShowErrorMessage.
bool WriteDefaultUserConfig();

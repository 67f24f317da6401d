#pragma once
// Inside the log service: the program-log line that the file-number warning writes.

#include "log/Log.h"

#include <QString>

// Takes a file number without the "Freefile > 5" check.
class DateinummerOhnePruefung
{
public:
    static Dateinummer nehmen() { return Dateinummer(Dateinummer::OhnePruefung{}); }
};

// Appends one line to the program log. With mitPruefung false the file number is taken without
// the check, so writing the warning about file numbers cannot warn again.
void ProgrammlogZeileSchreiben(const QString& text, bool mitPruefung);

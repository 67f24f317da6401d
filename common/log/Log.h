#pragma once
// Program log, daily M-Bus log, file numbers and the status convention of the common services.
//
// Status convention: services return 0 for success and a small negative number naming the step
// at which they stopped; the status is set before each risky step. The text of the failure is
// left in FehlerText (Global.h). No exception leaves a service.

#include <QString>

// The lowest free file number (1..255); it stays free until a Dateinummer takes it. When it is
// above 5 the program log gets the line "Freefile > 5" (written with a number taken without
// this check, so the warning never warns about itself). 0 when all are taken (FehlerText then
// says so).
int GetFreeFile();

// How many file numbers are held at the moment (every file the program has open).
int BelegteDateinummern();

// Holds a file number for as long as a file is open; gives it back when destroyed.
class Dateinummer
{
public:
    // Takes the lowest free number, with the warning of GetFreeFile. When all 255 are taken the
    // number is 0, gueltig() is false and FehlerText says so.
    Dateinummer();
    ~Dateinummer();
    Dateinummer(const Dateinummer&) = delete;
    Dateinummer& operator=(const Dateinummer&) = delete;

    int nummer() const { return m_nummer; }
    bool gueltig() const { return m_nummer > 0; }

private:
    friend class DateinummerOhnePruefung;
    struct OhnePruefung
    {
    };
    explicit Dateinummer(OhnePruefung);
    int m_nummer = 0;
};

// Appends "dd.mm.yy hh:mm:ss " & text to DBPath & yymmdd & "ed.log" (DBPath "" is the working
// folder). File name and line take one reading of the clock. Never reports a failure to the
// caller, leaves FehlerText alone and creates no folder; a line that cannot be written goes to
// standard error ("Log nicht schreibbar: " & file & " (" & reason & "): " & line).
void LogSchreiben(const QString& text);

// Appends "dd.mm.yy hh:mm:ss " & ";" & text to DBPath & "MBusLog\" & yymmdd & suffix; a new
// file gets the header line first (also an empty one). A missing MBusLog folder is created and
// the entry kept; a missing DBPath folder drops the entry. Never reports a failure to the
// caller; an entry that cannot be written goes to standard error as with LogSchreiben.
void MBusLogSchreiben(const QString& text, const QString& kopfzeile, const QString& suffix);

// True when the file exists (an empty file exists too; a folder is no file). Windows-style paths
// are resolved.
bool MB_FileExists(const QString& pfad);

#pragma once
// What a lock file in QLockFile's format says about its holder, and how a lock file that a
// process left behind is removed without ever pushing out a live holder.
//
// QLockFile writes the holder's process number, program name, host name, host id and boot id,
// one a line, and keeps the file flock()ed for as long as it holds the lock. This program's own
// locks and the serial port's device locks ("LCK..ttyS0") are such files.
//
// The holder of a file has ended when the file was written on this machine and
//   - the machine has restarted since (another boot id), or
//   - no process with that number runs, or one runs that is another program (number reused), or
//   - the file is empty or unreadable in its contents and older than kLeereSperrdateiMs: the
//     holder was ended between creating the file and writing it (a live one writes at once).
// A file written on another machine (a shared folder) is never judged ended here.

#include <QString>

// How long an empty lock file may stand before its creator counts as ended.
inline constexpr int kLeereSperrdateiMs = 2000;

struct Sperrhalter
{
    bool datei = false;   // the file exists
    bool beendet = false; // its holder has ended (see above)
    qint64 prozess = 0;   // the holder's process number (0: the file names none)
    QString programm;     // the holder's program name as the file gives it
    QString besitzer;     // the user the file belongs to
};

// Looks at a lock file without touching it.
Sperrhalter SperrhalterLesen(const QString& datei);

// Removes the lock file when its holder has ended. The file is flock()ed first and judged once
// more while held, so that a live holder (who keeps it flock()ed) is never pushed out and a
// file that someone created meanwhile is not taken for the old one. False when the file stays
// (live holder, or no right to remove it) or was not there.
bool VerwaisteSperrdateiEntfernen(const QString& datei);

// Whether this process may remove the file: a folder it may write, and in a sticky folder
// (such as /run/lock) a file of its own, a folder of its own or root.
bool SperrdateiLoeschbar(const QString& datei);

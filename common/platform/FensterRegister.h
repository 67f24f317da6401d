#pragma once
// Titles of the program's top-level windows, readable by every process of the same user.
//
// Each process that shows windows publishes them in one file of its own in a runtime folder
// ($XDG_RUNTIME_DIR/telvarin-fenster, else <temp>/telvarin-fenster-<uid>); readers take the files
// of the processes that still run and delete those of ended ones. A window handle is a 64-bit
// number unique across processes: the process id above bit 24, a counter below.
//
// The registry guards nothing (unlike the locks of Sperren.h): it tells which windows stand on
// one desktop session, whose windows no other user can find or raise. So it stays in the
// user's runtime folder; when a logout removes the folder, the windows went with the session,
// and a process that publishes again makes it anew.

#include <QList>
#include <QString>

struct RegistriertesFenster
{
    qint64 handle = 0;
    QString titel;
    bool sichtbar = false;
    bool mitRahmen = false;
};

// The runtime folder in use. The environment variable TELVARIN_FENSTERREGISTER names another
// one (several processes started together, for instance by a test).
QString FensterRegisterOrdner();
// Tests: uses this folder; "" goes back to the default.
void FensterRegisterOrdnerSetzen(const QString& ordner);

// A new handle for a window of this process.
qint64 NeuerFensterHandle();
// The process id inside a handle.
qint64 ProzessVonFensterHandle(qint64 handle);

// Replaces the list of windows a process publishes (pid 0: this process), atomically: a reader
// sees the old list or the new one. False when the file could not be written.
bool FensterVeroeffentlichen(const QList<RegistriertesFenster>& fenster, qint64 pid = 0);
// Removes a process's list (pid 0: this process).
void FensterAbmelden(qint64 pid = 0);
// The windows of every process that still runs, ordered by process id and then as published.
// Lists of ended processes are deleted on the way.
QList<RegistriertesFenster> RegistrierteFensterLesen();

// True when a visible top-level window with a border has a title that contains titel without
// regard to case ("Comport1" is also found in "Comport10"). The handle of each window inspected
// is stored in handle, so on success it names the window found. fenster is where the search
// starts on the desktop; every window is searched here, so it is not used.
bool FensterSuchen(qint64 fenster, const QString& titel, qint64& handle);
// The title of a published window; "" when the handle names none.
QString GetFensterText(qint64 handle);

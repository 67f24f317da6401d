#pragma once
// Opening a text file in the desktop's text editor (xdg-open), without waiting for it. The
// starter can be replaced, so that windows that open files run headless in tests.

#include <QString>
#include <QStringList>

#include <functional>

// Starts a program detached in the current directory; true when it could be started.
using ProgrammStarter = std::function<bool(const QString& programm, const QStringList& argumente)>;

// Opens the file (a Windows-style name, resolved in the current directory); false when no
// editor could be started.
bool TextdateiImEditorOeffnen(const QString& datei);

// Tests: another starter; an empty one restores the real start.
void ProgrammStarterSetzen(ProgrammStarter starter);

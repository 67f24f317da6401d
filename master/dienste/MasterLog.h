#pragma once
// The master window's log grid: each line is inserted at row 1, the date and time of now, a
// TAB, the text.

#include <QString>

class FlexGrid;

// "dd.mm.yyyy hh:mm:ss" of the program clock, as the log grid and status lines show it.
QString JetztText();

void MasterLogZeile(FlexGrid& grid, const QString& text);

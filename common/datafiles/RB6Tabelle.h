#pragma once
// Rows read from a value file: columns 0 to 3 (0 time, 1 value; 2 and 3 are left to the day
// computations), rows from 0.

#include <QList>

#include <array>

using RB6_Zeile = std::array<double, 4>;
using RB6_Tabelle = QList<RB6_Zeile>;

#pragma once
// How many meters the meter table lists per COM port and baud rate, and the estimated time of
// one read cycle of each port: the grid of the master overview.
//
// Every zaehler row with a port counts (whatever its source or level, also meters the master
// will not read). A port's estimate is the sum over its baud groups of 300, 1200, 2400, 4800 and
// 9600 Bd of (meters x seconds per meter + the group's fixed seconds); meters at any other rate
// count in column 1 only. Ports and rates come in numeric order.
//
// Grid (row 0 the header):
//   0 "Com"  1 "Anz Zähler"  2 "300 Baud"  3 "1200 Baud"  4 "2400 Baud"  5 "4800 Baud"
//   6 "9600 Baud"  7 "Zyk.Zeit [s]"
// A rate without meters leaves its cell empty, as does the estimate of a port without any
// meter at the five rates. The estimate is shown as a number with the decimal comma ("5,15").
// Each column is as wide as its widest text.

#include "Zykluszeiten.h"

#include <QList>

#include <array>
#include <optional>

class FlexGrid;
class Verbindung;

struct PortZeile
{
    int port = 0;
    qint64 anzahl = 0;
    std::array<std::optional<qint64>, 5> jeBaud{}; // in the order of Zykluszeiten::kBaudraten
    std::optional<double> zykluszeit;
};

// Counts the meters of every port. nullopt when a query fails (FehlerText says why); an empty
// list when no meter has a port.
std::optional<QList<PortZeile>> PortsZaehlen(Verbindung& db, const Zykluszeiten& zeiten);

// Fills the grid with the header and one row per port; gives the grid's row count (ports + 1),
// or 0 when the list is empty (the grid then holds the header and one empty row).
int PortsInGrid(const QList<PortZeile>& ports, FlexGrid& grid);

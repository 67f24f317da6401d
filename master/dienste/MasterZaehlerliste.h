#pragma once
// Loading the meters of one COM port from the meter database into the master's meter grid, its
// meter records and the index-list box.
//
// Grid: 7 columns; row i (from 1) is meter i: column 0 MBAdr, 1 MBBaud, 5 MB_ID, 6 TAGRP_NAME.
// Records: element i belongs to row i; elements 0 and n (= meters + 1) are not used. Every load
// creates them anew, so every counter and value starts from 0.
// Index-list box: one item "MBAdr;MB_ID;BasisTarif" per meter, in grid order.
// Log lines go to the window's log grid.

#include "lesen/MBZaehler.h"

#include <QString>
#include <QStringList>

#include <vector>

class FlexGrid;
class Verbindung;

// At most this many meters on one port (the rows, header included, count in 8 bits).
inline constexpr int kMaxZaehlerJePort = 254;

// The two queries, as the database receives them.
QString ZaehlerlisteAbfrage(int port);
QString IndexlisteAbfrage(qint32 lznr);

struct Zaehlerliste
{
    FlexGrid& grid;                  // MSFlexGrid1
    FlexGrid& log;                   // MSFlexGrid4
    std::vector<MBZaehler>& zaehler; // MasterZaehler
    QStringList& indexAuswahl;       // the items of Combo3
};

// Result: -1 without a port (box "Kein Comport anngegeben"), without a connection, when the
// query fails or finds no meter, or with more than kMaxZaehlerJePort meters (nothing changed
// then); otherwise the new row count of the grid (meters + 1). A failure after the meters were
// loaded logs "Fehler ZählerlisteLadenComPort = " & port & " Errorcode= " & FehlerText and
// returns the row count reached.
int BM_ZaehlerlisteLadenComPort(Verbindung* verbindung, int port, Zaehlerliste ziel);

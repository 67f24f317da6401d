#pragma once
// The work behind the master overview "ZEP MBus-Master V4.1", without widgets: the start-up
// paths, the cycle-time settings, the meter counts per port into a grid, and the start of one
// master process per port.

#include "MasterStarter.h"
#include "Zykluszeiten.h"

#include <QString>

class FlexGrid;

class Uebersicht
{
public:
    explicit Uebersicht(MasterStarter starter = MasterStarter());

    // Start-up step 1: DBPath := the program's folder; the client from the command line;
    // ".\zep.ini"; DatenPath := DBPath. CPortListe := ";".
    void pfadeLesen();
    // The texts of Label4(0) and Label4(1).
    static QString datenbankText();
    static QString datenText();

    // The cycle-time settings (see Zykluszeiten.h) and the default size of a new value file.
    void init();
    const Zykluszeiten& zeiten() const { return m_zeiten; }

    // Counts the meters of basis.mdb in DBPath into the grid: the grid's row count (ports + 1),
    // or 0 when no meter has a port or the database fails to open or to answer (FehlerText
    // then says why; "" when there simply is no meter).
    int MB_ComPortGetAnz(FlexGrid& grid);

    // True when the command line holds "Auto" (exact case).
    static bool autoStart();
    // Starts the master of the port in the grid row (column 0, read with Val).
    MasterStarter::Ergebnis zeileStarten(const FlexGrid& grid, int zeile);
    // Every port row in row order.
    void alleStarten(const FlexGrid& grid);

    MasterStarter& starter() { return m_starter; }

private:
    MasterStarter m_starter;
    Zykluszeiten m_zeiten;
};

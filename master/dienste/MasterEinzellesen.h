#pragma once
// Reading one meter of the master at the user's request, and its index list:
//   zeileGeklickt        a click on a meter's row reads it through the chosen driver and shows
//                        its records in the value grid
//   MB_ReadPrimAdr       the read through the chosen driver (1: MB_ReadPrimAdrRac, otherwise
//                        the fixed-interface driver)
//   Combo3_Click         the records last read of the meter chosen in the index box
//   indexListeSpeichern  those records as the meter's index list
//   testzaehlerLaden     100 test meters (address 10, 9600 baud) on port 7
//   v2Lesen              the meter clicked last, read as the cycle reads, with a driver of its own
//
// While the cycle reads, every one of them is refused with a log line: they would share the
// cycle's port, driver and meter records. Every read closes its port on every way out.
//
// A read waits in the event loop, so the window's other actions run meanwhile. While a row
// read, the V2 read or the index save runs (laeuft()), everything that would replace or release
// a driver object, open the port or replace the meter records is turned away with the status
// line kLesenLaeuftNoch (belegt()); the window does the same for Start, the settings frame and
// the driver choice, and its tick leaves a due cycle for the first tick after the read. Each of
// them holds a Programmende::Lauf, so that ending the program waits until it has closed its port.

#include "master/dienste/MasterZustand.h"
#include "platform/Programmende.h"

#include <QString>

#include <functional>

class FlexGrid;
class SerielleSchnittstelle;

// The status line while an action is turned away because a read or the index save still runs.
inline const QString kLesenLaeuftNoch =
    QStringLiteral("Nicht möglich: Lesen oder Speichern läuft noch.");

struct MasterEinzellesenFenster
{
    FlexGrid& zaehler; // MSFlexGrid1
    FlexGrid& werte;   // MSFlexGrid2
    FlexGrid& log;     // MSFlexGrid4
    SerielleSchnittstelle& comm;
    std::function<void(bool)> werteZeigen; // MSFlexGrid2 visible
    std::function<bool()> werteSichtbar;
    std::function<void(const QString&)> anzeigen; // the meter's id while it is selected
    // Shows kLesenLaeuftNoch in the status line (true), or takes it away again (false) once the
    // read or save that caused it has ended.
    std::function<void(bool)> belegtAnzeigen;
    // Puts the meter grid's highlight back where it was before the click that is turned away.
    std::function<void()> markierungZurueck;
    Programmende& ende;
};

class MasterEinzellesen
{
public:
    MasterEinzellesen(MasterZustand& z, MasterEinzellesenFenster fenster);

    // Results: 0 read; -1 port not opened, no valid answer, or refused; -2 no acknowledgement
    // of the link reset; -3 selection by identification number failed (fixed-interface
    // driver: no answer to the data request).
    int MB_ReadPrimAdrRac(int port, int adresse, qint32 baud, int r);
    int MB_ReadPrimAdr(int port, int adresse, qint32 baud, int r, int treiberNummer);

    void zeileGeklickt(int zeile);
    void Combo3_Click(int listIndex);
    void indexListeSpeichern(int listIndex);
    void testzaehlerLaden();
    void v2Lesen();

    // True while a row read, the V2 read or the index save runs.
    bool laeuft() const { return m_laeuft; }
    // While one runs: shows kLesenLaeuftNoch and returns true (the caller does nothing more).
    bool belegt();

    MBZaehler KlickZaehler;
    // Limits of the waits for the link reset and the data request, in ms.
    int nkeFristMs = 3000;
    int anforderungFristMs = 15000;

private:
    class Belegung;

    bool abgewiesen(const QString& was);
    void log(const QString& text);
    void werteLeeren();

    MasterZustand& m_z;
    MasterEinzellesenFenster m_f;
    bool m_laeuft = false;
    bool m_abgewiesen = false; // an action was turned away while the running one runs
};

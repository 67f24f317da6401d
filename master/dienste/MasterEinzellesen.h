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

#include "master/dienste/MasterZustand.h"

#include <QString>

#include <functional>

class FlexGrid;
class SerielleSchnittstelle;

struct MasterEinzellesenFenster
{
    FlexGrid& zaehler; // MSFlexGrid1
    FlexGrid& werte;   // MSFlexGrid2
    FlexGrid& log;     // MSFlexGrid4
    SerielleSchnittstelle& comm;
    std::function<void(bool)> werteZeigen; // MSFlexGrid2 visible
    std::function<bool()> werteSichtbar;
    std::function<void(const QString&)> anzeigen; // the meter's id while it is selected
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

    MBZaehler KlickZaehler;
    // Limits of the waits for the link reset and the data request, in ms.
    int nkeFristMs = 3000;
    int anforderungFristMs = 15000;

private:
    bool abgewiesen(const QString& was);
    void log(const QString& text);
    void werteLeeren();

    MasterZustand& m_z;
    MasterEinzellesenFenster m_f;
};

#pragma once
// One baud rate of the primary-address scan: asks every address of a range for its data through
// either driver face, enters each meter that answers in the scan grid and its records in the
// records grid, and shows its progress and result line.
//
// Scan grid: row 0 is the header and rows 1 to 250 stand for the primary addresses 1 to 250. A
// meter at an address without a row of its own (0, 251 to 255) gets a row appended, its address
// in column 0; a later rate finds that row again. The header row is never written. Column 6
// collects the rates a meter answered on, each followed by ";" ("9600;2400;").
//
// Records grid: cleared at the start of the rate, then one row per record of every meter found,
// inserted at row 1 (the newest on top); column 0 holds the address immediately followed by the
// record number counted from 1 (address 5, record 3: "53").
//
// The scan yields once per address and once per record. It stops before the next address when
// the stop flag is set or the program is ending, and after the progress texts while another loop
// of the window (the speed test) runs; such a cut names the address in the result line.

#include <QElapsedTimer>
#include <QString>

#include <functional>

class FlexGrid;
class IMBusOLEAutoServer;
class MBusRacX4;

class PrimaerScan
{
public:
    // The addresses 1 to kLetzteEigeneZeile have a row of their own in the scan grid.
    static constexpr int kLetzteEigeneZeile = 250;

    // What the scan shows and asks while it runs; an empty function is skipped (asked: false).
    struct Anzeige
    {
        std::function<void(const QString&)> zeile;    // the rate's progress and result line
        std::function<void(const QString&)> sekunden; // seconds since the rate's start
        std::function<bool()> sucheStop;              // stop requested
        std::function<bool()> lesenLaeuft;            // another loop of the window runs
    };

    struct Ergebnis
    {
        bool portOffen = true; // false: the port did not open, nothing was asked
        int gefunden = 0;
        bool abgebrochen = false;
        int abbruchAdresse = 0;
        double sekunden = 0;
        QString fehler; // not empty: the scan could not go on (a grid refused a change)
    };

    explicit PrimaerScan(FlexGrid& scanGrid, FlexGrid& satzGrid, Anzeige anzeige);

    // Cuts the scan grid back to its header row, then gives it the rows 0 to 250.
    static void ScanGridVorbereiten(FlexGrid& grid);
    // count & " Zähler in " & s & " sec. gefunden. " [& "Suche abgebrochen bei Adr. " & a].
    static QString ErgebnisZeile(const Ergebnis& ergebnis);
    // Seconds as shown: decimal comma, at most two decimals.
    static QString SekundenText(double sekunden);

    // Through the name-bound driver, whose timing the caller has set: opens port at baud (a
    // port that does not open shows and logs "Fehler Open Com " & port and ends the rate), asks
    // the range and closes the port.
    Ergebnis ueberRac(MBusRacX4& treiber, int port, int baud, int von, int bis);
    // Through the interface driver whose port the caller has prepared; closes the port at the
    // end.
    Ergebnis ueberOle(IMBusOLEAutoServer& treiber, int baud, int von, int bis);

private:
    struct Zaehlerkopf
    {
        QString id, hersteller, version, medium, anzahl;
    };
    struct Satz
    {
        QString medium, art, wert, einheit;
    };

    void satzGridVorbereiten(const QString& indexKopf);
    // The progress texts; false when the loop must stop here (another loop runs).
    bool fortschritt(int adresse);
    bool stopGefragt() const;
    // The row of the address; -1 when it has none of its own and anlegen is false. Appends a
    // row for an address without one when anlegen is true.
    int zeileFuer(int adresse, bool anlegen);
    bool zaehlerEintragen(int adresse, int baud, const Zaehlerkopf& kopf);
    bool satzEintragen(int adresse, int nummer, const Satz& satz);
    bool schreiben(FlexGrid& grid, int zeile, int spalte, const QString& text);
    void abschliessen();
    double vergangen() const;

    FlexGrid& m_scanGrid;
    FlexGrid& m_satzGrid;
    Anzeige m_anzeige;
    Ergebnis m_ergebnis;
    QElapsedTimer m_uhr;
};

#pragma once
// Commissioning: new primary addresses and baud rates for the meters of the scan grid, and a new
// primary address for one meter typed in by its identification number.
//
// Every write selects the meter by its identification number (SND_UD to 253, CI 52) and sends
// the change to the selected meter; when the meter does not answer that frame (time-out), the
// same change goes once more as a frame that carries the identification number itself. Only
// identification numbers of 1 to 8 digits, addresses 0 to 250 and the rates 300 to 9600 are
// written: anything else is refused before a byte goes out, so that a typing error never reaches
// another meter or sends a meter to a rate nobody asked for.
//
// Scan grid columns: 0 current primary address, 1 identification number, 6 rates the meter
// answered at ("2400;9600;", the first one reaches it), 7 new primary address, 8 new baud rate.
// After writing, columns 7 and 8 carry the outcome behind the value ("5: Ok!",
// "9600: Fehler! Timeout, "); such a cell is no number any more, so a second run skips it.

#include <QString>

#include <functional>

class FlexGrid;
class MBusRacX4;
class QComboBox;
struct MBusRahmen;

class ParameterSchreiben
{
public:
    static constexpr int kSpalteAdresse = 0;
    static constexpr int kSpalteId = 1;
    static constexpr int kSpalteBaud = 6;
    static constexpr int kSpalteNeueAdresse = 7;
    static constexpr int kSpalteNeueBaud = 8;

    static inline const QString kOk = QStringLiteral(": Ok!");
    static inline const QString kFehler = QStringLiteral(": Fehler! ");
    static inline const QString kWertUngueltig =
        QStringLiteral("Bitte einen Wert zwischen 0 und 250 verwenden.");

    // The outcome of a write: 0 done; otherwise the receive-error bits of the last frame, or
    // kAbgewiesen when nothing was sent (refused value, port not open, program ending).
    static constexpr int kAbgewiesen = -1;

    // The texts of the bits set, in bit order, without their numbers ("Timeout, Collision, ").
    static QString FehlerBits(int maske);
    // What a written cell gets behind its value.
    static QString Ergebnistext(int ergebnis);
    // 1 to 8 decimal digits, blanks around allowed.
    static bool IdGueltig(const QString& id);
    // A whole number 0 to 250.
    static bool AdresseGueltig(const QString& text, int& adresse);
    // 300, 600, 1200, 2400, 4800 or 9600.
    static bool BaudGueltig(const QString& text, int& baud);
    // The first rate of a rate list ("2400;9600;" gives "2400").
    static QString ErsteBaud(const QString& liste);
    // A cell that reads as a decimal number (sign, point and exponent allowed), blanks around
    // allowed.
    static bool IstZahl(const QString& text);

    // Column 7 of row r := r for every row from 1 (nothing on a grid without meter rows).
    static void AutoPrimaer(FlexGrid& grid);
    // The address the meter of a row answers at now: the one written into it ("21: Ok!" in
    // column 7), else column 0; -1 for a row without an ID (no meter) or without an address
    // from 0 to 250.
    static int JetzigeAdresse(const FlexGrid& grid, int zeile);
    // The address combo gets "0" to "250" less the addresses column 7 plans for other meters
    // and less the addresses the other meters of the grid have now (the current address stays
    // offered), showing the current address; the baud combo shows the first rate of the row's
    // list.
    static void FreiePrimAdrInCombo(QComboBox& adressen, const QString& aktuell,
                                    const FlexGrid& grid, QComboBox& baud,
                                    const QString& baudListe);
    // Why the address cannot be planned for the row: another meter of the grid has it now or
    // is planned to get it (the message names that meter); "" when it is free, when it is the
    // row's own current address and when it is no address at all (writing skips or refuses it).
    static QString AdresseBelegt(const FlexGrid& grid, int zeile, const QString& adresse);
    // Plans the combos' values for the row: column 7 := address unless it is the current one,
    // column 8 := rate unless it is the current first rate ("" otherwise).
    static void Eintragen(FlexGrid& grid, int zeile, const QString& adresse, const QString& baud);

    // Writes a new primary address into the meter with the ID, through the driver on port at
    // baud; the port is closed afterwards. 0 done, else as above.
    static int Einzeln(MBusRacX4& treiber, int port, int baud, const QString& id,
                       const QString& adresse);

    // stop: asked after the address part and after the baud part of every row.
    ParameterSchreiben(FlexGrid& grid, std::function<bool()> stop);
    // Writes the planned values of every row through the driver on port; the port is closed at
    // the end.
    void Liste(MBusRacX4& treiber, int port);

private:
    // Select, then the change to 253, then on a time-out the change with the ID. The port is
    // open. Result as above.
    static int MitRueckfall(MBusRacX4& treiber, const QString& id, const MBusRahmen& aenderung,
                            const MBusRahmen& rueckfall);
    static int Senden(MBusRacX4& treiber, const MBusRahmen& rahmen);
    static bool PortOeffnen(MBusRacX4& treiber, int port, const QString& baud);
    bool gestoppt() const;
    void anhaengen(int zeile, int spalte, int ergebnis);

    FlexGrid& m_grid;
    std::function<bool()> m_stop;
};

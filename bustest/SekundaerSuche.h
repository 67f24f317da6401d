#pragma once
// The secondary-address search of the test window: finds the meters on a bus by their
// identification number through the name-bound driver, without knowing any of them beforehand.
//
// A mask has eight characters, one per digit of the number, most significant first; "f" is the
// driver's wildcard, a decimal digit fixes its position. The level says how many positions,
// counted from the right, the search may still vary: at level L it varies position 9 - L
// (counted from 1 at the left). At every level the digits 9 down to 0 are tried; where more
// than one meter answers, that mask is searched one level deeper first (depth first), so that
// two meters differing only in the last digit are both found, the one ending in 9 first. A
// collision at level 1 cannot be narrowed any more: nothing is entered for it (two meters with
// the same number).
//
// A probe selects the mask, and when exactly one acknowledgement came back, asks the selected
// meter for its data (REQ_UD2 to 253). Two meters whose acknowledgements overlap exactly look
// like one; their data answers then garble each other. An invalid answer to the data request
// therefore counts as a collision too, so the search goes deeper and finds both; a data request
// without any answer leaves the mask (kDatenFehlen).
//
// The meter list: row 0 is the header; column 1 (the identification number) is the key. A
// meter found again (at another baud rate) gets only the rate added to column 6 ("9600;2400").
//
// The search yields between polls of the driver. The stop flag and the program's end are
// tested after every probe, so a stop takes effect after the current probe.

#include <QString>

#include <functional>

class FlexGrid;
class MBusRacX4;

class SekundaerSuche
{
public:
    static constexpr int kStellen = 8;
    static inline const QString kAlleMaske = QStringLiteral("ffffffff");

    // The outcome of one probe.
    enum Probe : int {
        kNiemand = 0,     // nobody answered the select
        kKollision = 1,   // several meters answered
        kGefunden = 2,    // exactly one meter answered and was read
        kDatenFehlen = 3, // the select was acknowledged but the data request failed
    };

    // What the search shows and asks while it runs; an empty function is skipped (asked: false).
    struct Anzeige
    {
        std::function<void(const QString&)> maske;  // the mask being probed
        std::function<void(const QString&)> anzahl; // n & " Zähler gefunden" after each entry
        std::function<bool()> stop;                 // stop requested
    };

    // bisherGefunden: meters the search entered already (at faster rates), for the count.
    explicit SekundaerSuche(FlexGrid& liste, Anzeige anzeige, int bisherGefunden = 0);

    // The start mask of a list position of the digit box (items "8" down to "1"): as many "0" as
    // the position, then wildcards, eight characters ("ffffffff", "00ffffff", "0000000f").
    static QString StartMaske(int listenPosition);
    // The level of a list position: 8 - position, limited to 1 .. 8.
    static int Ebene(int listenPosition);
    // True for eight characters that are each a decimal digit or "f".
    static bool MaskeGueltig(const QString& maske);
    // Puts the digit into the mask at position 9 - level.
    static void Suchstring(QString& maske, int ebene, int ziffer);
    // The result line: text ("0 Zähler gefunden " when empty) & " in " & whole seconds &
    // " Sekunden".
    static QString SchlussZeile(const QString& text, double sekunden);

    // One probe of the mask through a driver whose port is open.
    Probe probe(MBusRacX4& treiber, const QString& maske);
    // The recursive search from the mask at the level, at one baud rate (port open). False when
    // the list refused an entry (fehler() tells why); the search then ends.
    bool sucheAlle(MBusRacX4& treiber, const QString& maske, int ebene, int baud);
    // Enters the meter read last, or adds the rate to its row.
    bool eintragen(MBusRacX4& treiber, int baud);

    int gefunden() const { return m_gefunden; }
    int proben() const { return m_proben; }
    int kollisionen() const { return m_kollisionen; }
    bool gestoppt() const;
    const QString& fehler() const { return m_fehler; }

private:
    // Polls the running exchange; false when the program ends in the middle of it.
    bool abwarten(MBusRacX4& treiber, bool wiederholen);

    FlexGrid& m_liste;
    Anzeige m_anzeige;
    int m_gefunden = 0;
    int m_proben = 0;
    int m_kollisionen = 0;
    bool m_programmEndet = false;
    QString m_fehler;
};

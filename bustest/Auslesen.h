#pragma once
// Reading one meter in the meter view of the test window: by primary address through either
// driver face, by secondary address through the name-bound driver, and the speed test that reads
// the same meter again and again.
//
// Records grid: row 0 holds the headers "Index", "Medium", "Meßart", "Wert", "Einh.", row 1 is
// kept empty for the timing line, which the window writes there only after an answer; the
// records follow, labelled address & " [" & record number & "]", numbered on over all
// telegrams of one read. A request that gets no valid answer inserts the error row
// (address, " Fehler : " & the receive-error text) at row 1, above the reserved row.
//
// A meter whose telegram ends with "more records follow" (DIF 1F) is asked again, at most
// kMaxTelegramme telegrams per read; manufacturer data at the end (DIF 0F) ends the read.

#include <QElapsedTimer>
#include <QString>
#include <QVariant>

#include <functional>

class FlexGrid;
class IMBusOLEAutoServer;
class MBusRacX4;

class Auslesen
{
public:
    static constexpr int kMaxTelegramme = 16;
    // Shown instead of reading when the typed address is none.
    static inline const QString kPrimaerAdresseUngueltig =
        QStringLiteral("Ungültige Primäradresse: erlaubt sind 0 bis 255.");
    static inline const QString kSekundaerAdresseUngueltig =
        QStringLiteral("Ungültige Sekundäradresse: erlaubt sind 1 bis 8 Ziffern oder f.");

    // The header fields of the meter that answered (the boxes Text2(0) to Text2(5)).
    struct Kopf
    {
        QString hersteller, herstellerNummer, id, idDezimal, version, medium;
    };

    // What the read shows while it runs; an empty function is skipped (asked: keep running).
    struct Anzeige
    {
        std::function<void(const Kopf&)> kopf;
        std::function<void(const QString&)> rohText; // the raw answer of the last telegram
        std::function<void(const QString&)> dump;    // hex and decimal dump, CR LF lines
        // Speed test: the current count and the seconds since its start.
        std::function<void(int, const QString&)> fortschritt;
        std::function<bool()> weiterLesen; // speed test: false ends it before the next pass
    };

    struct Ergebnis
    {
        bool portOffen = true;    // false: the port did not open, nothing was sent
        bool beantwortet = false; // the last request of the read got a valid answer
        int telegramme = 0;       // telegrams received
        int saetze = 0;           // records shown
        double anfrage = 0;       // seconds (monotonic) when the last request went out
        double antwort = 0;       // seconds (monotonic) when its answer was complete
        int antwortAdresse = -1;  // the address the meter answered with (-1: none)
        int mehrere = 0;          // secondary read: result of the select and request
        int fehlversuche = 0;     // speed test: passes without an answer
        int durchlaeufe = 0;      // speed test: passes made
    };

    explicit Auslesen(FlexGrid& satzGrid, Anzeige anzeige);

    // A primary address typed by the user: a whole number 0 to 255.
    static bool PrimaerAdresseGueltig(const QString& text, int& adresse);
    // A secondary address typed by the user: 1 to 8 characters, each a digit or f (any digit).
    static bool SekundaerAdresseGueltig(const QString& text);
    // n & " HEX Zeichen", the hex pairs (16 a line), an empty line, n & " Dezimal", the decimal
    // triples; CR LF after every line but the last.
    // "Gelesen in " | seconds & " s" into the reserved row 1, the columns fitted again; only for
    // an answered read.
    static void ZeitZeileSchreiben(FlexGrid& grid, const Ergebnis& ergebnis);

    // Through the name-bound driver, whose timing the caller has set: opens port at baud
    // (message and log line "Fehler Open Com " & port when it does not open), resets the link,
    // reads every telegram and closes the port.
    Ergebnis ueberRac(MBusRacX4& treiber, const QVariant& port, const QVariant& baud, int adresse);
    // Through the interface driver whose port the caller has prepared; closes the port.
    Ergebnis ueberOle(IMBusOLEAutoServer& treiber, int adresse, int timeout);
    // Selects the meter by secondary address on the driver's open port and shows its telegram;
    // the caller opens and closes the port. mehrere: the MBusSelectREQUD2 result.
    Ergebnis sekundaer(MBusRacX4& treiber, const QString& adresse);
    // Speed test through the interface driver whose port the caller has prepared: passes von to
    // bis, each reading the meter adresse() names (a negative number ends the test); a pass
    // without an answer inserts count & TAB & " Keine Antwort" at row 1. Closes the port.
    Ergebnis geschwindigkeitstest(IMBusOLEAutoServer& treiber, int von, int bis,
                                  const std::function<int()>& adresse);

private:
    bool racAntwortAbwarten(MBusRacX4& treiber, int& status);
    void fehlerZeile(int adresse, int maske);
    double jetzt() const;

    FlexGrid& m_satzGrid;
    Anzeige m_anzeige;
    QElapsedTimer m_uhr;
};

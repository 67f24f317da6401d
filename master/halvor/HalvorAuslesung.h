#pragma once
// The customer reading behind the window "Halvor MBus": reads the primary addresses 0 to the
// highest address on one COM port at 9600 Bd through the fixed-interface driver and appends one
// line per address to the daily file DatenPath & yymmdd & "mb.txt"; reads on request and once
// whenever the calendar month changes while the window is open.
//
// Daily file (Windows-1252, lines ended by CR LF, fields separated by one TAB):
//   meter answered   yymmdd  address  {record j  value text of record j}   (j from 0)
//   no answer        yymmdd  address  FehlerBeimLesen
// The date of a line and the date in its file name come from one reading of the clock when the
// line is written, so a pass across midnight writes its later lines, with the new date, into the
// next day's file. The folder text is used as it stands: without a final "\" the date follows the
// text directly ("Slave.dat" gives "Slave.dat261206mb.txt").
//
// One pass at a time: while a pass runs, a second request is turned away, and a month change
// seen meanwhile runs one pass as soon as the running one has ended. Each meter's port and file
// are closed whichever way its read ends. The highest address is cut to 250 (251 to 255 are the
// special addresses of the bus) with a line in the program log; a port that does not open leaves
// its "FehlerBeimLesen" lines and one program-log line per pass.
//
// Settings: ".\mb.INI", section [MB], key DatenPath (any letter case of the file name on disk is
// the same file, read and written alike).

#include <QString>

#include <functional>
#include <memory>

class MBusTreiber;
class QDateTime;

class HalvorAuslesung
{
public:
    static constexpr int kBaud = 9600;
    // Highest primary address a pass asks.
    static constexpr int kHoechsteAdresse = 250;

    // The settings file and the folder shown when it names none.
    static const QString kIniDatei;
    static const QString kOrdnerVorgabe;

    // What the pass takes from the window and tells it; an empty function is skipped (texts: "").
    struct Anzeige
    {
        std::function<QString()> port;            // the port box, read before every address
        std::function<QString()> hoechsteAdresse; // the "Anz" box, read once a pass
        std::function<void(bool)> laeuft;         // true when a pass starts, false when it ends
    };

    // A new driver object for one meter; nullptr when there is none (FehlerText says why).
    using TreiberFabrik = std::function<std::unique_ptr<MBusTreiber>()>;

    // How one meter's read ended.
    enum class Ergebnis {
        Gelesen,       // answered; its line was written
        KeineAntwort,  // "FehlerBeimLesen" was written
        PortZu,        // the port did not open; "FehlerBeimLesen" was written
        Fehler,        // no line: no driver, or the file could not be written (FehlerText)
    };

    // Without a factory the meters are read through "MBus.OLEAutoServer".
    explicit HalvorAuslesung(Anzeige anzeige, TreiberFabrik fabrik = {});
    ~HalvorAuslesung();
    HalvorAuslesung(const HalvorAuslesung&) = delete;
    HalvorAuslesung& operator=(const HalvorAuslesung&) = delete;

    // Load: the folder of [MB] DatenPath, or kOrdnerVorgabe when it is empty; DatenPath takes it
    // and the month marker the current month. Returns the folder text for the box.
    QString laden();

    // The folder box changed: DatenPath takes the text and [MB] DatenPath is written. A file that
    // cannot be written gives one program-log line until writing works again.
    void ordnerGeaendert(const QString& text);

    // The 10-second tick: when the month differs from the marker, the marker takes it and all
    // meters are read (after the running pass, if one runs).
    void uhrTick();

    // Reads the addresses 0 to the "Anz" box's number. False when a pass runs already (nothing
    // else happens then).
    bool AlleMBusZaehlerAuslesen();

    // Reads one meter and appends its line.
    Ergebnis MBus_AuslesenAlle(int adresse, int port, int baud);

    bool laeuft() const { return m_laeuft; }
    // Ends the running pass after the meter being read; a month pass still due is dropped.
    void anhalten();

    // DatenPath & yymmdd & "mb.txt" for the time given (not resolved).
    static QString Dateiname(const QString& ordner, const QDateTime& zeit);

private:
    void durchgang();
    bool zeileSchreiben(const QString& felder);

    Anzeige m_anzeige;
    TreiberFabrik m_fabrik;
    int m_monat = 0;
    bool m_laeuft = false;
    bool m_monatNachholen = false;
    bool m_anhalten = false;
    bool m_iniFehlerGemeldet = false;
};

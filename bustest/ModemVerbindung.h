#pragma once
// The modem link of the test window: a remote M-Bus reached through a telephone modem at the
// single-meter port. Dialling (initialise, then call) and hanging up run through the name-bound
// driver's modem members; the window searches the remote bus through the same driver while the
// call stands.
//
// Every wait polls TELStatus (which moves the modem dialogue on) and yields between the polls;
// each has a limit of its own (initialisation, call, hang-up), after which the running dialogue
// is aborted and the limit's message given. The driver's own deadlines are shorter, so the
// limits only catch a dialogue that would never end.
//
// While a dial or the search through the modem runs, the window must not release the driver:
// a hang-up asked for meanwhile aborts what runs (auflegenAnfordern) and is carried out by the
// window once it has returned (auflegenFaellig).
//
// A connection that ends during the search without a hang-up asked for (the remote side hung
// up: the modem's "NO CARRIER"; or the port was lost) stops the search after the probe that runs
// (leitungVerloren); the window then says so with the modem's result text and the meters found
// until then, instead of "Fertig".

#include "driver/modem/Modemzeiten.h"

#include <QString>
#include <QVariant>

#include <array>
#include <optional>

class MBusRacX4;

class ModemVerbindung
{
public:
    // The limits of the three waits, in seconds.
    struct Fristen
    {
        int initialisierung = 10;
        int anruf = 90;
        int auflegen = 10;
    };

    // COMTimeout, COMTimeoutOffset, COMTimeoutByte, COMDeadtime.
    using Timing = std::array<int, 4>;

    static QString InitialisierungZuLang(int sekunden);
    static QString AnrufZuLang(int sekunden);
    static QString AuflegenZuLang(int sekunden);
    // The program-log line of a dial's end: its message and the modem's result text.
    static QString WahlProtokoll(const QString& meldung, const QString& antwort);
    // The label and the message after a search whose connection ended, with the modem's result
    // text ("" when it gave none) and the meters the search found until then.
    static QString VerbindungBeendetAnzeige(const QString& antwort, int gefunden);
    static QString VerbindungBeendetMeldung(const QString& antwort, int gefunden);

    void setzeFristen(const Fristen& fristen) { m_fristen = fristen; }
    // Tests: the modem times the driver is given before it dials (none: the driver's own).
    void setzeModemzeiten(std::optional<mbus::Modemzeiten> zeiten) { m_modemzeiten = zeiten; }

    struct Waehlergebnis
    {
        // The message to show: "Fehler Open Com " & port when the port does not open, a limit's
        // message, or "fertig " & TELStatus (4 when the remote modem answered); "" when the
        // program ends or a hang-up was asked for meanwhile.
        QString meldung;
        bool portFehler = false; // the port did not open (it is closed again)
        // The modem's result text of the dialogue that ended the dial ("CONNECT 9600", "BUSY";
        // "" when it gave none), for the program log.
        QString antwort;
    };

    // Dials with the driver: opens the port (again, for the modem), initialises the modem with
    // the init command, then calls with the dial command.
    Waehlergebnis waehlen(MBusRacX4& treiber, int port, int baud, const Timing& timing,
                          const QString& initBefehl, const QString& waehlBefehl);

    // True when the driver's modem is connected (TELStatus 4).
    static bool verbunden(MBusRacX4& treiber);
    // The modem's result text of its last dialogue, or "NO CARRIER" once the remote side hung
    // up; "" when it gave none.
    static QString antwort(MBusRacX4& treiber);

    // Ends a running exchange, hangs up and waits for the idle modem (TELStatus 3). Gives ""
    // when it hung up, else the limit's message. status() then holds the last TELStatus.
    QString auflegen(MBusRacX4& treiber);
    int status() const { return m_status; }

    // The window marks the dial and the search through the modem as running.
    void setzeLaeuft(bool laeuft) { m_laeuft = laeuft; }
    bool laeuft() const { return m_laeuft; }
    // The window marks the search through the modem (it runs as setzeLaeuft(true) does).
    void sucheBeginnen();
    void sucheBeenden();
    // During the search: true when the connection has ended without a hang-up asked for. Polls
    // TELStatus, so that a "NO CARRIER" that came in between two probes is noticed.
    bool leitungVerloren(MBusRacX4& treiber);
    // A hang-up while a dial or search runs: aborts the running dialogue or exchange now; the
    // hang-up itself is due once the running one has returned.
    void auflegenAnfordern(MBusRacX4& treiber);
    // True once (and then no more) after auflegenAnfordern, when nothing runs any longer.
    bool auflegenFaellig();

private:
    // Polls TELStatus, yielding, until fertig holds or the limit has passed. False when the limit
    // passed or the program ends; m_status holds the last TELStatus.
    template <typename Bedingung> bool abwarten(MBusRacX4& treiber, int sekunden, Bedingung fertig);

    Fristen m_fristen;
    std::optional<mbus::Modemzeiten> m_modemzeiten;
    int m_status = 3;
    bool m_laeuft = false;
    bool m_suche = false;
    bool m_auflegenAngefordert = false;
};

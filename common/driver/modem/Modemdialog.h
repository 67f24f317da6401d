#pragma once
// The AT dialogue with a telephone modem in front of a remote M-Bus, as a state machine without
// I/O. The caller sends the bytes of each Modemaktion (and sets DTR when it says so), feeds back
// what the modem sends with empfange(), and calls zeitAbgelaufen() once frist() has passed. The
// dialogue never reads a clock and never sleeps; every wait has a deadline (Modemzeiten).
//
// Initialisation: "ATZ" (the modem's stored profile), "ATE0V1" (no echo, verbose results), then
// the caller's command (e.g. "ATX1L3"), each answered by "OK". "ERROR" ends it unconfirmed. When
// the modem does not answer the first command it may still be in data mode from an earlier
// connection: the dialogue then leaves data mode and hangs up as below, and starts once more.
//
// Dial: "ATD<number>" or the caller's whole dial command ("ATDT0301234"). "CONNECT [speed]"
// connects; "BUSY", "NO CARRIER", "NO DIALTONE", "NO ANSWER" and "ERROR" end the dial with that
// text. Without a result in time, or when the caller aborts, one character (CR) stops the
// dialling modem, which answers with a result of its own; then the line is idle.
//
// Hang-up: a guard time of silence, "+++", the guard time again, "OK" (command mode), "ATH",
// "OK". When the modem does not answer, DTR is dropped for a moment (a modem set to &D2 goes
// on-hook at that) and the line counts as idle anyway.
//
// Lines from the modem end at CR or LF; the echo of a command and line noise are passed over;
// "OK" or a result line that comes while the dialogue expects nothing is ignored. After
// "CONNECT" the bytes belong to the remote bus: empfange() hands them on in Modemaktion::daten
// (the LF that ends the CONNECT line excepted) and only watches them for "NO CARRIER", the sign
// that the remote side hung up; that result (with the CR LF in front of it, as far as it came in
// the same piece) is no data.
//
// The value for TELStatus is described in Modemstatus.h.

#include "Modemstatus.h"
#include "Modemzeile.h"
#include "Modemzeiten.h"
#include "driver/engine/Zeitparameter.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace mbus {

struct Modemaktion
{
    QByteArray senden;       // to send to the modem now
    std::optional<bool> dtr; // to set the DTR line to now
    QByteArray daten;        // received after "CONNECT": the remote bus's bytes
};

class Modemdialog
{
public:
    explicit Modemdialog(const Modemzeiten& zeiten = kStandardModemzeiten);

    void setzeZeiten(const Modemzeiten& zeiten) { m_zeiten = zeiten; }
    const Modemzeiten& zeiten() const { return m_zeiten; }

    // Initialises the modem (see above). The caller's command gets "AT" in front when it lacks
    // it; an empty one is left out. A connected modem is hung up first, a dialling one stopped
    // (the reset follows one command deadline later). Any other dialogue still running is given
    // up. Ends Bereit, or Unbestaetigt.
    Modemaktion initialisiere(const QString& initBefehl, Buszeit jetzt);
    // Dials: a text beginning with "AT" is the whole dial command, any other text the number
    // behind "ATD". None, and nothing changes, while connected, while a dial runs or for an
    // empty text. An initialisation still running is given up. Ends Verbunden, or Leerlauf.
    std::optional<Modemaktion> waehle(const QString& waehlText, Buszeit jetzt);
    // Aborts a dial or an initialisation that runs; otherwise nothing (a connection stays).
    Modemaktion abbrechen(Buszeit jetzt);
    // Hangs up a connection or a running dial. Without either the line is idle at once and
    // nothing is sent. Ends Leerlauf.
    Modemaktion auflegen(Buszeit jetzt);

    // Bytes from the modem.
    Modemaktion empfange(QByteArrayView stueck, Buszeit jetzt);
    // Before the deadline nothing happens; at or after it the dialogue takes its next step.
    Modemaktion zeitAbgelaufen(Buszeit jetzt);
    // The caller sent bytes of its own to the remote bus; the guard time before "+++" counts
    // from the last of them.
    void datenGesendet(Buszeit jetzt);
    // The serial port is gone: a running dialogue or a connection ends (Portfehler, no result
    // line), the line counts as idle.
    void portVerloren();
    // Initialising or dialling was asked while no port is open: nothing is sent, and the request
    // ends at once (Portfehler) where a waiting caller sees it: an initialisation unconfirmed, a
    // dial idle. Anything running is given up.
    void ohnePort(bool initialisierung);

    bool laeuft() const { return m_auftrag != Auftrag::Keiner; }
    // When to call zeitAbgelaufen(); none while nothing runs.
    std::optional<Buszeit> frist() const;
    // Whether the bytes from the line are the bus's (connected, and no dialogue has the line).
    bool imDatenmodus() const;
    Modemlage lage() const { return m_lage; }
    // TELStatus: 1 while a dialogue runs, else the value of the resting state (Modemstatus.h).
    int telStatus() const;
    // How the last dialogue ended, and the modem's result line that ended it ("OK", "BUSY",
    // "CONNECT 9600"; "" when there was none).
    Modemausgang ausgang() const { return m_ausgang; }
    const QString& meldung() const { return m_meldung; }
    // What followed "CONNECT" on the last connection, e.g. "9600".
    const QString& verbindung() const { return m_verbindung; }

private:
    enum class Auftrag { Keiner, Initialisieren, Waehlen, Auflegen };
    enum class Phase {
        Ruhe,         // nothing runs
        Pause,        // before the next command line
        Befehl,       // a command line is out, its result awaited
        Waehlt,       // the dial command is out
        WaehlAbbruch, // a character stopped the dialling; the modem's result awaited
        SchutzVor,    // silence before "+++"
        Flucht,       // "+++" is out: silence, then the modem's "OK"
        DtrAus,       // DTR is off to force the modem on-hook
    };

    void beginne(Auftrag auftrag, Modemaktion& aktion);
    void ende(Modemlage lage, Modemausgang ausgang, const QString& meldung, Modemaktion& aktion);
    void sendeBefehl(Buszeit jetzt, Modemaktion& aktion);
    void weiter(Buszeit jetzt, Modemaktion& aktion);
    void beginneFlucht(Buszeit jetzt);
    void stoppeWahl(Modemausgang grund, Buszeit jetzt, Modemaktion& aktion);
    void dtrAbfall(Modemausgang grund, const QString& meldung, Buszeit jetzt, Modemaktion& aktion);
    void befehlFehlgeschlagen(Modemausgang grund, const QString& meldung, Buszeit jetzt,
                              Modemaktion& aktion);
    void datenzeichen(char zeichen, Buszeit jetzt, Modemaktion& aktion);
    void zeileAuswerten(const QByteArray& zeile, Buszeit jetzt, Modemaktion& aktion);
    bool legtAuf() const;

    Modemzeiten m_zeiten;
    Auftrag m_auftrag = Auftrag::Keiner;
    Phase m_phase = Phase::Ruhe;
    Modemlage m_lage = Modemlage::Leerlauf;
    Buszeit m_frist{0};
    // Command lines still to send, and the one that is out.
    QByteArrayList m_plan;
    QByteArray m_befehl;
    QByteArrayList m_initBefehle;
    bool m_fluchtVersucht = false;
    // When this program last sent anything, for the guard time.
    std::optional<Buszeit> m_letzteSendung;
    // How the dialogue ends once the modem has answered an abort, or once DTR is back on.
    Modemausgang m_endAusgang = Modemausgang::Erfolg;
    QString m_endMeldung;
    Modemzeile m_zeile;
    bool m_lfSchlucken = false;
    QByteArray m_datenEnde; // the last bytes of data, watched for "NO CARRIER"
    Modemausgang m_ausgang = Modemausgang::Keiner;
    QString m_meldung;
    QString m_verbindung;
};

} // namespace mbus

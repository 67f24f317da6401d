#pragma once
// The bus master at work on a port: drives the link-layer engine (Busmaster) over a bus line,
// one exchange at a time. The caller starts a request and then either polls pruefen() (the
// driver's APPReceiveTest) from a loop that yields, or calls abwarten(), which sleeps in the
// event loop between the polls until a byte arrives or the exchange's next deadline comes. Each
// poll reads what has arrived, hands it to the engine with the monotonic time, and ends the
// exchange once its deadline has passed.
//
// Dead time: a request goes out only after COMDeadtime bit times of silence on the line (since
// the last byte sent or received); until then it waits, and pruefen() reports 255. Bytes that
// arrive while a request waits (a meter answering too late, noise) make it wait for the silence
// that ends an answer (COMTimeoutByte characters) instead, so that nothing is sent into a
// meter's answer. A line that never falls silent delays a request by at most the dead time and
// one answer window, plus the time of the longest frame once bytes came while it waited.
//
// Late bytes: a meter's answer begins at the earliest 11 bit times after the request's last byte
// has left the wire. Whatever is read before that moment is no answer to the request (a meter
// that answered the request before too late, noise) and is kept away from the exchange. Such
// bytes, those that follow them without the pause that ends an answer (the rest of that
// transmission) and those that arrive while a request waits are dropped with one program-log
// line ("Verspätete Bytes verworfen : ") when the request goes out or the exchange ends. So is a
// long frame that names another primary address than the one asked (the engine sets it aside):
// the exchange goes on waiting for its own meter within the answer window.
//
// Every exchange ends: the engine's deadline is the answer window after the request's last
// byte and one character more (an answer that starts at the end of the window is read), moved on
// by each received byte; on top of that the engine gives each exchange a hard
// limit (the longest answer a meter can send, byte by byte with the longest allowed gaps), after
// which it is ended whatever arrives.
//
// Repeat (the driver's APPRetry): wiederholen() asks for one repetition of the current request
// should it end in a time-out or an invalid answer. Called while the exchange runs, it arms the
// repetition: the failed request goes out once more after the dead time and pruefen() keeps
// reporting 255 until the repetition has ended, so the caller only ever sees the outcome of the
// second try. Called when the exchange has already ended that way, it starts the repetition at
// once. Each request is repeated at most once however often it is asked; a REQ_UD2 repeats with
// the same FCB (the engine toggles it only on a sound answer), so a meter whose answer got lost
// sends the same telegram again. Success, an acknowledgement and requests without answer are
// never repeated.
//
// A closed or lost port ends a request at once as a time-out (bit 1): nothing can answer. Input
// that is no request (a mask or frame text that does not parse) ends as an invalid answer with
// bit 256, nothing sent. Every new request clears the outcome of the one before.
//
// Modem: the line is a Modemkanal (modem()), on which the driver's TEL members run the modem
// dialogue. While connected, the requests go through the connection with the modem's timing
// allowances (Modemkanal::zeitenFuer); whenever the remote bus is out of reach (a modem dialogue
// runs, no connection, or "NO CARRIER" came while the exchange ran) a request ends as a time-out
// (bit 1), at once or at the next poll.

#include "Buskanal.h"
#include "Busuhr.h"
#include "Echofilter.h"
#include "Modemkanal.h"
#include "driver/engine/Auswahlmaske.h"
#include "driver/engine/Busmaster.h"
#include "serial/SpaeteBytes.h"

#include <memory>
#include <optional>

namespace mbus {

// APPReceiveError bit of faults that are no line fault: input that is no request.
constexpr int kFehlerSonstiger = 256;

class Busanschluss
{
public:
    // Without a line or clock: the serial port and the monotonic clock.
    explicit Busanschluss(std::unique_ptr<Buskanal> kanal = nullptr,
                          std::unique_ptr<Busuhr> uhr = nullptr);
    ~Busanschluss();
    Busanschluss(const Busanschluss&) = delete;
    Busanschluss& operator=(const Busanschluss&) = delete;

    // Opens (or reopens) the port at the baud rate, 8E1; 0 or the serial control's error number.
    // A running exchange ends as a time-out. A port open already as that port at that rate (same
    // device, still working, no modem operation) is not closed: only its input and output are
    // dropped, as a reopen would drop them.
    int oeffnen(int port, int baud);
    // Closes the port; a running exchange ends as a time-out.
    void schliessen();
    bool offen() const;
    // The outcome of the last open (0 open; kNichtGeoeffnet before any open and after closing).
    int oeffnenFehler() const { return m_oeffnenFehler; }
    // Whether the port is open as port number `port` at `baud`.
    bool offenAuf(int port, int baud) const;

    // The line with the modem that may stand in front of the bus.
    Modemkanal& modem() { return *m_kanal; }
    const Modemkanal& modem() const { return *m_kanal; }

    // Timing of the following requests; the baud rate is always that of the open port, and in
    // modem operation the modem's allowances are added.
    void setzeZeiten(const Zeitparameter& zeiten);
    Zeitparameter zeiten() const;

    // Each starts a new exchange; one still running is abandoned.
    void sndNke(MBusAdresse adresse);
    void reqUd2(MBusAdresse adresse);
    void waehle(const Auswahlmaske& maske);
    void sendeRoh(const QByteArray& rahmen);
    // No bus: judges the bytes as a meter's long frame (telegram, or invalid with its bits; an
    // acknowledgement or bytes without any frame count as a wrong start character).
    void deuten(QByteArrayView rahmen);
    // No bus: the caller's input was no request; the outcome is invalid with these bits.
    void abweisen(int fehlerbits);

    // Moves bytes and time; gives the APPReceiveTest value (see Ereignis.h).
    int pruefen();
    // APPRetry (see above); true when a repetition is armed or started.
    bool wiederholen();
    // Waits until the exchange has ended and gives pruefen()'s last value. Between two polls it
    // sleeps in the event loop (other events run, so a window may start, stop or close things
    // meanwhile) until bytes arrive or the next moment at which the exchange moves on by time
    // alone (naechsterTermin). With wiederholen it asks for the repetition (wiederholen()) after
    // every poll that finds the exchange running, as a caller's APPRetry loop does. Every
    // exchange ends at its own hard limit; kEmpfangLaeuft comes back only when the program is
    // ending (the exchange is left running then).
    int abwarten(bool wiederholung = false);
    // Ends the current exchange now as a time-out (the program is ending, a wait gave up).
    void abbrechen();

    // Still waiting for the dead time or for the answer.
    bool laeuft() const;
    // The outcome of the last exchange (art Laeuft while it runs).
    const Ereignis& ereignis() const;
    int empfangsTest() const { return EmpfangsTestWert(ereignis()); }

private:
    struct Anfrage
    {
        enum class Art { SndNke, ReqUd2, Waehle, Roh };
        Art art = Art::SndNke;
        MBusAdresse adresse{0};
        Auswahlmaske maske;
        QByteArray rahmen;
    };

    void beginne(const Anfrage& anfrage);
    void senden(Buszeit jetzt);
    void empfangen(Buszeit jetzt);
    // Reads what came meanwhile (late bytes) and tells whether the request may go out now.
    bool leitungStill(Buszeit jetzt);
    bool totzeitVorbei(Buszeit jetzt) const;
    // Silence the waiting request needs: the dead time, or after late bytes an answer's end.
    Dauer ruhezeit() const;
    // The latest moment the waiting request goes out, whatever arrives.
    Buszeit spaetestensSenden() const;
    void spaetVerwerfen();
    void nachDemEnde();
    void beendeOhneAntwort();
    void beendeMit(Ereignis ereignis);

    bool busErreichbar() const;
    // When pruefen() next has something to do without new bytes: the end of the dead time for a
    // waiting request, the engine's deadline for a running one; none when nothing runs.
    std::optional<Buszeit> naechsterTermin() const;

    std::unique_ptr<Modemkanal> m_kanal;
    std::unique_ptr<Busuhr> m_uhr;
    Busmaster m_master;
    Zeitparameter m_zeiten = kStandardZeiten;
    int m_oeffnenFehler;
    int m_baud = kStandardZeiten.baud;
    int m_port = 0;
    Echofilter m_echo;

    // The request waiting for the dead time, and since when.
    std::optional<Anfrage> m_wartend;
    Buszeit m_wartetSeit{0};
    // The request on the line, for its repetition.
    std::optional<Anfrage> m_letzte;
    bool m_wiederholungErbeten = false;
    bool m_wiederholt = false;
    // End of the last byte sent or received.
    std::optional<Buszeit> m_letzteAktivitaet;
    // Bytes read before this moment are no answer to the request on the line.
    Buszeit m_fruehesteAntwort{0};
    // When the last late byte of the running exchange was read (none: none came, or the answer
    // began), and the late bytes since the request went out.
    std::optional<Buszeit> m_spaetBis;
    QByteArray m_spaetRahmen;
    // Late bytes not yet logged; whether any came while the waiting request waited.
    SpaeteBytes m_spaet;
    bool m_spaetBeimWarten = false;
    // An outcome decided without the engine (closed port, input that is no request, decoding).
    std::optional<Ereignis> m_eigenes;
};

} // namespace mbus

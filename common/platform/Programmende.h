#pragma once
// How a window ends the program while one of its loops (scan, read, search, cycle) may be
// running on the one GUI thread.
//
// A loop holds a Lauf for as long as it runs; a second loop is turned away while one runs (the
// window says so in a status line, see abweisungAnzeigen). Ending the program sets the shutdown
// flag (ProgrammEndeMelden), which makes the running loop's next DoEvents/Warten report the end:
// the loop stops and closes its port. Only when no loop runs any more are the ports closed and
// the end action run (once), so the program never ends from inside a nested event loop with a
// port still in use.

#include <functional>

class Programmende
{
public:
    // Held by a running loop. gueltig() is false when another loop was running already; such a
    // Lauf must not start its loop.
    class Lauf
    {
    public:
        explicit Lauf(Programmende& ende);
        ~Lauf();
        Lauf(const Lauf&) = delete;
        Lauf& operator=(const Lauf&) = delete;
        bool gueltig() const { return m_gueltig; }

    private:
        Programmende& m_ende;
        bool m_gueltig = false;
    };

    // portsSchliessen runs before endeAktion; both once.
    explicit Programmende(std::function<void()> portsSchliessen, std::function<void()> endeAktion);

    // Asks the program to end: sets the shutdown flag, then ends at once when no loop runs, or
    // as soon as the running loop has returned.
    void beenden();

    bool laeuft() const { return m_laeuft; }
    bool angefordert() const { return m_angefordert; }
    bool beendet() const { return m_beendet; }

    // Replaces the end action (tests, and the window that owns the application's end).
    void endeAktionSetzen(std::function<void()> aktion) { m_endeAktion = std::move(aktion); }
    // How a loop turned away is shown: anzeige(true) when a loop is turned away because another
    // one runs (not while the program ends), anzeige(false) when the running loop has ended
    // after such a refusal.
    void abweisungAnzeigen(std::function<void(bool)> anzeige) { m_abweisung = std::move(anzeige); }

private:
    void ausfuehren();

    std::function<void()> m_portsSchliessen;
    std::function<void()> m_endeAktion;
    std::function<void(bool)> m_abweisung;
    bool m_laeuft = false;
    bool m_abgewiesen = false; // a loop was turned away while the running one runs
    bool m_angefordert = false;
    bool m_beendet = false;
};

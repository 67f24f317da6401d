#pragma once
// Runs the modem dialogue over a line (Modemport): the small loop around Modemdialog that moves
// bytes between it and the line and tells it the time (a monotonic clock). Nothing here blocks:
// bewegen() does one pass, status() does one pass and reports TELStatus, and warten() repeats
// passes, sleeping in the event loop between them until the modem sends or the dialogue's next
// deadline comes, for callers that want to wait on the spot.
//
// While a dialogue runs the line is the dialogue's: every byte that arrives is read and given to
// it. While connected and idle the line is left alone, so that the bus side reads its answers
// itself; it shows them with mitlesen() so that a hang-up of the remote side is noticed. Bytes of
// the remote bus that arrive together with "CONNECT" are kept for the bus side (datenNehmen).
//
// The port must outlive the line.

#include "Modemdialog.h"
#include "Modemport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

namespace mbus {

class Modemleitung
{
public:
    explicit Modemleitung(Modemport& port, const Modemzeiten& zeiten = kStandardModemzeiten);

    // The dialogue's requests (Modemdialog). Initialising and dialling first drop what the modem
    // sent before, so a late result of an earlier command cannot be taken for theirs. False when
    // the port is not open (nothing is sent, and the request ends at once: Modemdialog::ohnePort)
    // or the dialogue refused the dial.
    bool initialisieren(const QString& initBefehl);
    bool waehlen(const QString& waehlText);
    void abbrechen();
    void auflegen();

    // One pass: what the modem sent goes to the dialogue, a passed deadline is reported, and
    // what the dialogue asks for is sent. A port that was closed or lost ends the dialogue and a
    // connection.
    void bewegen();
    // TELStatus after one pass (Modemstatus.h).
    int status();
    // Passes, sleeping in the event loop between them (Modemport::warten), until no dialogue
    // runs. False when msMax milliseconds ran out first or the program is ending.
    bool warten(int msMax);

    // Takes the remote bus's bytes that came along with the modem's answers.
    QByteArray datenNehmen();
    // While connected the bus side reads and sends on its own. It shows the line what it read,
    // so that "NO CARRIER" (the remote side hung up) is noticed, and gets back what of it is the
    // remote bus's (nothing when not connected); it tells the line when it sent, so that the
    // silence before "+++" counts from there.
    QByteArray mitlesen(const QByteArray& empfangen);
    void gesendet();

    const Modemdialog& dialog() const { return m_dialog; }
    void setzeZeiten(const Modemzeiten& zeiten) { m_dialog.setzeZeiten(zeiten); }
    const Modemzeiten& zeiten() const { return m_dialog.zeiten(); }
    // The port is closed or reopened by its owner: a running dialogue ends and a connection is
    // taken as gone (closing drops DTR, on which a modem set to &D2 hangs up).
    void portZurueckgesetzt();

private:
    Buszeit jetzt() const;
    void ausfuehren(const Modemaktion& aktion);
    bool portBereit();

    Modemport& m_port;
    Modemdialog m_dialog;
    QElapsedTimer m_uhr;
    QByteArray m_daten;
};

} // namespace mbus

#pragma once
// The link-layer state machine of one simulated meter. It is fed the frames that arrived at its
// own line speed and says what the meter answers; it opens no port and reads no clock.
//
// - Addressed by its primary address, by 254 (every meter, with answer), 255 (every meter,
//   without answer) and 253 while it is selected.
// - SND_NKE: E5, back to the first telegram; to 253 also ends the selection.
// - REQ_UD2: RSP_UD. With FCV set, an FCB toggled against the last frame with FCV the meter took
//   (REQ_UD2, but also SND_UD, a selection of it, REQ_UD1: EN 13757-2 counts every one) asks for
//   the next telegram (after the last one the first again), the same FCB for the last one once
//   more, byte for byte but for the address field, which names the meter's address of now.
// - SND_UD to 253 with CI 52 and an 8-byte mask: selects the meter when the mask fits (E5), ends
//   its selection when not (silence).
// - SND_UD with CI 50 (application reset): E5, back to the first telegram, still selected.
// - SND_UD with CI 51 and DIF 01 VIF 7A: new primary address; CI B8 to BF: new baud rate, the E5
//   still at the old one. Both also to 253 with the secondary address in front of the data, then
//   the meter whose address fits acts, selected or not.
// - Fault fcb_streng: a SND_UD other than a selection with FCV set and the FCB of the last frame
//   with FCV it took is a repetition: E5, and it is not carried out (a selection always is).

#include "SimRahmen.h"
#include "SimSekundaeradresse.h"
#include "SimZaehler.h"

struct SimAntwort
{
    QByteArray bytes;       // empty: the meter stays silent
    bool telegramm = false; // RSP_UD (else E5)
};

// What a meter is and did, for inspection.
struct SimZaehlerStand
{
    int primaerAdresse = 0;
    int baud = 0;
    bool ausgewaehlt = false;
    int telegramm = 0;  // index of the telegram the last RSP_UD came from
    int gehoert = 0;    // frames it took (addressed to it at its speed, not ignored by a fault)
    int quittungen = 0; // E5 sent
    int telegramme = 0; // RSP_UD sent, repeats included
};

class SimZaehlerAutomat
{
public:
    explicit SimZaehlerAutomat(const SimZaehler& zaehler);

    SimAntwort verarbeiten(const SimRahmen& rahmen);

    SimZaehlerStand stand() const;
    const SimZaehler& beschreibung() const { return m_zaehler; }
    const SimFehler& fehler() const { return m_zaehler.fehler; }
    void fehlerSetzen(const SimFehler& fehler) { m_zaehler.fehler = fehler; }
    int baud() const { return m_baud; }

private:
    SimAntwort kurzVerarbeiten(const SimRahmen& r);
    SimAntwort langVerarbeiten(const SimRahmen& r);
    SimAntwort auswahl(const SimRahmen& r);
    SimAntwort daten(const SimRahmen& r);
    SimAntwort quittung(int adresse);
    bool angesprochen(int adresse) const;
    bool reagiert();
    bool aendern(quint8 ci, const QByteArray& daten);
    void linkZuruecksetzen();
    // A frame with FCV set that the meter took: its FCB is the one the next REQ_UD2 is held to.
    void fcbMerken(const SimRahmen& r);
    // With the fault fcb_streng: the frame repeats the last one with FCV (same FCB).
    bool wiederholt(const SimRahmen& r) const;
    QByteArray telegrammBauen(int index);
    QByteArray mitAktuellerAdresse(QByteArray bytes) const;

    SimZaehler m_zaehler;
    SimSekundaeradresse m_sekundaer;
    int m_adresse = 0;
    int m_baud = 2400;
    bool m_ausgewaehlt = false;
    int m_telegramm = 0;
    int m_letztesFcb = -1; // of the last frame with FCV; -1: none since the start or reset
    QByteArray m_letzteAntwort;
    quint8 m_zugriff = 0;    // access number of the next fresh RSP_UD
    int m_neueAntworten = 0; // fresh RSP_UD so far (values rise with it when the meter counts)
    int m_reaktionen = 0;    // frames it would have reacted to (for "answers from the k-th")
    int m_gehoert = 0;
    int m_quittungen = 0;
    int m_telegramme = 0;
};

#include "Modemdialog.h"

#include "Modemmeldung.h"
#include "platform/Cp1252.h"

#include <algorithm>

namespace mbus {

namespace {

const QByteArray kReset = QByteArrayLiteral("ATZ\r");
const QByteArray kEchoAusVerbose = QByteArrayLiteral("ATE0V1\r");
const QByteArray kAuflegen = QByteArrayLiteral("ATH\r");
const QByteArray kFlucht = QByteArrayLiteral("+++");
// Any character stops a dialling modem; CR is the one a modem in command mode ignores.
const QByteArray kWahlStopp = QByteArrayLiteral("\r");
const QByteArray kKeinTraeger = QByteArrayLiteral("NO CARRIER");

// A command line as the caller wrote it, without line ends and blanks at either end.
QByteArray Befehlstext(const QString& text)
{
    QByteArray bytes = TextZuCp1252(text);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes.trimmed();
}

bool BeginntMitAt(const QByteArray& text)
{
    return text.size() >= 2 && text.first(2).toUpper() == "AT";
}

bool IstAuflegen(const QByteArray& befehl)
{
    return befehl == kAuflegen;
}

} // namespace

Modemdialog::Modemdialog(const Modemzeiten& zeiten) : m_zeiten(zeiten) {}

std::optional<Buszeit> Modemdialog::frist() const
{
    if (m_phase == Phase::Ruhe)
        return std::nullopt;
    return m_frist;
}

bool Modemdialog::imDatenmodus() const
{
    return (m_phase == Phase::Ruhe && m_lage == Modemlage::Verbunden) ||
           m_phase == Phase::SchutzVor;
}

int Modemdialog::telStatus() const
{
    return laeuft() ? kTelStatusLaeuft : TelStatusWert(m_lage);
}

bool Modemdialog::legtAuf() const
{
    return m_auftrag == Auftrag::Auflegen;
}

// ---- the caller's requests

Modemaktion Modemdialog::initialisiere(const QString& initBefehl, Buszeit jetzt)
{
    Modemaktion aktion;
    const bool verbunden = m_lage == Modemlage::Verbunden;
    const bool waehlt = m_auftrag == Auftrag::Waehlen;
    if (waehlt && m_phase == Phase::Waehlt)
        aktion.senden += kWahlStopp;
    beginne(Auftrag::Initialisieren, aktion);
    m_initBefehle = {kReset, kEchoAusVerbose};
    const QByteArray eigener = Befehlstext(initBefehl);
    if (!eigener.isEmpty())
        m_initBefehle << (BeginntMitAt(eigener) ? eigener : "AT" + eigener) + '\r';
    m_plan = m_initBefehle;
    if (verbunden) {
        m_fluchtVersucht = true;
        m_plan.prepend(kAuflegen);
        beginneFlucht(jetzt);
    } else if (waehlt) {
        // The modem was dialling: give it the time to stop and answer before the reset.
        m_letzteSendung = jetzt;
        m_phase = Phase::Pause;
        m_frist = jetzt + m_zeiten.befehlsfrist;
    } else {
        sendeBefehl(jetzt, aktion);
    }
    return aktion;
}

std::optional<Modemaktion> Modemdialog::waehle(const QString& waehlText, Buszeit jetzt)
{
    const QByteArray text = Befehlstext(waehlText);
    if (text.isEmpty() || m_lage == Modemlage::Verbunden || m_auftrag == Auftrag::Waehlen)
        return std::nullopt;
    Modemaktion aktion;
    beginne(Auftrag::Waehlen, aktion);
    m_befehl = (BeginntMitAt(text) ? text : "ATD" + text) + '\r';
    aktion.senden += m_befehl;
    m_letzteSendung = jetzt;
    m_phase = Phase::Waehlt;
    m_frist = jetzt + m_zeiten.waehlfrist;
    return aktion;
}

Modemaktion Modemdialog::abbrechen(Buszeit jetzt)
{
    Modemaktion aktion;
    if (m_auftrag == Auftrag::Waehlen && m_phase == Phase::Waehlt)
        stoppeWahl(Modemausgang::Abgebrochen, jetzt, aktion);
    else if (m_auftrag == Auftrag::Initialisieren)
        ende(Modemlage::Unbestaetigt, Modemausgang::Abgebrochen, {}, aktion);
    return aktion;
}

Modemaktion Modemdialog::auflegen(Buszeit jetzt)
{
    Modemaktion aktion;
    if (m_auftrag == Auftrag::Auflegen ||
        (m_auftrag == Auftrag::Waehlen && m_phase == Phase::WaehlAbbruch))
        return aktion; // already on its way to idle
    if (m_auftrag == Auftrag::Waehlen) {
        stoppeWahl(Modemausgang::Abgebrochen, jetzt, aktion);
        return aktion;
    }
    if (m_lage != Modemlage::Verbunden) {
        ende(Modemlage::Leerlauf, Modemausgang::Erfolg, {}, aktion);
        return aktion;
    }
    beginne(Auftrag::Auflegen, aktion);
    m_plan = {kAuflegen};
    beginneFlucht(jetzt);
    return aktion;
}

void Modemdialog::datenGesendet(Buszeit jetzt)
{
    m_letzteSendung = std::max(m_letzteSendung.value_or(jetzt), jetzt);
    if (m_phase == Phase::SchutzVor)
        m_frist = std::max(m_frist, jetzt + m_zeiten.schutzzeit + m_zeiten.schutzreserve);
}

void Modemdialog::portVerloren()
{
    Modemaktion egal;
    if (m_auftrag == Auftrag::Initialisieren)
        ende(Modemlage::Unbestaetigt, Modemausgang::Portfehler, {}, egal);
    else if (laeuft() || m_lage == Modemlage::Verbunden)
        // A connection goes with the port, and no result of the modem ended it.
        ende(Modemlage::Leerlauf, Modemausgang::Portfehler, {}, egal);
    else
        m_lage = Modemlage::Leerlauf;
}

void Modemdialog::ohnePort(bool initialisierung)
{
    Modemaktion egal;
    const Modemlage lage = initialisierung ? Modemlage::Unbestaetigt : Modemlage::Leerlauf;
    beginne(initialisierung ? Auftrag::Initialisieren : Auftrag::Waehlen, egal);
    ende(lage, Modemausgang::Portfehler, {}, egal);
}

// ---- the steps of a dialogue

void Modemdialog::beginne(Auftrag auftrag, Modemaktion& aktion)
{
    if (m_phase == Phase::DtrAus)
        aktion.dtr = true;
    m_auftrag = auftrag;
    m_phase = Phase::Ruhe;
    m_plan.clear();
    m_befehl.clear();
    m_fluchtVersucht = false;
    m_lfSchlucken = false;
    m_endAusgang = Modemausgang::Erfolg;
    m_endMeldung.clear();
    m_zeile.leeren();
    m_ausgang = Modemausgang::Keiner;
    m_meldung.clear();
}

void Modemdialog::ende(Modemlage lage, Modemausgang ausgang, const QString& meldung,
                       Modemaktion& aktion)
{
    if (m_phase == Phase::DtrAus)
        aktion.dtr = true;
    m_auftrag = Auftrag::Keiner;
    m_phase = Phase::Ruhe;
    m_plan.clear();
    m_befehl.clear();
    m_zeile.leeren();
    m_datenEnde.clear();
    m_lage = lage;
    m_ausgang = ausgang;
    m_meldung = meldung;
}

void Modemdialog::sendeBefehl(Buszeit jetzt, Modemaktion& aktion)
{
    m_befehl = m_plan.takeFirst();
    aktion.senden += m_befehl;
    m_letzteSendung = jetzt;
    m_zeile.leeren();
    m_phase = Phase::Befehl;
    m_frist = jetzt + m_zeiten.befehlsfrist;
}

// The modem took the step: on to the next command line, or the dialogue is done.
void Modemdialog::weiter(Buszeit jetzt, Modemaktion& aktion)
{
    if (m_plan.isEmpty()) {
        const Modemlage lage = legtAuf() ? Modemlage::Leerlauf : Modemlage::Bereit;
        ende(lage, m_endAusgang, m_endMeldung.isEmpty() ? m_meldung : m_endMeldung, aktion);
        return;
    }
    if (m_zeiten.befehlspause.count() > 0) {
        m_phase = Phase::Pause;
        m_frist = jetzt + m_zeiten.befehlspause;
    } else {
        sendeBefehl(jetzt, aktion);
    }
}

void Modemdialog::beginneFlucht(Buszeit jetzt)
{
    // The silence counts from now at the earliest: bytes handed to the port just before may
    // still be on their way to the modem.
    m_phase = Phase::SchutzVor;
    m_frist = std::max(jetzt, m_letzteSendung.value_or(jetzt)) + m_zeiten.schutzzeit +
              m_zeiten.schutzreserve;
    m_zeile.leeren();
}

void Modemdialog::stoppeWahl(Modemausgang grund, Buszeit jetzt, Modemaktion& aktion)
{
    aktion.senden += kWahlStopp;
    m_letzteSendung = jetzt;
    m_endAusgang = grund;
    m_phase = Phase::WaehlAbbruch;
    m_frist = jetzt + m_zeiten.befehlsfrist;
}

void Modemdialog::dtrAbfall(Modemausgang grund, const QString& meldung, Buszeit jetzt,
                            Modemaktion& aktion)
{
    // Dropping DTR hangs up by itself: no ATH behind it.
    if (!m_plan.isEmpty() && IstAuflegen(m_plan.first()))
        m_plan.removeFirst();
    if (legtAuf()) {
        m_endAusgang = grund;
        m_endMeldung = meldung;
    }
    aktion.dtr = false;
    m_phase = Phase::DtrAus;
    m_frist = jetzt + m_zeiten.dtrAbfall;
}

void Modemdialog::befehlFehlgeschlagen(Modemausgang grund, const QString& meldung, Buszeit jetzt,
                                       Modemaktion& aktion)
{
    if (IstAuflegen(m_befehl)) {
        if (legtAuf())
            dtrAbfall(grund, meldung, jetzt, aktion);
        else
            weiter(jetzt, aktion); // on the way to initialising: the reset follows anyway
        return;
    }
    const bool ersterBefehl = !m_initBefehle.isEmpty() && m_befehl == m_initBefehle.first() &&
                              m_plan.size() == m_initBefehle.size() - 1;
    if (grund == Modemausgang::Zeitueberschreitung && ersterBefehl && !m_fluchtVersucht) {
        // Silent: perhaps still in data mode. Leave it, hang up, and start over.
        m_fluchtVersucht = true;
        m_plan = m_initBefehle;
        m_plan.prepend(kAuflegen);
        beginneFlucht(jetzt);
        return;
    }
    ende(Modemlage::Unbestaetigt, grund, meldung, aktion);
}

// ---- what comes from the modem, and passing time

Modemaktion Modemdialog::empfange(QByteArrayView stueck, Buszeit jetzt)
{
    Modemaktion aktion;
    for (const char zeichen : stueck) {
        if (imDatenmodus()) {
            datenzeichen(zeichen, jetzt, aktion);
            continue;
        }
        if (std::optional<QByteArray> zeile = m_zeile.nimm(zeichen))
            zeileAuswerten(*zeile, jetzt, aktion);
    }
    return aktion;
}

void Modemdialog::datenzeichen(char zeichen, Buszeit jetzt, Modemaktion& aktion)
{
    const bool lfSchlucken = m_lfSchlucken;
    m_lfSchlucken = false;
    if (lfSchlucken && zeichen == '\n')
        return;
    aktion.daten += zeichen;
    m_datenEnde += zeichen;
    if (m_datenEnde.size() > kKeinTraeger.size())
        m_datenEnde.remove(0, m_datenEnde.size() - kKeinTraeger.size());
    if (m_datenEnde != kKeinTraeger)
        return;
    // The remote side hung up: the modem is back in command mode. Its result is no data.
    if (aktion.daten.endsWith(kKeinTraeger))
        aktion.daten.chop(kKeinTraeger.size());
    while (aktion.daten.endsWith('\n') || aktion.daten.endsWith('\r'))
        aktion.daten.chop(1);
    m_datenEnde.clear();
    m_lage = Modemlage::Leerlauf;
    if (m_phase == Phase::Ruhe) {
        m_meldung = QString::fromLatin1(kKeinTraeger);
        return;
    }
    // Leaving data mode is no longer needed, nor the ATH behind it.
    if (!m_plan.isEmpty() && IstAuflegen(m_plan.first()))
        m_plan.removeFirst();
    m_meldung = QString::fromLatin1(kKeinTraeger);
    weiter(jetzt, aktion);
}

void Modemdialog::zeileAuswerten(const QByteArray& zeile, Buszeit jetzt, Modemaktion& aktion)
{
    const Modemmeldung meldung = MeldungDeuten(zeile);
    switch (m_phase) {
    case Phase::Befehl:
        if (meldung.art == Meldungsart::Ok ||
            (meldung.art == Meldungsart::NoCarrier && IstAuflegen(m_befehl))) {
            m_meldung = meldung.text;
            weiter(jetzt, aktion);
        } else if (meldung.art == Meldungsart::Error || BeendetWahl(meldung.art)) {
            befehlFehlgeschlagen(Modemausgang::Fehlermeldung, meldung.text, jetzt, aktion);
        }
        break;
    case Phase::Waehlt:
        if (meldung.art == Meldungsart::Connect) {
            m_verbindung = meldung.zusatz;
            m_lfSchlucken = true;
            m_datenEnde.clear();
            ende(Modemlage::Verbunden, Modemausgang::Erfolg, meldung.text, aktion);
        } else if (BeendetWahl(meldung.art)) {
            ende(Modemlage::Leerlauf, Modemausgang::Fehlermeldung, meldung.text, aktion);
        }
        break;
    case Phase::WaehlAbbruch:
        if (meldung.art == Meldungsart::Connect) {
            // Connected just before the stop arrived: hang up again.
            m_verbindung = meldung.zusatz;
            m_lfSchlucken = true;
            m_lage = Modemlage::Verbunden;
            m_auftrag = Auftrag::Auflegen;
            m_plan = {kAuflegen};
            beginneFlucht(jetzt);
        } else if (BeendetWahl(meldung.art) || meldung.art == Meldungsart::Ok) {
            ende(Modemlage::Leerlauf, m_endAusgang, meldung.text, aktion);
        }
        break;
    case Phase::Flucht:
        if (meldung.art == Meldungsart::Ok || meldung.art == Meldungsart::NoCarrier)
            weiter(jetzt, aktion);
        break;
    case Phase::Ruhe:
    case Phase::Pause:
    case Phase::SchutzVor:
    case Phase::DtrAus:
        break; // late or stray lines
    }
}

Modemaktion Modemdialog::zeitAbgelaufen(Buszeit jetzt)
{
    Modemaktion aktion;
    if (m_phase == Phase::Ruhe || jetzt < m_frist)
        return aktion;
    switch (m_phase) {
    case Phase::Pause:
        sendeBefehl(jetzt, aktion);
        break;
    case Phase::Befehl:
        befehlFehlgeschlagen(Modemausgang::Zeitueberschreitung, {}, jetzt, aktion);
        break;
    case Phase::Waehlt:
        stoppeWahl(Modemausgang::Zeitueberschreitung, jetzt, aktion);
        break;
    case Phase::WaehlAbbruch:
        // The modem did not confirm the stop; it has stopped dialling all the same.
        ende(Modemlage::Leerlauf, m_endAusgang, {}, aktion);
        break;
    case Phase::SchutzVor:
        aktion.senden += kFlucht;
        m_letzteSendung = jetzt;
        m_zeile.leeren();
        m_phase = Phase::Flucht;
        m_frist = jetzt + m_zeiten.schutzzeit + m_zeiten.schutzreserve + m_zeiten.befehlsfrist;
        break;
    case Phase::Flucht:
        dtrAbfall(Modemausgang::Zeitueberschreitung, {}, jetzt, aktion);
        break;
    case Phase::DtrAus:
        // On-hook now. Hanging up is done; an initialisation goes on with the reset.
        aktion.dtr = true;
        m_phase = Phase::Pause;
        if (m_lage == Modemlage::Verbunden)
            m_lage = Modemlage::Leerlauf;
        if (legtAuf())
            ende(Modemlage::Leerlauf, m_endAusgang, m_endMeldung, aktion);
        else
            weiter(jetzt, aktion);
        break;
    case Phase::Ruhe:
        break;
    }
    return aktion;
}

} // namespace mbus

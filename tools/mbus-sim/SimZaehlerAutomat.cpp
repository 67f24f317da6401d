#include "SimZaehlerAutomat.h"

#include "SimDatensatz.h"
#include "SimMBus.h"
#include "SimTelegrammBauer.h"

using namespace SimMBus;

namespace {

constexpr int SekundaerLaenge = 8;

quint8 byteAn(const QByteArray& b, int i)
{
    return static_cast<quint8>(b[i]);
}

// DIF 01, VIF 7A, new address: the only record a meter takes with CI 51.
bool istAdressSatz(const QByteArray& daten)
{
    return daten.size() == 3 && byteAn(daten, 0) == 0x01 && byteAn(daten, 1) == VifPrimaeradresse;
}

// A change frame that carries the secondary address of the meter to change in front of its data.
bool traegtSekundaeradresse(const SimRahmen& r)
{
    if (r.ci == CiDatenSenden)
        return istAdressSatz(r.daten.mid(SekundaerLaenge));
    return BaudAusCi(r.ci) != 0 && r.daten.size() == SekundaerLaenge;
}

bool istAenderung(const SimRahmen& r)
{
    return r.ci == CiDatenSenden || BaudAusCi(r.ci) != 0;
}

} // namespace

SimZaehlerAutomat::SimZaehlerAutomat(const SimZaehler& zaehler)
    : m_zaehler(zaehler),
      m_sekundaer(zaehler.id, SimSekundaeradresse::herstellerCode(zaehler.hersteller),
                  zaehler.version, zaehler.medium),
      m_adresse(zaehler.primaerAdresse), m_baud(zaehler.baud)
{
    if (m_zaehler.telegramme.isEmpty())
        m_zaehler.telegramme.append(SimTelegramm{});
}

SimZaehlerStand SimZaehlerAutomat::stand() const
{
    SimZaehlerStand s;
    s.primaerAdresse = m_adresse;
    s.baud = m_baud;
    s.ausgewaehlt = m_ausgewaehlt;
    s.telegramm = m_telegramm;
    s.gehoert = m_gehoert;
    s.quittungen = m_quittungen;
    s.telegramme = m_telegramme;
    return s;
}

SimAntwort SimZaehlerAutomat::verarbeiten(const SimRahmen& rahmen)
{
    if (m_zaehler.fehler.stumm || rahmen.baud != m_baud || !(rahmen.c & CMaster))
        return {};
    switch (rahmen.art) {
    case SimRahmen::Art::Kurz:
        return kurzVerarbeiten(rahmen);
    case SimRahmen::Art::Lang:
        return langVerarbeiten(rahmen);
    case SimRahmen::Art::Einzel:
        break;
    }
    return {};
}

bool SimZaehlerAutomat::angesprochen(int adresse) const
{
    return adresse == m_adresse || adresse == AdresseAlleMitAntwort ||
           adresse == AdresseAlleOhneAntwort || (adresse == AdresseAusgewaehlt && m_ausgewaehlt);
}

bool SimZaehlerAutomat::reagiert()
{
    ++m_gehoert;
    ++m_reaktionen;
    return m_reaktionen >= m_zaehler.fehler.antwortAb;
}

SimAntwort SimZaehlerAutomat::quittung(int adresse)
{
    if (m_zaehler.fehler.ohneQuittung || adresse == AdresseAlleOhneAntwort)
        return {};
    ++m_quittungen;
    return {QByteArray(1, char(Quittung)), false};
}

void SimZaehlerAutomat::linkZuruecksetzen()
{
    m_telegramm = 0;
    m_letztesFcb = -1;
    m_letzteAntwort.clear();
}

SimAntwort SimZaehlerAutomat::kurzVerarbeiten(const SimRahmen& r)
{
    if (!angesprochen(r.a))
        return {};
    switch (r.c & CFunktionsMaske) {
    case SndNke:
        if (m_zaehler.fehler.ohneNke || !reagiert())
            return {};
        linkZuruecksetzen();
        if (r.a == AdresseAusgewaehlt)
            m_ausgewaehlt = false;
        return quittung(r.a);
    case ReqUd2:
        if (r.a == AdresseAlleOhneAntwort || m_zaehler.fehler.ohneDaten || !reagiert())
            return {};
        return daten(r);
    case ReqUd1:
        // No class 1 data to give.
        if (!reagiert())
            return {};
        fcbMerken(r);
        return quittung(r.a);
    default:
        return {};
    }
}

SimAntwort SimZaehlerAutomat::daten(const SimRahmen& r)
{
    const bool fcv = r.c & CFcv;
    const int fcb = (r.c & CFcb) ? 1 : 0;
    const int anzahl = static_cast<int>(m_zaehler.telegramme.size());
    int index = 0;
    if (!m_letzteAntwort.isEmpty()) {
        if (fcv && fcb == m_letztesFcb) {
            ++m_telegramme;
            return {mitAktuellerAdresse(m_letzteAntwort), true};
        }
        index = (m_telegramm + 1) % anzahl;
    }
    m_letztesFcb = fcv ? fcb : -1;
    m_telegramm = index;
    m_letzteAntwort = telegrammBauen(index);
    ++m_telegramme;
    return {m_letzteAntwort, true};
}

// A repeated telegram names the address the meter has now, also when it was given a new one
// since (a raw telegram stays as written).
QByteArray SimZaehlerAutomat::mitAktuellerAdresse(QByteArray bytes) const
{
    constexpr int kAdresse = 5;
    if (!m_zaehler.telegramme[m_telegramm].roh.isEmpty() || bytes.size() < kAdresse + 3 ||
        byteAn(bytes, kAdresse) == m_adresse)
        return bytes;
    const int alt = byteAn(bytes, kAdresse);
    const int summe = static_cast<int>(bytes.size()) - 2;
    bytes[kAdresse] = char(m_adresse);
    bytes[summe] = char(byteAn(bytes, summe) - alt + m_adresse);
    return bytes;
}

void SimZaehlerAutomat::fcbMerken(const SimRahmen& r)
{
    if (r.c & CFcv)
        m_letztesFcb = (r.c & CFcb) ? 1 : 0;
}

QByteArray SimZaehlerAutomat::telegrammBauen(int index)
{
    const SimTelegramm& t = m_zaehler.telegramme[index];
    QByteArray bytes;
    if (!t.roh.isEmpty()) {
        bytes = t.roh;
    } else {
        QList<QByteArray> saetze = t.saetze;
        if (m_zaehler.fehler.zaehlt) {
            for (QByteArray& satz : saetze) {
                if (satz.isEmpty())
                    continue;
                const auto k = SimDatensatz::kodierung(byteAn(satz, 0));
                if (k == SimDatensatz::Kodierung::Binaer || k == SimDatensatz::Kodierung::Bcd) {
                    satz = SimDatensatz::erhoeht(satz, m_neueAntworten);
                    break;
                }
            }
        }
        const bool mehrFolgt = index + 1 < m_zaehler.telegramme.size();
        bytes = SimTelegrammBauer::rspUd(m_zaehler, m_adresse, m_zugriff, saetze, mehrFolgt);
        ++m_zugriff;
    }
    ++m_neueAntworten;
    if (m_zaehler.fehler.falschePruefsumme && bytes.size() >= 2)
        bytes[bytes.size() - 2] = char(byteAn(bytes, bytes.size() - 2) + 1);
    return bytes;
}

SimAntwort SimZaehlerAutomat::langVerarbeiten(const SimRahmen& r)
{
    if ((r.c & CFunktionsMaske) != SndUd)
        return {};
    if (r.ci == CiAuswahl)
        return auswahl(r);
    if (r.a == AdresseAusgewaehlt && traegtSekundaeradresse(r)) {
        if (!m_sekundaer.passt(r.daten.left(SekundaerLaenge)) || !reagiert())
            return {};
        if (wiederholt(r))
            return quittung(r.a);
        if (!aendern(r.ci, r.daten.mid(SekundaerLaenge)))
            return {};
        fcbMerken(r);
        return quittung(r.a);
    }
    if (!angesprochen(r.a))
        return {};
    if (r.a == AdresseAusgewaehlt && m_zaehler.fehler.aendernNurMitId && istAenderung(r))
        return {};
    if (!reagiert())
        return {};
    if (wiederholt(r))
        return quittung(r.a);
    if (!aendern(r.ci, r.daten))
        return {};
    fcbMerken(r);
    return quittung(r.a);
}

bool SimZaehlerAutomat::wiederholt(const SimRahmen& r) const
{
    return m_zaehler.fehler.fcbStreng && (r.c & CFcv) && ((r.c & CFcb) ? 1 : 0) == m_letztesFcb;
}

SimAntwort SimZaehlerAutomat::auswahl(const SimRahmen& r)
{
    if (r.a != AdresseAusgewaehlt || r.daten.size() < SekundaerLaenge)
        return {};
    if (!m_sekundaer.passt(r.daten.left(SekundaerLaenge))) {
        m_ausgewaehlt = false;
        return {};
    }
    if (!reagiert())
        return {};
    m_ausgewaehlt = true;
    fcbMerken(r);
    if (m_zaehler.fehler.auswahlOhneQuittung)
        return {};
    return quittung(r.a);
}

bool SimZaehlerAutomat::aendern(quint8 ci, const QByteArray& daten)
{
    if (ci == CiDatenSenden && istAdressSatz(daten)) {
        const int neu = byteAn(daten, 2);
        if (neu > HoechsteAdresse)
            return false;
        m_adresse = neu;
        return true;
    }
    if (const int baud = BaudAusCi(ci)) {
        if (!daten.isEmpty())
            return false;
        m_baud = baud;
        return true;
    }
    if (ci == CiAnwendungsReset)
        linkZuruecksetzen();
    return true;
}

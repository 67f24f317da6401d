#include "SimModemLogik.h"

#include <algorithm>

namespace {

constexpr qint64 NsJeMs = 1'000'000;
constexpr int MaxZeile = 255;
constexpr char Cr = '\r';
constexpr char Lf = '\n';

QByteArray meldung(const QByteArray& text)
{
    return "\r\n" + text + "\r\n";
}

bool istZiffer(char c)
{
    return c >= '0' && c <= '9';
}

char gross(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Letters that take an optional number and are accepted as they are.
bool istEinfacherBefehl(char c)
{
    return QByteArray("BCLMNPQTVWXY").contains(c);
}

// The dialable characters of a dial string.
QString nummerAus(const QByteArray& waehlText)
{
    QString nummer;
    for (char c : waehlText)
        if (istZiffer(c) || c == '*' || c == '#')
            nummer += QLatin1Char(c);
    return nummer;
}

} // namespace

SimModemLogik::SimModemLogik(const SimModem& modem) : m_modem(modem), m_echo(modem.echo) {}

bool SimModemLogik::verbunden() const
{
    return m_zustand == Zustand::Daten || m_zustand == Zustand::BefehleVerbunden;
}

SimModemAusgabe SimModemLogik::empfangen(const QByteArray& bytes, qint64 jetztNs)
{
    SimModemAusgabe aus;
    for (char c : bytes) {
        switch (m_zustand) {
        case Zustand::Befehle:
        case Zustand::BefehleVerbunden:
            zeichenImBefehlsModus(c, jetztNs, aus.anProgramm);
            break;
        case Zustand::Waehlt:
            if (c != Lf) {
                m_zustand = Zustand::Befehle;
                m_waehlEndeNs = -1;
                aus.anProgramm += meldung("NO CARRIER");
            }
            break;
        case Zustand::Daten:
            aus.anBus += c;
            zeichenImDatenModus(c, jetztNs);
            break;
        }
    }
    return aus;
}

void SimModemLogik::zeichenImBefehlsModus(char c, qint64 jetztNs, QByteArray& anProgramm)
{
    if (m_echo)
        anProgramm += c;
    if (c == Cr) {
        const QByteArray zeile = m_zeile;
        m_zeile.clear();
        befehlsZeile(zeile, jetztNs, anProgramm);
    } else if (c == '\b' || c == '\x7f') {
        m_zeile.chop(1);
    } else if (c != Lf && m_zeile.size() < MaxZeile) {
        m_zeile += c;
    }
}

void SimModemLogik::zeichenImDatenModus(char c, qint64 jetztNs)
{
    const qint64 schutzNs = m_modem.schutzzeitMs * NsJeMs;
    if (c == '+') {
        if (m_plus > 0 && m_plus < 3 && jetztNs - m_letztesPlusNs < schutzNs)
            ++m_plus;
        else if (jetztNs - m_letzteDatenNs >= schutzNs)
            m_plus = 1;
        else
            m_plus = 0;
        m_letztesPlusNs = jetztNs;
    } else {
        m_plus = 0;
    }
    m_fluchtNs = m_plus == 3 ? jetztNs + schutzNs : -1;
    m_letzteDatenNs = jetztNs;
}

void SimModemLogik::befehlsZeile(const QByteArray& zeile, qint64 jetztNs, QByteArray& anProgramm)
{
    const int at = static_cast<int>(zeile.toUpper().indexOf("AT"));
    if (at < 0)
        return;
    const QByteArray befehl = zeile.mid(at + 2);
    QByteArray text;
    int i = 0;
    const auto zahl = [&]() {
        int n = 0;
        while (i < befehl.size() && istZiffer(befehl[i]))
            n = n * 10 + (befehl[i++] - '0');
        return n;
    };
    while (i < befehl.size()) {
        const char c = gross(befehl[i++]);
        if (c == ' ') {
            continue;
        } else if (c == 'D') {
            if (verbunden()) {
                anProgramm += meldung("ERROR");
            } else {
                waehlen(befehl.mid(i), jetztNs);
            }
            return;
        } else if (c == 'O') {
            zahl();
            if (m_zustand == Zustand::BefehleVerbunden) {
                m_zustand = Zustand::Daten;
                m_plus = 0;
                m_letzteDatenNs = jetztNs;
                anProgramm += meldung(verbindungsMeldung());
            } else {
                anProgramm += meldung("NO CARRIER");
            }
            return;
        } else if (c == 'A') {
            anProgramm += meldung("NO CARRIER");
            return;
        } else if (c == 'E') {
            m_echo = zahl() != 0;
        } else if (c == 'H') {
            zahl();
            trennen();
        } else if (c == 'Z') {
            zahl();
            trennen();
            m_echo = m_modem.echo;
        } else if (c == 'I') {
            zahl();
            text += "\r\nTELVARIN MBUS-SIM\r\n";
        } else if (c == '&' && i < befehl.size()) {
            if (gross(befehl[i++]) == 'F')
                m_echo = m_modem.echo;
            zahl();
        } else if (c == 'S') {
            zahl();
            if (i < befehl.size() && befehl[i] == '=') {
                ++i;
                zahl();
            } else if (i < befehl.size() && befehl[i] == '?') {
                ++i;
                text += "\r\n000\r\n";
            }
        } else if (c == '\\' || c == '%') {
            if (i < befehl.size())
                ++i;
            zahl();
        } else if (c == '+' || c == '#') {
            i = static_cast<int>(befehl.size()); // extended command: taken as a whole
        } else if (istEinfacherBefehl(c)) {
            zahl();
        } else {
            anProgramm += meldung("ERROR");
            return;
        }
    }
    anProgramm += text + meldung("OK");
}

void SimModemLogik::waehlen(const QByteArray& waehlText, qint64 jetztNs)
{
    m_gewaehlt = nummerAus(waehlText);
    SimWahl wahl;
    wahl.nummer = m_gewaehlt;
    wahl.ergebnis = m_gewaehlt.isEmpty() ? "NO CARRIER" : "CONNECT";
    bool gefunden = false;
    for (const SimWahl& w : m_modem.nummern) {
        if (nummerAus(w.nummer.toLatin1()) == m_gewaehlt && !m_gewaehlt.isEmpty()) {
            wahl = w;
            gefunden = true;
            break;
        }
    }
    if (!gefunden && !m_gewaehlt.isEmpty()) {
        for (const SimWahl& w : m_modem.nummern)
            if (w.nummer == "*")
                wahl = w;
    }
    m_wahl = wahl;
    const int verzoegerung = wahl.verzoegerungMs >= 0 ? wahl.verzoegerungMs : m_modem.waehlzeitMs;
    m_waehlEndeNs = jetztNs + verzoegerung * NsJeMs;
    m_zustand = Zustand::Waehlt;
}

QByteArray SimModemLogik::verbindungsMeldung() const
{
    const int baud = m_wahl.verbindungsBaud > 0 ? m_wahl.verbindungsBaud : m_modem.verbindungsBaud;
    return "CONNECT " + QByteArray::number(baud);
}

void SimModemLogik::verbinden(qint64 jetztNs, QByteArray& anProgramm)
{
    m_zustand = Zustand::Daten;
    m_plus = 0;
    m_fluchtNs = -1;
    m_letzteDatenNs = jetztNs;
    m_auflegenNs = m_modem.auflegenNachMs > 0 ? jetztNs + m_modem.auflegenNachMs * NsJeMs : -1;
    anProgramm += meldung(verbindungsMeldung());
}

void SimModemLogik::trennen()
{
    m_zustand = Zustand::Befehle;
    m_auflegenNs = -1;
    m_fluchtNs = -1;
    m_waehlEndeNs = -1;
    m_plus = 0;
}

SimModemAusgabe SimModemLogik::zeitVergangen(qint64 jetztNs)
{
    SimModemAusgabe aus;
    if (m_zustand == Zustand::Waehlt && jetztNs >= m_waehlEndeNs) {
        m_waehlEndeNs = -1;
        if (m_wahl.ergebnis == "CONNECT") {
            verbinden(jetztNs, aus.anProgramm);
        } else {
            m_zustand = Zustand::Befehle;
            aus.anProgramm += meldung(m_wahl.ergebnis.toLatin1());
        }
    }
    if (m_zustand == Zustand::Daten && m_fluchtNs >= 0 && jetztNs >= m_fluchtNs) {
        m_fluchtNs = -1;
        m_plus = 0;
        m_zustand = Zustand::BefehleVerbunden;
        aus.anProgramm += meldung("OK");
    }
    if (verbunden() && m_auflegenNs >= 0 && jetztNs >= m_auflegenNs) {
        trennen();
        aus.anProgramm += meldung("NO CARRIER");
    }
    return aus;
}

qint64 SimModemLogik::naechsterTermin() const
{
    qint64 t = -1;
    for (qint64 kandidat :
         {m_zustand == Zustand::Waehlt ? m_waehlEndeNs : -1,
          m_zustand == Zustand::Daten ? m_fluchtNs : -1, verbunden() ? m_auflegenNs : -1})
        if (kandidat >= 0 && (t < 0 || kandidat < t))
            t = kandidat;
    return t;
}

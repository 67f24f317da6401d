#include "SimBusLogik.h"

#include "SimLeitung.h"
#include "SimMBus.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 NsJeMs = 1'000'000;

qint64 bitsIn(qint64 ns, int baud)
{
    return ns * baud / 1'000'000'000LL;
}

} // namespace

SimBusLogik::SimBusLogik(const SimBus& bus) : m_bus(bus), m_zufall(bus.zufallsKeim)
{
    for (const SimZaehler& z : bus.zaehler)
        m_zaehler.append(SimZaehlerAutomat(z));
    m_bus.zaehler.clear();
}

const SimZaehler& SimBusLogik::zaehlerBeschreibung(int index) const
{
    return m_zaehler[index].beschreibung();
}

void SimBusLogik::fehlerSetzen(int index, const SimFehler& fehler)
{
    m_zaehler[index].fehlerSetzen(fehler);
}

SimBusStatistik SimBusLogik::statistik() const
{
    SimBusStatistik s = m_statistik;
    s.verworfeneBytes = m_leser.verworfen();
    return s;
}

QList<SimAusgabe> SimBusLogik::empfangen(const QByteArray& bytes, int baud, qint64 jetztNs)
{
    QList<SimAusgabe> aus;
    for (char c : bytes) {
        const quint8 b = static_cast<quint8>(c);
        // A request takes its time on the line also without pacing: no meter can answer it
        // before its last character has arrived.
        const qint64 endeNs = std::max(jetztNs, m_leitungFreiNs) + SimMBus::ZeichenNs(baud);
        m_leitungFreiNs = endeNs;
        if (m_bus.echo)
            aus.append({m_bus.takt ? endeNs : jetztNs, b});
        m_leser.anfuegen(b, baud, endeNs);
    }
    while (const auto rahmen = m_leser.naechster()) {
        ++m_statistik.rahmen;
        m_rahmen.append({rahmen->roh, rahmen->baud, rahmen->endeNs});
        aus.append(antworten(*rahmen));
    }
    return aus;
}

QList<SimAusgabe> SimBusLogik::antworten(const SimRahmen& rahmen)
{
    QList<QList<SimZeichen>> sender;
    for (SimZaehlerAutomat& zaehler : m_zaehler) {
        const SimAntwort antwort = zaehler.verarbeiten(rahmen);
        if (antwort.bytes.isEmpty())
            continue;
        if (antwort.telegramm)
            ++m_statistik.telegramme;
        else
            m_statistik.quittungen += static_cast<int>(antwort.bytes.size());
        sender.append(zeichenfolge(antwort, zaehler.fehler(), rahmen.baud));
    }
    if (sender.isEmpty())
        return {};

    QList<SimZeichen> zeichen;
    if (sender.size() == 1) {
        zeichen = sender.first();
    } else {
        ++m_statistik.kollisionen;
        for (int i = 1; i < sender.size(); ++i)
            for (SimZeichen& z : sender[i])
                z.startBit += i * m_bus.kollisionsVersatzBits;
        zeichen = SimLeitung::ueberlagern(sender);
    }

    QList<SimAusgabe> aus;
    for (const SimZeichen& z : zeichen)
        aus.append({rahmen.endeNs + zeichenEndeNs(z, rahmen.baud), z.wert});
    return aus;
}

qint64 SimBusLogik::zeichenEndeNs(const SimZeichen& z, int baud) const
{
    if (!m_bus.takt)
        return z.zusatzNs;
    return (z.startBit + SimMBus::BitsJeZeichen) * 1'000'000'000LL / baud + z.restNs;
}

QList<SimZeichen> SimBusLogik::zeichenfolge(const SimAntwort& antwort, const SimFehler& fehler,
                                            int baud)
{
    qint64 bit = 0;
    qint64 zusatzNs = 0;
    qint64 restNs = 0;
    // A pause: whole bit times on the line, the rest kept to the nanosecond.
    const auto pause = [&](qint64 ns) {
        const qint64 bits = bitsIn(ns, baud);
        bit += bits;
        zusatzNs += ns;
        restNs += ns - bits * 1'000'000'000LL / baud;
    };
    // The delay runs from the end of the request to the start of the answer's first character.
    if (fehler.spaetMs >= 0) {
        pause(std::llround(fehler.spaetMs * NsJeMs));
    } else {
        bit += m_bus.antwortBits;
        pause(m_bus.antwortMs * NsJeMs);
        // Without pacing the answer still keeps the answer delay behind the request.
        zusatzNs += m_bus.antwortBits * 1'000'000'000LL / baud;
    }

    QList<SimZeichen> zeichen;
    zufallsBytes(fehler.rauschenVor, zeichen, bit, zusatzNs, restNs);
    const int teilung =
        antwort.telegramm && fehler.teilungMs > 0 ? static_cast<int>(antwort.bytes.size() / 2) : -1;
    for (int i = 0; i < antwort.bytes.size(); ++i) {
        if (i == teilung)
            pause(fehler.teilungMs * NsJeMs);
        zeichen.append({static_cast<quint8>(antwort.bytes[i]), bit, zusatzNs, restNs});
        bit += SimMBus::BitsJeZeichen;
    }
    zufallsBytes(fehler.rauschenNach, zeichen, bit, zusatzNs, restNs);
    return zeichen;
}

void SimBusLogik::zufallsBytes(int anzahl, QList<SimZeichen>& zeichen, qint64& bit, qint64 zusatzNs,
                               qint64 restNs)
{
    for (int i = 0; i < anzahl; ++i) {
        zeichen.append({static_cast<quint8>(m_zufall() & 0xFF), bit, zusatzNs, restNs});
        bit += SimMBus::BitsJeZeichen;
        ++m_statistik.rauschBytes;
    }
}

QList<SimAusgabe> SimBusLogik::zeitVergangen(qint64 jetztNs, int baud)
{
    if (m_bus.rauschenAlleMs <= 0)
        return {};
    QList<SimAusgabe> aus;
    if (m_naechstesRauschenNs >= 0 && jetztNs >= m_naechstesRauschenNs) {
        const qint64 dauer = m_bus.takt ? SimMBus::ZeichenNs(baud) : 0;
        aus.append({jetztNs + dauer, static_cast<quint8>(m_zufall() & 0xFF)});
        ++m_statistik.rauschBytes;
    }
    if (m_naechstesRauschenNs < 0 || jetztNs >= m_naechstesRauschenNs) {
        std::uniform_int_distribution<qint64> abstand(1, 2LL * m_bus.rauschenAlleMs);
        m_naechstesRauschenNs = jetztNs + abstand(m_zufall) * NsJeMs;
    }
    return aus;
}

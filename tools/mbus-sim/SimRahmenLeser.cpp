#include "SimRahmenLeser.h"

#include "SimMBus.h"

namespace {
// Longest frame: 68 L L 68, 255 bytes C to data, CS, 16.
constexpr int LaengsterRahmen = 4 + 255 + 2;
} // namespace

void SimRahmenLeser::anfuegen(quint8 byte, int baud, qint64 endeNs)
{
    m_puffer.append({byte, baud, endeNs});
}

void SimRahmenLeser::leeren()
{
    m_puffer.clear();
}

SimRahmenLeser::Pruefung SimRahmenLeser::pruefen(int ab, int* laenge) const
{
    const int vorhanden = m_puffer.size() - ab;
    switch (an(ab)) {
    case SimMBus::Quittung:
        *laenge = 1;
        return Pruefung::Rahmen;
    case SimMBus::StartKurz: {
        if (vorhanden < 5)
            return Pruefung::Unvollstaendig;
        const quint8 summe = static_cast<quint8>(an(ab + 1) + an(ab + 2));
        if (an(ab + 3) != summe || an(ab + 4) != SimMBus::Stopp)
            return Pruefung::Falsch;
        *laenge = 5;
        return Pruefung::Rahmen;
    }
    case SimMBus::StartLang: {
        if (vorhanden >= 2 && an(ab + 1) < 3)
            return Pruefung::Falsch;
        if (vorhanden >= 3 && an(ab + 2) != an(ab + 1))
            return Pruefung::Falsch;
        if (vorhanden >= 4 && an(ab + 3) != SimMBus::StartLang)
            return Pruefung::Falsch;
        if (vorhanden < 4)
            return Pruefung::Unvollstaendig;
        const int l = an(ab + 1);
        if (vorhanden < l + 6)
            return Pruefung::Unvollstaendig;
        quint8 summe = 0;
        for (int i = 0; i < l; ++i)
            summe = static_cast<quint8>(summe + an(ab + 4 + i));
        if (an(ab + 4 + l) != summe || an(ab + 5 + l) != SimMBus::Stopp)
            return Pruefung::Falsch;
        *laenge = l + 6;
        return Pruefung::Rahmen;
    }
    default:
        return Pruefung::Falsch;
    }
}

SimRahmen SimRahmenLeser::nehmen(int ab, int laenge)
{
    m_verworfen += ab;
    SimRahmen r;
    r.baud = m_puffer[ab].baud;
    for (int i = ab; i < ab + laenge; ++i) {
        r.roh.append(char(an(i)));
        if (m_puffer[i].baud != r.baud)
            r.baud = 0;
    }
    r.endeNs = m_puffer[ab + laenge - 1].endeNs;
    m_puffer.remove(0, ab + laenge);

    const auto byte = [&r](int i) { return static_cast<quint8>(r.roh[i]); };
    if (laenge == 1) {
        r.art = SimRahmen::Art::Einzel;
    } else if (byte(0) == SimMBus::StartKurz) {
        r.art = SimRahmen::Art::Kurz;
        r.c = byte(1);
        r.a = byte(2);
    } else {
        r.art = SimRahmen::Art::Lang;
        r.c = byte(4);
        r.a = byte(5);
        r.ci = byte(6);
        r.daten = r.roh.mid(7, laenge - 9);
    }
    return r;
}

std::optional<SimRahmen> SimRahmenLeser::naechster()
{
    while (!m_puffer.isEmpty()) {
        int laenge = 0;
        const Pruefung kopf = pruefen(0, &laenge);
        if (kopf == Pruefung::Rahmen)
            return nehmen(0, laenge);
        if (kopf == Pruefung::Unvollstaendig && m_puffer.size() < LaengsterRahmen) {
            // A byte that looked like a start character may be garbage that announces a frame
            // longer than what follows: a sound frame further on wins over the unfinished one.
            for (int ab = 1; ab < m_puffer.size(); ++ab) {
                const quint8 b = an(ab);
                if (b != SimMBus::StartKurz && b != SimMBus::StartLang)
                    continue;
                if (pruefen(ab, &laenge) == Pruefung::Rahmen)
                    return nehmen(ab, laenge);
            }
            return std::nullopt;
        }
        m_puffer.removeFirst();
        ++m_verworfen;
    }
    return std::nullopt;
}

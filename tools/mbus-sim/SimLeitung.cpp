#include "SimLeitung.h"

#include "SimMBus.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace {

constexpr int DatenBits = 8;
constexpr int ParitaetsBit = 9;
constexpr int StoppBit = 10;

// Level of bit i (0 to 10) of a character.
bool pegel(quint8 wert, int i)
{
    if (i == 0)
        return false;
    if (i <= DatenBits)
        return (wert >> (i - 1)) & 1;
    if (i == ParitaetsBit)
        return std::popcount(static_cast<unsigned>(wert)) % 2 != 0;
    return true;
}

} // namespace

QList<SimZeichen> SimLeitung::ueberlagern(const QList<QList<SimZeichen>>& sender)
{
    qint64 laenge = 0;
    qint64 zusatz = -1;
    qint64 rest = -1;
    for (const QList<SimZeichen>& zeichen : sender) {
        for (const SimZeichen& z : zeichen)
            laenge = std::max(laenge, z.startBit + SimMBus::BitsJeZeichen);
        if (!zeichen.isEmpty() && (zusatz < 0 || zeichen.first().zusatzNs < zusatz))
            zusatz = zeichen.first().zusatzNs;
        if (!zeichen.isEmpty() && (rest < 0 || zeichen.first().restNs < rest))
            rest = zeichen.first().restNs;
    }
    std::vector<bool> leitung(static_cast<size_t>(laenge + SimMBus::BitsJeZeichen), true);
    for (const QList<SimZeichen>& zeichen : sender)
        for (const SimZeichen& z : zeichen)
            for (int i = 0; i < SimMBus::BitsJeZeichen; ++i)
                if (!pegel(z.wert, i))
                    leitung[static_cast<size_t>(z.startBit + i)] = false;

    QList<SimZeichen> gelesen;
    const qint64 ende = laenge;
    qint64 p = 0;
    bool vorher = true;
    while (p < ende) {
        const bool jetzt = leitung[static_cast<size_t>(p)];
        if (vorher && !jetzt) {
            quint8 wert = 0;
            for (int i = 0; i < DatenBits; ++i)
                if (leitung[static_cast<size_t>(p + 1 + i)])
                    wert = static_cast<quint8>(wert | 1 << i);
            gelesen.append({wert, p, std::max<qint64>(zusatz, 0), std::max<qint64>(rest, 0)});
            vorher = leitung[static_cast<size_t>(p + StoppBit)];
            p += StoppBit + 1;
            continue;
        }
        vorher = jetzt;
        ++p;
    }
    return gelesen;
}

#include "SimDatensatz.h"

#include <array>

namespace {

constexpr quint8 Erweiterung = 0x80;
constexpr quint8 VifKlartext = 0x7C;
constexpr int MaxErweiterungen = 10;

struct DifArt
{
    int bytes; // -1: variable or special
    SimDatensatz::Kodierung kodierung;
};
using K = SimDatensatz::Kodierung;
// Data field (low nibble of the DIF): bytes and coding.
constexpr std::array<DifArt, 16> DifArten{{{0, K::Keine},
                                           {1, K::Binaer},
                                           {2, K::Binaer},
                                           {3, K::Binaer},
                                           {4, K::Binaer},
                                           {4, K::Andere}, // 32-bit real
                                           {6, K::Binaer},
                                           {8, K::Binaer},
                                           {0, K::Keine}, // selection for readout
                                           {1, K::Bcd},
                                           {2, K::Bcd},
                                           {3, K::Bcd},
                                           {4, K::Bcd},
                                           {-1, K::Andere}, // variable length
                                           {6, K::Bcd},
                                           {-1, K::Andere}}}; // special functions

quint8 byteAn(const QByteArray& b, int i)
{
    return static_cast<quint8>(b[i]);
}

// Index behind a chain of extension bytes that starts at i (the first byte included).
int kette(const QByteArray& satz, int i)
{
    int n = 0;
    while (i < satz.size()) {
        const bool weiter = byteAn(satz, i) & Erweiterung;
        ++i;
        if (!weiter)
            return i;
        if (++n > MaxErweiterungen)
            return -1;
    }
    return -1;
}

} // namespace

SimDatensatz::Kodierung SimDatensatz::kodierung(quint8 dif)
{
    return DifArten[dif & 0x0F].kodierung;
}

int SimDatensatz::kopfLaenge(const QByteArray& satz)
{
    if (satz.isEmpty())
        return -1;
    if ((byteAn(satz, 0) & 0x0F) == 0x0F)
        return 1;
    const int vif = kette(satz, 0);
    if (vif < 0 || vif >= satz.size())
        return -1;
    int ende = kette(satz, vif);
    if (ende < 0)
        return -1;
    if ((byteAn(satz, vif) & 0x7F) == VifKlartext) {
        if (ende >= satz.size())
            return -1;
        ende += 1 + byteAn(satz, ende);
        if (ende > satz.size())
            return -1;
    }
    return ende;
}

int SimDatensatz::datenLaenge(const QByteArray& satz, int kopf)
{
    const quint8 dif = byteAn(satz, 0);
    const int feld = dif & 0x0F;
    if (feld != 0x0D)
        return DifArten[feld].bytes;
    if (kopf >= satz.size())
        return -1;
    const quint8 lvar = byteAn(satz, kopf);
    if (lvar < 0xC0)
        return 1 + lvar;
    if ((lvar >= 0xC0 && lvar <= 0xC9) || (lvar >= 0xD0 && lvar <= 0xD9))
        return 1 + (lvar & 0x0F);
    if (lvar >= 0xE0 && lvar <= 0xEF)
        return 1 + (lvar - 0xE0);
    return -1;
}

QByteArray SimDatensatz::erhoeht(const QByteArray& satz, int um)
{
    const int kopf = kopfLaenge(satz);
    if (kopf < 0)
        return satz;
    const int n = datenLaenge(satz, kopf);
    if (n <= 0 || kopf + n > satz.size())
        return satz;
    QByteArray r = satz;
    switch (kodierung(byteAn(satz, 0))) {
    case Kodierung::Binaer: {
        quint64 uebertrag = static_cast<quint64>(um);
        for (int i = kopf; i < kopf + n && uebertrag; ++i) {
            const quint64 summe = byteAn(r, i) + uebertrag;
            r[i] = char(summe & 0xFF);
            uebertrag = summe >> 8;
        }
        break;
    }
    case Kodierung::Bcd: {
        quint64 uebertrag = static_cast<quint64>(um);
        for (int i = kopf; i < kopf + n && uebertrag; ++i) {
            const quint8 b = byteAn(r, i);
            quint64 wert = (b >> 4 & 0x0F) * 10 + (b & 0x0F) + uebertrag;
            uebertrag = wert / 100;
            wert %= 100;
            r[i] = char((wert / 10) << 4 | wert % 10);
        }
        break;
    }
    default:
        break;
    }
    return r;
}

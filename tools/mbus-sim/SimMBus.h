#pragma once
// Link-layer constants of EN 13757-2 and the application-layer codes the simulated meters know.

#include <QtGlobal>

#include <array>

namespace SimMBus {

// Frame characters.
constexpr quint8 Quittung = 0xE5;
constexpr quint8 StartKurz = 0x10;
constexpr quint8 StartLang = 0x68;
constexpr quint8 Stopp = 0x16;

// Primary addresses with a meaning of their own.
constexpr int HoechsteAdresse = 250;
constexpr int AdresseAusgewaehlt = 253; // network layer: the meter selected by secondary address
constexpr int AdresseAlleMitAntwort = 254;
constexpr int AdresseAlleOhneAntwort = 255;

// C field: master-to-meter bit, frame count bit and frame count valid bit, then the functions
// (compared after masking FCB and FCV off).
constexpr quint8 CMaster = 0x40;
constexpr quint8 CFcb = 0x20;
constexpr quint8 CFcv = 0x10;
constexpr quint8 CFunktionsMaske = 0xCF;
constexpr quint8 SndNke = 0x40;
constexpr quint8 SndUd = 0x43;
constexpr quint8 ReqUd1 = 0x4A;
constexpr quint8 ReqUd2 = 0x4B;
constexpr quint8 RspUd = 0x08;

// CI fields.
constexpr quint8 CiAnwendungsReset = 0x50;
constexpr quint8 CiDatenSenden = 0x51;
constexpr quint8 CiAuswahl = 0x52;
constexpr quint8 CiAntwortLang = 0x72;

// Data records used by the meters themselves.
constexpr quint8 DifMehrDaten = 0x1F; // "more records follow in the next telegram"
constexpr quint8 DifHerstellerDaten = 0x0F;
constexpr quint8 DifFueller = 0x2F;
constexpr quint8 VifPrimaeradresse = 0x7A;

// Baud-rate switch: one CI per rate.
struct BaudCi
{
    quint8 ci;
    int baud;
};
constexpr std::array<BaudCi, 8> BaudCis{{{0xB8, 300},
                                         {0xB9, 600},
                                         {0xBA, 1200},
                                         {0xBB, 2400},
                                         {0xBC, 4800},
                                         {0xBD, 9600},
                                         {0xBE, 19200},
                                         {0xBF, 38400}}};

// The rate a baud-switch CI stands for, 0 for any other CI.
constexpr int BaudAusCi(quint8 ci)
{
    for (const BaudCi& b : BaudCis)
        if (b.ci == ci)
            return b.baud;
    return 0;
}

// True for the rates a meter can have.
constexpr bool IstMeterBaud(int baud)
{
    for (const BaudCi& b : BaudCis)
        if (b.baud == baud)
            return true;
    return false;
}

// Duration of one bit and of one character (start, 8 data, parity, stop) in nanoseconds.
constexpr int BitsJeZeichen = 11;
constexpr qint64 BitNs(int baud)
{
    return baud > 0 ? 1'000'000'000LL / baud : 0;
}
constexpr qint64 ZeichenNs(int baud)
{
    return baud > 0 ? BitsJeZeichen * 1'000'000'000LL / baud : 0;
}

} // namespace SimMBus

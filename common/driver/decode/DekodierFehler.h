#pragma once
// Why a received frame could not be decoded. Each fault is a value that describes the bytes
// (where, what was found, what was expected), never an exception: the bytes come from a meter.
// Positions count the bytes of the whole frame from 0 (the first start character).

#include "Groessen.h"

#include <QString>

#include <cstdint>
#include <variant>

namespace mbus {

// Link layer (EN 13757-2)
struct Unvollstaendig
{
    int erwartet = 0;
    int vorhanden = 0;
};
struct UngueltigesStartzeichen
{
    std::uint8_t byte = 0;
    int position = 0;
};
struct LaengenUngleich
{
    std::uint8_t erste = 0;
    std::uint8_t zweite = 0;
};
struct UngueltigeLaenge
{
    std::uint8_t laenge = 0;
};
struct UeberzaehligeBytes
{
    int erwartet = 0;
    int vorhanden = 0;
};
struct Pruefsumme
{
    std::uint8_t berechnet = 0;
    std::uint8_t gefunden = 0;
};
struct UngueltigesStoppzeichen
{
    std::uint8_t byte = 0;
};
// Application layer (EN 13757-3)
struct KeineZaehlerantwort
{
    std::uint8_t steuerfeld = 0;
};
struct UnbekanntesCi
{
    std::uint8_t ci = 0;
};
struct KopfZuKurz
{
    std::uint8_t ci = 0;
    int erwartet = 0;
    int vorhanden = 0;
};
enum class Blockteil : std::uint8_t { Dife, Vif, Klartext, Vife, Lvar, Daten };
struct DatensatzEndetVorzeitig
{
    int position = 0; // of the record's DIF
    Blockteil teil = Blockteil::Daten;
    int erwartet = 1;  // bytes the part needs
    int vorhanden = 0; // bytes left in the frame
};
struct ZuVieleDifes
{
    int position = 0;
};
struct ZuVieleVifes
{
    int position = 0;
};
struct ReserviertesDif
{
    std::uint8_t dif = 0;
    int position = 0;
};
struct UngueltigeLvar
{
    std::uint8_t lvar = 0;
    int position = 0;
};

using DekodierFehler =
    std::variant<Unvollstaendig, UngueltigesStartzeichen, LaengenUngleich, UngueltigeLaenge,
                 UeberzaehligeBytes, Pruefsumme, UngueltigesStoppzeichen, KeineZaehlerantwort,
                 UnbekanntesCi, KopfZuKurz, DatensatzEndetVorzeitig, ZuVieleDifes, ZuVieleVifes,
                 ReserviertesDif, UngueltigeLvar>;

// A DIB or VIB has at most ten extension bytes.
constexpr int kMaxErweiterungen = 10;

// "Prüfsumme falsch: berechnet 3F, empfangen 40" ...
QString DekodierFehlerText(const DekodierFehler& fehler, Sprache sprache);

// The receive-error bits of a link-layer fault: 4 checksum, 8 start character, 16 length,
// 32 stop character. A fault inside a sound frame (its content) gives 0: the frame arrived
// intact, the answer is still invalid.
int EmpfangsfehlerBits(const DekodierFehler& fehler);

} // namespace mbus

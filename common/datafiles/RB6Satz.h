#pragma once
// One record of a value file: 12 bytes, no padding, little-endian. Bytes 0-3 hold the time
// (signed 32-bit UnixZeit), bytes 4-11 the value (IEEE-754 double). Record n (from 1) starts
// at byte 12 * (n - 1).

#include <QByteArray>
#include <QtGlobal>

inline constexpr qint64 kRB6_Satzlaenge = 12;
// Records 1 to 9 are the header; values start at record 10.
inline constexpr qint64 kRB6_Kopfsaetze = 9;
inline constexpr qint64 kRB6_ErsterWertsatz = 10;
// Record numbers are 32-bit in every interface.
inline constexpr qint64 kRB6_HoechsterSatz = 2'147'483'647;
// A new file is made of blocks of 101 records (1212 bytes); the capacity written into the
// header counts 100 records a block.
inline constexpr qint64 kRB6_SaetzeJeBlock = 101;
inline constexpr qint64 kRB6_Blocklaenge = kRB6_SaetzeJeBlock * kRB6_Satzlaenge;
inline constexpr qint64 kRB6_KapazitaetJeBlock = 100;

struct RB6_Satz
{
    qint32 Tm = 0;
    double Wert = 0.0;

    bool operator==(const RB6_Satz&) const = default;
};

// Byte offset of record n (from 1).
constexpr qint64 RB6_SatzOffset(qint64 satz)
{
    return kRB6_Satzlaenge * (satz - 1);
}

// The 12 bytes of a record.
QByteArray RB6_SatzBytes(const RB6_Satz& satz);
// The record in the 12 bytes at daten (the caller makes sure that 12 bytes are there).
RB6_Satz RB6_SatzAusBytes(const char* daten);

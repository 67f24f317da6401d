#pragma once
// How one bus exchange ended: a closed set of outcomes, with the receive-error bits and the
// answer's bytes, and the value the driver's APPReceiveTest reports for it.
//
//   APPReceiveTest  outcome
//   255             the exchange is still running
//   0               idle: nothing running, or a request that expects no answer was sent
//   1               acknowledgement (E5) received
//   3               long frame received and decoded (also a meter's application error, CI 70)
//   5               time-out: no answer within the answer window
//   6               answer invalid: garbled, wrong checksum, length, start or stop character,
//                   several meters at once, or a sound frame whose content cannot be decoded
//
// APPReceiveError bits: 1 time-out, 4 checksum, 8 start character, 16 length, 32 stop character,
// 64 collision (garbled bytes, several meters answering).

#include "driver/decode/Telegramm.h"

#include <QByteArray>

#include <optional>

namespace mbus {

enum class Ereignisart {
    Laeuft,
    Gesendet,
    Quittung,
    Telegramm,
    Zeitueberschreitung,
    Ungueltig,
};

constexpr int kFehlerZeitueberschreitung = 1;
constexpr int kFehlerPruefsumme = 4;
constexpr int kFehlerStartzeichen = 8;
constexpr int kFehlerLaenge = 16;
constexpr int kFehlerStoppzeichen = 32;
constexpr int kFehlerKollision = 64;

constexpr int kEmpfangLaeuft = 255;
constexpr int kEmpfangLeerlauf = 0;
constexpr int kEmpfangQuittung = 1;
constexpr int kEmpfangTelegramm = 3;
constexpr int kEmpfangZeitueberschreitung = 5;
constexpr int kEmpfangUngueltig = 6;

struct Ereignis
{
    Ereignisart art = Ereignisart::Laeuft;
    int empfangsfehler = 0; // APPReceiveError bits
    QByteArray antwort;     // every byte received, as received
    // Telegramm: the decoded telegram or application error. Ungueltig after a sound frame: the
    // fault in its content. Empty otherwise.
    std::optional<Dekodierergebnis> dekodiert;
};

// The APPReceiveTest value of an outcome.
int EmpfangsTestWert(const Ereignis& ereignis);

} // namespace mbus

#pragma once
// The bus timing of the link layer, and the durations that follow from it at a baud rate. Times
// are points on a monotonic clock in microseconds from any origin the caller chooses; the engine
// never reads a clock and never sleeps.

#include <chrono>

namespace mbus {

using Buszeit = std::chrono::microseconds;
using Dauer = std::chrono::microseconds;

// One character on the bus: start bit, eight data bits, even parity, stop bit.
constexpr int kBitsJeZeichen = 11;
// The longest answer of one meter: a long frame with 255 bytes from C on.
constexpr long long kLaengsteAntwort = 255 + 6;

struct Zeitparameter
{
    int baud = 2400;
    // A meter's answer must begin within this many bit times plus the offset after the request's
    // last byte (EN 13757-2 answer window: 330 bit times + 50 ms).
    int antwortBits = 330;    // COMTimeout
    int antwortOffsetMs = 50; // COMTimeoutOffset
    // An answer has ended after this many character times of silence.
    int pauseZeichen = 4; // COMTimeoutByte
    // Silence on the bus before the next request, in bit times.
    int totzeitBits = 11; // COMDeadtime
    // The least silence that ends an answer, whatever pauseZeichen gives (0: none). A line that
    // hands on the received bytes in blocks (a modem) needs it.
    int pauseMindestMs = 0;
    // The least silence that ends an answer while it is a long frame still incomplete by its own
    // length field. Line adapters pass received bytes on in bursts (an FTDI USB adapter every
    // 16 ms by default, plus the time until the program looks), so at 9600 baud, where four
    // characters last 4.6 ms, a frame can seem to pause in its middle; 30 ms covers that.
    int pauseImRahmenMs = 30;
};

// The parameters the driver uses unless told otherwise.
constexpr Zeitparameter kStandardZeiten{};

// Duration of so many bit times at the parameters' baud rate (a rate of 0 or less counts as
// 2400 baud, so that no duration is ever infinite).
Dauer Bitzeiten(const Zeitparameter& zeiten, long long bits);
// Time to put so many bytes on the bus.
Dauer Sendedauer(const Zeitparameter& zeiten, long long bytes);
// From the request's last byte to the latest start of an answer.
Dauer Antwortfenster(const Zeitparameter& zeiten);
// How much later than it is complete on the line a received byte may reach the program: the
// level converter passes the meter's current on within a few microseconds, the operating system
// wakes the waiting program and hands the byte on within a fraction of a millisecond; 1 ms
// covers both without making a silent address noticeably slower.
constexpr Dauer kEmpfangsZugabe = std::chrono::milliseconds(1);
// From the request's last byte until the first character of an answer that starts at the very
// end of the answer window is in the program's hands: the window bounds the start of the answer,
// and its first character is complete one character time later (plus kEmpfangsZugabe).
Dauer Antwortfrist(const Zeitparameter& zeiten);
// Silence after a received byte that ends the answer: pauseZeichen character times (no less
// than pauseMindestMs).
Dauer Antwortpause(const Zeitparameter& zeiten);
// Silence after a received byte inside a long frame that is still incomplete: the answer pause,
// no less than pauseImRahmenMs.
Dauer RahmenPause(const Zeitparameter& zeiten);
// How long an answer may last from the end of the answer window at most, however its bytes
// trickle in: the longest frame (261 bytes), each byte followed by the longest pause that does
// not end the answer.
Dauer Antwortgrenze(const Zeitparameter& zeiten);
// Silence before the next request.
Dauer Totzeit(const Zeitparameter& zeiten);

} // namespace mbus

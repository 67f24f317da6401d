#pragma once
// How long the exchange services wait at most. Every wait of a serial exchange has a deadline,
// also where the line misbehaves (a device that does not send, a bus that never falls silent).

#include <QtGlobal>

// Bits a byte takes on the M-Bus line: start, 8 data, parity, stop.
inline constexpr int kBitsJeByte = 11;
// The longest M-Bus frame: 255 data bytes and six bytes of frame.
inline constexpr int kLaengsterRahmen = 261;

// Milliseconds so many bytes take on the wire at the baud rate (rounded up).
qint64 DrahtzeitMs(qsizetype bytes, qint32 baud);

// Milliseconds the wait for an empty output buffer may take: the send time-out when one is
// given (above 0), else the time the bytes take on the wire plus one second.
qint64 SendeFristMs(qsizetype bytes, qint32 baud, double sendeZeitlimitSekunden);

// Nanoseconds so many bytes take on the wire at the baud rate.
qint64 DrahtzeitNs(qsizetype bytes, qint32 baud);

// Milliseconds from the end of a frame until the first character of a meter's answer is in hand
// at the latest: the answer window of EN 13757-2 (330 bit times + 50 ms) bounds when the answer
// starts, its first character is complete one character later, and 1 ms covers the operating
// system and the level converter handing the byte on (rounded up).
qint64 AntwortfristMs(qint32 baud);

// Characters of silence a frame waits for behind bytes that answered nothing of ours.
inline constexpr int kRuheZeichenNachSpaeten = 4;

// Milliseconds the wait for a silent line before sending may take on a line that keeps
// chattering: one second plus the time the longest frame takes on the wire.
qint64 LeerlesenFristMs(qint32 baud);

// Milliseconds a read may take in all, however the bytes trickle in: three times the silence
// time-out, one second, and twice the time the longest frame takes on the wire.
qint64 LeseGesamtfristMs(double zeitlimitSekunden, qint32 baud);

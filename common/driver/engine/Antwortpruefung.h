#pragma once
// Judges everything a meter (or several) sent back after a request, once the answer has ended.
//
// - nothing (or only line noise 00/FF): time-out
// - E5 followed by nothing but line noise: acknowledgement
// - one long frame, possibly followed by line noise: decoded; a link fault (checksum, start,
//   length, stop character) makes it invalid with that fault's bit
// - anything more (a second E5, bytes behind a frame, a garbled first byte): several meters
//   answered at once, invalid with the collision bit

#include "Ereignis.h"

#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace mbus {

Ereignis PruefeAntwort(QByteArrayView antwort);

// Whether the bytes so far (line noise in front passed over) are the beginning of a long frame
// that its own length field says is not complete yet: 68, 68 L, 68 L L, or 68 L L 68 and fewer
// than L + 6 bytes. A header that is no long frame's (L fields differ, no second 68) is not.
bool LangerRahmenUnvollstaendig(QByteArrayView antwort);

// Whether the bytes so far (line noise in front passed over) are exactly one long frame whose
// length, second start character, checksum and stop character are sound: nothing a meter sends
// can belong behind it.
bool LangerRahmenKomplett(QByteArrayView antwort);

// The address field of the one sound long frame the bytes hold (line noise in front and behind
// passed over); none when they are anything else.
std::optional<std::uint8_t> RahmenAdresse(QByteArrayView antwort);

} // namespace mbus

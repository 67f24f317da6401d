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

namespace mbus {

Ereignis PruefeAntwort(QByteArrayView antwort);

} // namespace mbus

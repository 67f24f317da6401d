#pragma once
// The driver's receive-error mask in words, for the read-out of the test window.

#include <QString>

// Each set bit appends its text, in this order: 1 "Timeout, ", 2 "Wrong Parity, ",
// 4 "Wrong Checksum, ", 8 "Wrong Startsign, ", 16 "Wrong Length, ", 32 "Wrong Stopsign",
// 64 "Collision, ", 128 "Frame Error, ", 256 "Other UART Error, "; every text but the time-out's
// is followed by the whole mask in decimal (mask 3: "Timeout, Wrong Parity, 3"). Mask 0 gives "".
QString MB_UartFehlerText(int maske);

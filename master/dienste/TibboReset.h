#pragma once
// The reset exchange with the serial-to-Ethernet device server behind a COM port, over UDP:
// the socket is bound to the local port, "L" goes to the device server, up to 0.5 s are waited
// for the answer "A" (every datagram replaces the answer before it; the wait runs the event
// loop), then "E" is sent in any case and the socket is closed.
//
// True only when the answer was "A". A socket that is already bound (an exchange running),
// an empty or invalid address, and a local port that cannot be bound give false at once;
// FehlerText then says why.

#include <QString>

class QUdpSocket;

inline constexpr int kTibboAntwortMs = 500;

// The master passes its port's address and 65535 for both ports; lokalerPort -1 means the same
// port as the device server's.
bool TibboReset(const QString& tibboIp, int tibboPort, QUdpSocket& socket, int lokalerPort = -1);

#pragma once
// Error numbers of the serial control; they are fixed, as logs and callers use them. Every
// failing access of SerielleSchnittstelle reports one of them together with a text; the services
// decide by the number whether a step may go on.

namespace ComFehler {

// The property value is not allowed ("Settings" that do not parse, a negative size).
inline constexpr int kUngueltigerWert = 380;
// The property cannot be changed while the port is open (CommPort).
inline constexpr int kPortOffen = 8000;
// No such port: port number out of range, device missing, or the device refused the open.
inline constexpr int kUngueltigerPort = 8002;
// The port is open already: by this control, by another control or the driver of this
// program, or by another program.
inline constexpr int kPortBelegt = 8005;
// Closing a port that is not open.
inline constexpr int kNichtGeoeffnet = 8012;
// The device did not accept the baud rate, parity, data bits or stop bits.
inline constexpr int kEinstellungFehler = 8015;
// Input, Output or a buffer count on a closed port.
inline constexpr int kNurBeiOffenemPort = 8018;
// The device stopped working while open (unplugged, hung up); the port is closed then.
inline constexpr int kGeraeteFehler = 8020;

} // namespace ComFehler

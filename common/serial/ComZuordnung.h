#pragma once
// Which device file a COM port number stands for.
//
// ZEP.INI maps port numbers to devices in the section "[COM]": "COM3=/dev/ttyUSB0". A port
// without a line there is the n-th built-in serial port, /dev/ttyS<n-1>. The serial control and
// the M-Bus driver both resolve ports here, so the same number always means the same device.

#include <QString>

// Lowest and highest port number a control accepts.
inline constexpr int kErsterComPort = 1;
inline constexpr int kLetzterComPort = 255;

// The device path of port n ("" for a number outside 1..255).
QString ComGeraet(int port);

#pragma once
// The companion windows of the test window: the M-Bus log, the help and about windows and the
// system-information tool.

#include <QString>

class QWidget;

// Shows the M-Bus log window (modeless); besitzer is the window that asks for it.
void MBusLogZeigen(QWidget* besitzer);
// Shows the help window (modeless) with the picture that belongs to the view the test window's
// view menu caption names.
void HilfeZeigen(const QString& caption);
// Shows the about window (modal) over besitzer.
void InfoZeigen(QWidget* besitzer);
// Starts the system-information tool.
void StartSysInfo();

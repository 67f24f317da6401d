#pragma once
// The system-information tool of the desktop, looked for on PATH.

#include <QString>
#include <QStringList>

// Names of the system-information programs looked for, in this order.
QStringList SysInfoProgramme();
// Full path of the first of them found on PATH; "" when there is none.
QString SysInfoSuchen();
// Starts the system-information tool; when none is found or it cannot be started, the message
// "Systeminformationen sind momentan nicht verfügbar".
void StartSysInfo();

// The modem members of the name-bound driver.
//
// NOT CONNECTED YET: the modem dialogue (AT commands, +++ with guard times, ATH) is being
// written separately and replaces these bodies. Until then nothing goes to the modem, TELStatus
// reports 3 (idle, not connected) and APPBreak does nothing, so a caller's wait for "ready" (0
// or 2) or "connected" (4) never sees them.

#include "MBusRacX4.h"

namespace {

constexpr int kModemLeerlauf = 3;

} // namespace

void MBusRacX4::TELInit(const QVariant& /*port*/, const QVariant& /*baud*/,
                        const QString& /*befehl*/)
{
}

void MBusRacX4::TELMakeCall(const QVariant& /*port*/, const QVariant& /*baud*/,
                            const QString& /*wahl*/)
{
}

void MBusRacX4::TELHangUp() {}

void MBusRacX4::APPBreak() {}

int MBusRacX4::TELStatus()
{
    return kModemLeerlauf;
}

#include "Austausch.h"

#include "platform/Warten.h"

#include <cmath>

bool WartenUeber(const QElapsedTimer& seit, double sekunden)
{
    if (!std::isfinite(sekunden) || sekunden < 0)
        sekunden = 0;
    sekunden = std::min(sekunden, 86400.0);
    const qint64 grenzeNs = static_cast<qint64>(sekunden * 1e9);
    forever
    {
        const qint64 rest = grenzeNs - seit.nsecsElapsed();
        if (rest < 0)
            return DoEvents();
        // Whole milliseconds past the end: the wait is for more than the delay.
        if (!Warten(static_cast<int>(rest / 1'000'000) + 1))
            return false;
    }
}

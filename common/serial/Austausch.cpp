#include "Austausch.h"

#include "platform/Warten.h"

#include <QThread>

#include <cmath>

bool WartenUeber(const QElapsedTimer& seit, double sekunden)
{
    if (!std::isfinite(sekunden) || sekunden < 0)
        sekunden = 0;
    sekunden = std::min(sekunden, 86400.0);
    const qint64 grenzeNs = static_cast<qint64>(sekunden * 1e9);
    forever
    {
        if (!DoEvents())
            return false;
        const qint64 rest = grenzeNs - seit.nsecsElapsed();
        if (rest < 0)
            return true;
        if (rest > 2'000'000)
            QThread::msleep(1);
    }
}

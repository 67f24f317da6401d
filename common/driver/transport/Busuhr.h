#pragma once
// The monotonic clock of the bus master: microseconds from an arbitrary origin. Wall-clock
// changes never move it.

#include "driver/engine/Zeitparameter.h"

#include <QElapsedTimer>

namespace mbus {

class Busuhr
{
public:
    virtual ~Busuhr() = default;
    virtual Buszeit jetzt() const = 0;
};

class MonotoneBusuhr : public Busuhr
{
public:
    MonotoneBusuhr();
    Buszeit jetzt() const override;

private:
    QElapsedTimer m_timer;
};

} // namespace mbus

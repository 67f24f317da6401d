#include "Busuhr.h"

namespace mbus {

MonotoneBusuhr::MonotoneBusuhr()
{
    m_timer.start();
}

Buszeit MonotoneBusuhr::jetzt() const
{
    return Buszeit(m_timer.nsecsElapsed() / 1000);
}

} // namespace mbus

#include "Buskanal.h"

#include "platform/Warten.h"

namespace mbus {

bool Buskanal::warten(std::chrono::microseconds /*dauer*/)
{
    return DoEvents();
}

} // namespace mbus

#include "Modemport.h"

#include "platform/Warten.h"

namespace mbus {

bool Modemport::warten(std::chrono::microseconds /*dauer*/)
{
    return DoEvents();
}

} // namespace mbus

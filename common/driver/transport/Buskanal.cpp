#include "Buskanal.h"

#include "platform/Warten.h"

namespace mbus {

bool Buskanal::warten(int /*ms*/)
{
    return DoEvents();
}

} // namespace mbus

#include "Global.h"

void GlobalZuruecksetzen()
{
    Mandant.clear();
    DBPath.clear();
    DatenPath.clear();
    FehlerText.clear();
    RohdatenText.clear();
    DBParameter.clear();
}

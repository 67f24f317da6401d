#pragma once
// Second stage of the records: what a block means. Storage number, tariff and subunit come from
// the DIF and its DIFEs; quantity, unit and exponent from the VIF tables; the combinable VIFEs
// correct the exponent, extend the unit or describe the value; the data bytes are read as the
// data field (and the VIF, for dates) say and scaled to the unit the value is shown in.

#include "Datensatz.h"

namespace mbus {

Datensatz DeuteDatenblock(const Datenblock& block, bool msbZuerst);

// A counter of the fixed data structure: four data bytes, binary or BCD, with the unit code of
// the structure's medium/unit byte; historisch for values of the last due date.
Datensatz DeuteFestenZaehler(const Datenblock& block, std::uint8_t einheitCode, bool binaer,
                             bool historisch, bool msbZuerst);

} // namespace mbus

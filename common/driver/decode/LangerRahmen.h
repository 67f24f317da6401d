#pragma once
// A received long frame (EN 13757-2): 68 L L 68, C, A, CI, data, checksum, 16. The checksum is
// the sum of C to the last data byte modulo 256.

#include "DekodierFehler.h"

#include <QByteArrayView>

#include <cstdint>
#include <variant>

namespace mbus {

struct LangerRahmen
{
    std::uint8_t steuerfeld = 0; // C
    std::uint8_t adresse = 0;    // A
    std::uint8_t ci = 0;
    int datenAnfang = 7; // first byte behind the CI field
    int datenEnde = 7;   // the checksum byte
};

// Exactly one frame: too few or too many bytes are faults.
std::variant<LangerRahmen, DekodierFehler> LiesLangenRahmen(QByteArrayView bytes);

// Whether C is an RSP_UD (a meter's answer with user data; ACD and DFC bits may be set).
constexpr bool IstZaehlerantwort(std::uint8_t steuerfeld)
{
    return (steuerfeld & 0xCF) == 0x08;
}

} // namespace mbus

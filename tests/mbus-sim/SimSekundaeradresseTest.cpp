// Secondary addresses: the 8-byte form and the wildcard match of selection masks.

#include "SimSekundaeradresse.h"

#include "Gegenstelle.h"

#include <gtest/gtest.h>

namespace {

const SimSekundaeradresse Zaehler(12345678, SimSekundaeradresse::herstellerCode("LUG"), 0x07, 0x04);

struct Maske
{
    const char* bytes;
    bool passt;
};

const Maske Masken[] = {
    {"78 56 34 12 A7 32 07 04", true},  // the meter's own address
    {"78 56 34 12 FF FF FF FF", true},  // ID only
    {"FF FF FF FF FF FF FF FF", true},  // everything
    {"F8 56 34 12 FF FF FF FF", true},  // last-but-one digit open
    {"7F 56 34 12 FF FF FF FF", true},  // last digit open
    {"78 56 34 1F FF FF FF FF", true},  // first digit fixed to 1 ... second open
    {"78 56 34 F3 FF FF FF FF", false}, // first digit open, second fixed to 3 (the meter has 2)
    {"77 56 34 12 FF FF FF FF", false}, // one digit off
    {"78 56 34 22 FF FF FF FF", false}, {"78 56 34 12 A7 33 FF FF", false}, // other manufacturer
    {"78 56 34 12 FF 32 FF FF", false}, // FF in one manufacturer byte is no wildcard
    {"78 56 34 12 FF FF 08 FF", false}, // other version
    {"78 56 34 12 FF FF FF 07", false}, // other medium
    {"78 56 34 12 FF FF 07 04", true},  {"78 56 34 12 FF FF FF", false}, // too short
};

} // namespace

TEST(SimSekundaeradresse, maskSelectsExactlyTheAddressesItShould)
{
    for (const Maske& m : Masken)
        EXPECT_EQ(Zaehler.passt(Hex(m.bytes)), m.passt) << m.bytes;
}

TEST(SimSekundaeradresse, bytesAreBcdIdManufacturerVersionMedium)
{
    EXPECT_EQ(Zaehler.bytes(), Hex("78 56 34 12 A7 32 07 04"));
    EXPECT_EQ(SimSekundaeradresse(1, 0, 0, 0).bytes().left(4), Hex("01 00 00 00"));
}

TEST(SimSekundaeradresse, manufacturerPacksFiveBitsPerLetter)
{
    EXPECT_EQ(SimSekundaeradresse::herstellerCode("LUG"), 0x32A7);
    EXPECT_EQ(SimSekundaeradresse::herstellerCode("KAM"), 0x2C2D);
    EXPECT_EQ(SimSekundaeradresse::herstellerCode("AAA"), 0x0421);
}

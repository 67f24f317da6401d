// Taking the master's frames out of a byte stream, garbage and all.

#include "SimRahmenLeser.h"

#include "Gegenstelle.h"

#include <gtest/gtest.h>

namespace {

void anfuegen(SimRahmenLeser& leser, const QByteArray& bytes, int baud = 2400)
{
    for (char b : bytes)
        leser.anfuegen(static_cast<quint8>(b), baud, 0);
}

} // namespace

TEST(SimRahmenLeser, findsTheSoundFrameBehindGarbageAndBadFrames)
{
    const struct
    {
        const char *bytes, *rahmen;
        int verworfen;
    } faelle[] = {
        {"00 16 10 10 99 10 5B 01 5C 16", "10 5B 01 5C 16", 5},
        {"10 5B 01 5D 16 10 5B 01 5C 17 10 40 02 42 16", "10 40 02 42 16", 10}, // checksum, stop
        {"68 FF FF 68 10 7B 01 7C 16", "10 7B 01 7C 16",
         4}, // a 255-byte frame's start holds nothing back
    };
    for (const auto& f : faelle) {
        SimRahmenLeser leser;
        anfuegen(leser, Hex(f.bytes));
        const auto r = leser.naechster();
        ASSERT_TRUE(r) << f.bytes;
        EXPECT_EQ(r->roh, Hex(f.rahmen));
        EXPECT_EQ(leser.verworfen(), f.verworfen) << f.bytes;
        EXPECT_FALSE(leser.naechster());
    }
}

TEST(SimRahmenLeser, frameInPiecesWaitsForItsRestAndTwoSpeedsGiveNoSpeed)
{
    SimRahmenLeser leser;
    anfuegen(leser, Hex("10 7B"), 2400);
    EXPECT_FALSE(leser.naechster());
    anfuegen(leser, Hex("01 7C 16"), 9600);
    const auto r = leser.naechster();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->baud, 0);
}

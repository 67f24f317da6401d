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

TEST(SimRahmenLeser, takesShortFrameWithItsFields)
{
    SimRahmenLeser leser;
    anfuegen(leser, Hex("10 7B FD 78 16"));
    const auto r = leser.naechster();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->art, SimRahmen::Art::Kurz);
    EXPECT_EQ(r->c, 0x7B);
    EXPECT_EQ(r->a, 0xFD);
    EXPECT_EQ(r->baud, 2400);
    EXPECT_FALSE(leser.naechster());
}

TEST(SimRahmenLeser, takesLongFrameWithItsData)
{
    SimRahmenLeser leser;
    anfuegen(leser, Lang(0x53, 0xFD, 0x52, Hex("78 56 34 12 FF FF FF FF")));
    const auto r = leser.naechster();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->art, SimRahmen::Art::Lang);
    EXPECT_EQ(r->ci, 0x52);
    EXPECT_EQ(r->daten, Hex("78 56 34 12 FF FF FF FF"));
}

TEST(SimRahmenLeser, waitsForTheRestOfAFrameArrivingInPieces)
{
    SimRahmenLeser leser;
    const QByteArray rahmen = Lang(0x53, 0x05, 0x51, Hex("01 7A 07"));
    anfuegen(leser, rahmen.left(6));
    EXPECT_FALSE(leser.naechster());
    anfuegen(leser, rahmen.mid(6));
    EXPECT_TRUE(leser.naechster());
}

TEST(SimRahmenLeser, dropsGarbageByteByByteAndFindsTheFrameBehindIt)
{
    SimRahmenLeser leser;
    anfuegen(leser, Hex("00 16 10 10 99") + Hex("10 5B 01 5C 16"));
    const auto r = leser.naechster();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->roh, Hex("10 5B 01 5C 16"));
    EXPECT_EQ(leser.verworfen(), 5);
}

TEST(SimRahmenLeser, dropsFrameWithWrongChecksumOrStopCharacter)
{
    SimRahmenLeser leser;
    anfuegen(leser, Hex("10 5B 01 5D 16") + Hex("10 5B 01 5C 17") + Hex("10 40 02 42 16"));
    const auto r = leser.naechster();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->roh, Hex("10 40 02 42 16"));
    EXPECT_FALSE(leser.naechster());
}

TEST(SimRahmenLeser, soundFrameBehindAnUnfinishedLongHeaderIsNotHeldBack)
{
    // Noise that looks like the start of a 255-byte frame must not swallow the request behind it.
    SimRahmenLeser leser;
    anfuegen(leser, Hex("68 FF FF 68 10 7B 01 7C 16"));
    const auto r = leser.naechster();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->roh, Hex("10 7B 01 7C 16"));
}

TEST(SimRahmenLeser, frameSentAtTwoSpeedsHasNoSpeed)
{
    SimRahmenLeser leser;
    anfuegen(leser, Hex("10 7B"), 2400);
    anfuegen(leser, Hex("01 7C 16"), 9600);
    const auto r = leser.naechster();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->baud, 0);
}

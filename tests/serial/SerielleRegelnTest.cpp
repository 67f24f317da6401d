// Finding an answer in received bytes; echo, noise and acknowledgements are checked on the line.
#include "PtyBus.h"
#include "serial/AntwortSuche.h"

#include <gtest/gtest.h>

namespace {

TEST(AntwortSuche, onlyACompleteFrameWithMatchingLengthsChecksumAndEndIsAnAnswer)
{
    const struct
    {
        QByteArray bytes;
        qsizetype anfang, laenge; // anfang -1: nothing complete
    } faelle[] = {
        {QByteArray::fromHex("680303680805727F16"), 0, 9},
        {QByteArray::fromHex("680303680805727F"), -1, 0},   // last byte missing
        {QByteArray::fromHex("6803036808057216"), -1, 0},   // wrong checksum
        {QByteArray::fromHex("680304680805727F16"), -1, 0}, // length bytes differ
        {QByteArray::fromHex("680303680805727F17"), -1, 0}, // wrong end byte
        {QByteArray::fromHex("16680000680016"), 1, 6},
        {LangerRahmen(QByteArray(255, '\x16')), 0, 261},
        {QByteArray(), -1, 0},
    };
    for (const auto& fall : faelle) {
        const auto fund = AntwortSuchen(fall.bytes, 0x68, 0x16);
        ASSERT_EQ(fund.has_value(), fall.anfang >= 0) << fall.bytes.toHex().toStdString();
        if (fund)
            EXPECT_EQ(std::pair(fund->anfang, fund->laenge), std::pair(fall.anfang, fall.laenge));
    }
}

} // namespace

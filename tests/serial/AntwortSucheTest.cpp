#include "serial/AntwortSuche.h"
#include "PtyBus.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kRahmen = LangerRahmen(QByteArray::fromHex("08 05 72")); // 9 bytes
const QByteArray kEcho = QByteArray::fromHex("107BFD7816");

struct Fall
{
    const char* name;
    QByteArray bytes;
    quint8 start;
    quint8 ende;
    qsizetype anfang; // -1: nothing complete
    qsizetype laenge;
};

class AntwortSuche : public ::testing::TestWithParam<Fall>
{
};

TEST_P(AntwortSuche, findsTheCompleteAnswerOrNothing)
{
    const Fall& fall = GetParam();
    const auto fund = AntwortSuchen(fall.bytes, fall.start, fall.ende);
    if (fall.anfang < 0) {
        EXPECT_FALSE(fund.has_value()) << fall.name;
        return;
    }
    ASSERT_TRUE(fund.has_value()) << fall.name;
    EXPECT_EQ(fund->anfang, fall.anfang) << fall.name;
    EXPECT_EQ(fund->laenge, fall.laenge) << fall.name;
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, AntwortSuche,
    ::testing::Values(
        Fall{"shortFrameCompleteAtNineBytes", kRahmen, 0x68, 0x16, 0, 9},
        Fall{"lastByteMissing", kRahmen.left(8), 0x68, 0x16, -1, 0},
        Fall{"headerOnly", kRahmen.left(4), 0x68, 0x16, -1, 0},
        Fall{"startOnly", QByteArray("\x68", 1), 0x68, 0x16, -1, 0},
        Fall{"echoBeforeFrame", kEcho + kRahmen, 0x68, 0x16, 5, 9},
        Fall{"strayEndByteBehindFrame", kRahmen + QByteArray("\x16", 1), 0x68, 0x16, 0, 9},
        Fall{"noiseAroundFrame",
             QByteArray::fromHex("0068FF") + kRahmen + QByteArray::fromHex("16E5"), 0x68, 0x16, 3,
             9},
        Fall{"wrongChecksum", QByteArray::fromHex("6803036808057216"), 0x68, 0x16, -1, 0},
        Fall{"differentLengthBytes", QByteArray::fromHex("680304680805727F16"), 0x68, 0x16, -1, 0},
        Fall{"wrongEndByte", QByteArray::fromHex("680303680805727F17"), 0x68, 0x16, -1, 0},
        Fall{"emptyFrameBody", QByteArray::fromHex("680000680016"), 0x68, 0x16, 0, 6},
        Fall{"longestFrame", LangerRahmen(QByteArray(255, '\x16')), 0x68, 0x16, 0, 261},
        Fall{"acknowledgement", QByteArray::fromHex("E5"), 0xE5, 0xE5, 0, 1},
        Fall{"acknowledgementAmidNoise", QByteArray::fromHex("00FFE5AA"), 0xE5, 0xE5, 2, 1},
        Fall{"noAcknowledgement", QByteArray::fromHex("00FF16"), 0xE5, 0xE5, -1, 0},
        Fall{"nothing", QByteArray(), 0x68, 0x16, -1, 0}),
    [](const ::testing::TestParamInfo<Fall>& info) { return std::string(info.param.name); });

} // namespace

// What the master reads when meters talk at once.

#include "SimLeitung.h"

#include <gtest/gtest.h>

namespace {

QList<SimZeichen> folge(const QByteArray& bytes, qint64 startBit = 0, int abstandBits = 11)
{
    QList<SimZeichen> z;
    for (char b : bytes) {
        z.append({static_cast<quint8>(b), startBit, 0});
        startBit += abstandBits;
    }
    return z;
}

QByteArray werte(const QList<SimZeichen>& zeichen)
{
    QByteArray r;
    for (const SimZeichen& z : zeichen)
        r.append(char(z.wert));
    return r;
}

} // namespace

TEST(SimLeitung, singleSenderIsReadBackUnchangedWithItsTiming)
{
    const QByteArray bytes("\x68\x00\xFF\xE5\x16", 5);
    const QList<SimZeichen> gelesen = SimLeitung::ueberlagern({folge(bytes, 7, 15)});
    EXPECT_EQ(werte(gelesen), bytes);
    ASSERT_EQ(gelesen.size(), 5);
    EXPECT_EQ(gelesen[0].startBit, 7);
    EXPECT_EQ(gelesen[4].startBit, 7 + 4 * 15);
}

TEST(SimLeitung, identicalCharactersStartingTogetherPassUnchanged)
{
    const QByteArray e5("\xE5", 1);
    EXPECT_EQ(werte(SimLeitung::ueberlagern({folge(e5), folge(e5)})), e5);
}

TEST(SimLeitung, acknowledgementsAFewBitsApartAreGarbled)
{
    const QByteArray e5("\xE5", 1);
    const QByteArray gelesen = werte(SimLeitung::ueberlagern({folge(e5), folge(e5, 3)}));
    EXPECT_NE(gelesen, e5);
    EXPECT_FALSE(gelesen.isEmpty());
}

TEST(SimLeitung, spaceOfAnySenderWins)
{
    const QByteArray gelesen = werte(
        SimLeitung::ueberlagern({folge(QByteArray("\x0F", 1)), folge(QByteArray("\xF1", 1))}));
    EXPECT_EQ(gelesen, QByteArray("\x01", 1));
}

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

TEST(SimLeitung, overlappingCharactersGarbleUnlessIdenticalAndInStep)
{
    const QByteArray e5("\xE5", 1);
    EXPECT_EQ(werte(SimLeitung::ueberlagern({folge(e5), folge(e5)})), e5);
    const QByteArray versetzt = werte(SimLeitung::ueberlagern({folge(e5), folge(e5, 3)}));
    EXPECT_NE(versetzt, e5);
    EXPECT_FALSE(versetzt.isEmpty());
    // a space (0 bit) of any sender wins
    EXPECT_EQ(werte(SimLeitung::ueberlagern(
                  {folge(QByteArray("\x0F", 1)), folge(QByteArray("\xF1", 1))})),
              QByteArray("\x01", 1));
}

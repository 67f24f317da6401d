// The bus's timing, computed without a clock: when each answer byte is due.

#include "SimBusLogik.h"

#include "Gegenstelle.h"
#include "SimMBus.h"

#include <gtest/gtest.h>

namespace {

SimBus bus(bool takt)
{
    SimBus b;
    b.takt = takt;
    SimZaehler z;
    z.primaerAdresse = 1;
    z.id = 1;
    b.zaehler = {z};
    return b;
}

double ms(qint64 ns)
{
    return ns / 1e6;
}

} // namespace

TEST(SimBusLogik, answerFollowsTheRequestsLineTimeTheAnswerDelayAndElevenBitsACharacter)
{
    SimBusLogik logik(bus(true));
    const QList<SimAusgabe> e5 = logik.empfangen(Kurz(0x40, 1), 2400, 0);
    ASSERT_EQ(e5.size(), 1);
    // 5 request characters (22.9 ms), 11 bit times (4.6 ms) + 3 ms, then the E5 itself (4.6 ms).
    EXPECT_NEAR(ms(e5[0].zeitNs), 22.9 + 4.6 + 3.0 + 4.6, 0.5);
    EXPECT_EQ(logik.rahmen().first().zeitNs, 5 * SimMBus::ZeichenNs(2400));

    const QList<SimAusgabe> aus = logik.empfangen(Kurz(0x7B, 1), 2400, 1'000'000'000);
    ASSERT_EQ(aus.size(), 4 + 3 + 12 + 2); // RSP_UD with the header only
    EXPECT_NEAR(ms(aus.last().zeitNs - aus.first().zeitNs), 20 * 4.583, 0.01);
}

TEST(SimBusLogik, requestArrivingInPiecesCountsFromItsFirstCharacter)
{
    SimBusLogik logik(bus(true));
    EXPECT_TRUE(logik.empfangen(Kurz(0x40, 1).left(2), 2400, 0).isEmpty());
    // The rest arrives late: the line was idle in between, so its characters count from then.
    const QList<SimAusgabe> aus = logik.empfangen(Kurz(0x40, 1).mid(2), 2400, 100'000'000);
    ASSERT_EQ(aus.size(), 1);
    EXPECT_NEAR(ms(aus[0].zeitNs), 100 + 13.75 + 4.6 + 3.0 + 4.6, 0.5);
}

// A meter's own delay runs from the request's last character to the start of its answer's first
// character, to the nanosecond, whatever part of a bit time it is: at 300 baud 1114 ms is
// 334.2 bit times, and the E5 is complete 11 bit times after it started.
TEST(SimBusLogik, lateAnswerStartsExactlyItsDelayAfterTheRequest)
{
    for (const auto& [baud, spaet] :
         {std::pair{300, 1114.0}, std::pair{2400, 186.0}, std::pair{9600, 83.3}}) {
        SimBus b = bus(true);
        b.zaehler[0].baud = baud;
        b.zaehler[0].fehler.spaetMs = spaet;
        SimBusLogik logik(b);
        const QList<SimAusgabe> e5 = logik.empfangen(Kurz(0x40, 1), baud, 0);
        ASSERT_EQ(e5.size(), 1) << baud;
        const qint64 anfrageEnde = logik.rahmen().first().zeitNs;
        const qint64 start = anfrageEnde + static_cast<qint64>(spaet * 1e6 + 0.5);
        EXPECT_NEAR(static_cast<double>(e5[0].zeitNs - start),
                    static_cast<double>(SimMBus::ZeichenNs(baud)), 2.0)
            << baud;
    }
}

// A REQ_UD2 with the FCB of the frame before repeats the last telegram, and that names the
// meter's address of now: the meter at 1 moved to 4 (SND_UD 53, FCB 0) and is asked at 4 with
// FCB 0.
TEST(SimBusLogik, repeatedTelegramNamesTheNewPrimaryAddress)
{
    SimBusLogik logik(bus(false));
    const auto bytes = [](const QList<SimAusgabe>& aus) {
        QByteArray b;
        for (const SimAusgabe& a : aus)
            b.append(char(a.byte));
        return b;
    };
    const QByteArray erste = bytes(logik.empfangen(Kurz(0x7B, 1), 2400, 0));
    ASSERT_GT(erste.size(), 6);
    EXPECT_EQ(quint8(erste[5]), 1);
    EXPECT_EQ(bytes(logik.empfangen(Lang(0x53, 1, 0x51, Hex("017A04")), 2400, 1'000'000'000)),
              Hex("E5"));
    const QByteArray wiederholt = bytes(logik.empfangen(Kurz(0x5B, 4), 2400, 2'000'000'000));
    QByteArray erwartet = erste;
    erwartet[5] = char(4);
    erwartet[erwartet.size() - 2] = char(quint8(erwartet[erwartet.size() - 2]) + 3);
    EXPECT_EQ(wiederholt, erwartet);
}

// The AT modem in front of the bus, driven with a clock the test sets.

#include "SimModemLogik.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 Ms = 1'000'000;

SimModem modem()
{
    SimModem m;
    m.vorhanden = true;
    m.waehlzeitMs = 500;
    m.schutzzeitMs = 1000;
    m.nummern = {{"0301111", "BUSY", 0, 100},
                 {"0302222", "NO CARRIER", 0, -1},
                 {"0303333", "CONNECT", 2400, -1}};
    return m;
}

class ModemDialog
{
public:
    explicit ModemDialog(const SimModem& m = modem()) : m_modem(m) {}

    // Sends at the current time; returns what the program gets back.
    QByteArray senden(const QByteArray& bytes)
    {
        const SimModemAusgabe a = m_modem.empfangen(bytes, m_jetzt);
        m_anBus += a.anBus;
        return a.anProgramm;
    }
    // Lets time pass; returns what the program gets in that time.
    QByteArray warten(qint64 ms)
    {
        QByteArray r;
        const qint64 ziel = m_jetzt + ms * Ms;
        while (true) {
            const qint64 t = m_modem.naechsterTermin();
            if (t < 0 || t > ziel)
                break;
            m_jetzt = t;
            r += m_modem.zeitVergangen(m_jetzt).anProgramm;
        }
        m_jetzt = ziel;
        return r + m_modem.zeitVergangen(m_jetzt).anProgramm;
    }
    QByteArray verbinden()
    {
        senden("ATD0303333\r");
        return warten(600);
    }

    SimModemLogik m_modem;
    qint64 m_jetzt = 0;
    QByteArray m_anBus;
};

} // namespace

TEST(SimModemLogik, commandsAreEchoedAndAnsweredFramedByCrLf)
{
    ModemDialog d;
    const std::pair<const char*, const char*> dialog[] = {
        {"AT\r", "AT\r\r\nOK\r\n"},
        {"AT&F&C1&D2S0=0\r", "AT&F&C1&D2S0=0\r\r\nOK\r\n"},
        {"ATE0\r", "ATE0\r\r\nOK\r\n"},
        {"ATX1L3\r", "\r\nOK\r\n"},
        {"ATG\r", "\r\nERROR\r\n"},
        {"hello\r", ""}, // lines without AT are ignored
        {"ATZ\r", "\r\nOK\r\n"},
        {"AT\r", "AT\r\r\nOK\r\n"}, // the reset switched the echo on again
    };
    for (const auto& [befehl, antwort] : dialog)
        EXPECT_EQ(d.senden(befehl), antwort) << befehl;
}

TEST(SimModemLogik, dialledNumberGivesItsOutcomeAfterTheDialTimeAndAnyCharacterAborts)
{
    ModemDialog d;
    d.senden("ATE0\r");
    d.senden("ATDT0301111\r");
    EXPECT_EQ(d.warten(150), "\r\nBUSY\r\n");
    d.senden("ATDT0302222\r");
    EXPECT_EQ(d.warten(600), "\r\nNO CARRIER\r\n");
    d.senden("ATD0303333\r\n"); // a trailing LF does not abort
    EXPECT_EQ(d.senden("x"), "\r\nNO CARRIER\r\n");
    EXPECT_EQ(d.warten(1000), "");

    EXPECT_EQ(d.senden("ATDT 030-3333\r"), "");
    EXPECT_EQ(d.warten(400), "");
    EXPECT_EQ(d.warten(200), "\r\nCONNECT 2400\r\n");
    EXPECT_TRUE(d.m_modem.datenModus());
    EXPECT_EQ(d.m_modem.gewaehlt(), "0303333");
    EXPECT_EQ(d.senden("\x10\x7B\xFD\x78\x16"), "");
    EXPECT_EQ(d.m_anBus, QByteArray("\x10\x7B\xFD\x78\x16"));

    ModemDialog e;
    e.senden("ATDT0309999\r"); // not listed: connects at the modem's speed
    EXPECT_EQ(e.warten(600), "\r\nCONNECT 9600\r\n");
}

TEST(SimModemLogik, escapeNeedsGuardTimesAndHangUpEndsTheCall)
{
    ModemDialog d;
    d.senden("ATE0\r");
    d.verbinden();
    d.warten(1100);
    d.senden("x");
    d.warten(500);
    d.senden("+++"); // only 500 ms of silence before
    d.warten(1100);
    d.senden("+++");
    d.warten(500);
    d.senden("y"); // data within the guard time after
    EXPECT_EQ(d.warten(2000), "");
    EXPECT_EQ(d.m_anBus, "x++++++y");

    d.senden("+++");
    EXPECT_EQ(d.warten(900), "");
    EXPECT_EQ(d.warten(200), "\r\nOK\r\n");
    EXPECT_FALSE(d.m_modem.datenModus());
    EXPECT_EQ(d.senden("ATO\r"), "\r\nCONNECT 2400\r\n");
    d.warten(1100);
    d.senden("+++");
    d.warten(1100);
    EXPECT_EQ(d.senden("ATH\r"), "\r\nOK\r\n");
    EXPECT_EQ(d.m_modem.zustand(), SimModemLogik::Zustand::Befehle);
}

TEST(SimModemLogik, remoteHangUpReportsNoCarrier)
{
    SimModem m = modem();
    m.auflegenNachMs = 3000;
    ModemDialog d(m);
    d.verbinden();
    EXPECT_EQ(d.warten(2000), "");
    EXPECT_EQ(d.warten(1500), "\r\nNO CARRIER\r\n");
    EXPECT_FALSE(d.m_modem.datenModus());
}

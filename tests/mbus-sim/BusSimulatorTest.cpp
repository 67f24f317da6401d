// The simulated bus as the program sees it: real bytes on a pseudo-terminal.

#include "BusSimulator.h"

#include "Gegenstelle.h"
#include "SimRahmen.h"
#include "support/TestUmgebung.h"

#include <QElapsedTimer>
#include <QThread>

#include <memory>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr quint8 SndNke = 0x40;
constexpr quint8 Req7b = 0x7B;
constexpr quint8 Req5b = 0x5B;
constexpr quint8 SndUd = 0x53;
constexpr quint8 Auswahl = 0xFD;
constexpr quint8 Alle = 0xFE;
const QByteArray E5("\xE5", 1);
const QByteArray Nichts;

// An RSP_UD is sound: start, lengths, checksum, stop.
bool istTelegramm(const QByteArray& b)
{
    if (b.size() < 9 || quint8(b[0]) != 0x68 || b[1] != b[2] || quint8(b[3]) != 0x68)
        return false;
    const int l = quint8(b[1]);
    return b.size() == l + 6 && quint8(b[l + 4]) == SimRahmen::pruefsumme(b.mid(4, l)) &&
           quint8(b[l + 5]) == 0x16;
}

QByteArray auswahlRahmen(const char* maske)
{
    return Lang(SndUd, Auswahl, 0x52, Hex(maske));
}

const char* ZweiZaehler = "zaehler adresse=1 id=12345678 hersteller=LUG version=07 medium=04\n"
                          "satz 0C13 45230100\n"
                          "zaehler adresse=2 id=12345679 hersteller=LUG version=07 medium=04\n"
                          "satz 0C13 00100000\n";

// One record that makes the RSP_UD 100 bytes long: 4 + C, A, CI + 12 header + 79 + CS, stop.
const QString HundertByte =
    "zaehler adresse=1 id=1\nsatz 0D13 4C" + QString("00").repeated(0x4C) + "\n";

class BusSimulatorTest : public TestUmgebung
{
protected:
    void TearDown() override
    {
        m_leitung.reset();
        m_sim.reset();
        TestUmgebung::TearDown();
    }

    // Starts the bus of the text, pacing off unless the text switches it on, and opens the
    // program's side at the given speed.
    void starten(const QString& busText, int baud = 2400)
    {
        m_leitung.reset();
        SimBus bus;
        QString fehler;
        ASSERT_TRUE(BusSimulator::busTextLesen("bus takt=nein\n" + busText, bus, &fehler))
            << qPrintable(fehler);
        m_sim = std::make_unique<BusSimulator>(bus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << qPrintable(fehler);
        m_leitung = std::make_unique<Gegenstelle>(m_sim->geraet(), baud);
        ASSERT_TRUE(m_leitung->offen());
    }

    // Sends a frame and reads the answer. The simulator takes the frame and queues its answer in
    // one step, so once it has the frame a short wait tells an answer from silence.
    QByteArray austausch(const QByteArray& rahmen)
    {
        const int vorher = static_cast<int>(m_sim->empfangeneRahmen().size());
        m_leitung->senden(rahmen);
        EXPECT_TRUE(m_sim->warteAufRahmen(vorher + 1, 2000));
        return m_leitung->lesen(60, 150);
    }

    std::unique_ptr<BusSimulator> m_sim;
    std::unique_ptr<Gegenstelle> m_leitung;
};

} // namespace

TEST_F(BusSimulatorTest, requestIsAnsweredWithTheTelegramOfTheAddressedMeter)
{
    starten(ZweiZaehler);
    EXPECT_EQ(austausch(Kurz(SndNke, 2)), E5);
    const QByteArray t = austausch(Kurz(Req7b, 2));
    ASSERT_TRUE(istTelegramm(t)) << t.toHex(' ').constData();
    EXPECT_EQ(quint8(t[5]), 2);
    EXPECT_EQ(t.mid(7, 4), Hex("79 56 34 12"));
    EXPECT_EQ(t.mid(19, 6), Hex("0C 13 00 10 00 00"));
    const QByteArray naechstes = austausch(Kurz(Req5b, 2));
    EXPECT_EQ(quint8(naechstes[15]), quint8(t[15]) + 1) << "access number";
    EXPECT_EQ(austausch(Kurz(Req7b, 9)), Nichts);
}

TEST_F(BusSimulatorTest, meterIsSilentAtAnotherBaudRateAndTheTerminalCanBeReopened)
{
    starten(ZweiZaehler, 9600);
    EXPECT_EQ(austausch(Kurz(SndNke, 1)), Nichts);
    m_leitung->schliessen();
    ASSERT_TRUE(m_leitung->oeffnen());
    m_leitung->baudSetzen(2400);
    EXPECT_EQ(austausch(Kurz(SndNke, 1)), E5);
    const QList<SimEmpfangenerRahmen> rahmen = m_sim->empfangeneRahmen();
    ASSERT_EQ(rahmen.size(), 2);
    EXPECT_EQ(rahmen[0].baud, 9600);
    EXPECT_EQ(rahmen[1].baud, 2400);
    EXPECT_EQ(rahmen[1].bytes, Kurz(SndNke, 1));
}

TEST_F(BusSimulatorTest, answersStartingTogetherCollide)
{
    starten(ZweiZaehler);
    const QByteArray antwort = austausch(Kurz(SndNke, Alle));
    EXPECT_FALSE(antwort.isEmpty());
    EXPECT_NE(antwort, E5);
    EXPECT_EQ(m_sim->statistik().kollisionen, 1);
    EXPECT_EQ(m_sim->zaehlerStand(0).quittungen + m_sim->zaehlerStand(1).quittungen, 2);

    starten(QString("bus kollision_versatz=0\n") + ZweiZaehler);
    EXPECT_EQ(austausch(Kurz(SndNke, Alle)), E5) << "identical bits at the same time pass";

    starten("zaehler adresse=5 id=11111111\nsatz 0C13 45230100\n"
            "zaehler adresse=5 id=22222222\nsatz 0C13 99990000\n");
    const QByteArray telegramme = austausch(Kurz(Req7b, 5));
    EXPECT_FALSE(telegramme.isEmpty());
    EXPECT_FALSE(istTelegramm(telegramme)) << telegramme.toHex(' ').constData();
    EXPECT_EQ(m_sim->statistik().telegramme, 2);
}

TEST_F(BusSimulatorTest, singleMeterAnswers254AndNobodyAnswers255)
{
    starten("zaehler adresse=7 id=1\n");
    EXPECT_EQ(austausch(Kurz(SndNke, Alle)), E5);
    const QByteArray t = austausch(Kurz(Req7b, Alle));
    ASSERT_TRUE(istTelegramm(t));
    EXPECT_EQ(quint8(t[5]), 7);
    EXPECT_EQ(austausch(Lang(SndUd, 0xFF, 0xBD, {})), Nichts);
    EXPECT_EQ(m_sim->zaehlerStand(0).baud, 9600) << "heard all the same";
}

TEST_F(BusSimulatorTest, selectedMeterAnswers253UntilNkeOrAnotherSelectionDeselectsIt)
{
    starten(ZweiZaehler);
    EXPECT_EQ(austausch(auswahlRahmen("78 56 34 12 FF FF FF FF")), E5);
    EXPECT_EQ(austausch(auswahlRahmen("79 56 34 12 FF FF FF FF")), E5);
    EXPECT_FALSE(m_sim->zaehlerStand(0).ausgewaehlt);
    EXPECT_TRUE(m_sim->zaehlerStand(1).ausgewaehlt);
    const QByteArray t = austausch(Kurz(Req7b, Auswahl));
    ASSERT_TRUE(istTelegramm(t));
    EXPECT_EQ(t.mid(7, 4), Hex("79 56 34 12"));
    EXPECT_EQ(austausch(Kurz(SndNke, Auswahl)), E5);
    EXPECT_FALSE(m_sim->zaehlerStand(1).ausgewaehlt);
    EXPECT_EQ(austausch(Kurz(Req7b, Auswahl)), Nichts);
}

TEST_F(BusSimulatorTest, wildcardSelectionSelectsExactlyTheMatchingMeters)
{
    // F in a digit leaves the digit open, FF in a byte of manufacturer, version or medium the byte
    starten("zaehler adresse=1 id=12345678 hersteller=LUG version=07 medium=04\n"
            "zaehler adresse=2 id=12345679 hersteller=LUG version=07 medium=07\n"
            "zaehler adresse=3 id=12345688 hersteller=ZRI version=01 medium=07\n"
            "zaehler adresse=4 id=99345678 hersteller=LUG version=07 medium=04\n");
    const std::pair<const char*, QList<bool>> faelle[] = {
        {"FF FF FF FF FF FF FF FF", {true, true, true, true}},
        {"FF 56 34 12 FF FF FF FF", {true, true, true, false}},
        {"7F 56 34 12 FF FF FF FF", {true, true, false, false}},
        {"FF FF 34 FF FF FF FF 07", {false, true, true, false}},
        {"FF FF FF FF A7 32 FF 04", {true, false, false, true}},
        {"FF FF FF FF FF FF 01 FF", {false, false, true, false}},
        {"78 56 34 F9 FF FF FF FF", {false, false, false, true}},
        {"F8 56 34 12 FF FF FF FF", {true, false, true, false}},
        {"78 56 34 1F FF FF FF FF", {true, false, false, false}},
        {"FF FF FF FF FF 32 FF FF", {false, false, false, false}}, // FF in one byte of two
        {"00 00 00 00 FF FF FF FF", {false, false, false, false}},
        {"FF FF FF FF FF FF FF", {false, false, false, false}}, // too short
    };
    for (const auto& [maske, ausgewaehlt] : faelle) {
        const QByteArray antwort = austausch(auswahlRahmen(maske));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(m_sim->zaehlerStand(i).ausgewaehlt, ausgewaehlt[i]) << maske << " " << i;
        const qsizetype treffer = ausgewaehlt.count(true);
        EXPECT_EQ(antwort.isEmpty(), treffer == 0) << maske;
        EXPECT_EQ(antwort == E5, treffer == 1) << maske;
    }
}

TEST_F(BusSimulatorTest, multiTelegramAnswerAdvancesOnlyWhenFcbToggles)
{
    starten("zaehler adresse=3 id=3\n"
            "satz 0C13 01000000\ntelegramm\nsatz 0C13 02000000\ntelegramm\nsatz 0C13 03000000\n");
    // the record's first value byte, and whether more telegrams follow (DIF 1F at the end)
    const auto lesen = [this](quint8 c) {
        const QByteArray t = austausch(Kurz(c, 3));
        if (!istTelegramm(t))
            return QString::fromLatin1(t.toHex(' '));
        return QString::number(quint8(t[21])) + (quint8(t[t.size() - 3]) == 0x1F ? "+" : "");
    };
    EXPECT_EQ(lesen(Req7b), "1+");
    EXPECT_EQ(lesen(Req7b), "1+") << "same FCB: the last telegram once more";
    EXPECT_EQ(lesen(Req5b), "2+");
    EXPECT_EQ(lesen(Req7b), "3");
    EXPECT_EQ(lesen(Req5b), "1+") << "after the last telegram the first again";
    EXPECT_EQ(lesen(Req7b), "2+");
    EXPECT_EQ(austausch(Kurz(SndNke, 3)), E5);
    EXPECT_EQ(lesen(Req7b), "1+") << "SND_NKE starts over";
}

TEST_F(BusSimulatorTest, applicationResetOfTheSelectedMeterStartsItsTelegramsOver)
{
    starten("zaehler adresse=3 id=12345678\n"
            "satz 0C13 01000000\ntelegramm\nsatz 0C13 02000000\ntelegramm\nsatz 0C13 03000000\n");
    const auto lesen = [this](quint8 c, quint8 a) {
        const QByteArray t = austausch(Kurz(c, a));
        return istTelegramm(t) ? int(quint8(t[21])) : -1;
    };
    const QByteArray auswahl = auswahlRahmen("78 56 34 12 FF FF FF FF");
    const QByteArray reset = Lang(SndUd, Auswahl, 0x50, QByteArray());
    // A select (FCB 0) and REQ_UD2 7B (FCB 1): a fresh request every time, the next telegram.
    EXPECT_EQ(austausch(auswahl), E5);
    EXPECT_EQ(lesen(Req7b, Auswahl), 1);
    EXPECT_EQ(austausch(auswahl), E5);
    EXPECT_EQ(lesen(Req7b, Auswahl), 2);
    for (int runde = 0; runde < 2; ++runde) {
        EXPECT_EQ(austausch(auswahl), E5);
        EXPECT_EQ(austausch(reset), E5);
        EXPECT_TRUE(m_sim->zaehlerStand(0).ausgewaehlt) << "the reset keeps the selection";
        EXPECT_EQ(lesen(Req7b, Auswahl), 1) << runde;
    }
    EXPECT_EQ(lesen(Req5b, Auswahl), 2);
    // Also by the primary address.
    EXPECT_EQ(austausch(Lang(SndUd, 3, 0x50, QByteArray())), E5);
    EXPECT_EQ(lesen(Req7b, 3), 1);
}

// A meter with fcb_streng takes a SND_UD with the FCB of the last frame with FCV for a
// repetition: E5, not carried out. A selection is always carried out.
TEST_F(BusSimulatorTest, meterHoldingItsSndUdToTheFcbRuleIgnoresARepeatedResetOrChange)
{
    starten("zaehler adresse=3 id=12345678 fcb_streng\n"
            "satz 0C13 01000000\ntelegramm\nsatz 0C13 02000000\ntelegramm\nsatz 0C13 03000000\n");
    const auto lesen = [this](quint8 c, quint8 a) {
        const QByteArray t = austausch(Kurz(c, a));
        return istTelegramm(t) ? int(quint8(t[21])) : -1;
    };
    constexpr quint8 SndUdFcb = 0x73;
    const QByteArray auswahl = auswahlRahmen("78 56 34 12 FF FF FF FF");
    EXPECT_EQ(austausch(auswahl), E5);
    EXPECT_EQ(lesen(Req7b, Auswahl), 1);
    // Select (FCB 0), reset with FCB 0: a repetition of the select, acknowledged, not done.
    EXPECT_EQ(austausch(auswahl), E5);
    EXPECT_EQ(austausch(Lang(SndUd, Auswahl, 0x50, QByteArray())), E5);
    EXPECT_EQ(lesen(Req7b, Auswahl), 2);
    // Select (FCB 0), reset (FCB 1), select again (FCB 0), REQ_UD2 7B: the first telegram.
    for (int runde = 0; runde < 2; ++runde) {
        EXPECT_EQ(austausch(auswahl), E5);
        EXPECT_EQ(austausch(Lang(SndUdFcb, Auswahl, 0x50, QByteArray())), E5);
        EXPECT_EQ(austausch(auswahl), E5) << "a selection with the same FCB is carried out";
        EXPECT_TRUE(m_sim->zaehlerStand(0).ausgewaehlt);
        EXPECT_EQ(lesen(Req7b, Auswahl), 1) << runde;
    }
    // A new address with the FCB of the REQ_UD2 before (7B: FCB 1) is not taken; with the other
    // one it is.
    EXPECT_EQ(austausch(Lang(SndUdFcb, 3, 0x51, Hex("01 7A 07"))), E5);
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 3);
    EXPECT_EQ(austausch(Lang(SndUd, 3, 0x51, Hex("01 7A 07"))), E5);
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 7);

    // A meter without the fault carries out the reset whatever its FCB.
    starten("zaehler adresse=3 id=12345678\n"
            "satz 0C13 01000000\ntelegramm\nsatz 0C13 02000000\n");
    EXPECT_EQ(austausch(auswahl), E5);
    EXPECT_EQ(lesen(Req7b, Auswahl), 1);
    EXPECT_EQ(austausch(auswahl), E5);
    EXPECT_EQ(austausch(Lang(SndUd, Auswahl, 0x50, QByteArray())), E5);
    EXPECT_EQ(lesen(Req7b, Auswahl), 1);
}

TEST_F(BusSimulatorTest, baudSwitchIsAcknowledgedAtTheOldRateThenMeterListensAtTheNewOne)
{
    starten(ZweiZaehler);
    EXPECT_EQ(austausch(Lang(SndUd, 1, 0xBD, {})), E5);
    EXPECT_EQ(m_sim->zaehlerStand(0).baud, 9600);
    EXPECT_EQ(austausch(Kurz(Req7b, 1)), Nichts);
    // by secondary address only the selected meter switches
    EXPECT_EQ(austausch(Lang(SndUd, Auswahl, 0xBA, Hex("79 56 34 12 FF FF FF FF"))), E5);
    EXPECT_EQ(m_sim->zaehlerStand(1).baud, 1200);
    m_leitung->baudSetzen(9600);
    EXPECT_TRUE(istTelegramm(austausch(Kurz(Req7b, 1))));
    EXPECT_EQ(austausch(Kurz(Req7b, 2)), Nichts);
}

TEST_F(BusSimulatorTest, setPrimaryAddressMovesTheMeterUpTo250)
{
    starten(ZweiZaehler);
    EXPECT_EQ(austausch(auswahlRahmen("78 56 34 12 FF FF FF FF")), E5);
    EXPECT_EQ(austausch(Lang(SndUd, Auswahl, 0x51, Hex("01 7A 07"))), E5);
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 7);
    EXPECT_EQ(austausch(Kurz(Req7b, 1)), Nichts);
    EXPECT_EQ(austausch(Kurz(Req7b, 7)).mid(5, 1), Hex("07"));
    EXPECT_EQ(austausch(Lang(SndUd, 2, 0x51, Hex("01 7A 05"))), E5);
    EXPECT_EQ(austausch(Lang(SndUd, 5, 0x51, Hex("01 7A FB"))), Nichts);
    EXPECT_EQ(m_sim->zaehlerStand(1).primaerAdresse, 5);

    // a meter that wants its ID ignores the short change frame but takes the long one
    starten("zaehler adresse=1 id=12345678 aendern_nur_mit_id\n");
    EXPECT_EQ(austausch(auswahlRahmen("78 56 34 12 FF FF FF FF")), E5);
    EXPECT_EQ(austausch(Lang(SndUd, Auswahl, 0x51, Hex("01 7A 09"))), Nichts);
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 1);
    EXPECT_EQ(austausch(Lang(SndUd, Auswahl, 0x51, Hex("78 56 34 12 FF FF FF FF 01 7A 09"))), E5);
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 9);
}

TEST_F(BusSimulatorTest, meterWithoutSelectAcknowledgementIsSelectedSilently)
{
    starten("zaehler adresse=1 id=12345678 auswahl_ohne_quittung\n");
    EXPECT_EQ(austausch(auswahlRahmen("78 56 34 12 FF FF FF FF")), Nichts);
    EXPECT_TRUE(m_sim->zaehlerStand(0).ausgewaehlt);
    EXPECT_EQ(austausch(Lang(SndUd, Auswahl, 0x51, Hex("01 7A 09"))), E5);
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 9);
}

TEST_F(BusSimulatorTest, faultyMetersKeepSilentWhereTheirFaultSays)
{
    starten("zaehler adresse=1 id=1 stumm\n"
            "zaehler adresse=2 id=2 ohne_nke\n"
            "zaehler adresse=3 id=3 ohne_daten\n"
            "zaehler adresse=4 id=12345678 ohne_quittung\n"
            "zaehler adresse=5 id=5 antwort_ab=3\n");
    const std::pair<QByteArray, bool> faelle[] = {
        {Kurz(SndNke, 1), false},    {Kurz(Req7b, 1), false},
        {Kurz(SndNke, 2), false},    {Kurz(Req7b, 2), true},
        {Kurz(SndNke, 3), true},     {Kurz(Req7b, 3), false},
        {Kurz(Req7b, 5), false},     {Kurz(Req7b, 5), false},
        {Kurz(Req7b, 5), true},      {auswahlRahmen("78 56 34 12 FF FF FF FF"), false},
        {Kurz(Req7b, Auswahl), true}};
    for (const auto& [rahmen, antwortet] : faelle)
        EXPECT_EQ(!austausch(rahmen).isEmpty(), antwortet) << rahmen.toHex(' ').constData();
    EXPECT_TRUE(m_sim->zaehlerStand(3).ausgewaehlt) << "acts without acknowledging";
}

TEST_F(BusSimulatorTest, checksumEchoAndNoiseFaultsSpoilOnlyWhatTheySay)
{
    starten("bus echo\nzaehler adresse=1 id=1 pruefsumme_falsch\nsatz 0C13 45230100\n"
            "zaehler adresse=2 id=2 rauschen_vor=3 rauschen_nach=2\n");
    const QByteArray t = austausch(Kurz(Req7b, 1)).mid(5);
    ASSERT_EQ(t.size(), 6 + 3 + 12 + 6);
    EXPECT_FALSE(istTelegramm(t));
    EXPECT_EQ(quint8(t[t.size() - 2]), quint8(SimRahmen::pruefsumme(t.mid(4, t.size() - 6)) + 1));
    EXPECT_EQ(austausch(Kurz(SndNke, 9)), Kurz(SndNke, 9)) << "the echo alone";
    const QByteArray verrauscht = austausch(Kurz(SndNke, 2));
    ASSERT_EQ(verrauscht.size(), 5 + 6);
    EXPECT_EQ(verrauscht.left(5), Kurz(SndNke, 2));
    EXPECT_EQ(verrauscht.mid(8, 1), E5);
    EXPECT_EQ(m_sim->statistik().rauschBytes, 5);

    starten("bus rauschen_alle=20\n");
    EXPECT_FALSE(m_leitung->lesenAnzahl(3, 2000).isEmpty()) << "noise without a request";
}

TEST_F(BusSimulatorTest, lateAndSplitAnswersArriveAfterTheirDelay)
{
    starten("zaehler adresse=1 id=1 spaet=400\nzaehler adresse=2 id=2 geteilt=400\n");
    m_leitung->senden(Kurz(SndNke, 1));
    QElapsedTimer uhr;
    uhr.start();
    EXPECT_EQ(m_leitung->lesenAnzahl(1, 3000), E5);
    EXPECT_GT(uhr.elapsed(), 300);

    m_leitung->senden(Kurz(Req7b, 2));
    const QByteArray teil = m_leitung->lesen(200, 2000);
    EXPECT_EQ(teil.size(), 10);
    EXPECT_TRUE(istTelegramm(teil + m_leitung->lesen(100, 2000)));
}

TEST_F(BusSimulatorTest, pacingMakesAHundredByteFrameTakeItsLineTime)
{
    // 100 bytes at 2400 baud, 11 bits each: 458 ms on a real line; without pacing at once
    for (const bool takt : {true, false}) {
        starten(QString(takt ? "bus takt=ja\n" : "") + HundertByte);
        m_leitung->senden(Kurz(Req7b, 1));
        const QByteArray erstes = m_leitung->lesenAnzahl(1, 2000);
        ASSERT_FALSE(erstes.isEmpty());
        QElapsedTimer uhr;
        uhr.start();
        const QByteArray rest = m_leitung->lesenAnzahl(100 - int(erstes.size()), 3000);
        EXPECT_TRUE(istTelegramm(erstes + rest));
        EXPECT_EQ(uhr.elapsed() > 400, takt) << uhr.elapsed();
    }
}

TEST_F(BusSimulatorTest, modemDialsPassesFramesAndHangsUp)
{
    starten(QString("modem waehlzeit=100 schutzzeit=200 busbaud=2400\n"
                    "nummer 0301111 BUSY\n") +
                ZweiZaehler,
            9600);
    const auto modem = [this](const QByteArray& text) {
        return m_leitung->austausch(text, 60, 1000);
    };
    EXPECT_EQ(modem("AT\r"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(modem("ATE0\r"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(modem("ATDT0301111\r"), "\r\nBUSY\r\n");
    EXPECT_EQ(modem("ATDT0302222\r"), "\r\nCONNECT 9600\r\n");
    EXPECT_TRUE(m_sim->modemVerbunden());
    EXPECT_EQ(m_sim->modemNummer(), "0302222");
    EXPECT_EQ(austausch(Kurz(SndNke, 1)), E5) << "the bus behind the modem runs at 2400";
    QThread::msleep(300);
    EXPECT_EQ(modem("+++"), "\r\nOK\r\n");
    EXPECT_EQ(modem(Kurz(SndNke, 1)), Nichts) << "command mode: nothing reaches the bus";
    EXPECT_EQ(modem("ATH\r"), "\r\nOK\r\n");
    EXPECT_FALSE(m_sim->modemVerbunden());
}

namespace {

// Whether the terminal is held for exclusive use: a program that is not root cannot open it
// (EBUSY); root can, and asks the flag.
bool exklusiv(const QByteArray& geraet)
{
    const int fd = ::open(geraet.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == EBUSY;
    int wert = 0;
    ::ioctl(fd, TIOCGEXCL, &wert);
    ::close(fd);
    return wert != 0;
}

} // namespace

// The serial layer takes the port for exclusive use; a program killed while it holds the
// terminal must not leave it taken, as the hardware's last close would not.
TEST_F(BusSimulatorTest, exclusiveUseEndsWhenTheProgramHoldingTheTerminalIsKilled)
{
    starten(ZweiZaehler);
    m_leitung.reset();
    const QByteArray geraet = m_sim->geraet().toLocal8Bit();
    int signal[2];
    ASSERT_EQ(::pipe(signal), 0);
    const pid_t kind = ::fork();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
        const int fd = ::open(geraet.constData(), O_RDWR | O_NOCTTY);
        if (fd >= 0 && ::ioctl(fd, TIOCEXCL) == 0) {
            [[maybe_unused]] const auto n = ::write(signal[1], "x", 1);
        }
        ::pause();
        ::_exit(0);
    }
    ::close(signal[1]);
    char zeichen = 0;
    ASSERT_EQ(::read(signal[0], &zeichen, 1), 1);
    ::close(signal[0]);
    EXPECT_TRUE(exklusiv(geraet));

    ::kill(kind, SIGKILL);
    ASSERT_EQ(::waitpid(kind, nullptr, 0), kind);
    QElapsedTimer frist;
    frist.start();
    while (exklusiv(geraet) && frist.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_FALSE(exklusiv(geraet));
    // The next program opens it and is served.
    m_leitung = std::make_unique<Gegenstelle>(m_sim->geraet(), 2400);
    ASSERT_TRUE(m_leitung->offen());
    EXPECT_EQ(austausch(Kurz(SndNke, 1)), E5);
}

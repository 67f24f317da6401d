// The link-layer engine against scripted meters: requests as bytes, answers fed in pieces, time
// reported by the test. Also a meter's long frame that pauses in its middle, as a USB line
// adapter makes it seem at 9600 baud (it hands on received bytes every 16 ms).

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "driver/engine/Antwortpruefung.h"
#include "driver/engine/Busmaster.h"

#include <chrono>

namespace {

using namespace mbus;
using namespace std::chrono_literals;
using dekodiertest::Hex;
using dekodiertest::RahmenMit;

const Buszeit kT0{1'000'000};
const MBusAdresse kAdresse5{5};
// Four characters of 11 bits at 9600 baud.
constexpr Dauer kPause9600 = 4584us;

// One fabrication number record (12345678) behind a variable data header.
QByteArray GuterRahmen()
{
    return RahmenMit("0C7804030201");
}

class EngineTest : public TestUmgebung
{
protected:
    // Feeds the pieces one millisecond apart, starting 50 ms after t, then lets the answer end.
    const Ereignis& Antworte(const QList<QByteArray>& stuecke, Buszeit t)
    {
        Buszeit jetzt = t + 50ms;
        for (const QByteArray& stueck : stuecke) {
            m_master.empfange(stueck, jetzt);
            jetzt += 1ms;
        }
        return m_master.zeitAbgelaufen(*m_master.frist());
    }
    // Reports every deadline up to `bis` (exclusive), as a caller polling the engine does.
    void fristenBis(Buszeit bis)
    {
        while (m_master.laeuft() && *m_master.frist() < bis)
            m_master.zeitAbgelaufen(*m_master.frist());
    }
    // Reports every deadline until the exchange ends; gives the time it ended.
    Buszeit bisZumEnde()
    {
        Buszeit t{0};
        for (int i = 0; i < 100000 && m_master.laeuft(); ++i) {
            t = *m_master.frist();
            m_master.zeitAbgelaufen(t);
        }
        return t;
    }
    void mit9600Baud()
    {
        Zeitparameter zeiten;
        zeiten.baud = 9600;
        m_master.setzeZeiten(zeiten);
    }

    Busmaster m_master;
};

TEST_F(EngineTest, reqUd2AntwortInDreiStueckenGibtTelegramm)
{
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangLeerlauf);
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    EXPECT_EQ(sendung.bytes, Hex("107B058016"));
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangLaeuft);

    const QByteArray rahmen = GuterRahmen();
    const Ereignis& e = Antworte({rahmen.first(3), rahmen.sliced(3, 10), rahmen.sliced(13)}, kT0);

    EXPECT_EQ(e.art, Ereignisart::Telegramm);
    EXPECT_EQ(e.empfangsfehler, 0);
    EXPECT_EQ(e.antwort, rahmen);
    ASSERT_TRUE(e.dekodiert);
    const auto* telegramm = std::get_if<Telegramm>(&*e.dekodiert);
    ASSERT_NE(telegramm, nullptr);
    EXPECT_EQ(IdentText(telegramm->kopf), "12345678");
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangTelegramm);
}

TEST_F(EngineTest, fcbWechseltNachGuterAntwortJeAdresseUndBeginntNachSndNkeNeu)
{
    QList<quint8> steuerfelder;
    auto anfrage = [&](Buszeit t, bool antwort) {
        steuerfelder << quint8(m_master.reqUd2(kAdresse5, t).bytes[1]);
        if (antwort)
            Antworte({GuterRahmen()}, t);
        else
            m_master.zeitAbgelaufen(t + 1s);
    };
    anfrage(kT0, true);
    EXPECT_TRUE(m_master.naechstesFcb(MBusAdresse(6)));
    anfrage(kT0 + 2s, false); // the repetition keeps its FCB
    anfrage(kT0 + 4s, true);
    anfrage(kT0 + 6s, true);
    EXPECT_EQ(m_master.sndNke(kAdresse5, kT0 + 8s).bytes, Hex("1040054516"));
    Antworte({Hex("E5")}, kT0 + 8s);
    anfrage(kT0 + 10s, true);
    m_master.sndNke(MBusAdresse(MBusAdresse::kRundruf), kT0 + 12s);
    EXPECT_TRUE(m_master.naechstesFcb(kAdresse5));

    EXPECT_EQ(steuerfelder, (QList<quint8>{0x7B, 0x5B, 0x5B, 0x7B, 0x7B}));
}

TEST_F(EngineTest, auswahlmaskeErgibtDenGenauenRahmenOderNichts)
{
    const struct
    {
        Auswahlmaske maske;
        const char* bytes; // "" : refused, nothing starts
    } faelle[] = {
        {{"ffff1234", "", {}, {}}, "680B0B6853FD523412FFFFFFFFFFFFE216"},
        {{"1234", "", {}, {}}, "680B0B6853FD5234120000FFFFFFFFE416"},
        {{"12345678", "EFE", 1, 4}, "680B0B6853FD5278563412C51401049416"},
        {{"12A45678", "", {}, {}}, ""},
        {{"123456789", "", {}, {}}, ""},
        {{"", "", {}, {}}, ""},
        {{"12345678", "EF", {}, {}}, ""},
        {{"12345678", "E1E", {}, {}}, ""},
    };
    for (const auto& fall : faelle) {
        Busmaster master;
        const std::optional<Sendung> sendung = master.waehle(fall.maske, kT0);
        EXPECT_EQ(sendung ? sendung->bytes.toHex().toUpper() : QByteArray(), fall.bytes)
            << fall.maske.ident.toStdString();
        EXPECT_EQ(master.laeuft(), bool(sendung));
    }
}

TEST_F(EngineTest, ohneAntwortZeitueberschreitungNachDerBerechnetenFrist)
{
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    // 5 bytes of 11 bits at 2400 baud (22.917 ms), then 330 bit times (137.5 ms) + 50 ms, then
    // the first character of an answer that starts at the end of that window (4.583 ms) and
    // the allowance for the operating system and the level converter.
    const Buszeit frist = kT0 + 22917us + 137500us + 50ms + 4584us + kEmpfangsZugabe;
    EXPECT_EQ(sendung.frist, frist);
    EXPECT_EQ(m_master.zeitAbgelaufen(frist - 1us).art, Ereignisart::Laeuft);

    const Ereignis& e = m_master.zeitAbgelaufen(frist);
    EXPECT_EQ(e.art, Ereignisart::Zeitueberschreitung);
    EXPECT_EQ(e.empfangsfehler, kFehlerZeitueberschreitung);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangZeitueberschreitung);
    // Without a baud rate the window is that of 2400 baud, never endless.
    EXPECT_EQ(Antwortfenster({0, 330, 50, 4, 11}), 187500us);
}

// The window bounds when an answer starts; its first character is in hand one character time
// later. An answer or acknowledgement starting at the very end of the window is read, at 300,
// 2400 and 9600 baud.
TEST_F(EngineTest, answerStartingAtTheEndOfTheWindowIsRead)
{
    for (const int baud : {300, 2400, 9600}) {
        Zeitparameter zeiten;
        zeiten.baud = baud;
        m_master.setzeZeiten(zeiten);
        const Dauer zeichen = Sendedauer(zeiten, 1);
        for (const bool telegramm : {false, true}) {
            const Sendung sendung =
                telegramm ? m_master.reqUd2(kAdresse5, kT0) : m_master.sndNke(kAdresse5, kT0);
            const Buszeit ende = kT0 + Sendedauer(zeiten, 5);
            // Polled as a caller does, the first character is in hand a little after it is
            // complete on the line.
            const Buszeit erstesZeichen = ende + Antwortfenster(zeiten) + zeichen + 500us;
            fristenBis(erstesZeichen);
            ASSERT_TRUE(m_master.laeuft()) << baud << telegramm;
            const QByteArray antwort = telegramm ? GuterRahmen() : Hex("E5");
            m_master.empfange(antwort.first(1), erstesZeichen);
            Buszeit t = erstesZeichen;
            for (qsizetype i = 1; i < antwort.size(); ++i) {
                t += zeichen;
                fristenBis(t);
                m_master.empfange(antwort.sliced(i, 1), t);
            }
            bisZumEnde();
            EXPECT_EQ(m_master.ereignis().art,
                      telegramm ? Ereignisart::Telegramm : Ereignisart::Quittung)
                << baud << telegramm;
            EXPECT_GT(sendung.frist, erstesZeichen);
        }
    }
}

// A request to primary address 5 is answered by the meter at 5 alone. A sound frame that names
// address 9 (that meter answering its own request too late) is handed out as foreign and the
// exchange waits on for its own answer up to the end of the window.
TEST_F(EngineTest, frameOfAnotherAddressIsNoAnswerAndTheOwnOneIsStillTaken)
{
    const QByteArray fremd = dekodiertest::BaueRahmen(
        dekodiertest::VariablerKopf() + Hex("0C7804030201"), 0x72, 0x08, 0x09);
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    m_master.empfange(fremd, kT0 + 60ms);
    EXPECT_TRUE(m_master.laeuft());
    EXPECT_EQ(m_master.fremdeBytes(), fremd);
    EXPECT_TRUE(m_master.fremdeBytes().isEmpty()); // handed out once
    fristenBis(kT0 + 150ms);
    ASSERT_TRUE(m_master.laeuft());
    m_master.empfange(GuterRahmen(), kT0 + 150ms);
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Telegramm);
    EXPECT_EQ(m_master.ereignis().antwort, GuterRahmen());
    EXPECT_FALSE(m_master.naechstesFcb(kAdresse5)); // the own answer toggled the FCB

    // Only the other meter's frame, with line noise behind it: a time-out at the usual deadline.
    const Sendung zweite = m_master.reqUd2(kAdresse5, kT0);
    m_master.empfange(fremd + Hex("00"), kT0 + 30ms);
    EXPECT_EQ(bisZumEnde(), zweite.frist);
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Zeitueberschreitung);
    EXPECT_EQ(m_master.fremdeBytes(), fremd + Hex("00"));
    EXPECT_EQ(sendung.frist, zweite.frist);

    // A frame that ends past the window: the exchange ends at the pause behind it.
    m_master.sndNke(kAdresse5, kT0);
    m_master.empfange(fremd.first(1), zweite.frist - 1ms);
    const Buszeit spaet = zweite.frist + 10ms;
    fristenBis(spaet);
    m_master.empfange(fremd.sliced(1), spaet);
    EXPECT_EQ(bisZumEnde(), spaet + Antwortpause(kStandardZeiten));
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Zeitueberschreitung);

    // Selected meters (253) and every meter (254) answer with their own address.
    m_master.reqUd2(MBusAdresse(MBusAdresse::kNetzwerkschicht), kT0);
    m_master.empfange(fremd, kT0 + 30ms);
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Telegramm);
    m_master.reqUd2(MBusAdresse(MBusAdresse::kRundrufMitAntwort), kT0);
    m_master.empfange(fremd, kT0 + 30ms);
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Telegramm);
}

TEST_F(EngineTest, antwortenWerdenNachIhrenBytesBeurteilt)
{
    const QByteArray gut = GuterRahmen();
    QByteArray pruefsumme = gut;
    pruefsumme[gut.size() - 2] = char(gut[gut.size() - 2] + 1);
    const struct
    {
        QByteArray antwort;
        Ereignisart art;
        int bits;
    } faelle[] = {
        {pruefsumme, Ereignisart::Ungueltig, kFehlerPruefsumme},
        {gut.first(gut.size() - 3), Ereignisart::Ungueltig, kFehlerLaenge},
        // several meters at once
        {Hex("E5E5"), Ereignisart::Ungueltig, kFehlerKollision},
        {Hex("E5C5"), Ereignisart::Ungueltig, kFehlerKollision}, // the second one garbled
        {Hex("C7"), Ereignisart::Ungueltig, kFehlerKollision},   // both at once, bits mixed
        {Hex("E568"), Ereignisart::Ungueltig, kFehlerKollision},
        {gut + Hex("E5"), Ereignisart::Ungueltig, kFehlerKollision},
        // line noise around a single answer
        {gut + Hex("00FF"), Ereignisart::Telegramm, 0},
        {Hex("E500FFFF"), Ereignisart::Quittung, 0},
        {Hex("00FF00"), Ereignisart::Zeitueberschreitung, kFehlerZeitueberschreitung},
    };
    for (const auto& fall : faelle) {
        const Ereignis e = PruefeAntwort(fall.antwort);
        EXPECT_EQ(e.art, fall.art) << fall.antwort.toHex().toStdString();
        EXPECT_EQ(e.empfangsfehler, fall.bits) << fall.antwort.toHex().toStdString();
    }
    m_master.reqUd2(kAdresse5, kT0);
    Antworte({pruefsumme}, kT0);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangUngueltig);
}

TEST_F(EngineTest, rundrufOhneAntwortEndetImLeerlauf)
{
    const Sendung sendung = m_master.sndNke(MBusAdresse(MBusAdresse::kRundruf), kT0);
    EXPECT_EQ(sendung.bytes, Hex("1040FF3F16"));
    EXPECT_EQ(m_master.zeitAbgelaufen(sendung.frist).art, Ereignisart::Gesendet);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangLeerlauf);
}

TEST_F(EngineTest, endloserStromEndetSofortAlsUngueltig)
{
    m_master.reqUd2(kAdresse5, kT0);
    m_master.empfange(QByteArray(300, char(0x55)), kT0 + 50ms);
    EXPECT_FALSE(m_master.laeuft());
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Ungueltig);
}

TEST_F(EngineTest, spaeteBytesNachDemEndeGehoerenNiemandem)
{
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    m_master.zeitAbgelaufen(sendung.frist);
    m_master.empfange(GuterRahmen(), sendung.frist + 1ms);
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Zeitueberschreitung);
    EXPECT_TRUE(m_master.ereignis().antwort.isEmpty());
}

TEST_F(EngineTest, pauseVon25MsImRahmenBeendetDieAntwortNichtErstDieRahmenpause)
{
    mit9600Baud();
    m_master.reqUd2(kAdresse5, kT0);
    const QByteArray rahmen = GuterRahmen();
    const Buszeit t1 = kT0 + 20ms;
    m_master.empfange(rahmen.first(10), t1);
    fristenBis(t1 + 25ms);
    ASSERT_TRUE(m_master.laeuft());

    m_master.empfange(rahmen.sliced(10), t1 + 25ms);
    EXPECT_FALSE(m_master.laeuft());
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Telegramm);
    EXPECT_EQ(m_master.ereignis().antwort, rahmen);

    // A frame that stays incomplete ends after the 30 ms frame pause, as a length fault.
    m_master.reqUd2(kAdresse5, kT0 + 1s);
    m_master.empfange(rahmen.first(10), kT0 + 1s + 20ms);
    EXPECT_EQ(bisZumEnde(), kT0 + 1s + 50ms);
    EXPECT_EQ(m_master.ereignis().empfangsfehler, kFehlerLaenge);
}

TEST_F(EngineTest, einGesunderRahmenEndetMitSeinemLetztenByte)
{
    mit9600Baud();
    const QByteArray rahmen = GuterRahmen();
    for (const QByteArray& davor : {QByteArray(), Hex("00FF")}) {
        m_master.reqUd2(kAdresse5, kT0);
        m_master.empfange(davor + rahmen.first(rahmen.size() - 1), kT0 + 20ms);
        ASSERT_TRUE(m_master.laeuft());
        m_master.empfange(rahmen.last(1), kT0 + 21ms);
        EXPECT_FALSE(m_master.laeuft());
        EXPECT_EQ(m_master.ereignis().art, Ereignisart::Telegramm);
    }
    // Bytes behind the frame in the same piece still wait for silence: several meters.
    m_master.reqUd2(kAdresse5, kT0 + 1s);
    m_master.empfange(rahmen + Hex("E5"), kT0 + 1s + 20ms);
    EXPECT_EQ(bisZumEnde(), kT0 + 1s + 20ms + kPause9600);
    EXPECT_EQ(m_master.ereignis().empfangsfehler, kFehlerKollision);
}

TEST_F(EngineTest, allesAndereEndetNachDerUeblichenPause)
{
    mit9600Baud();
    QByteArray pruefsumme = GuterRahmen();
    pruefsumme[pruefsumme.size() - 2] = char(pruefsumme[pruefsumme.size() - 2] + 1);
    QByteArray stopp = GuterRahmen();
    stopp[stopp.size() - 1] = char(0x17);
    const struct
    {
        QByteArray antwort;
        Ereignisart art;
    } faelle[] = {
        {pruefsumme, Ereignisart::Ungueltig},
        {stopp, Ereignisart::Ungueltig},
        {Hex("E5"), Ereignisart::Quittung},
        {Hex("C7"), Ereignisart::Ungueltig},
        {Hex("680304"), Ereignisart::Ungueltig},     // the L fields differ: no frame
        {Hex("6803036900"), Ereignisart::Ungueltig}, // no second start character
    };
    for (const auto& fall : faelle) {
        m_master.reqUd2(kAdresse5, kT0);
        const Buszeit t1 = kT0 + 20ms;
        m_master.empfange(fall.antwort, t1);
        EXPECT_EQ(bisZumEnde(), t1 + kPause9600) << fall.antwort.toHex().toStdString();
        EXPECT_EQ(m_master.ereignis().art, fall.art) << fall.antwort.toHex().toStdString();
    }
    // Noise in front of a frame does not hide that it is incomplete.
    EXPECT_TRUE(LangerRahmenUnvollstaendig(Hex("00FF68151568")));
    EXPECT_FALSE(LangerRahmenUnvollstaendig(Hex("68151569")));
}

TEST_F(EngineTest, rahmenpauseGehtNieUeberDieHarteGrenze)
{
    Zeitparameter zeiten;
    zeiten.baud = 9600;
    zeiten.pauseImRahmenMs = 60000;
    m_master.setzeZeiten(zeiten);
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    m_master.empfange(GuterRahmen().first(10), kT0 + 20ms);
    EXPECT_EQ(bisZumEnde(), sendung.frist + Antwortgrenze(zeiten));
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Ungueltig);
}

} // namespace

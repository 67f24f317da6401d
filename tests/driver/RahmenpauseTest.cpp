// A meter's long frame that pauses in its middle, as a USB line adapter makes it seem at 9600
// baud (it hands on received bytes every 16 ms): the answer does not end while the frame is
// still incomplete by its own length field, an incomplete frame still ends, and anything else
// ends after the usual pause. On the engine, on the bus master with a scripted line, and end to
// end on the simulator.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "SkriptKanal.h"
#include "driver/engine/Antwortpruefung.h"
#include "driver/engine/Busmaster.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "driver/transport/Busanschluss.h"
#include "platform/Warten.h"

#include "BusSimulator.h"

#include <QElapsedTimer>

#include <chrono>

namespace {

using namespace mbus;
using namespace std::chrono_literals;
using dekodiertest::BaueRahmen;
using dekodiertest::Hex;
using treibertest::Leitung;
using treibertest::SkriptKanal;
using treibertest::SkriptUhr;

const Buszeit kT0{1'000'000};
const MBusAdresse kAdresse5{5};
// Four characters of 11 bits at 9600 baud.
constexpr Dauer kPause9600 = 4584us;

Zeitparameter Zeiten9600()
{
    Zeitparameter zeiten;
    zeiten.baud = 9600;
    return zeiten;
}

QByteArray Telegramm()
{
    return BaueRahmen(Hex(QStringLiteral("78563412C51401042A000000") + "0C7804030201"));
}

class RahmenpauseTest : public TestUmgebung
{
protected:
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

    Busmaster m_master{Zeiten9600()};
};

TEST_F(RahmenpauseTest, pauseOf25MsInTheMiddleOfAFrameDoesNotEndTheAnswer)
{
    m_master.reqUd2(kAdresse5, kT0);
    const QByteArray rahmen = Telegramm();
    const Buszeit t1 = kT0 + 20ms;
    m_master.empfange(rahmen.first(10), t1);
    fristenBis(t1 + 25ms);
    ASSERT_TRUE(m_master.laeuft());

    m_master.empfange(rahmen.sliced(10), t1 + 25ms);
    EXPECT_EQ(bisZumEnde(), t1 + 25ms + kPause9600);
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Telegramm);
    EXPECT_EQ(m_master.ereignis().antwort, rahmen);
}

TEST_F(RahmenpauseTest, incompleteFrameEndsAfterTheFramePauseAsLengthFault)
{
    m_master.reqUd2(kAdresse5, kT0);
    const Buszeit t1 = kT0 + 20ms;
    m_master.empfange(Telegramm().first(10), t1);
    EXPECT_EQ(bisZumEnde(), t1 + 30ms);
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Ungueltig);
    EXPECT_EQ(m_master.ereignis().empfangsfehler, kFehlerLaenge);
}

TEST_F(RahmenpauseTest, completeFrameAcknowledgementAndGarbageEndAfterTheUsualPause)
{
    const struct
    {
        QByteArray antwort;
        Ereignisart art;
    } faelle[] = {
        {Telegramm(), Ereignisart::Telegramm},
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
}

TEST_F(RahmenpauseTest, noiseInFrontOfAFrameDoesNotHideThatItIsIncomplete)
{
    const QByteArray rahmen = Telegramm();
    for (const QByteArray& anfang :
         {Hex("68"), Hex("6815"), Hex("681515"), Hex("00FF68151568"), rahmen.first(20)})
        EXPECT_TRUE(LangerRahmenUnvollstaendig(anfang)) << anfang.toHex().toStdString();
    for (const QByteArray& kein :
         {QByteArray(), Hex("00FF"), Hex("E5"), Hex("681516"), Hex("68151569"), rahmen})
        EXPECT_FALSE(LangerRahmenUnvollstaendig(kein)) << kein.toHex().toStdString();
}

TEST_F(RahmenpauseTest, framePauseNeverGoesBeyondTheHardLimit)
{
    Zeitparameter zeiten = Zeiten9600();
    zeiten.pauseImRahmenMs = 60000;
    m_master.setzeZeiten(zeiten);
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    m_master.empfange(Telegramm().first(10), kT0 + 20ms);
    EXPECT_EQ(bisZumEnde(), sendung.frist + Antwortgrenze(zeiten));
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Ungueltig);
}

TEST_F(RahmenpauseTest, busMasterOnALineWaitsOutA25MsPauseInAFrame)
{
    auto leitung = std::make_shared<Leitung>();
    Busanschluss anschluss(std::make_unique<SkriptKanal>(leitung),
                           std::make_unique<SkriptUhr>(leitung));
    ASSERT_EQ(anschluss.oeffnen(3, 9600), 0);
    leitung->jetzt += 1s;
    anschluss.reqUd2(kAdresse5);
    const QByteArray rahmen = Telegramm();
    leitung->eingang = rahmen.first(12);
    int ergebnis = kEmpfangLaeuft;
    for (int ms = 1; ms <= 25 && ergebnis == kEmpfangLaeuft; ++ms) {
        leitung->jetzt += 1ms;
        ergebnis = anschluss.pruefen();
    }
    ASSERT_EQ(ergebnis, kEmpfangLaeuft);
    leitung->eingang = rahmen.sliced(12);
    for (int ms = 0; ms < 100 && ergebnis == kEmpfangLaeuft; ++ms) {
        leitung->jetzt += 1ms;
        ergebnis = anschluss.pruefen();
    }
    EXPECT_EQ(ergebnis, kEmpfangTelegramm);
    EXPECT_EQ(anschluss.ereignis().antwort, rahmen);
}

TEST_F(RahmenpauseTest, meterWhoseAnswerPausesIn25MsIsReadEndToEnd)
{
    SimBus bus;
    QString fehler;
    ASSERT_TRUE(BusSimulator::busTextLesen(
        QStringLiteral("bus takt=ja\n"
                       "zaehler adresse=5 id=12345678 hersteller=LUG medium=04 baud=9600 "
                       "geteilt=25\n"
                       "satz 0406 A0860100\nsatz 0C13 45230100\n"),
        bus, &fehler))
        << qPrintable(fehler);
    BusSimulator sim(bus);
    ASSERT_TRUE(sim.starten(&fehler)) << qPrintable(fehler);
    schreiben(QStringLiteral("ZEP.INI"),
              QStringLiteral("[COM]\r\nCOM3=%1\r\n").arg(sim.geraet()).toUtf8());
    const std::unique_ptr<MBusTreiber> objekt = MBusObjektErzeugen(kTreiberRacX4);
    MBusRacX4& treiber = *objekt->alsRacX4();
    treiber.APPInitCom(3, 9600);
    ASSERT_EQ(treiber.APPIsComOpen(), 0);

    treiber.APPREQUD2(5);
    QElapsedTimer uhr;
    uhr.start();
    int test = treiber.APPReceiveTest();
    while (test == kEmpfangLaeuft && uhr.elapsed() < 5000) {
        Warten(1);
        test = treiber.APPReceiveTest();
    }
    EXPECT_EQ(test, kEmpfangTelegramm);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    EXPECT_EQ(treiber.APPDataRecordNumber(), 2);
    EXPECT_GE(uhr.elapsed(), 25);
}

} // namespace

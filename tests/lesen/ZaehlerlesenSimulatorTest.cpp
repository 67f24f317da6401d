// The reading services end to end against the bus simulator on a pseudo-terminal (COM3).

#include "TelegrammBauer.h"

#include "driver/SimulatorTest.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "frames/MBusRahmen.h"
#include "lesen/Zaehlerlesen.h"
#include "serial/SerielleSchnittstelle.h"

namespace {

using treibertest::kPort;

// Heat meter 12345678: energy 100000 kWh, volume 12.345 m^3.
const QString kZaehler = QStringLiteral("zaehler adresse=5 id=12345678 medium=04 baud=2400\n"
                                        "satz 0406 A0860100\nsatz 0C13 45230100\n");
// Water meter 00001234: volume 1.111 m^3.
const QString kZaehler1234 =
    QStringLiteral("zaehler adresse=6 id=00001234 medium=07 baud=2400\nsatz 0C13 11110000\n");

class ZaehlerlesenTest : public treibertest::SimulatorTest
{
protected:
    void starten(const QString& bus) { SimulatorTest::starten(bus, false); }

    // The driver as the master makes it: created, its port not opened.
    MBusRacX4& treiber()
    {
        m_treiber = MBusObjektErzeugen(kTreiberRacX4);
        m_treiber->alsRacX4()->setLNGLanguage(1);
        return *m_treiber->alsRacX4();
    }

    static MBZaehler Zaehler(const QString& id, const QString& selektRahmen = {})
    {
        MBZaehler zaehler;
        zaehler.MB_ID = id;
        zaehler.MBComP = kPort;
        zaehler.MBBaud = 2400;
        zaehler.MB_SelectSec = selektRahmen;
        zaehler.LZNR = 17;
        return zaehler;
    }

    static QString Selekt(const QString& id)
    {
        return MB_TelSelectSekAdr(id, QStringLiteral("HEX")).text;
    }

    // A record that holds the values of an earlier read.
    static MBZaehler Gelesen(MBZaehler zaehler)
    {
        MBZaehlerAktualisieren(zaehler, {{"Energy", "777", "kWh"}}, 1000);
        return zaehler;
    }

    static void ExpectGleich(const MBZaehler& ist, const MBZaehler& soll)
    {
        EXPECT_EQ(ist.MB_ID, soll.MB_ID);
        EXPECT_EQ(ist.AnzWerte, soll.AnzWerte);
        for (int k = 1; k <= 3; ++k) {
            EXPECT_EQ(ist.Werte[k].Wert, soll.Werte[k].Wert) << k;
            EXPECT_EQ(ist.Werte[k].Tm, soll.Werte[k].Tm) << k;
            EXPECT_EQ(ist.Werte[k].Art, soll.Werte[k].Art) << k;
        }
    }

    int gesendet() const { return int(m_sim->empfangeneRahmen().size()); }

    SerielleSchnittstelle m_comm;
};

} // namespace

TEST_F(ZaehlerlesenTest, selectFillsTheAddressWithWildcardsAndReadsTheMeter)
{
    starten(kZaehler + kZaehler1234);
    MBusRacX4& rac = SimulatorTest::rac(2400);
    QString adresse = QStringLiteral("1234");
    EXPECT_EQ(MBusSelectREQUD2(rac, adresse), 0);
    EXPECT_EQ(adresse, "ffff1234");
    EXPECT_EQ(rac.APPDeviceIDDec(), "00001234");
    ASSERT_EQ(rac.APPDataRecordNumber(), 1);
    EXPECT_EQ(rac.APPValueDec(1), "1.111");
}

TEST_F(ZaehlerlesenTest, selectWithoutAnswerGivesMinusOne)
{
    starten(kZaehler);
    MBusRacX4& rac = SimulatorTest::rac(2400);
    QString adresse = QStringLiteral("87654321");
    EXPECT_EQ(MBusSelectREQUD2(rac, adresse), -1);
}

TEST_F(ZaehlerlesenTest, selectAnsweredBySeveralMetersGivesOne)
{
    starten(kZaehler1234 + "zaehler adresse=7 id=55551234 baud=2400\nsatz 0C13 22220000\n");
    MBusRacX4& rac = SimulatorTest::rac(2400);
    QString adresse = QStringLiteral("1234");
    EXPECT_EQ(MBusSelectREQUD2(rac, adresse), 1);
}

TEST_F(ZaehlerlesenTest, selectedMeterWithoutDataGivesMinusThree)
{
    starten("zaehler id=00001234 baud=2400 ohne_daten\n");
    MBusRacX4& rac = SimulatorTest::rac(2400);
    QString adresse = QStringLiteral("00001234");
    EXPECT_EQ(MBusSelectREQUD2(rac, adresse), -3);
}

TEST_F(ZaehlerlesenTest, comPortSetzenOpensTheFixedInterfaceDriver)
{
    starten(kZaehler);
    std::unique_ptr<MBusTreiber> ole = MBusObjektErzeugen(kTreiberOleAutoServer);
    EXPECT_TRUE(MBusComPortSetzen(*ole->alsOleAutoServer(), "Com 3", 2400));
    bool beantwortet = false;
    ole->alsOleAutoServer()->OLEReqUD2(5, beantwortet);
    EXPECT_TRUE(beantwortet);
}

TEST_F(ZaehlerlesenTest, comPortSetzenFailsOnBadBaudOrPort)
{
    starten(kZaehler);
    std::unique_ptr<MBusTreiber> ole = MBusObjektErzeugen(kTreiberOleAutoServer);
    EXPECT_FALSE(MBusComPortSetzen(*ole->alsOleAutoServer(), "Com 3", 2401));
    EXPECT_FALSE(MBusComPortSetzen(*ole->alsOleAutoServer(), "Com 9", 2400));
}

TEST_F(ZaehlerlesenTest, driverPathReadsTheMeterAndWritesTheFilledId)
{
    starten(kZaehler1234);
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(12, 0, 0)));
    MBZaehler zaehler = Zaehler(QStringLiteral("1234"));
    EXPECT_EQ(MBusRawAuslesen(m_comm, treiber(), zaehler), 0);
    EXPECT_EQ(zaehler.MB_ID, "ffff1234");
    ASSERT_EQ(zaehler.AnzWerte, 1);
    EXPECT_DOUBLE_EQ(zaehler.Werte[1].Wert, 1.111);
    EXPECT_EQ(zaehler.Werte[1].Tm, DatumInUnixZeit(Jetzt()));
}

TEST_F(ZaehlerlesenTest, driverPathSilentMeterKeepsTheRecord)
{
    starten(kZaehler + "zaehler adresse=8 id=22222222 baud=2400 stumm\nsatz 0C13 11110000\n");
    MBusRacX4& rac = treiber();
    // The driver still holds the answer of another meter read just before.
    MBZaehler anderer = Zaehler(QStringLiteral("12345678"));
    ASSERT_EQ(MBusRawAuslesen(m_comm, rac, anderer), 0);

    const MBZaehler vorher = Gelesen(Zaehler(QStringLiteral("22222222")));
    MBZaehler zaehler = vorher;
    EXPECT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), -1);
    ExpectGleich(zaehler, vorher);
}

TEST_F(ZaehlerlesenTest, driverPathGarbledAnswerGivesMinusTwoAndClosesThePort)
{
    starten("zaehler id=12345678 baud=2400 pruefsumme_falsch\nsatz 0C13 11110000\n");
    MBusRacX4& rac = treiber();
    const MBZaehler vorher = Gelesen(Zaehler(QStringLiteral("12345678")));
    MBZaehler zaehler = vorher;
    EXPECT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), -2);
    EXPECT_NE(rac.APPIsComOpen(), 0);
    ExpectGleich(zaehler, vorher);
}

TEST_F(ZaehlerlesenTest, meterWithoutIdAndSelectFrameIsNotRead)
{
    starten(kZaehler);
    for (const QString& id : {QString(), QStringLiteral("  "), QStringLiteral("FFFF")}) {
        const MBZaehler vorher = Gelesen(Zaehler(id));
        MBZaehler zaehler = vorher;
        EXPECT_EQ(MBusRawAuslesen(m_comm, treiber(), zaehler), -1) << qPrintable(id);
        ExpectGleich(zaehler, vorher);
    }
    EXPECT_EQ(gesendet(), 0);
}

TEST_F(ZaehlerlesenTest, rawPathReadsWithTheSerialControlOnly)
{
    starten(kZaehler);
    MBusRacX4& rac = treiber();
    MBZaehler zaehler = Zaehler(QStringLiteral("12345678"), Selekt("12345678"));
    ASSERT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), 0);
    ASSERT_EQ(zaehler.AnzWerte, 2);
    EXPECT_EQ(zaehler.Werte[1].Wert, 100000.0);
    EXPECT_EQ(zaehler.Werte[2].Wert, 12.345);
    // The port was opened once, by the serial control, and is closed again.
    EXPECT_NE(rac.APPIsComOpen(), 0);
    EXPECT_FALSE(m_comm.PortOpen());
    EXPECT_EQ(zaehler.MB_ID, "12345678");
}

TEST_F(ZaehlerlesenTest, rawPathSilentMeterGivesMinusOneAndKeepsTheRecord)
{
    starten(kZaehler);
    MBusRacX4& rac = treiber();
    MBZaehler anderer = Zaehler(QStringLiteral("12345678"), Selekt("12345678"));
    ASSERT_EQ(MBusRawAuslesen(m_comm, rac, anderer), 0);

    const MBZaehler vorher = Gelesen(Zaehler(QStringLiteral("22222222"), Selekt("22222222")));
    MBZaehler zaehler = vorher;
    EXPECT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), -1);
    ExpectGleich(zaehler, vorher);
    EXPECT_FALSE(m_comm.PortOpen());
}

TEST_F(ZaehlerlesenTest, rawPathUndecodableAnswerGivesMinusTwo)
{
    // A sound frame whose content is no meter answer (header cut short).
    QByteArray rahmen = QByteArray::fromHex("680505680805720102");
    char summe = 0;
    for (int i = 4; i < rahmen.size(); ++i)
        summe = char(summe + rahmen[i]);
    rahmen += summe;
    rahmen += '\x16';
    starten("zaehler id=12345678 baud=2400\nroh " +
            QString::fromLatin1(rahmen.toHex(' ')) + "\n");
    MBusRacX4& rac = treiber();
    const MBZaehler vorher = Gelesen(Zaehler(QStringLiteral("12345678"), Selekt("12345678")));
    MBZaehler zaehler = vorher;
    EXPECT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), -2);
    ExpectGleich(zaehler, vorher);
}

TEST_F(ZaehlerlesenTest, rawPathPortThatDoesNotOpenGivesMinusFour)
{
    starten(kZaehler);
    MBZaehler zaehler = Zaehler(QStringLiteral("12345678"), Selekt("12345678"));
    zaehler.MBComP = 9;
    EXPECT_EQ(MBusRawAuslesen(m_comm, treiber(), zaehler), -4);
    EXPECT_EQ(zaehler.AnzWerte, 0);
}

// The reading services end to end against the bus simulator on a pseudo-terminal (COM3).

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
        EXPECT_EQ(ist.Werte[1].Wert, soll.Werte[1].Wert);
        EXPECT_EQ(ist.Werte[1].Tm, soll.Werte[1].Tm);
        EXPECT_EQ(ist.Werte[2].Tm, 0);
    }
    SerielleSchnittstelle m_comm;
};

} // namespace

TEST_F(ZaehlerlesenTest, selectFillsTheAddressWithWildcardsAndReportsTheOutcome)
{
    const struct
    {
        QString bus, adresse, gefuellt;
        int ergebnis;
    } faelle[] = {
        {kZaehler + kZaehler1234, "1234", "ffff1234", 0},
        {kZaehler, "87654321", "87654321", -1},
        {kZaehler1234 + "zaehler adresse=7 id=55551234 baud=2400\nsatz 0C13 22220000\n", "1234",
         "ffff1234", 1},
        {"zaehler id=00001234 baud=2400 ohne_daten\n", "00001234", "00001234", -3},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.bus.toStdString());
        starten(f.bus);
        MBusRacX4& rac = SimulatorTest::rac(2400);
        QString adresse = f.adresse;
        EXPECT_EQ(MBusSelectREQUD2(rac, adresse), f.ergebnis);
        EXPECT_EQ(adresse, f.gefuellt);
        if (f.ergebnis == 0) {
            EXPECT_EQ(rac.APPDeviceIDDec(), "00001234");
            EXPECT_EQ(rac.APPValueDec(1), "1.111");
        }
        m_treiber.reset();
        m_sim->stoppen();
    }
}

TEST_F(ZaehlerlesenTest, comPortSetzenOpensTheFixedInterfaceDriverOrFails)
{
    starten(kZaehler);
    std::unique_ptr<MBusTreiber> ole = MBusObjektErzeugen(kTreiberOleAutoServer);
    EXPECT_FALSE(MBusComPortSetzen(*ole->alsOleAutoServer(), "Com 3", 2401));
    EXPECT_FALSE(MBusComPortSetzen(*ole->alsOleAutoServer(), "Com 9", 2400));
    EXPECT_TRUE(MBusComPortSetzen(*ole->alsOleAutoServer(), "Com 3", 2400));
    bool beantwortet = false;
    ole->alsOleAutoServer()->OLEReqUD2(5, beantwortet);
    EXPECT_TRUE(beantwortet);
}

TEST_F(ZaehlerlesenTest, readsThroughTheDriverOrWithTheSerialControlOnly)
{
    starten(kZaehler + kZaehler1234);
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(12, 0, 0)));
    MBZaehler zaehler = Zaehler(QStringLiteral("1234"));
    EXPECT_EQ(MBusRawAuslesen(m_comm, treiber(), zaehler), 0);
    EXPECT_EQ(zaehler.MB_ID, "ffff1234");
    ASSERT_EQ(zaehler.AnzWerte, 1);
    EXPECT_DOUBLE_EQ(zaehler.Werte[1].Wert, 1.111);
    EXPECT_EQ(zaehler.Werte[1].Tm, DatumInUnixZeit(Jetzt()));

    MBusRacX4& rac = treiber();
    zaehler = Zaehler(QStringLiteral("12345678"), Selekt("12345678"));
    ASSERT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), 0);
    ASSERT_EQ(zaehler.AnzWerte, 2);
    EXPECT_EQ(zaehler.Werte[2].Wert, 12.345);
    // The port was opened once, by the serial control, and is closed again.
    EXPECT_NE(rac.APPIsComOpen(), 0);
    EXPECT_FALSE(m_comm.PortOpen());
}

TEST_F(ZaehlerlesenTest, meterWithoutIdAndSelectFrameOrWithoutPortIsNotRead)
{
    starten(kZaehler);
    for (const QString& id : {QString(), QStringLiteral("  "), QStringLiteral("FFFF")}) {
        MBZaehler vorher = Gelesen(Zaehler(id));
        MBZaehler zaehler = vorher;
        EXPECT_EQ(MBusRawAuslesen(m_comm, treiber(), zaehler), -1) << qPrintable(id);
        vorher.MB_ID = (QStringLiteral("ffffffff") + id.trimmed()).right(8);
        ExpectGleich(zaehler, vorher);
    }
    EXPECT_TRUE(m_sim->empfangeneRahmen().empty());
    MBZaehler zaehler = Zaehler(QStringLiteral("12345678"), Selekt("12345678"));
    zaehler.MBComP = 9;
    EXPECT_EQ(MBusRawAuslesen(m_comm, treiber(), zaehler), -4);
    EXPECT_EQ(zaehler.AnzWerte, 0);
}

TEST_F(ZaehlerlesenTest, failedReadGivesItsCodeAndLeavesTheRecord)
{
    // A sound frame whose content is no meter answer (header cut short).
    QByteArray rahmen = QByteArray::fromHex("680505680805720102");
    char summe = 0;
    for (int i = 4; i < rahmen.size(); ++i)
        summe = char(summe + rahmen[i]);
    rahmen += QByteArray(1, summe) + '\x16';
    const QString stumm = "zaehler adresse=8 id=22222222 baud=2400 stumm\nsatz 0C13 11110000\n";
    const QString falsch = "zaehler id=12345678 baud=2400 pruefsumme_falsch\nsatz 0C13 11110000\n";
    const QString ohneDaten = "zaehler id=12345678 baud=2400 ohne_daten\nsatz 0C13 11110000\n";
    const struct
    {
        QString bus, id;
        bool rohPfad;
        int ergebnis;
        QString idDanach; // MB_ID afterwards
    } faelle[] = {
        {kZaehler + stumm, "2222", false, -1, "ffff2222"},
        {kZaehler + stumm, "22222222", true, -1, "22222222"},
        {falsch, "5678", false, -2, "ffff5678"},
        // A frame that only fails its checksum is the driver's to refuse, not "no answer".
        {falsch, "12345678", true, -2, "12345678"},
        {"zaehler id=12345678 baud=2400\nroh " + QString::fromLatin1(rahmen.toHex(' ')) + "\n",
         "12345678", true, -2, "12345678"},
        // Selected, but the request got no answer: the driver's status is 5.
        {ohneDaten, "12345678", false, -2, "12345678"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.bus.toStdString());
        starten(f.bus);
        MBusRacX4& rac = treiber();
        // The driver still holds the answer of another meter read just before.
        if (f.bus.contains("stumm")) {
            MBZaehler anderer = Zaehler(QStringLiteral("12345678"), Selekt("12345678"));
            ASSERT_EQ(MBusRawAuslesen(m_comm, rac, anderer), 0);
        }
        MBZaehler vorher = Gelesen(Zaehler(f.id, f.rohPfad ? Selekt(f.id) : QString()));
        MBZaehler zaehler = vorher;
        EXPECT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), f.ergebnis);
        vorher.MB_ID = f.idDanach;
        ExpectGleich(zaehler, vorher);
        if (f.ergebnis == -2)
            EXPECT_NE(rac.APPIsComOpen(), 0); // a refused answer closes the port
        EXPECT_FALSE(m_comm.PortOpen());
        m_treiber.reset();
        m_sim->stoppen();
    }
}

// A meter that answers in several telegrams gives its first one to every read, through the
// driver and by raw frames, one driver reading both ways in turn; the marker "more records
// follow" (DIF 1F) is no record.
TEST_F(ZaehlerlesenTest, everyReadGetsTheFirstTelegramWithoutTheMarkerOfMoreRecords)
{
    starten("zaehler adresse=5 id=12345678 baud=2400\nsatz 0406 A0860100\nsatz 0C13 45230100\n"
            "telegramm\nsatz 4406 E8030000\ntelegramm\nsatz 0C13 11110000\n");
    MBusRacX4& rac = treiber();
    for (int runde = 0; runde < 3; ++runde) {
        for (const bool roh : {false, true}) {
            SCOPED_TRACE(roh ? "raw" : "driver");
            MBZaehler zaehler =
                Zaehler(QStringLiteral("12345678"), roh ? Selekt("12345678") : QString());
            ASSERT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), 0) << runde;
            EXPECT_TRUE(rac.WeitereDatensaetzeFolgen());
            EXPECT_EQ(rac.APPDataRecordNumber(), 3);
            ASSERT_EQ(zaehler.AnzWerte, 2);
            EXPECT_DOUBLE_EQ(zaehler.Werte[1].Wert, 100000);
            EXPECT_DOUBLE_EQ(zaehler.Werte[2].Wert, 12.345);
        }
    }
    EXPECT_FALSE(m_comm.PortOpen());
}

// A meter that holds its SND_UD to the FCB rule too takes an application reset with the select's
// FCB for a repetition and does not carry it out: the reset has the other FCB and is followed by
// the select again, so that every frame toggles it, and the meter gives its first telegram to
// every read, through the driver and by raw frames.
TEST_F(ZaehlerlesenTest, meterHoldingEveryFrameToTheFcbRuleGivesItsFirstTelegramToEveryRead)
{
    starten("zaehler adresse=5 id=12345678 baud=2400\nsatz 0406 A0860100\nsatz 0C13 45230100\n"
            "telegramm\nsatz 4406 E8030000\nfehler fcb_streng zaehlt\n");
    MBusRacX4& rac = treiber();
    const QByteArray selekt = QByteArray::fromHex("680B0B6853FD5278563412FFFFFFFFB216");
    const QList<QByteArray> folge{selekt, QByteArray::fromHex("6803036873FD50C016"), selekt,
                                  QByteArray::fromHex("107BFD7816")};
    double energie = 100000;
    for (int runde = 0; runde < 3; ++runde) {
        for (const bool roh : {false, true}) {
            SCOPED_TRACE(roh ? "raw" : "driver");
            const qsizetype vorher = m_sim->empfangeneRahmen().size();
            MBZaehler zaehler =
                Zaehler(QStringLiteral("12345678"), roh ? Selekt("12345678") : QString());
            ASSERT_EQ(MBusRawAuslesen(m_comm, rac, zaehler), 0) << runde;
            ASSERT_EQ(zaehler.AnzWerte, 2) << runde;
            EXPECT_DOUBLE_EQ(zaehler.Werte[1].Wert, energie) << runde;
            EXPECT_DOUBLE_EQ(zaehler.Werte[2].Wert, 12.345) << runde;
            energie += 1;
            QList<QByteArray> erhalten;
            for (const SimEmpfangenerRahmen& r : m_sim->empfangeneRahmen().mid(vorher))
                erhalten << r.bytes;
            EXPECT_EQ(erhalten, folge) << runde;
        }
    }
}

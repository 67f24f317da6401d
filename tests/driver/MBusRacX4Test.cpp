// The name-bound driver face: decoding without a port, getters and their bounds, input that is
// no request, the factory, the timing members, and the members on a scripted line.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "SkriptKanal.h"
#include "driver/engine/Ereignis.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "driver/faces/TreiberEingaben.h"
#include "driver/transport/Busanschluss.h"
#include "platform/Global.h"

#include <chrono>
#include <climits>

namespace {

using namespace std::chrono_literals;
using dekodiertest::BaueRahmen;
using dekodiertest::Hex;
using dekodiertest::VariablerKopf;
using treibertest::Leitung;
using treibertest::SkriptKanal;
using treibertest::SkriptUhr;

using MBusRacX4Test = TestUmgebung;

QString HexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex()).toUpper();
}

// Energy 100000 kWh and volume 12.345 m^3, then the given closing bytes.
QByteArray Telegramm(const QByteArray& schluss = {})
{
    return BaueRahmen(VariablerKopf() + Hex("0406A0860100") + Hex("0C1345230100") + schluss);
}

TEST_F(MBusRacX4Test, headerAndRecordGettersOfADecodedTelegram)
{
    MBusRacX4 treiber;
    treiber.APPInterpretTelegramHex(HexText(Telegramm(Hex("046D0A0CCD13845006A0860100"))));
    ASSERT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangTelegramm);

    EXPECT_EQ(treiber.APPAField(), 5);
    EXPECT_EQ(treiber.APPDeviceID(), 12345678);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    EXPECT_EQ(treiber.APPManufacturerID(), 0x14C5);
    EXPECT_EQ(treiber.APPManufacturerIDAsc(), "EFE");
    EXPECT_EQ(treiber.APPGenerationNo(), 1);
    EXPECT_EQ(treiber.APPMediumAsc(), "Wärme");
    EXPECT_EQ(treiber.APPTransmissionCount(), 0x2A);
    ASSERT_EQ(treiber.APPDataRecordNumber(), 4);
    EXPECT_EQ(treiber.APPValueDec(1), "100000");
    EXPECT_EQ(treiber.APPVIBUnitAsc(1), "kWh");
    EXPECT_EQ(treiber.APPVIBAsc(1), "Energie");
    EXPECT_EQ(treiber.APPValueDec(2), "12.345");
    EXPECT_EQ(treiber.APPValueHex(2), "00012345");
    EXPECT_EQ(treiber.APPVIBUnitAsc(2), "m^3");
    EXPECT_EQ(treiber.APPDataField(2), 12);
    EXPECT_EQ(treiber.APPFunctionField(2), 0);
    EXPECT_EQ(treiber.APPFunctionFieldAsc(2), "Momentanwert");
    // type F 13.03.2014 12:10 as the Engelmann telegram sends it
    EXPECT_EQ(treiber.APPValueDT(3), Wandzeit(QDate(2014, 3, 13), QTime(12, 10)));
    EXPECT_EQ(treiber.APPTariffNo(4), 1); // DIFE 50: subunit 1, tariff 1
    EXPECT_EQ(treiber.APPUnitNo(4), 1);

    treiber.setLNGLanguage(1);
    treiber.APPInterpretTelegramHex(HexText(Telegramm()));
    EXPECT_EQ(treiber.APPMediumAsc(), "Heat");
    EXPECT_EQ(treiber.APPVIBAsc(1), "Energy");
    EXPECT_EQ(treiber.APPFunctionFieldAsc(1), "Instantaneous value");
}

TEST_F(MBusRacX4Test, recordIndexWithoutRecordGivesEmptyValues)
{
    MBusRacX4 treiber;
    treiber.APPInterpretTelegramHex(HexText(Telegramm()));
    for (const int i : {0, -1, 3, INT_MAX, INT_MIN}) {
        EXPECT_EQ(treiber.APPValueDec(i), "") << i;
        EXPECT_EQ(treiber.APPValueHex(i), "") << i;
        EXPECT_FALSE(treiber.APPValueDT(i).isValid()) << i;
        EXPECT_EQ(treiber.APPUnitNo(i), 0) << i;
        EXPECT_EQ(treiber.APPTariffNo(i), 0) << i;
        EXPECT_EQ(treiber.APPVIBAsc(i), "") << i;
        EXPECT_EQ(treiber.APPVIBUnitAsc(i), "") << i;
        EXPECT_EQ(treiber.APPFunctionField(i), 0) << i;
        EXPECT_EQ(treiber.APPFunctionFieldAsc(i), "") << i;
        EXPECT_EQ(treiber.APPDataField(i), 0) << i;
        EXPECT_EQ(treiber.APPDataFieldAsc(i), "") << i;
    }
}

TEST_F(MBusRacX4Test, interpretedTextGivesStatusFaultBitsAndWhatFollows)
{
    const QByteArray gut = Telegramm();
    QByteArray pruefsumme = gut;
    pruefsumme[gut.size() - 2] = char(gut[gut.size() - 2] + 1);
    const struct
    {
        QString text;
        int test;
        int fehler;
        int datensaetze;
        bool weitere;    // DIF 1F closes the telegram
        bool hersteller; // DIF 0F
    } faelle[] = {
        {HexText(gut), 3, 0, 2, false, false},
        {HexText(Telegramm(Hex("1F"))), 3, 0, 3, true, false},
        {HexText(Telegramm(Hex("0FAABB"))), 3, 0, 3, false, true},
        {HexText(BaueRahmen(Hex("01"), 0x70, 0x08, 0x07)), 3, 0, 0, false, false}, // CI 70
        {HexText(pruefsumme), 6, mbus::kFehlerPruefsumme, 0, false, false},
        {HexText(gut.chopped(1) + Hex("00")), 6, mbus::kFehlerStoppzeichen, 0, false, false},
        {"E5", 6, mbus::kFehlerStartzeichen, 0, false, false},
        // no hex frame: the same for APPSendHex, nothing sent
        {"", 6, mbus::kFehlerSonstiger, 0, false, false},
        {"107BFD781", 6, mbus::kFehlerSonstiger, 0, false, false},
        {"10 7B FD 78 16", 6, mbus::kFehlerSonstiger, 0, false, false},
        {"10;7B;", 6, mbus::kFehlerSonstiger, 0, false, false},
        {"E5x", 6, mbus::kFehlerSonstiger, 0, false, false},
    };
    for (const auto& fall : faelle) {
        const std::string name = fall.text.toStdString();
        MBusRacX4 treiber;
        treiber.APPInterpretTelegramHex(fall.text);
        EXPECT_EQ(treiber.APPReceiveTest(), fall.test) << name;
        EXPECT_EQ(treiber.APPReceiveError(), fall.fehler) << name;
        EXPECT_EQ(treiber.APPDataRecordNumber(), fall.datensaetze) << name;
        EXPECT_EQ(treiber.APPAField(), fall.test == 3 ? (fall.datensaetze ? 5 : 7) : -1) << name;
        EXPECT_EQ(treiber.WeitereDatensaetzeFolgen(), fall.weitere) << name;
        EXPECT_EQ(treiber.HerstellerdatenAmEnde(), fall.hersteller) << name;
        if (fall.weitere || fall.hersteller) {
            EXPECT_EQ(treiber.APPDataField(fall.datensaetze), 15) << name;
        }
        if (fall.fehler == mbus::kFehlerSonstiger) {
            treiber.APPSendHex(fall.text);
            EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangUngueltig) << name;
            EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerSonstiger) << name;
        }
    }
}

TEST_F(MBusRacX4Test, longToHexAscGivesTheLow32BitsInHex)
{
    const struct
    {
        qint64 zahl;
        const char* text;
    } faelle[] = {
        {0, "0"}, {255, "FF"}, {0x1A2B, "1A2B"}, {-1, "FFFFFFFF"}, {0x1FFFFFFFF, "FFFFFFFF"}};
    MBusRacX4 treiber;
    for (const auto& fall : faelle)
        EXPECT_EQ(treiber.APPLongToHexAsc(fall.zahl), fall.text) << fall.zahl;
}

// ---- what the driver accepts as port, baud rate and hex frame, and the factory by name

TEST_F(MBusRacX4Test, portNumbersFromNumbersAndTexts)
{
    const std::pair<QVariant, int> faelle[] = {
        // 0: none
        {3, 3},          {255, 255},    {0, 0},       {256, 0},      {-1, 0},
        {QVariant(), 0}, {"3", 3},      {"Com 3", 3}, {"COM12", 12}, {" com  7 ", 7},
        {"Com", 0},      {"Com 3a", 0}, {"LPT1", 0}};
    for (const auto& [port, nummer] : faelle)
        EXPECT_EQ(TreiberPortNummer(port).value_or(0), nummer) << port.toString().toStdString();
}

TEST_F(MBusRacX4Test, onlyMBusBaudRatesAreAccepted)
{
    for (const int baud : {300, 600, 1200, 2400, 4800, 9600, 19200, 38400}) {
        EXPECT_EQ(TreiberBaud(baud), baud);
        EXPECT_EQ(TreiberBaud(QString::number(baud)), baud);
    }
    EXPECT_EQ(TreiberBaud(QStringLiteral(" 2400 ")), 2400);
    for (const QVariant& baud :
         {QVariant(0), QVariant(115200), QVariant(2401), QVariant(-2400),
          QVariant(QStringLiteral("")), QVariant(QStringLiteral("9600,E")), QVariant()})
        EXPECT_FALSE(TreiberBaud(baud)) << baud.toString().toStdString();
}

TEST_F(MBusRacX4Test, factoryCreatesBothFacesByNameWhateverTheCaseAndNothingElse)
{
    const auto rac = MBusObjektErzeugen(QStringLiteral("mbusracx4.MBUSRACX4.1"));
    ASSERT_NE(rac, nullptr);
    EXPECT_NE(rac->alsRacX4(), nullptr);
    EXPECT_EQ(rac->name(), "MBusRacX4.MBusRacX4.1");
    const auto ole = MBusObjektErzeugen(QStringLiteral("MBus.OLEAutoServer"));
    ASSERT_NE(ole, nullptr);
    EXPECT_NE(ole->alsOleAutoServer(), nullptr);
    EXPECT_EQ(ole->alsRacX4(), nullptr);
    EXPECT_TRUE(FehlerText.isEmpty());

    for (const char* name : {"", "MBus.OLEAutoServer2", "MBusRacX4", "MSComm"}) {
        FehlerText.clear();
        EXPECT_EQ(MBusObjektErzeugen(QString::fromLatin1(name)), nullptr) << name;
        EXPECT_TRUE(FehlerText.contains(QString::fromLatin1(name))) << name;
        EXPECT_FALSE(FehlerText.isEmpty());
    }
}

class RacX4LeitungTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_treiber.APPInitCom(QStringLiteral("Com 3"), QStringLiteral("2400"));
        ASSERT_EQ(m_treiber.APPIsComOpen(), 0);
        m_leitung->jetzt += 1s;
    }
    // Polls until the exchange has ended, the clock moving 1 ms a poll; gives the time taken.
    mbus::Dauer abwarten()
    {
        const mbus::Buszeit start = m_leitung->jetzt;
        while (m_treiber.APPReceiveTest() == mbus::kEmpfangLaeuft && m_leitung->jetzt - start < 60s)
            m_leitung->jetzt += 1ms;
        return m_leitung->jetzt - start;
    }

    std::shared_ptr<Leitung> m_leitung = std::make_shared<Leitung>();
    MBusRacX4 m_treiber{std::make_unique<SkriptKanal>(m_leitung),
                        std::make_unique<SkriptUhr>(m_leitung)};
};

TEST_F(RacX4LeitungTest, timingMembersApplyOnlyWithTimeoutParam2)
{
    m_treiber.setCOMTimeout(2400); // one second at 2400 baud
    m_treiber.setCOMTimeoutOffset(0);
    m_treiber.APPREQUD2(5);
    EXPECT_EQ(m_treiber.APPReceiveError(), 0); // while it runs
    const mbus::Dauer standard = abwarten();
    EXPECT_GE(standard, 187ms); // 330 bit times + 50 ms
    EXPECT_LT(standard, 220ms);
    EXPECT_EQ(m_treiber.APPReceiveError(), mbus::kFehlerZeitueberschreitung);

    m_treiber.setCOMTimeoutParam(2);
    m_treiber.APPREQUD2(5);
    const mbus::Dauer eigen = abwarten();
    EXPECT_GE(eigen, 1000ms);
    EXPECT_LT(eigen, 1030ms);

    m_treiber.setCOMTimeout(0); // a window of 0 would let no answer in: the standard applies
    m_treiber.setCOMTimeoutOffset(50);
    m_treiber.setCOMTimeoutByte(0);
    m_treiber.APPREQUD2(5);
    EXPECT_GE(abwarten(), 187ms);
}

TEST_F(RacX4LeitungTest, selectSendsTheMaskWithWildcardsOrNothing)
{
    const struct
    {
        const char* maske;
        const char* hersteller;
        const char* version;
        const char* adressbytes; // "" : refused
    } faelle[] = {
        {"1234567f", "", "", "7F563412FFFFFFFF"},
        {"12345678", "efe", "01", "78563412C51401FF"},
        {"1234x678", "", "", ""},
        {"12345678", "", "xyz", ""},
        {"123456789", "", "", ""},
    };
    for (const auto& fall : faelle) {
        m_leitung->gesendet.clear();
        m_leitung->jetzt += 1s;
        m_treiber.APPSelect(0, fall.maske, fall.hersteller, fall.version, "");
        EXPECT_EQ(HexText(m_leitung->gesendet.value(0).mid(7, 8)), fall.adressbytes) << fall.maske;
        if (*fall.adressbytes == 0) {
            EXPECT_EQ(m_treiber.APPReceiveTest(), mbus::kEmpfangUngueltig) << fall.maske;
            EXPECT_EQ(m_treiber.APPReceiveError(), mbus::kFehlerSonstiger) << fall.maske;
        }
    }
}

TEST_F(RacX4LeitungTest, addressOutsideTheByteIsRefusedWithoutSending)
{
    for (const int adresse : {-1, 256, 1000}) {
        m_treiber.APPREQUD2(adresse);
        EXPECT_EQ(m_treiber.APPReceiveTest(), mbus::kEmpfangUngueltig) << adresse;
        m_treiber.APPSNDNKE(adresse);
        EXPECT_EQ(m_treiber.APPReceiveError(), mbus::kFehlerSonstiger) << adresse;
    }
    EXPECT_TRUE(m_leitung->gesendet.isEmpty());
}

TEST_F(RacX4LeitungTest, portStatesOfInitComAndClose)
{
    m_treiber.APPCloseCom();
    EXPECT_EQ(m_treiber.APPIsComOpen(), 8012);
    m_treiber.APPInitCom(3, QStringLiteral("abc"));
    EXPECT_EQ(m_treiber.APPIsComOpen(), 380);
    m_treiber.APPInitCom(QStringLiteral("COM3"), 9600);
    EXPECT_EQ(m_treiber.APPIsComOpen(), 0);
    EXPECT_EQ(m_leitung->geoeffnetMitBaud, 9600);
    m_leitung->offen = false; // the device went away
    EXPECT_NE(m_treiber.APPIsComOpen(), 0);
    m_treiber.APPInitCom(3, 2400);
    m_treiber.COMClose();
    EXPECT_NE(m_treiber.APPIsComOpen(), 0);
}

} // namespace

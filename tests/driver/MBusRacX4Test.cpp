// The name-bound driver face: decoding without a port, getters and their bounds, input that is
// no request, the timing members, and the members on a scripted line.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "SkriptKanal.h"
#include "driver/engine/Ereignis.h"
#include "driver/faces/MBusRacX4.h"
#include "driver/transport/Busanschluss.h"

#include <QDir>
#include <QFile>

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

// The header lines of a shared test telegram's expectation ("id=4990254" ...).
QMap<QString, QString> Erwartung(const QString& pfad)
{
    QFile datei(pfad);
    QMap<QString, QString> werte;
    if (!datei.open(QIODevice::ReadOnly))
        return werte;
    for (const QByteArray& zeile : datei.readAll().split('\n')) {
        const qsizetype gleich = zeile.indexOf('=');
        if (gleich > 0 && !zeile.contains(';'))
            werte[QString::fromUtf8(zeile.left(gleich))] =
                QString::fromUtf8(zeile.mid(gleich + 1)).trimmed();
    }
    return werte;
}

TEST_F(MBusRacX4Test, interpretsEverySharedGoodTelegramWithItsHeader)
{
    const QDir ordner(Testdaten(QStringLiteral("telegrams/good")));
    const QStringList dateien = ordner.entryList({QStringLiteral("*.hex")});
    ASSERT_FALSE(dateien.isEmpty());
    for (const QString& name : dateien) {
        QFile datei(ordner.filePath(name));
        ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
        const QString hex = QString::fromLatin1(datei.readAll()).simplified().remove(' ');
        const auto erwartung = Erwartung(ordner.filePath(QString(name).replace(".hex", ".expect")));
        MBusRacX4 treiber;

        treiber.APPInterpretTelegramHex(hex);

        ASSERT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangTelegramm) << name.toStdString();
        EXPECT_EQ(treiber.APPReceiveError(), 0) << name.toStdString();
        EXPECT_EQ(treiber.APPRetrieveRawDataHex(), hex.toUpper()) << name.toStdString();
        EXPECT_EQ(treiber.APPRetrieveRawDataDec().size(), hex.size() / 2 * 3);
        EXPECT_EQ(treiber.APPDeviceIDDec().toLongLong(), erwartung.value("id").toLongLong())
            << name.toStdString();
        EXPECT_EQ(treiber.APPTransmissionCount(), erwartung.value("access").toInt())
            << name.toStdString();
        if (erwartung.value("manufacturer").size() == 3)
            EXPECT_EQ(treiber.APPManufacturerIDAsc(), erwartung.value("manufacturer"))
                << name.toStdString();
    }
}

TEST_F(MBusRacX4Test, headerAndRecordGettersOfADecodedTelegram)
{
    MBusRacX4 treiber;
    treiber.APPInterpretTelegramHex(HexText(Telegramm()));
    ASSERT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangTelegramm);

    EXPECT_EQ(treiber.APPAField(), 5);
    EXPECT_EQ(treiber.APPDeviceID(), 12345678);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    EXPECT_EQ(treiber.APPManufacturerID(), 0x14C5);
    EXPECT_EQ(treiber.APPManufacturerIDAsc(), "EFE");
    EXPECT_EQ(treiber.APPGenerationNo(), 1);
    EXPECT_EQ(treiber.APPMediumAsc(), "Wärme");
    EXPECT_EQ(treiber.APPTransmissionCount(), 0x2A);
    ASSERT_EQ(treiber.APPDataRecordNumber(), 2);
    EXPECT_EQ(treiber.APPValueDec(1), "100000");
    EXPECT_EQ(treiber.APPVIBUnitAsc(1), "kWh");
    EXPECT_EQ(treiber.APPVIBAsc(1), "Energie");
    EXPECT_EQ(treiber.APPValueDec(2), "12.345");
    EXPECT_EQ(treiber.APPValueHex(2), "00012345");
    EXPECT_EQ(treiber.APPVIBUnitAsc(2), "m^3");
    EXPECT_EQ(treiber.APPDataField(2), 12);
    EXPECT_EQ(treiber.APPFunctionField(2), 0);
    EXPECT_EQ(treiber.APPFunctionFieldAsc(2), "Momentanwert");
}

TEST_F(MBusRacX4Test, language1GivesEnglishTexts)
{
    MBusRacX4 treiber;
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

TEST_F(MBusRacX4Test, dateRecordGivesItsValueAsDateTime)
{
    MBusRacX4 treiber;
    // type F 13.03.2014 12:10 as the Engelmann telegram sends it, storage 0
    treiber.APPInterpretTelegramHex(HexText(BaueRahmen(VariablerKopf() + Hex("046D0A0CCD13"))));
    EXPECT_EQ(treiber.APPValueDT(1), Wandzeit(QDate(2014, 3, 13), QTime(12, 10)));
    EXPECT_FALSE(treiber.APPValueDT(1).isNull());
}

TEST_F(MBusRacX4Test, subunitAndTariffOfARecord)
{
    MBusRacX4 treiber;
    // DIF 84 (32-bit integer, a DIFE follows), DIFE 50: subunit 1, tariff 1, storage 0
    treiber.APPInterpretTelegramHex(HexText(BaueRahmen(VariablerKopf() + Hex("845006A0860100"))));
    ASSERT_EQ(treiber.APPDataRecordNumber(), 1);
    EXPECT_EQ(treiber.APPTariffNo(1), 1);
    EXPECT_EQ(treiber.APPUnitNo(1), 1);
}

TEST_F(MBusRacX4Test, tellsMoreRecordsApartFromManufacturerData)
{
    const struct
    {
        const char* schluss;
        bool weitere;
        bool hersteller;
    } faelle[] = {
        {"", false, false},
        {"1F", true, false},
        {"0FAABB", false, true},
    };
    for (const auto& fall : faelle) {
        MBusRacX4 treiber;
        treiber.APPInterpretTelegramHex(HexText(Telegramm(Hex(fall.schluss))));
        ASSERT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangTelegramm) << fall.schluss;
        EXPECT_EQ(treiber.WeitereDatensaetzeFolgen(), fall.weitere) << fall.schluss;
        EXPECT_EQ(treiber.HerstellerdatenAmEnde(), fall.hersteller) << fall.schluss;
        if (fall.weitere || fall.hersteller)
            EXPECT_EQ(treiber.APPDataField(treiber.APPDataRecordNumber()), 15) << fall.schluss;
    }
}

TEST_F(MBusRacX4Test, applicationErrorIsAnAnswerWithHeaderAndNoRecords)
{
    MBusRacX4 treiber;
    treiber.APPInterpretTelegramHex(HexText(BaueRahmen(Hex("01"), 0x70, 0x08, 0x07)));
    EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangTelegramm);
    EXPECT_EQ(treiber.APPAField(), 7);
    EXPECT_EQ(treiber.APPDataRecordNumber(), 0);
}

TEST_F(MBusRacX4Test, textThatIsNoHexFrameIsRefusedWithStatus6AndBit256)
{
    for (const char* text : {"", "1", "107BFD781", "10 7B FD 78 16", "10;7B;", "GG", "E5x"}) {
        MBusRacX4 treiber;
        treiber.APPInterpretTelegramHex(QString::fromLatin1(text));
        EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangUngueltig) << text;
        EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerSonstiger) << text;
        treiber.APPSendHex(QString::fromLatin1(text));
        EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangUngueltig) << text;
        EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerSonstiger) << text;
    }
}

TEST_F(MBusRacX4Test, interpretingABrokenFrameGivesItsFaultBits)
{
    const QByteArray gut = Telegramm();
    QByteArray pruefsumme = gut;
    pruefsumme[pruefsumme.size() - 2] = char(pruefsumme[pruefsumme.size() - 2] + 1);
    const struct
    {
        QByteArray rahmen;
        int fehler;
    } faelle[] = {
        {pruefsumme, mbus::kFehlerPruefsumme},
        {gut.chopped(1) + Hex("00"), mbus::kFehlerStoppzeichen},
        {Hex("E5"), mbus::kFehlerStartzeichen},
    };
    for (const auto& fall : faelle) {
        MBusRacX4 treiber;
        treiber.APPInterpretTelegramHex(HexText(fall.rahmen));
        EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangUngueltig);
        EXPECT_EQ(treiber.APPReceiveError() & fall.fehler, fall.fehler);
        EXPECT_EQ(treiber.APPDataRecordNumber(), 0);
        EXPECT_EQ(treiber.APPAField(), -1);
    }
}

TEST_F(MBusRacX4Test, everyNewRequestClearsTheDecodedTelegram)
{
    MBusRacX4 treiber;
    treiber.APPInterpretTelegramHex(HexText(Telegramm()));
    ASSERT_EQ(treiber.APPDataRecordNumber(), 2);

    treiber.APPREQUD2(5); // no port: ends at once as a time-out

    EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangZeitueberschreitung);
    EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerZeitueberschreitung);
    EXPECT_EQ(treiber.APPDataRecordNumber(), 0);
    EXPECT_EQ(treiber.APPAField(), -1);
    EXPECT_EQ(treiber.APPDeviceID(), -1);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "");
    EXPECT_EQ(treiber.APPManufacturerID(), -1);
    EXPECT_EQ(treiber.APPManufacturerIDAsc(), "");
    EXPECT_EQ(treiber.APPGenerationNo(), -1);
    EXPECT_EQ(treiber.APPMediumAsc(), "");
    EXPECT_EQ(treiber.APPTransmissionCount(), -1);
    EXPECT_EQ(treiber.APPRetrieveRawDataHex(), "");
    EXPECT_EQ(treiber.APPValueDec(1), "");
    EXPECT_FALSE(treiber.WeitereDatensaetzeFolgen());
}

TEST_F(MBusRacX4Test, addressOutsideTheByteIsRefusedWithoutSending)
{
    auto leitung = std::make_shared<Leitung>();
    MBusRacX4 treiber(std::make_unique<SkriptKanal>(leitung), std::make_unique<SkriptUhr>(leitung));
    treiber.APPInitCom(3, 2400);
    for (const int adresse : {-1, 256, 1000}) {
        treiber.APPREQUD2(adresse);
        EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangUngueltig) << adresse;
        treiber.APPSNDNKE(adresse);
        EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerSonstiger) << adresse;
    }
    EXPECT_TRUE(leitung->gesendet.isEmpty());
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
    const mbus::Dauer standard = abwarten();
    EXPECT_GE(standard, 187ms); // 330 bit times + 50 ms
    EXPECT_LT(standard, 220ms);

    m_treiber.setCOMTimeoutParam(2);
    m_treiber.APPREQUD2(5);
    const mbus::Dauer eigen = abwarten();
    EXPECT_GE(eigen, 1000ms);
    EXPECT_LT(eigen, 1030ms);
}

TEST_F(RacX4LeitungTest, zeroWindowOrPauseFallsBackToTheStandardValues)
{
    m_treiber.setCOMTimeoutParam(2);
    m_treiber.setCOMTimeout(0);
    m_treiber.setCOMTimeoutByte(0);
    m_treiber.APPREQUD2(5);
    EXPECT_GE(abwarten(), 187ms);
}

TEST_F(RacX4LeitungTest, selectSendsTheMaskWithWildcards)
{
    const struct
    {
        const char* maske;
        const char* hersteller;
        const char* version;
        const char* medium;
        const char* adressbytes;
    } faelle[] = {
        {"1234567f", "", "", "", "7F563412FFFFFFFF"},
        {"ffffffff", "", "", "", "FFFFFFFFFFFFFFFF"},
        {"12345678", "efe", "01", "04", "78563412C5140104"},
    };
    for (const auto& fall : faelle) {
        m_leitung->gesendet.clear();
        m_leitung->jetzt += 1s;
        m_treiber.APPSelect(0, fall.maske, fall.hersteller, fall.version, fall.medium);
        ASSERT_EQ(m_leitung->gesendet.size(), 1) << fall.maske;
        EXPECT_EQ(HexText(m_leitung->gesendet[0].mid(7, 8)), fall.adressbytes) << fall.maske;
        EXPECT_EQ(HexText(m_leitung->gesendet[0].first(7)), "680B0B6853FD52");
    }
}

TEST_F(RacX4LeitungTest, selectWithAMaskThatIsNoAddressSendsNothing)
{
    for (const auto& [maske, version] :
         {std::pair{"1234x678", ""}, std::pair{"12345678", "xyz"}, std::pair{"123456789", ""}}) {
        m_treiber.APPSelect(0, maske, "", version, "");
        EXPECT_EQ(m_treiber.APPReceiveTest(), mbus::kEmpfangUngueltig) << maske;
        EXPECT_EQ(m_treiber.APPReceiveError(), mbus::kFehlerSonstiger) << maske;
    }
    EXPECT_TRUE(m_leitung->gesendet.isEmpty());
}

TEST_F(RacX4LeitungTest, receiveErrorIsZeroWhileTheExchangeRuns)
{
    m_treiber.APPREQUD2(5);
    EXPECT_EQ(m_treiber.APPReceiveTest(), mbus::kEmpfangLaeuft);
    EXPECT_EQ(m_treiber.APPReceiveError(), 0);
    abwarten();
    EXPECT_EQ(m_treiber.APPReceiveError(), mbus::kFehlerZeitueberschreitung);
}

TEST_F(RacX4LeitungTest, retryAnswersWhetherARepetitionIsArmed)
{
    m_treiber.APPREQUD2(5);
    EXPECT_EQ(m_treiber.APPRetry(), 1);
    abwarten();
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
    EXPECT_EQ(m_treiber.APPRetry(), 0);
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

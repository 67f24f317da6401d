// What the driver accepts as port, baud rate and hex frame, and the factory by name.

#include "support/TestUmgebung.h"

#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "driver/faces/TreiberEingaben.h"
#include "platform/Global.h"

namespace {

using TreiberEingabenTest = TestUmgebung;

TEST_F(TreiberEingabenTest, portNumbersFromNumbersAndTexts)
{
    const struct
    {
        QVariant port;
        int nummer; // 0: none
    } faelle[] = {
        {3, 3},
        {QStringLiteral("3"), 3},
        {QStringLiteral("Com 3"), 3},
        {QStringLiteral("COM12"), 12},
        {QStringLiteral(" com  7 "), 7},
        {255, 255},
        {0, 0},
        {256, 0},
        {-1, 0},
        {QStringLiteral("Com"), 0},
        {QStringLiteral("Com 3a"), 0},
        {QStringLiteral("LPT1"), 0},
        {QVariant(), 0},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(TreiberPortNummer(fall.port).value_or(0), fall.nummer)
            << fall.port.toString().toStdString();
}

TEST_F(TreiberEingabenTest, onlyMBusBaudRatesAreAccepted)
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

TEST_F(TreiberEingabenTest, hexFramesAreTwoDigitsAByteWithoutSeparators)
{
    EXPECT_EQ(TreiberHexBytes(QStringLiteral("107BFD7816")), QByteArray::fromHex("107BFD7816"));
    EXPECT_EQ(TreiberHexBytes(QStringLiteral(" e5 ")), QByteArray::fromHex("E5"));
    for (const char* text : {"", " ", "1", "107", "10 7B", "10;7B;", "0x10", "ZZ", "1G"})
        EXPECT_FALSE(TreiberHexBytes(QString::fromLatin1(text))) << text;
    EXPECT_EQ(TreiberHexByte(QStringLiteral("4")), 4);
    EXPECT_EQ(TreiberHexByte(QStringLiteral("FF")), 255);
    EXPECT_FALSE(TreiberHexByte(QStringLiteral("")));
    EXPECT_FALSE(TreiberHexByte(QStringLiteral("100")));
}

TEST_F(TreiberEingabenTest, factoryCreatesBothFacesByNameWhateverTheCase)
{
    const auto rac = MBusObjektErzeugen(QStringLiteral("mbusracx4.MBUSRACX4.1"));
    ASSERT_NE(rac, nullptr);
    EXPECT_NE(rac->alsRacX4(), nullptr);
    EXPECT_EQ(rac->alsOleAutoServer(), nullptr);
    EXPECT_EQ(rac->name(), "MBusRacX4.MBusRacX4.1");

    const auto ole = MBusObjektErzeugen(QStringLiteral("MBus.OLEAutoServer"));
    ASSERT_NE(ole, nullptr);
    EXPECT_NE(ole->alsOleAutoServer(), nullptr);
    EXPECT_EQ(ole->alsRacX4(), nullptr);
    EXPECT_EQ(ole->name(), "MBus.OLEAutoServer");
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(TreiberEingabenTest, factoryGivesNothingForAnUnknownName)
{
    for (const char* name : {"", "MBus.OLEAutoServer2", "MBusRacX4", "MSComm"}) {
        FehlerText.clear();
        EXPECT_EQ(MBusObjektErzeugen(QString::fromLatin1(name)), nullptr) << name;
        EXPECT_TRUE(FehlerText.contains(QString::fromLatin1(name))) << name;
        EXPECT_FALSE(FehlerText.isEmpty());
    }
}

} // namespace

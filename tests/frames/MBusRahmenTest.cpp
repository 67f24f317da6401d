#include "support/TestUmgebung.h"

#include "frames/MBusRahmen.h"

namespace {

const QString kKeineGueltigeId = QStringLiteral("Keine gültige ID erhalten");
const QString kHex = QStringLiteral("HEX");
const QString kChr = QStringLiteral("CHR");

enum Art { Selekt, Prim, Baud, PrimSek, BaudSek };

MBusRahmen Bauen(Art art, const QVariant& a, const QVariant& b, const QString& modus)
{
    switch (art) {
    case Selekt:
        return MB_TelSelectSekAdr(a, modus);
    case Prim:
        return MB_TelSetPrimAdr(a, modus);
    case Baud:
        return MB_TelSetBaudrate(a, modus);
    case PrimSek:
        return MB_TelSetPrimAdrSekAdr(a, b, modus);
    case BaudSek:
        return MB_TelSetBaudrateSekAdr(a, b, modus);
    }
    return {};
}

// Checksums worked out by hand: 53+FD+52+78+56+34+12+4*FF = 1714 = 6*256 + 0xB2, ...
TEST(MBusRahmen, everyModeGivesTheFrameItsWay)
{
    const struct
    {
        Art art;
        QVariant a, b;
        const char* hex;
    } faelle[] = {
        {Selekt, 12345678, {}, "68 0B 0B 68 53 FD 52 78 56 34 12 FF FF FF FF B2 16"},
        {Selekt,
         QStringLiteral(" 12345678 "),
         {},
         "68 0B 0B 68 53 FD 52 78 56 34 12 FF FF FF FF B2 16"},
        {Selekt, 12345678.0, {}, "68 0B 0B 68 53 FD 52 78 56 34 12 FF FF FF FF B2 16"},
        {Selekt,
         QStringLiteral("00000001"),
         {},
         "68 0B 0B 68 53 FD 52 01 00 00 00 FF FF FF FF 9F 16"},
        {Prim, 5, {}, "68 06 06 68 53 FD 51 01 7A 05 21 16"},
        {Prim, QStringLiteral(" 5"), {}, "68 06 06 68 53 FD 51 01 7A 05 21 16"},
        {Prim, 250, {}, "68 06 06 68 53 FD 51 01 7A FA 16 16"},
        {Baud, 300, {}, "68 03 03 68 53 FD B8 08 16"},
        {Baud, 600, {}, "68 03 03 68 53 FD B9 09 16"},
        {Baud, 1200, {}, "68 03 03 68 53 FD BA 0A 16"},
        {Baud, 2400, {}, "68 03 03 68 53 FD BB 0B 16"},
        {Baud, 4800, {}, "68 03 03 68 53 FD BC 0C 16"},
        {Baud, QStringLiteral("9600,0"), {}, "68 03 03 68 53 FD BD 0D 16"},
        {Baud, QStringLiteral(" 300.0 "), {}, "68 03 03 68 53 FD B8 08 16"},
        {PrimSek, 12345678, 5, "68 0E 0E 68 53 FD 51 78 56 34 12 FF FF FF FF 01 7A 05 31 16"},
        {BaudSek, 12345678, 9600, "68 0B 0B 68 53 FD BD 78 56 34 12 FF FF FF FF 1D 16"},
    };
    for (const auto& fall : faelle) {
        const QString hex = QString::fromLatin1(fall.hex);
        const QString kopf = hex.chopped(6); // without checksum and stop byte
        const std::string name = hex.toStdString();
        const MBusRahmen ganz = Bauen(fall.art, fall.a, fall.b, kHex);
        EXPECT_EQ(ganz.text, hex) << name;
        EXPECT_TRUE(ganz.gueltig && ganz.bytes.isEmpty()) << name;
        const MBusRahmen roh = Bauen(fall.art, fall.a, fall.b, kChr);
        EXPECT_EQ(roh.bytes, QByteArray::fromHex(kopf.toLatin1())) << name;
        EXPECT_TRUE(roh.gueltig && roh.text.isEmpty()) << name;
        for (const QString& modus : {QString(), QStringLiteral("hex")}) {
            const MBusRahmen text = Bauen(fall.art, fall.a, fall.b, modus);
            EXPECT_EQ(text.text, kopf) << name;
            EXPECT_TRUE(text.gueltig && text.bytes.isEmpty()) << name;
        }
    }
}

// No malformed frame, no frame for another meter, no bytes for the bus.
TEST(MBusRahmen, badAddressGivesKeineGueltigeIdInEveryModeAndBuilder)
{
    const QVariant falschePrimaer[] = {251,
                                       253,
                                       255,
                                       -1,
                                       5.5,
                                       QStringLiteral("5a"),
                                       QString(),
                                       QStringLiteral("256"),
                                       QStringLiteral("+5"),
                                       QStringLiteral("5,0"),
                                       QStringLiteral("0x05"),
                                       QVariant(),
                                       QVariant(true)};
    const QVariant falscheSekundaer[] = {QStringLiteral("12345678x"),
                                         QStringLiteral("+1234567"),
                                         QStringLiteral("1.5"),
                                         QStringLiteral("123456789"),
                                         QString(),
                                         QStringLiteral("1234 5678"),
                                         QStringLiteral("1E5"),
                                         QStringLiteral("1234FFFF"),
                                         123456789,
                                         -5,
                                         1.5,
                                         QVariant()};
    for (const QString& modus : {kHex, kChr, QString()}) {
        for (const QVariant& prim : falschePrimaer)
            for (const MBusRahmen& r :
                 {Bauen(Prim, prim, {}, modus), Bauen(PrimSek, 12345678, prim, modus)})
                EXPECT_TRUE(r.text == kKeineGueltigeId && r.bytes.isEmpty() && !r.gueltig)
                    << prim.toString().toStdString() << ' ' << modus.toStdString();
        for (const QVariant& sek : falscheSekundaer)
            for (const MBusRahmen& r :
                 {Bauen(Selekt, sek, {}, modus), Bauen(PrimSek, sek, 5, modus),
                  Bauen(BaudSek, sek, 2400, modus)})
                EXPECT_TRUE(r.text == kKeineGueltigeId && r.bytes.isEmpty() && !r.gueltig)
                    << sek.toString().toStdString() << ' ' << modus.toStdString();
    }
}

TEST(MBusRahmen, baudWithoutNumberIsRefusedAndEveryOtherRateGetsTheCodeFor2400)
{
    for (const QVariant& baud :
         {QVariant(QStringLiteral("96OO")), QVariant(QString()), QVariant()}) {
        const MBusRahmen r = MB_TelSetBaudrate(baud, kChr);
        EXPECT_TRUE(r.text == QStringLiteral("Keine gültige Baudrate erhalten") &&
                    r.bytes.isEmpty() && !r.gueltig);
    }
    EXPECT_EQ(MB_TelSetBaudrateSekAdr(12345678, QStringLiteral("abc"), kHex).text,
              kKeineGueltigeId);
    for (const QVariant& baud : {QVariant(19200), QVariant(0), QVariant(-9600), QVariant(9600.5),
                                 QVariant(QStringLiteral("1E6"))}) {
        EXPECT_EQ(MB_TelSetBaudrate(baud, QString()).text, QStringLiteral("68 03 03 68 53 FD BB"));
        EXPECT_EQ(MB_TelSetBaudrateSekAdr(1, baud, QString()).text.mid(18, 2),
                  QStringLiteral("BB"));
    }
}

} // namespace

namespace {

// SND_UD with FCB 1 (73), between the select with FCB 0 and the select again; 73+FD+50 = 0x1C0:
// checksum C0.
TEST(MBusRahmen, applicationResetGoesToTheSelectedMeterWithTheOtherFcbThanTheSelect)
{
    EXPECT_EQ(MB_TelAnwendungsReset(kHex).text, QStringLiteral("68 03 03 68 73 FD 50 C0 16"));
    EXPECT_EQ(MB_TelAnwendungsReset(QString()).text, QStringLiteral("68 03 03 68 73 FD 50"));
    const MBusRahmen chr = MB_TelAnwendungsReset(kChr);
    EXPECT_TRUE(chr.gueltig && chr.text.isEmpty());
    EXPECT_EQ(chr.bytes, QByteArray::fromHex("6803036873FD50"));
    // The select keeps FCB 0.
    EXPECT_TRUE(
        MB_TelSelectSekAdr(12345678, kHex).text.startsWith(QStringLiteral("68 0B 0B 68 53")));
}

} // namespace

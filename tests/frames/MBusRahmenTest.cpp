#include "support/TestUmgebung.h"

#include "frames/MBusRahmen.h"

#include <QStringList>

#include <functional>

namespace {

const QString kKeineGueltigeId = QStringLiteral("Keine gültige ID erhalten");
const QString kKeineGueltigeBaudrate = QStringLiteral("Keine gültige Baudrate erhalten");
const QString kHex = QStringLiteral("HEX");
const QString kChr = QStringLiteral("CHR");

using Bauer = std::function<MBusRahmen(const QString& modus)>;

struct GoldenerRahmen
{
    const char* name;
    Bauer bauen;
    const char* hex; // the whole frame; checksums worked out by hand
};

// Checksums: sum of the bytes from C field (53) to the last data byte, modulo 256.
//   53+FD+52+78+56+34+12+4*FF = 1714 = 6*256 + 0xB2
//   53+FD+52+01+00+00+00+4*FF = 1439 = 5*256 + 0x9F
//   53+FD+51+01+7A+05 = 545 = 2*256 + 0x21;  ..+00 = 540 -> 0x1C;  ..+FA = 790 -> 0x16
//   53+FD+B8 = 520 -> 0x08, B9 -> 0x09, BA -> 0x0A, BB -> 0x0B, BC -> 0x0C, BD -> 0x0D
//   53+FD+51+78+56+34+12+4*FF+01+7A+05 = 1841 = 7*256 + 0x31
//   53+FD+BD+78+56+34+12+4*FF = 1821 -> 0x1D;  with BB 1819 -> 0x1B;  with B8 1816 -> 0x18
const GoldenerRahmen kGoldeneRahmen[] = {
    {"select 12345678", [](const QString& m) { return MB_TelSelectSekAdr(12345678, m); },
     "68 0B 0B 68 53 FD 52 78 56 34 12 FF FF FF FF B2 16"},
    {"select \"12345678\"",
     [](const QString& m) { return MB_TelSelectSekAdr(QStringLiteral("12345678"), m); },
     "68 0B 0B 68 53 FD 52 78 56 34 12 FF FF FF FF B2 16"},
    {"select 1", [](const QString& m) { return MB_TelSelectSekAdr(1, m); },
     "68 0B 0B 68 53 FD 52 01 00 00 00 FF FF FF FF 9F 16"},
    {"select \"00000001\"",
     [](const QString& m) { return MB_TelSelectSekAdr(QStringLiteral("00000001"), m); },
     "68 0B 0B 68 53 FD 52 01 00 00 00 FF FF FF FF 9F 16"},
    {"prim 5", [](const QString& m) { return MB_TelSetPrimAdr(5, m); },
     "68 06 06 68 53 FD 51 01 7A 05 21 16"},
    {"prim \"5\"", [](const QString& m) { return MB_TelSetPrimAdr(QStringLiteral("5"), m); },
     "68 06 06 68 53 FD 51 01 7A 05 21 16"},
    {"prim 0", [](const QString& m) { return MB_TelSetPrimAdr(0, m); },
     "68 06 06 68 53 FD 51 01 7A 00 1C 16"},
    {"prim 250", [](const QString& m) { return MB_TelSetPrimAdr(250, m); },
     "68 06 06 68 53 FD 51 01 7A FA 16 16"},
    {"baud 300", [](const QString& m) { return MB_TelSetBaudrate(300, m); },
     "68 03 03 68 53 FD B8 08 16"},
    {"baud 600", [](const QString& m) { return MB_TelSetBaudrate(600, m); },
     "68 03 03 68 53 FD B9 09 16"},
    {"baud 1200", [](const QString& m) { return MB_TelSetBaudrate(1200, m); },
     "68 03 03 68 53 FD BA 0A 16"},
    {"baud 2400", [](const QString& m) { return MB_TelSetBaudrate(2400, m); },
     "68 03 03 68 53 FD BB 0B 16"},
    {"baud 4800", [](const QString& m) { return MB_TelSetBaudrate(4800, m); },
     "68 03 03 68 53 FD BC 0C 16"},
    {"baud 9600", [](const QString& m) { return MB_TelSetBaudrate(9600, m); },
     "68 03 03 68 53 FD BD 0D 16"},
    {"baud \"9600\"", [](const QString& m) { return MB_TelSetBaudrate(QStringLiteral("9600"), m); },
     "68 03 03 68 53 FD BD 0D 16"},
    {"baud 19200", [](const QString& m) { return MB_TelSetBaudrate(19200, m); },
     "68 03 03 68 53 FD BB 0B 16"},
    {"prim 5 by 12345678", [](const QString& m) { return MB_TelSetPrimAdrSekAdr(12345678, 5, m); },
     "68 0E 0E 68 53 FD 51 78 56 34 12 FF FF FF FF 01 7A 05 31 16"},
    {"baud 9600 by 12345678",
     [](const QString& m) { return MB_TelSetBaudrateSekAdr(12345678, 9600, m); },
     "68 0B 0B 68 53 FD BD 78 56 34 12 FF FF FF FF 1D 16"},
    {"baud 19200 by 12345678",
     [](const QString& m) { return MB_TelSetBaudrateSekAdr(12345678, 19200, m); },
     "68 0B 0B 68 53 FD BB 78 56 34 12 FF FF FF FF 1B 16"},
    {"baud 300 by 12345678",
     [](const QString& m) { return MB_TelSetBaudrateSekAdr(12345678, 300, m); },
     "68 0B 0B 68 53 FD B8 78 56 34 12 FF FF FF FF 18 16"},
};

// The frame text without checksum and stop byte.
QString Kopf(const char* hex)
{
    QString text = QString::fromLatin1(hex);
    text.chop(6);
    return text;
}

QByteArray Bytes(const QString& hexText)
{
    return QByteArray::fromHex(hexText.toLatin1());
}

class MBusRahmenTest : public TestUmgebung
{
};

TEST_F(MBusRahmenTest, modusHexLiefertDenGanzenRahmen)
{
    for (const auto& fall : kGoldeneRahmen) {
        const MBusRahmen rahmen = fall.bauen(kHex);
        EXPECT_EQ(rahmen.text.toStdString(), fall.hex) << fall.name;
        EXPECT_TRUE(rahmen.gueltig) << fall.name;
        EXPECT_TRUE(rahmen.bytes.isEmpty()) << fall.name;
    }
}

TEST_F(MBusRahmenTest, modusChrLiefertDieKopfbytesOhnePruefsummeUndStopp)
{
    for (const auto& fall : kGoldeneRahmen) {
        const MBusRahmen rahmen = fall.bauen(kChr);
        EXPECT_EQ(rahmen.bytes.toHex(' ').toUpper().toStdString(), Kopf(fall.hex).toStdString())
            << fall.name;
        EXPECT_TRUE(rahmen.gueltig) << fall.name;
        EXPECT_TRUE(rahmen.text.isEmpty()) << fall.name;
    }
}

TEST_F(MBusRahmenTest, andererModusLiefertDenKopftext)
{
    for (const QString& modus :
         {QString(), QStringLiteral("hex"), QStringLiteral("chr"), QStringLiteral("TXT")}) {
        for (const auto& fall : kGoldeneRahmen) {
            const MBusRahmen rahmen = fall.bauen(modus);
            EXPECT_EQ(rahmen.text, Kopf(fall.hex)) << fall.name << " mode " << modus.toStdString();
            EXPECT_TRUE(rahmen.gueltig);
            EXPECT_TRUE(rahmen.bytes.isEmpty());
        }
    }
}

// Independent of the golden texts: both length fields count C, A, CI and data, the checksum is
// the byte sum from C on, the frame ends with 16.
TEST_F(MBusRahmenTest, jederRahmenIstInSichStimmig)
{
    for (const auto& fall : kGoldeneRahmen) {
        const QByteArray rahmen = Bytes(fall.bauen(kHex).text);
        ASSERT_GE(rahmen.size(), 9) << fall.name;
        const int laenge = static_cast<unsigned char>(rahmen[1]);
        EXPECT_EQ(rahmen[0], '\x68') << fall.name;
        EXPECT_EQ(rahmen[2], rahmen[1]) << fall.name;
        EXPECT_EQ(rahmen[3], '\x68') << fall.name;
        EXPECT_EQ(rahmen.size(), laenge + 6) << fall.name;
        EXPECT_EQ(rahmen[4], '\x53') << fall.name;
        EXPECT_EQ(static_cast<unsigned char>(rahmen[5]), 253) << fall.name;
        int summe = 0;
        for (int i = 4; i < 4 + laenge; ++i)
            summe += static_cast<unsigned char>(rahmen[i]);
        EXPECT_EQ(static_cast<unsigned char>(rahmen[4 + laenge]), summe % 256) << fall.name;
        EXPECT_EQ(rahmen.back(), '\x16') << fall.name;
    }
}

TEST_F(MBusRahmenTest, sekundaeradresseMitWenigerAlsAchtStellenWirdAufgefuellt)
{
    EXPECT_EQ(MB_TelSelectSekAdr(1234567, kHex).text.left(35),
              QStringLiteral("68 0B 0B 68 53 FD 52 67 45 23 01 FF"));
    EXPECT_EQ(MB_TelSelectSekAdr(QStringLiteral("0"), QString()).text,
              QStringLiteral("68 0B 0B 68 53 FD 52 00 00 00 00 FF FF FF FF"));
}

TEST_F(MBusRahmenTest, blanksUmDieAdresseSindErlaubt)
{
    EXPECT_EQ(MB_TelSelectSekAdr(QStringLiteral(" 12345678 "), kHex).text,
              QStringLiteral("68 0B 0B 68 53 FD 52 78 56 34 12 FF FF FF FF B2 16"));
    EXPECT_EQ(MB_TelSetPrimAdr(QStringLiteral(" 5"), kHex).text,
              QStringLiteral("68 06 06 68 53 FD 51 01 7A 05 21 16"));
}

TEST_F(MBusRahmenTest, ganzzahligeGleitkommaadresseWirdAngenommen)
{
    EXPECT_EQ(MB_TelSetPrimAdr(5.0, kHex).text,
              QStringLiteral("68 06 06 68 53 FD 51 01 7A 05 21 16"));
    EXPECT_EQ(MB_TelSelectSekAdr(12345678.0, kHex).text,
              QStringLiteral("68 0B 0B 68 53 FD 52 78 56 34 12 FF FF FF FF B2 16"));
}

// Every wrong primary or secondary address gives the error text in every mode and every
// builder: no malformed frame, no frame for another meter, no bytes for the bus.
TEST_F(MBusRahmenTest, ungueltigeAdresseGibtKeineGueltigeId)
{
    const QVariant falschePrimaer[] = {
        251,
        253,
        254,
        255,
        256,
        -1,
        1000,
        5.5,
        QStringLiteral("5a"),
        QString(),
        QStringLiteral("251"),
        QStringLiteral("256"),
        QStringLiteral("-1"),
        QStringLiteral("+5"),
        QStringLiteral("1.5"),
        QStringLiteral("5,0"),
        QStringLiteral("0x05"),
        QStringLiteral("5 0"),
        QStringLiteral("99999999999999999999999"),
        QVariant(),
        QVariant(true),
    };
    const QVariant falscheSekundaer[] = {
        QStringLiteral("12345678x"),
        QStringLiteral("+1234567"),
        QStringLiteral("1.5"),
        QStringLiteral("123456789"),
        QString(),
        QStringLiteral(" "),
        QStringLiteral("-1"),
        QStringLiteral("1234 5678"),
        QStringLiteral("1,5"),
        QStringLiteral("1E5"),
        QStringLiteral("1234FFFF"),
        QStringLiteral("000000001"),
        123456789,
        -5,
        1.5,
        -1.0,
        QVariant(),
        QVariant(true),
    };
    const QString modi[] = {kHex, kChr, QString()};

    const auto pruefen = [](const MBusRahmen& rahmen, const std::string& fall) {
        EXPECT_EQ(rahmen.text, kKeineGueltigeId) << fall;
        EXPECT_TRUE(rahmen.bytes.isEmpty()) << fall;
        EXPECT_FALSE(rahmen.gueltig) << fall;
    };
    for (const QString& modus : modi) {
        const std::string m = " mode " + modus.toStdString();
        for (const QVariant& prim : falschePrimaer) {
            const std::string fall = "prim " + prim.toString().toStdString() + m;
            pruefen(MB_TelSetPrimAdr(prim, modus), fall);
            pruefen(MB_TelSetPrimAdrSekAdr(12345678, prim, modus), "by sek, " + fall);
        }
        for (const QVariant& sek : falscheSekundaer) {
            const std::string fall = "sek " + sek.toString().toStdString() + m;
            pruefen(MB_TelSelectSekAdr(sek, modus), "select " + fall);
            pruefen(MB_TelSetPrimAdrSekAdr(sek, 5, modus), "prim " + fall);
            pruefen(MB_TelSetBaudrateSekAdr(sek, 2400, modus), "baud " + fall);
        }
    }
}

TEST_F(MBusRahmenTest, baudrateOhneZahlGibtKeineGueltigeBaudrate)
{
    for (const QVariant& baud : {QVariant(QStringLiteral("abc")), QVariant(QString()),
                                 QVariant(QStringLiteral("96OO")), QVariant()}) {
        for (const QString& modus : {kHex, kChr, QString()}) {
            const MBusRahmen rahmen = MB_TelSetBaudrate(baud, modus);
            EXPECT_EQ(rahmen.text, kKeineGueltigeBaudrate) << baud.toString().toStdString();
            EXPECT_TRUE(rahmen.bytes.isEmpty());
            EXPECT_FALSE(rahmen.gueltig);
        }
    }
}

TEST_F(MBusRahmenTest, baudrateOhneZahlAnSekundaeradresseGibtKeineGueltigeId)
{
    const MBusRahmen rahmen = MB_TelSetBaudrateSekAdr(12345678, QStringLiteral("abc"), kHex);
    EXPECT_EQ(rahmen.text, kKeineGueltigeId);
    EXPECT_FALSE(rahmen.gueltig);
}

TEST_F(MBusRahmenTest, jedeAndereBaudrateGibtDenCodeFuer2400)
{
    const QVariant andere[] = {
        19200, 38400, 110, 0, -9600, 2401, 9600.5, QStringLiteral("-5"), QStringLiteral("1E6")};
    for (const QVariant& baud : andere) {
        EXPECT_EQ(MB_TelSetBaudrate(baud, QString()).text, QStringLiteral("68 03 03 68 53 FD BB"))
            << baud.toString().toStdString();
        EXPECT_EQ(MB_TelSetBaudrateSekAdr(1, baud, QString()).text.mid(18, 2), QStringLiteral("BB"))
            << baud.toString().toStdString();
    }
}

TEST_F(MBusRahmenTest, baudrateAlsTextMitKommaOderPunkt)
{
    EXPECT_EQ(MB_TelSetBaudrate(QStringLiteral("9600,0"), QString()).text,
              QStringLiteral("68 03 03 68 53 FD BD"));
    EXPECT_EQ(MB_TelSetBaudrate(QStringLiteral(" 300.0 "), QString()).text,
              QStringLiteral("68 03 03 68 53 FD B8"));
}

} // namespace

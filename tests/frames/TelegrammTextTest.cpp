#include "support/TestUmgebung.h"

#include "frames/TelegrammText.h"

namespace {

QByteArray AlleBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    return bytes;
}

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

class TelegrammTextTest : public TestUmgebung
{
};

TEST_F(TelegrammTextTest, sekAdrToHexLiefertBcdBytesVerkehrtHerumUndPlatzhalter)
{
    const struct
    {
        QVariant sekAdr;
        const char* text;
    } faelle[] = {
        {1, "01 00 00 00 FF FF FF FF"},
        {12345678, "78 56 34 12 FF FF FF FF"},
        {QStringLiteral("12345678"), "78 56 34 12 FF FF FF FF"},
        {0, "00 00 00 00 FF FF FF FF"},
        {1234567, "67 45 23 01 FF FF FF FF"},
        {QStringLiteral("00000042"), "42 00 00 00 FF FF FF FF"},
        {99999999, "99 99 99 99 FF FF FF FF"},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(MB_SekAdrToHex(fall.sekAdr), QString::fromLatin1(fall.text))
            << fall.sekAdr.toString().toStdString();
}

TEST_F(TelegrammTextTest, sekAdrToHexNimmtVonLangenNummernDieErstenAchtStellen)
{
    EXPECT_EQ(MB_SekAdrToHex(123456789), QStringLiteral("78 56 34 12 FF FF FF FF"));
    EXPECT_EQ(MB_SekAdrToHex(QStringLiteral("9876543210")),
              QStringLiteral("32 54 76 98 FF FF FF FF"));
    // Leading zeros are no digits of the number.
    EXPECT_EQ(MB_SekAdrToHex(QStringLiteral("000000001")),
              QStringLiteral("01 00 00 00 FF FF FF FF"));
}

TEST_F(TelegrammTextTest, sekAdrToHexOhneGanzeZahlIstLeer)
{
    for (const QVariant& wert :
         {QVariant(QStringLiteral("abc")), QVariant(QString()), QVariant(QStringLiteral("-1")),
          QVariant(QStringLiteral("1.5")), QVariant(QStringLiteral("+12")), QVariant(-1),
          QVariant(1.5), QVariant()})
        EXPECT_EQ(MB_SekAdrToHex(wert), QString()) << wert.toString().toStdString();
}

TEST_F(TelegrammTextTest, checksummeIstDieBytesummeModulo256)
{
    const struct
    {
        QByteArray bytes;
        const char* summe;
    } faelle[] = {
        {Hex("53FD52785634 12FFFFFFFF"), "B2"}, // 1714 = 6*256 + 178
        {Hex("53FD51017A05"), "21"},            // 545 = 2*256 + 33
        {Hex("0F"), "0F"},
        {Hex("00"), "00"},
        {Hex("FF01"), "00"},
        {Hex("FFFF"), "FE"},
        {AlleBytes(), "80"}, // 0+1+...+255 = 32640 = 127*256 + 128
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(MB_Checksumme(fall.bytes), QString::fromLatin1(fall.summe))
            << fall.bytes.toHex().toStdString();
}

TEST_F(TelegrammTextTest, checksummeOhneBytesIstLeer)
{
    EXPECT_EQ(MB_Checksumme(QByteArray()), QString());
}

TEST_F(TelegrammTextTest, strToHexSchreibtJedesByteMitTrenner)
{
    EXPECT_EQ(StrToHex(Hex("6803"), QStringLiteral(";")), QStringLiteral("68;03;"));
    EXPECT_EQ(StrToHex(Hex("6803"), QString()), QStringLiteral("6803"));
    EXPECT_EQ(StrToHex(Hex("00abFF"), QStringLiteral(" ")), QStringLiteral("00 AB FF "));
    EXPECT_EQ(StrToHex(Hex("0A"), QStringLiteral(", ")), QStringLiteral("0A, "));
    EXPECT_EQ(StrToHex(QByteArray(), QStringLiteral(";")), QString());
}

TEST_F(TelegrammTextTest, hexToStrUndStrToHexGebenAlleBytesZurueck)
{
    const QByteArray alle = AlleBytes();
    for (const QString& trenner : {QStringLiteral(";"), QStringLiteral(" "), QString(),
                                   QStringLiteral(","), QStringLiteral("; ")}) {
        QString gelesen = trenner;
        EXPECT_EQ(HexToStr(StrToHex(alle, trenner), gelesen), alle)
            << "separator \"" << trenner.toStdString() << '"';
        EXPECT_EQ(gelesen, trenner);
    }
}

TEST_F(TelegrammTextTest, hexToStrFindetDenTrennerSelbstUndGibtIhnZurueck)
{
    for (const QString& trenner : {QStringLiteral(";"), QStringLiteral(" "), QStringLiteral("-")}) {
        QString gelesen;
        EXPECT_EQ(HexToStr(StrToHex(AlleBytes(), trenner), gelesen), AlleBytes());
        EXPECT_EQ(gelesen, trenner);
    }
}

// The REQ_UD2 to the selected meter.
TEST_F(TelegrammTextTest, hexToStrMitBlanksUndLeeremTrenner)
{
    QString trenner;
    EXPECT_EQ(HexToStr(QStringLiteral("10 7B FD 78 16"), trenner), Hex("107BFD7816"));
    EXPECT_EQ(trenner, QStringLiteral(" "));
}

// Contiguous hex has a digit where the separator would stand: it is read in pairs instead of
// taking that digit for a separator.
TEST_F(TelegrammTextTest, hexToStrLiestZusammenhaengendesHexPaarweise)
{
    const struct
    {
        const char* hex;
        QByteArray bytes;
    } faelle[] = {
        {"107BFD7816", Hex("107BFD7816")},
        {"107bfd7816", Hex("107BFD7816")},
        {"68", Hex("68")},
        {"7", Hex("07")},
        {"107", Hex("1007")},      // a last single digit is a byte of its own
        {"107ZZ6", Hex("100000")}, // a pair that is no hex number gives 0
    };
    for (const auto& fall : faelle) {
        QString trenner;
        EXPECT_EQ(HexToStr(QString::fromLatin1(fall.hex), trenner), fall.bytes) << fall.hex;
        EXPECT_EQ(trenner, QString()) << fall.hex;
    }
}

TEST_F(TelegrammTextTest, hexToStrMitGegebenemTrenner)
{
    const struct
    {
        const char* hex;
        const char* trenner;
        QByteArray bytes;
    } faelle[] = {
        {"68;0B;0B;68;", ";", Hex("680B0B68")},
        {"68;0B;0B;68", ";", Hex("680B0B68")}, // last field without separator
        {"68 0B 0B 68", " ", Hex("680B0B68")},
        {"68 0B 0B 68 ", " ", Hex("680B0B68")},
        {"68;0B; ", ";", Hex("680B")}, // blanks behind the last separator are no field
        {"68, 0B, 16", ", ", Hex("680B16")},
        {"6;B;", ";", Hex("060B")},
        {"7b;fd;", ";", Hex("7BFD")},
        {" 7B ; FD ;", ";", Hex("7BFD")},
    };
    for (const auto& fall : faelle) {
        QString trenner = QString::fromLatin1(fall.trenner);
        EXPECT_EQ(HexToStr(QString::fromLatin1(fall.hex), trenner), fall.bytes) << fall.hex;
        EXPECT_EQ(trenner, QString::fromLatin1(fall.trenner)) << fall.hex;
    }
}

TEST_F(TelegrammTextTest, hexToStrFeldOhneHexzahlGibtByteNull)
{
    const struct
    {
        const char* hex;
        QByteArray bytes;
    } faelle[] = {
        {"68;ZZ;16;", Hex("680016")}, {"68;;16;", Hex("680016")},    {"68;123;16;", Hex("680016")},
        {"68;-1;16;", Hex("680016")}, {"68;0x1;16;", Hex("680016")}, {";", Hex("00")},
    };
    for (const auto& fall : faelle) {
        QString trenner = QStringLiteral(";");
        EXPECT_EQ(HexToStr(QString::fromLatin1(fall.hex), trenner), fall.bytes) << fall.hex;
    }
}

TEST_F(TelegrammTextTest, hexToStrOhneSeinenTrennerIstLeer)
{
    const struct
    {
        const char* hex;
        const char* trenner;
    } faelle[] = {
        {"68 0B 0B 68", ";"},
        {"68;0B;0B;68;", " "},
        {"680B0B68", ";"},
        {"68", ";"},
    };
    for (const auto& fall : faelle) {
        QString trenner = QString::fromLatin1(fall.trenner);
        EXPECT_EQ(HexToStr(QString::fromLatin1(fall.hex), trenner), QByteArray()) << fall.hex;
        EXPECT_EQ(trenner, QString::fromLatin1(fall.trenner)) << fall.hex;
    }
}

TEST_F(TelegrammTextTest, hexToStrVonLeeremTextIstLeerUndLaesstDenTrenner)
{
    QString trenner;
    EXPECT_EQ(HexToStr(QString(), trenner), QByteArray());
    EXPECT_EQ(trenner, QString());
    trenner = QStringLiteral(";");
    EXPECT_EQ(HexToStr(QString(), trenner), QByteArray());
    EXPECT_EQ(trenner, QStringLiteral(";"));
}

TEST_F(TelegrammTextTest, hexToStrOhneTrennerArgumentFindetIhnSelbst)
{
    EXPECT_EQ(HexToStr(QStringLiteral("68;0B;0B;68;")), Hex("680B0B68"));
    EXPECT_EQ(HexToStr(QStringLiteral("680B0B68")), Hex("680B0B68"));
}

} // namespace

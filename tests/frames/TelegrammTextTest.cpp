#include "support/TestUmgebung.h"

#include "frames/TelegrammText.h"

namespace {

const QByteArray kAlleBytes = [] {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    return bytes;
}();

TEST(TelegrammText, sekAdrToHexGivesBcdBytesLowestFirstAndWildcards)
{
    const struct
    {
        QVariant sekAdr;
        const char* text;
    } faelle[] = {
        {1, "01 00 00 00 FF FF FF FF"},
        {QStringLiteral("12345678"), "78 56 34 12 FF FF FF FF"},
        {123456789, "78 56 34 12 FF FF FF FF"},                   // the first eight digits
        {QStringLiteral("000000001"), "01 00 00 00 FF FF FF FF"}, // leading zeros are no digits
        {QStringLiteral("-1"), ""},
        {QStringLiteral("1.5"), ""},
        {QStringLiteral("+12"), ""},
        {QString(), ""},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(MB_SekAdrToHex(fall.sekAdr), QString::fromLatin1(fall.text)) << fall.text;
}

TEST(TelegrammText, checksumIsTheByteSumModulo256)
{
    EXPECT_EQ(MB_Checksumme(QByteArray::fromHex("53FD52785634 12FFFFFFFF")), QStringLiteral("B2"));
    EXPECT_EQ(MB_Checksumme(QByteArray::fromHex("0F")), QStringLiteral("0F"));
    EXPECT_EQ(MB_Checksumme(kAlleBytes), QStringLiteral("80")); // 32640 = 127*256 + 128
    EXPECT_EQ(MB_Checksumme(QByteArray()), QString());
}

TEST(TelegrammText, strToHexAndHexToStrGiveEveryByteBack)
{
    EXPECT_EQ(StrToHex(QByteArray::fromHex("00abFF"), QStringLiteral(", ")),
              QStringLiteral("00, AB, FF, "));
    for (const QString& trenner :
         {QStringLiteral(";"), QStringLiteral(" "), QString(), QStringLiteral("; ")}) {
        QString gegeben = trenner;
        EXPECT_EQ(HexToStr(StrToHex(kAlleBytes, trenner), gegeben), kAlleBytes)
            << '"' << trenner.toStdString() << '"';
        QString gefunden;
        EXPECT_EQ(HexToStr(StrToHex(kAlleBytes, trenner), gefunden), kAlleBytes);
        EXPECT_EQ(gefunden, trenner.left(1)) << '"' << trenner.toStdString() << '"';
    }
}

// An empty separator is taken from the text; contiguous hex is read in pairs instead of taking
// a digit for the separator.
TEST(TelegrammText, hexToStrReadsFieldsAtTheSeparator)
{
    const struct
    {
        const char* hex;
        const char* trenner;
        const char* bytes;
        const char* trennerDanach;
    } faelle[] = {
        {"10 7B FD 78 16", "", "107BFD7816", " "},
        {"107bfd7816", "", "107BFD7816", ""},
        {"107", "", "1007", ""},      // a last single digit is a byte of its own
        {"107ZZ6", "", "100000", ""}, // a pair that is no hex number gives 0
        {"68;0B;0B;68", ";", "680B0B68", ";"},
        {"68;0B; ", ";", "680B", ";"}, // blanks behind the last separator are no field
        {"68, 0B, 16", ", ", "680B16", ", "},
        {" 7b ; D ;", ";", "7B0D", ";"},
        {"68;ZZ;;123;-1;", ";", "6800000000", ";"}, // a field that is no byte gives 0
        {"68 0B 0B 68", ";", "", ";"},              // a text without its separator gives nothing
        {"68", ";", "", ";"},
        {"", "", "", ""},
        {"", ";", "", ";"},
    };
    for (const auto& fall : faelle) {
        QString trenner = QString::fromLatin1(fall.trenner);
        EXPECT_EQ(HexToStr(QString::fromLatin1(fall.hex), trenner), QByteArray::fromHex(fall.bytes))
            << fall.hex;
        EXPECT_EQ(trenner, QString::fromLatin1(fall.trennerDanach)) << fall.hex;
    }
    EXPECT_EQ(HexToStr(QStringLiteral("68;0B;")), QByteArray::fromHex("680B"));
}

} // namespace

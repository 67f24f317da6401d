#include "zugang/CryptString.h"

#include "support/TestUmgebung.h"

namespace {

QByteArray Byte(int code)
{
    return QByteArray(1, static_cast<char>(code));
}

TEST(CryptStringTest, verschluesseltJedesByteMitA7)
{
    struct Fall
    {
        int klar;
        int verschluesselt;
    };
    // Worked by hand: 0xA7 XOR byte.
    const Fall faelle[] = {
        {'0', 0x97},  {'d', 0xC3},  {'.', 0x89},  {'(', 0x8F},  {'S', 0xF4},
        {0x00, 0xA7}, {0xA7, 0x00}, {0xFF, 0x58}, {0xAA, 0x0D}, {0xAD, 0x0A},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.klar);
        EXPECT_EQ(CryptString(Byte(fall.klar), kUserConfigSchluessel), Byte(fall.verschluesselt));
    }
}

TEST(CryptStringTest, textOhneBlankHochkommaUndDateiendeKommtZurueck)
{
    const QByteArray texte[] = {"dbGeheim", "SQLSRV01\\Mess-Daten", "Passwort!#+~"};
    for (const QByteArray& text : texte) {
        const QByteArray verschluesselt = CryptString(text, kUserConfigSchluessel);
        EXPECT_NE(verschluesselt, text);
        EXPECT_EQ(CryptString(verschluesselt, kUserConfigSchluessel), text);
    }
}

TEST(CryptStringTest, jedesByteAusserBlankHochkommaUndDateiendeKommtZurueck)
{
    for (int code = 0; code < 256; ++code) {
        if (code == 32 || code == 39 || code == 26)
            continue;
        SCOPED_TRACE(code);
        EXPECT_EQ(
            CryptString(CryptString(Byte(code), kUserConfigSchluessel), kUserConfigSchluessel),
            Byte(code));
    }
}

TEST(CryptStringTest, verschluesseltNieZuBlankHochkommaOderDateiende)
{
    for (int code = 0; code < 256; ++code) {
        const char x = CryptString(Byte(code), kUserConfigSchluessel).at(0);
        if (x == ' ' || x == '\'' || x == 26) {
            EXPECT_EQ(x, static_cast<char>(code)) << code; // only when the byte was one itself
        }
    }
}

TEST(CryptStringTest, bytesDieZuBlankHochkommaOderDateiendeWuerdenBleibenInBeideRichtungen)
{
    for (const int code : {0x87, 0x80, 0xBD}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(CryptString(Byte(code), kUserConfigSchluessel), Byte(code));
    }
}

TEST(CryptStringTest, blankHochkommaUndDateiendeKommenVerschluesseltZurueck)
{
    struct Fall
    {
        int klar;
        int gelesen;
    };
    const Fall faelle[] = {{' ', 0x87}, {'\'', 0x80}, {26, 0xBD}};
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.klar);
        const QByteArray geschrieben = CryptString(Byte(fall.klar), kUserConfigSchluessel);
        EXPECT_EQ(geschrieben, Byte(fall.gelesen));
        EXPECT_EQ(CryptString(geschrieben, kUserConfigSchluessel), Byte(fall.gelesen));
    }
    EXPECT_EQ(CryptString(CryptString("db Geheim", kUserConfigSchluessel), kUserConfigSchluessel),
              "db\x87Geheim");
}

} // namespace

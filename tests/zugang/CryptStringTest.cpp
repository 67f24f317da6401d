#include "zugang/CryptString.h"

#include "support/TestUmgebung.h"

namespace {

QByteArray Byte(int code)
{
    return QByteArray(1, static_cast<char>(code));
}

QByteArray Crypt(const QByteArray& text)
{
    return CryptString(text, kUserConfigSchluessel);
}

TEST(CryptStringTest, verschluesseltMitA7AusserWennBlankHochkommaOderDateiendeEntstuende)
{
    // Worked by hand: 0xA7 XOR byte; bytes that would become blank, quote or EOF stay as they are,
    // so blank, quote and EOF are scrambled but do not come back.
    const struct
    {
        int klar, verschluesselt;
    } faelle[] = {
        {'0', 0x97},  {'d', 0xC3},  {'S', 0xF4},  {0x00, 0xA7}, {0xA7, 0x00}, {0xFF, 0x58},
        {0xAD, 0x0A}, {0x87, 0x87}, {0x80, 0x80}, {0xBD, 0xBD}, {' ', 0x87},  {'\'', 0x80},
        {26, 0xBD},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.klar);
        EXPECT_EQ(Crypt(Byte(f.klar)), Byte(f.verschluesselt));
    }
    EXPECT_EQ(Crypt(Crypt("db Geheim")), "db\x87Geheim");
}

TEST(CryptStringTest, jedesAndereByteKommtZurueckUndNieAlsBlankHochkommaOderDateiende)
{
    for (int code = 0; code < 256; ++code) {
        if (code == ' ' || code == '\'' || code == 26)
            continue;
        SCOPED_TRACE(code);
        const char x = Crypt(Byte(code)).at(0);
        EXPECT_EQ(Crypt(Byte(x)), Byte(code));
        if (x == ' ' || x == '\'' || x == 26)
            ADD_FAILURE() << "scrambled to " << int(x);
    }
}

} // namespace

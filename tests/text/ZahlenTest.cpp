#include "support/QtDrucken.h"
#include "support/TestUmgebung.h"

#include "platform/Global.h"
#include "text/Texte.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

class ZahlenTest : public TestUmgebung
{
};

struct TextZahl
{
    const char* text;
    double zahl;
};

TEST_F(ZahlenTest, mbTextZuDoubleLiestZahltexte)
{
    const TextZahl faelle[] = {
        {"0", 0.0},
        {"12,5", 12.5},
        {"12.5", 12.5},
        {"-3", -3.0},
        {"+3", 3.0},
        {"1E3", 1000.0},
        {"1e+2", 100.0},
        {"1,5E-3", 0.0015},
        {"1.5e-3", 0.0015},
        {"  7 ", 7.0},
        {",5", 0.5},
        {"5,", 5.0},
        {"-0,001", -0.001},
        {"000123", 123.0},
        {"12345678901234", 12345678901234.0},
        {"1E+15", 1e15},
        {"4,94065645841247E-324", 4.94065645841247e-324},
    };
    for (const TextZahl& fall : faelle) {
        EXPECT_DOUBLE_EQ(MB_TextZuDouble(QString::fromLatin1(fall.text)), fall.zahl) << fall.text;
        EXPECT_TRUE(FehlerText.isEmpty()) << fall.text;
    }
}

TEST_F(ZahlenTest, mbTextZuDoubleLiestPunktNieAlsTausendertrennzeichen)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_DOUBLE_EQ(MB_TextZuDouble(QStringLiteral("1.234")), 1.234);
    EXPECT_DOUBLE_EQ(MB_TextZuDouble(QStringLiteral("1,5")), 1.5);
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(ZahlenTest, mbTextZuDoubleVonLeeremTextIstNullOhneFehler)
{
    EXPECT_EQ(MB_TextZuDouble(QString()), 0.0);
    EXPECT_EQ(MB_TextZuDouble(QStringLiteral("   ")), 0.0);
    EXPECT_EQ(MB_TextZuDouble(QVariant()), 0.0);
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(ZahlenTest, mbTextZuDoubleVonKeinerZahlIstNullMitFehlertext)
{
    const char* faelle[] = {"abc", "1.234.567", "1,234.5", "12a", "E3",    "1E",   "--1",  ".",
                            "-",   "1 000",     "inf",     "nan", "1E999", "0x10", "1E3,5"};
    for (const char* text : faelle) {
        FehlerText.clear();
        EXPECT_EQ(MB_TextZuDouble(QString::fromLatin1(text)), 0.0) << text;
        EXPECT_TRUE(FehlerText.contains(QString::fromLatin1(text)))
            << text << " / " << FehlerText.toStdString();
    }
}

TEST_F(ZahlenTest, mbTextZuDoubleNimmtZahlenAlsZahlen)
{
    EXPECT_DOUBLE_EQ(MB_TextZuDouble(QVariant(12.5)), 12.5);
    EXPECT_DOUBLE_EQ(MB_TextZuDouble(QVariant(-42)), -42.0);
    EXPECT_DOUBLE_EQ(MB_TextZuDouble(QVariant(qint64(1) << 40)), 1099511627776.0);
    EXPECT_DOUBLE_EQ(MB_TextZuDouble(QVariant(2.5f)), 2.5);
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(ZahlenTest, zahlAlsTextSchreibtDeutscheZahltexte)
{
    const struct
    {
        double zahl;
        const char* text;
    } faelle[] = {
        {1234.5, "1234,5"},
        {0.001, "0,001"},
        {-7.0, "-7"},
        {100.0, "100"},
        {0.0, "0"},
        {-0.0, "0"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3.0, "0,333333333333333"},
        {12345678.9, "12345678,9"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E+15"},
        {0.0001, "0,0001"},
        {0.00001, "1E-05"},
        {1.5e20, "1,5E+20"},
        {123456789012345678.0, "1,23456789012346E+17"},
        {-2.5e-7, "-2,5E-07"},
        {1e100, "1E+100"},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(ZahlAlsText(fall.zahl), QString::fromLatin1(fall.text)) << fall.text;
}

TEST_F(ZahlenTest, zahlAlsTextOhneEndlicheZahlIstNull)
{
    EXPECT_EQ(ZahlAlsText(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("0"));
    EXPECT_EQ(ZahlAlsText(std::numeric_limits<double>::infinity()), QStringLiteral("0"));
}

TEST_F(ZahlenTest, zahlAlsTextLiestSichZurueck)
{
    for (double zahl : {1234.5, -0.001, 1e-5, 6.02214076e23, 42.0, 0.125, -98765.4321})
        EXPECT_DOUBLE_EQ(MB_TextZuDouble(ZahlAlsText(zahl)), zahl) << zahl;
    EXPECT_TRUE(FehlerText.isEmpty());
}

} // namespace

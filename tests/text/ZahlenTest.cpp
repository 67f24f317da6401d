#include "support/TestUmgebung.h"

#include "platform/Global.h"
#include "text/Texte.h"

#include <QLocale>

#include <limits>

using ZahlenTest = TestUmgebung;

TEST_F(ZahlenTest, mbTextZuDoubleLiestKommaUndPunktAlsDezimalzeichen)
{
    const struct
    {
        const char* text;
        double zahl;
    } faelle[] = {
        // clang-format off
        {"12,5", 12.5}, {"12.5", 12.5}, {"1.234", 1.234}, {"-3", -3.0}, {"+3", 3.0},
        {"1E3", 1000.0},
        {"1,5E-3", 0.0015}, {"1.5e-3", 0.0015}, {"  7 ", 7.0}, {",5", 0.5}, {"5,", 5.0},
        {"000123", 123.0}, {"4,94065645841247E-324", 4.94065645841247e-324}, {"", 0.0},
        {"   ", 0.0},
        // clang-format on
    };
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // groups never count
    for (const auto& f : faelle)
        EXPECT_DOUBLE_EQ(MB_TextZuDouble(QString(f.text)), f.zahl) << f.text;
    QLocale::setDefault(QLocale::c());
    EXPECT_DOUBLE_EQ(MB_TextZuDouble(QVariant(12.5)), 12.5);
    EXPECT_DOUBLE_EQ(MB_TextZuDouble(QVariant(qint64(1) << 40)), 1099511627776.0);
    EXPECT_EQ(MB_TextZuDouble(QVariant()), 0.0);
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(ZahlenTest, mbTextZuDoubleVonKeinerZahlIstNullMitFehlertext)
{
    for (const char* text : {"abc", "1.234.567", "1,234.5", "12a", "E3", "1E", "--1", ".", "-",
                             "1 000", "inf", "nan", "1E999", "0x10", "1E3,5"}) {
        FehlerText.clear();
        EXPECT_EQ(MB_TextZuDouble(QString(text)), 0.0) << text;
        EXPECT_TRUE(FehlerText.contains(text)) << text << " / " << FehlerText.toStdString();
    }
}

TEST_F(ZahlenTest, zahlAlsTextSchreibtDeutscheZahltexteUndLiestSichZurueck)
{
    const struct
    {
        double zahl;
        const char* text;
    } faelle[] = {
        // clang-format off
        {1234.5, "1234,5"}, {0.001, "0,001"}, {-7.0, "-7"}, {0.0, "0"}, {-0.0, "0"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3.0, "0,333333333333333"}, {999999999999999.0, "999999999999999"}, {1e15, "1E+15"},
        {0.0001, "0,0001"}, {0.00001, "1E-05"}, {123456789012345678.0, "1,23456789012346E+17"},
        {-2.5e-7, "-2,5E-07"}, {1e100, "1E+100"}, {std::numeric_limits<double>::quiet_NaN(), "0"},
        {std::numeric_limits<double>::infinity(), "0"},
        // clang-format on
    };
    for (const auto& f : faelle)
        EXPECT_EQ(ZahlAlsText(f.zahl), f.text) << f.text;
    for (double zahl : {1234.5, -0.001, 1e-5, 6.02214076e23, 0.125, -98765.4321})
        EXPECT_DOUBLE_EQ(MB_TextZuDouble(ZahlAlsText(zahl)), zahl) << zahl;
    EXPECT_TRUE(FehlerText.isEmpty());
}

#include "support/QtDrucken.h"
#include "support/TestUmgebung.h"

#include "text/Texte.h"

namespace {

class FelderTest : public TestUmgebung
{
};

TEST_F(FelderTest, getFeldLiefertDasFeldAbNull)
{
    const struct
    {
        const char* text;
        int n;
        const char* feld;
    } faelle[] = {
        {"a;b;c", 0, "a"}, {"a;b;c", 2, "c"}, {"a;b;c", 3, ""},  {"a;b;c;", 2, "c"},
        {"a;b;c;", 3, ""}, {"a;;c;", 1, ""},  {"a;;c;", 2, "c"}, {"", 0, ""},
        {"abc", 0, "abc"}, {"abc", 1, ""},    {"a;b", -1, ""},   {";b;", 0, ""},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(GetFeld(QString::fromLatin1(fall.text), fall.n), QString::fromLatin1(fall.feld))
            << fall.text << " n=" << fall.n;
}

TEST_F(FelderTest, getFeldMitAnderemTrenner)
{
    EXPECT_EQ(GetFeld(QStringLiteral("a|b|c|"), 1, QStringLiteral("|")), QStringLiteral("b"));
    EXPECT_EQ(GetFeld(QStringLiteral("a<>bc<>d"), 2, QStringLiteral("<>")), QStringLiteral("d"));
    EXPECT_EQ(GetFeld(QStringLiteral("a;b"), 1, QStringLiteral("|")), QString());
}

TEST_F(FelderTest, getFeldAnzahlZaehltDieSemikolons)
{
    EXPECT_EQ(GetFeldAnzahl(QStringLiteral("a;b;c")), 2);
    EXPECT_EQ(GetFeldAnzahl(QStringLiteral("a;b;c;")), 3);
    EXPECT_EQ(GetFeldAnzahl(QStringLiteral(";;")), 2);
    EXPECT_EQ(GetFeldAnzahl(QString()), 0);
}

TEST_F(FelderTest, anzahlVorkommenZaehltUeberlappendeTreffer)
{
    EXPECT_EQ(AnzahlVorkommen(QStringLiteral("aaaa"), QStringLiteral("aa")), 3);
    EXPECT_EQ(AnzahlVorkommen(QStringLiteral("abcabc"), QStringLiteral("abc")), 2);
    EXPECT_EQ(AnzahlVorkommen(QStringLiteral("ABC"), QStringLiteral("abc")), 0);
    EXPECT_EQ(AnzahlVorkommen(QString(), QStringLiteral("a")), 0);
}

TEST_F(FelderTest, anzahlVorkommenMitLeeremSuchtextIstNull)
{
    EXPECT_EQ(AnzahlVorkommen(QStringLiteral("abc"), QString()), 0);
}

TEST_F(FelderTest, zeileZerlegenTrenntNichtInnerhalbVonAnfuehrungszeichen)
{
    EXPECT_EQ(ZeileZerlegen(QStringLiteral("1;\"a;b\";2"), QStringLiteral(";")),
              QStringList({QStringLiteral("1"), QStringLiteral("a;b"), QStringLiteral("2")}));
}

TEST_F(FelderTest, zeileZerlegenEntferntJedesAnfuehrungszeichen)
{
    EXPECT_EQ(ZeileZerlegen(QStringLiteral("\"x\"y;\"\"z"), QStringLiteral(";")),
              QStringList({QStringLiteral("xy"), QStringLiteral("z")}));
    // Only a single quote since the field start holds the separator back.
    EXPECT_EQ(ZeileZerlegen(QStringLiteral("\"a\"b\"c;d"), QStringLiteral(";")),
              QStringList({QStringLiteral("abc"), QStringLiteral("d")}));
}

TEST_F(FelderTest, zeileZerlegenMitOffenerAnfuehrungBisZumEnde)
{
    EXPECT_EQ(ZeileZerlegen(QStringLiteral("a;\"b;c"), QStringLiteral(";")),
              QStringList({QStringLiteral("a"), QStringLiteral("b;c")}));
}

TEST_F(FelderTest, zeileZerlegenBeginntAmTrennerAmEndeKeinNeuesFeld)
{
    const struct
    {
        const char* zeile;
        QStringList felder;
    } faelle[] = {
        {"a;b;", {"a", "b"}}, {"a;b", {"a", "b"}}, {"a;;", {"a", ""}}, {"x;;z;", {"x", "", "z"}},
        {";a", {"", "a"}},    {";", {""}},         {"", {}},           {"a;b; ", {"a", "b", " "}},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(ZeileZerlegen(QString::fromLatin1(fall.zeile), QStringLiteral(";")), fall.felder)
            << fall.zeile;
}

TEST_F(FelderTest, zeileZerlegenMitTabulatorUndLangemTrenner)
{
    EXPECT_EQ(ZeileZerlegen(QStringLiteral("Feld 1\tFeld 2\t"), QStringLiteral("\t")),
              QStringList({QStringLiteral("Feld 1"), QStringLiteral("Feld 2")}));
    EXPECT_EQ(ZeileZerlegen(QStringLiteral("a::b::c"), QStringLiteral("::")),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST_F(FelderTest, zeileZerlegenVieleFelder)
{
    QString zeile;
    for (int i = 0; i < 5000; ++i)
        zeile += QString::number(i) + u';';
    const QStringList felder = ZeileZerlegen(zeile, QStringLiteral(";"));
    ASSERT_EQ(felder.size(), 5000);
    EXPECT_EQ(felder.last(), QStringLiteral("4999"));
}

} // namespace

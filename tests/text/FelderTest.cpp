#include "support/TestUmgebung.h"

#include "text/Texte.h"

using FelderTest = TestUmgebung;

TEST_F(FelderTest, getFeldLiefertDasFeldAbNull)
{
    const struct
    {
        const char* text;
        int n;
        const char *trenner, *feld;
    } faelle[] = {
        // clang-format off
        {"a;b;c", 0, ";", "a"}, {"a;b;c", 2, ";", "c"}, {"a;b;c", 3, ";", ""},
        {"a;b;c;", 2, ";", "c"},
        {"a;b;c;", 3, ";", ""}, {"a;;c;", 1, ";", ""}, {"", 0, ";", ""}, {"abc", 0, ";", "abc"},
        {"abc", 1, ";", ""}, {"a;b", -1, ";", ""}, {";b;", 0, ";", ""}, {"a|b|c|", 1, "|", "b"},
        {"a<>bc<>d", 2, "<>", "d"}, {"a;b", 1, "|", ""}, {"a;b", 0, "", ""},
        // clang-format on
    };
    for (const auto& f : faelle)
        EXPECT_EQ(GetFeld(f.text, f.n, f.trenner), f.feld) << f.text << " n=" << f.n;
}

TEST_F(FelderTest, feldAnzahlZaehltSemikolonsUndVorkommenUeberlappen)
{
    EXPECT_EQ(QList<int>({GetFeldAnzahl("a;b;c"), GetFeldAnzahl("a;b;c;"), GetFeldAnzahl("")}),
              QList<int>({2, 3, 0}));
    EXPECT_EQ(QList<int>({AnzahlVorkommen("aaaa", "aa"), AnzahlVorkommen("abcabc", "abc"),
                          AnzahlVorkommen("ABC", "abc"), AnzahlVorkommen("abc", "")}),
              QList<int>({3, 2, 0, 0}));
}

TEST_F(FelderTest, zeileZerlegenTrenntNichtInAnfuehrungUndNichtAmEnde)
{
    const struct
    {
        const char *zeile, *trenner;
        QStringList felder;
    } faelle[] = {
        // clang-format off
        {"1;\"a;b\";2", ";", {"1", "a;b", "2"}}, {"\"x\"y;\"\"z", ";", {"xy", "z"}},
        {"\"a\"b\"c;d", ";", {"abc", "d"}}, // one quote since the field start holds the separator
        {"a;\"b;c", ";", {"a", "b;c"}}, {"a;b;", ";", {"a", "b"}}, {"a;b", ";", {"a", "b"}},
        {"a;;", ";", {"a", ""}}, {"x;;z;", ";", {"x", "", "z"}}, {";a", ";", {"", "a"}},
        {";", ";", {""}}, {"", ";", {}}, {"a;b; ", ";", {"a", "b", " "}},
        {"Feld 1\tFeld 2\t", "\t", {"Feld 1", "Feld 2"}}, {"a::b::c", "::", {"a", "b", "c"}},
        // clang-format on
    };
    for (const auto& f : faelle)
        EXPECT_EQ(ZeileZerlegen(f.zeile, f.trenner), f.felder) << f.zeile;

    QString lang;
    for (int i = 0; i < 5000; ++i)
        lang += QString::number(i) + u';';
    const QStringList felder = ZeileZerlegen(lang, ";");
    EXPECT_EQ(felder.size(), 5000);
    EXPECT_EQ(felder.last(), "4999");
}

#include "support/TestUmgebung.h"

#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "text/Texte.h"

#include <QElapsedTimer>

using ErsetzenTest = TestUmgebung;

TEST_F(ErsetzenTest, replaceRekursivErsetztJedesAuchDurchVerbindenEntstandeneVorkommen)
{
    const struct
    {
        const char *text, *such, *ersatz, *ergebnis;
    } faelle[] = {
        // clang-format off
        {"D:\\Daten\\$MANDANT$\\DB", "$MANDANT$", "200", "D:\\Daten\\200\\DB"},
        {"$MANDANT$;$MANDANT$", "$MANDANT$", "7", "7;7"},
        {"CPort1;CPort2;CPort1;", "CPort1;", "", "CPort2;"}, {"abc", "x", "y", "abc"},
        {"AB", "ab", "", "AB"}, {"", "ab", "x", ""}, {"abc", "", "x", "abc"},
        // occurrences that only arise by joining
        {"aabb", "ab", "", ""}, {"xaabby", "ab", "", "xy"}, {"aab", "ab", "b", "b"},
        {"aaa", "aa", "b", "ba"}, {"abb", "ab", "ba", "bba"},
        // the search text inside the replacement: each original occurrence once
        {"aaa", "a", "aa", "aaaaaa"}, {"abab", "ab", "xaby", "xabyxaby"},
        // clang-format on
    };
    for (const auto& f : faelle)
        EXPECT_EQ(ReplaceRekursiv(f.text, f.such, f.ersatz), f.ergebnis) << f.text << "/" << f.such;
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(ErsetzenTest, replaceRekursivGibtEndlosWachsendeErsetzungAufUndIstSchnell)
{
    QElapsedTimer uhr;
    uhr.start();
    // "ab" by "bbaa" keeps producing new "ab" without end.
    EXPECT_EQ(ReplaceRekursiv("aab", "ab", "bbaa"), "aab");
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(ReplaceRekursiv(QString(200000, u'a') + QString(200000, u'b'), "ab", ""), "");
    EXPECT_LT(uhr.elapsed(), 20000);
}

TEST_F(ErsetzenTest, replaceAllUeberschreibtAnOrtUndStelle)
{
    const struct
    {
        const char *text, *such, *ersatz, *ergebnis, *ersatzNachher;
    } faelle[] = {
        // clang-format off
        {"a;b;c", ";", ",", "a,b,c", ","},
        {"abcdef", "b", "XY", "aXYdef", "XY"}, // the text keeps its length
        {"abc", "c", "XY", "abX", "XY"}, {" xa\tya ", "a", "", "x \ty", " "}, // "": blank, trimmed
        {"_a_b_", "_", " ", "a b", " "}, {" abc ", "", "x", " abc ", "x"},
        // clang-format on
    };
    for (const auto& f : faelle) {
        QString text = f.text;
        QString ersatz = f.ersatz;
        ReplaceAll(text, f.such, ersatz);
        EXPECT_EQ(text, f.ergebnis) << f.text;
        EXPECT_EQ(ersatz, f.ersatzNachher) << f.text;
    }
    QString text(999, u'a');
    QString ersatz = "b";
    ReplaceAll(text, "a", ersatz);
    EXPECT_EQ(text, QString(999, u'b'));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(ErsetzenTest, replaceAllMeldetSchwerenFehlerNach1000Durchlaeufen)
{
    QString lang(1000, u'a');
    QString b = "b";
    ReplaceAll(lang, "a", b);
    QString bleibt = "xa";
    QString a = "a";
    ReplaceAll(bleibt, "a", a);
    EXPECT_EQ(bleibt, "xa");
    EXPECT_EQ(m_meldungen.texte,
              QStringList(
                  {"Schwerer Fehler ReplaceAll! Source= " + QString(1000, u'b') + " What=aWidth=b",
                   "Schwerer Fehler ReplaceAll! Source= xa What=aWidth=a"}));
}

TEST_F(ErsetzenTest, umlauteErsetzenWandeltNurOemUmlauteInWindowsZeichen)
{
    QString text;
    for (int code : {132, 225, 142, 153, 154, 148, 129})
        text += QString("<") + Chr(code) + u'>';
    UmlauteErsetzen(text);
    EXPECT_EQ(text, "<ä><ß><Ä><Ö><Ü><ö><ü>");
    QString andere = QString(" Zähler 12,5 m³ ") + Chr(128);
    UmlauteErsetzen(andere);
    EXPECT_EQ(andere, QString(" Zähler 12,5 m³ ") + Chr(128));
}

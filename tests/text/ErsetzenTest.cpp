#include "support/QtDrucken.h"
#include "support/TestUmgebung.h"

#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "text/Texte.h"

#include <QElapsedTimer>

namespace {

class ErsetzenTest : public TestUmgebung
{
};

struct ErsetzFall
{
    const char* text;
    const char* such;
    const char* ersatz;
    const char* ergebnis;
};

TEST_F(ErsetzenTest, replaceRekursivErsetztJedesVorkommen)
{
    const ErsetzFall faelle[] = {
        {"abc", "x", "y", "abc"},
        {"D:\\Daten\\$MANDANT$\\DB", "$MANDANT$", "200", "D:\\Daten\\200\\DB"},
        {"$MANDANT$;$MANDANT$", "$MANDANT$", "7", "7;7"},
        {"\"a;b\"", "\"", "", "a;b"},
        {"CPort1;CPort2;CPort1;", "CPort1;", "", "CPort2;"},
        {"AB", "ab", "", "AB"},
        {"", "ab", "x", ""},
    };
    for (const ErsetzFall& fall : faelle)
        EXPECT_EQ(ReplaceRekursiv(QString::fromLatin1(fall.text), QString::fromLatin1(fall.such),
                                  QString::fromLatin1(fall.ersatz)),
                  QString::fromLatin1(fall.ergebnis))
            << fall.text;
}

TEST_F(ErsetzenTest, replaceRekursivErsetztAuchDurchVerbindenEntstandeneVorkommen)
{
    const ErsetzFall faelle[] = {
        {"aabb", "ab", "", ""},   {"xaabby", "ab", "", "xy"}, {"aab", "ab", "b", "b"},
        {"aaa", "aa", "b", "ba"}, {"abb", "ab", "ba", "bba"},
    };
    for (const ErsetzFall& fall : faelle)
        EXPECT_EQ(ReplaceRekursiv(QString::fromLatin1(fall.text), QString::fromLatin1(fall.such),
                                  QString::fromLatin1(fall.ersatz)),
                  QString::fromLatin1(fall.ergebnis))
            << fall.text;
}

TEST_F(ErsetzenTest, replaceRekursivMitSuchtextImErsatzErsetztJedesVorkommenEinmal)
{
    EXPECT_EQ(ReplaceRekursiv(QStringLiteral("aaa"), QStringLiteral("a"), QStringLiteral("aa")),
              QStringLiteral("aaaaaa"));
    EXPECT_EQ(ReplaceRekursiv(QStringLiteral("abab"), QStringLiteral("ab"), QStringLiteral("xaby")),
              QStringLiteral("xabyxaby"));
}

TEST_F(ErsetzenTest, replaceRekursivMitLeeremSuchtextLaesstDenTextUnveraendert)
{
    EXPECT_EQ(ReplaceRekursiv(QStringLiteral("abc"), QString(), QStringLiteral("x")),
              QStringLiteral("abc"));
}

TEST_F(ErsetzenTest, replaceRekursivBrichtEndlosWachsendeErsetzungAb)
{
    // "ab" by "bbaa" keeps producing new "ab" without end.
    QElapsedTimer uhr;
    uhr.start();
    EXPECT_EQ(ReplaceRekursiv(QStringLiteral("aab"), QStringLiteral("ab"), QStringLiteral("bbaa")),
              QStringLiteral("aab"));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_LT(uhr.elapsed(), 20000);
}

TEST_F(ErsetzenTest, replaceRekursivIstSchnellBeiLangenTexten)
{
    const QString text = QString(200000, u'a') + QString(200000, u'b');
    QElapsedTimer uhr;
    uhr.start();
    EXPECT_EQ(ReplaceRekursiv(text, QStringLiteral("ab"), QString()), QString());
    EXPECT_LT(uhr.elapsed(), 5000);
}

TEST_F(ErsetzenTest, replaceAllUeberschreibtAnOrtUndStelle)
{
    QString text = QStringLiteral("a;b;c");
    QString ersatz = QStringLiteral(",");
    ReplaceAll(text, QStringLiteral(";"), ersatz);
    EXPECT_EQ(text, QStringLiteral("a,b,c"));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(ErsetzenTest, replaceAllBehaeltDieLaengeDesTextes)
{
    QString text = QStringLiteral("abcdef");
    QString ersatz = QStringLiteral("XY");
    ReplaceAll(text, QStringLiteral("b"), ersatz);
    EXPECT_EQ(text, QStringLiteral("aXYdef"));

    text = QStringLiteral("abc");
    ReplaceAll(text, QStringLiteral("c"), ersatz);
    EXPECT_EQ(text, QStringLiteral("abX"));
}

TEST_F(ErsetzenTest, replaceAllMitLeeremErsatzSchreibtBlankUndTrimmt)
{
    QString text = QStringLiteral(" xa\tya ");
    QString ersatz;
    ReplaceAll(text, QStringLiteral("a"), ersatz);
    EXPECT_EQ(ersatz, QStringLiteral(" "));
    EXPECT_EQ(text, QStringLiteral("x \ty"));
}

TEST_F(ErsetzenTest, replaceAllMitBlankAlsErsatzTrimmtNurBlanks)
{
    QString text = QStringLiteral("_a_b_");
    QString ersatz = QStringLiteral(" ");
    ReplaceAll(text, QStringLiteral("_"), ersatz);
    EXPECT_EQ(text, QStringLiteral("a b"));
}

TEST_F(ErsetzenTest, replaceAllMit999VorkommenEndetOhneMeldung)
{
    QString text(999, u'a');
    QString ersatz = QStringLiteral("b");
    ReplaceAll(text, QStringLiteral("a"), ersatz);
    EXPECT_EQ(text, QString(999, u'b'));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(ErsetzenTest, replaceAllMit1000VorkommenMeldetSchwerenFehler)
{
    QString text(1000, u'a');
    QString ersatz = QStringLiteral("b");
    ReplaceAll(text, QStringLiteral("a"), ersatz);
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte.first(), QStringLiteral("Schwerer Fehler ReplaceAll! Source= ") +
                                             QString(1000, u'b') +
                                             QStringLiteral(" What=aWidth=b"));
}

TEST_F(ErsetzenTest, replaceAllDerDenSuchtextStehenLaesstEndetMitMeldung)
{
    QString text = QStringLiteral("xa");
    QString ersatz = QStringLiteral("a");
    ReplaceAll(text, QStringLiteral("a"), ersatz);
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte.first(),
              QStringLiteral("Schwerer Fehler ReplaceAll! Source= xa What=aWidth=a"));
    EXPECT_EQ(text, QStringLiteral("xa"));
}

TEST_F(ErsetzenTest, replaceAllMitLeeremSuchtextLaesstDenTextUnveraendert)
{
    QString text = QStringLiteral(" abc ");
    QString ersatz = QStringLiteral("x");
    ReplaceAll(text, QString(), ersatz);
    EXPECT_EQ(text, QStringLiteral(" abc "));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(ErsetzenTest, umlauteErsetzenWandeltOemUmlauteInWindowsZeichen)
{
    QString text;
    for (int code : {132, 225, 142, 153, 154, 148, 129})
        text += QStringLiteral("<") + Chr(code) + QStringLiteral(">");
    UmlauteErsetzen(text);
    EXPECT_EQ(text, QStringLiteral("<ä><ß><Ä><Ö><Ü><ö><ü>"));
}

TEST_F(ErsetzenTest, umlauteErsetzenLaesstAndereZeichenStehen)
{
    QString text = QStringLiteral(" Zähler 12,5 m³ ") + Chr(128);
    const QString vorher = text;
    UmlauteErsetzen(text);
    EXPECT_EQ(text, vorher);
}

} // namespace

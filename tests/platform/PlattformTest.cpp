// Windows-1252 text, Windows-style paths and the text-file layer.

#include "platform/Cp1252.h"
#include "platform/Pfad.h"
#include "platform/Textdatei.h"
#include "platform/Uhr.h"
#include "support/TestUmgebung.h"

#include <QDir>

using PlattformTest = TestUmgebung;

TEST(Cp1252, everyByteSurvivesARoundTrip)
{
    QByteArray alle;
    for (int i = 0; i < 256; ++i)
        alle += static_cast<char>(i);
    EXPECT_EQ(TextZuCp1252(Cp1252ZuText(alle)), alle);
}

TEST(Cp1252, mapsTheWindowsCharactersAboveAscii)
{
    EXPECT_EQ(Cp1252ZuText(QByteArray("\x80\xE4\xDF\x84", 4)), QString::fromUtf8("€äß„"));
    EXPECT_EQ(TextZuCp1252(QString::fromUtf8("Zähler €")), QByteArray("Z\xE4hler \x80"));
    EXPECT_EQ(Asc(Chr(153)), 153);
    EXPECT_EQ(Chr(153), QChar(0x2122));
}

TEST(Cp1252, charactersWithoutCodeBecomeQuestionMarks)
{
    EXPECT_EQ(TextZuCp1252(QString::fromUtf8("a→b")), QByteArray("a?b"));
}

TEST_F(PlattformTest, windowsPathMatchesExistingNamesWithoutRegardToCase)
{
    schreiben(QStringLiteral("zep.ini"), "x");
    schreiben(QStringLiteral("DB200/MBusLog/261205mb.log"), "x");
    EXPECT_EQ(PfadAufloesen(QStringLiteral(".\\ZEP.INI")), QStringLiteral("./zep.ini"));
    EXPECT_EQ(PfadAufloesen(QStringLiteral(".\\db200\\mbuslog\\261205MB.LOG")),
              QStringLiteral("./DB200/MBusLog/261205mb.log"));
}

TEST_F(PlattformTest, missingComponentsAreKeptAsWrittenAndTrailingSeparatorStays)
{
    schreiben(QStringLiteral("DB200/x"), "x");
    EXPECT_EQ(PfadAufloesen(QStringLiteral(".\\db200\\MBusLog\\")),
              QStringLiteral("./DB200/MBusLog/"));
    EXPECT_EQ(PfadAufloesen(QStringLiteral("neu\\Datei.txt")), QStringLiteral("neu/Datei.txt"));
    EXPECT_EQ(PfadAufloesen(QString()), QString());
    EXPECT_EQ(PfadAufloesen(QStringLiteral(".\\")), QStringLiteral("./"));
}

TEST_F(PlattformTest, driveLetterStandsForItsConfiguredFolder)
{
    qputenv("TELVARIN_LAUFWERK_D", pfad(QStringLiteral("laufwerk")).toLocal8Bit());
    schreiben(QStringLiteral("laufwerk/Daten/200/x"), "x");
    EXPECT_EQ(PfadAufloesen(QStringLiteral("d:\\daten\\200\\")),
              pfad(QStringLiteral("laufwerk/Daten/200/")));
    qunsetenv("TELVARIN_LAUFWERK_D");
    EXPECT_EQ(PfadAufloesen(QStringLiteral("Q:\\nirgends\\a")), QStringLiteral("/nirgends/a"));
}

TEST(Pfad, parentFolder)
{
    EXPECT_EQ(OrdnerVon(QStringLiteral("./DB200/MBusLog/a.log")), QStringLiteral("./DB200/MBusLog"));
    EXPECT_EQ(OrdnerVon(QStringLiteral("a.log")), QString());
    EXPECT_EQ(OrdnerVon(QStringLiteral("/a.log")), QStringLiteral("/"));
}

TEST(Textdatei, splitsCrLfAndLfLinesWithoutAnEmptyLastLine)
{
    EXPECT_EQ(TextZeilenTrennen("a\r\nb\nc"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(TextZeilenTrennen("a\r\n\r\nb\r\n"), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(TextZeilenTrennen("").isEmpty());
}

TEST_F(PlattformTest, appendedLinesAreWindows1252WithCrLf)
{
    const QString datei = pfad(QStringLiteral("t.txt"));
    ASSERT_TRUE(TextZeilenAnhaengen(datei, {QString::fromUtf8("Wärme"), QStringLiteral("b")}));
    ASSERT_TRUE(TextZeilenAnhaengen(datei, {QStringLiteral("c")}));
    EXPECT_EQ(lesen(QStringLiteral("t.txt")), QByteArray("W\xE4rme\r\nb\r\nc\r\n"));
    QStringList zeilen;
    ASSERT_TRUE(TextdateiLesen(datei, zeilen));
    EXPECT_EQ(zeilen, (QStringList{QString::fromUtf8("Wärme"), "b", "c"}));
}

TEST_F(PlattformTest, readingRefusesMissingAndOversizedFiles)
{
    QStringList zeilen{"alt"};
    QString fehler;
    EXPECT_FALSE(TextdateiLesen(pfad(QStringLiteral("fehlt.txt")), zeilen, &fehler));
    EXPECT_TRUE(zeilen.isEmpty());
    EXPECT_FALSE(fehler.isEmpty());
    schreiben(QStringLiteral("gross.txt"), QByteArray(2000, 'x'));
    EXPECT_FALSE(TextdateiLesen(pfad(QStringLiteral("gross.txt")), zeilen, &fehler, 1000));
    EXPECT_FALSE(TextZeilenAnhaengen(pfad(QStringLiteral("fehlt/t.txt")), {"x"}, &fehler));
}

TEST_F(PlattformTest, testClockDrivesNow)
{
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    EXPECT_EQ(Jetzt(), Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    m_uhr.vorstellen(1);
    EXPECT_EQ(Jetzt().date(), QDate(2026, 12, 6));
}

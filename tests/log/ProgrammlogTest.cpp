#include "TickendeUhr.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

class ProgrammlogTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(8, 15, 0)));
    }
};

TEST_F(ProgrammlogTest, lineIsDateTimeBlankTextCrLfInDailyFileOfDatabaseFolder)
{
    QDir().mkdir(pfad("DB200"));
    DBPath = QStringLiteral(".\\DB200\\");

    LogSchreiben(QStringLiteral("text"));

    EXPECT_EQ(lesen("DB200/261205ed.log"), QByteArray("05.12.26 08:15:00 text\r\n"));
}

TEST_F(ProgrammlogTest, emptyDatabasePathWritesToWorkingFolder)
{
    LogSchreiben(QStringLiteral("Suche Mandant 200"));

    EXPECT_EQ(lesen("261205ed.log"), QByteArray("05.12.26 08:15:00 Suche Mandant 200\r\n"));
}

TEST_F(ProgrammlogTest, linesAreAppended)
{
    LogSchreiben(QStringLiteral("eins"));
    m_uhr.vorstellen(61);
    LogSchreiben(QStringLiteral("zwei"));

    EXPECT_EQ(lesen("261205ed.log"),
              QByteArray("05.12.26 08:15:00 eins\r\n05.12.26 08:16:01 zwei\r\n"));
}

TEST_F(ProgrammlogTest, textIsStoredAsWindows1252)
{
    LogSchreiben(QStringLiteral("Zähler €"));

    EXPECT_EQ(lesen("261205ed.log"), QByteArray("05.12.26 08:15:00 Z\xe4hler \x80\r\n"));
}

TEST_F(ProgrammlogTest, databaseFolderAndFileAreMatchedWithoutRegardToCase)
{
    schreiben("DB200/261205ED.LOG", "alt\r\n");
    DBPath = QStringLiteral(".\\db200\\");

    LogSchreiben(QStringLiteral("neu"));

    EXPECT_EQ(lesen("DB200/261205ED.LOG"), QByteArray("alt\r\n05.12.26 08:15:00 neu\r\n"));
}

TEST_F(ProgrammlogTest, entryJustAfterMidnightGoesToNewDaysFile)
{
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    LogSchreiben(QStringLiteral("alt"));
    m_uhr.vorstellen(1);
    LogSchreiben(QStringLiteral("neu"));

    EXPECT_EQ(lesen("261205ed.log"), QByteArray("05.12.26 23:59:59 alt\r\n"));
    EXPECT_EQ(lesen("261206ed.log"), QByteArray("06.12.26 00:00:00 neu\r\n"));
}

TEST_F(ProgrammlogTest, fileNameAndLineTakeOneReadingOfTheClock)
{
    TickendeUhr uhr(Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    UhrSetzen(&uhr);

    LogSchreiben(QStringLiteral("grenze"));

    UhrSetzen(&m_uhr);
    EXPECT_EQ(lesen("261205ed.log"), QByteArray("05.12.26 23:59:59 grenze\r\n"));
}

TEST_F(ProgrammlogTest, missingDatabaseFolderDropsLineSilentlyAndCreatesNothing)
{
    DBPath = QStringLiteral(".\\DB999\\");
    FehlerText = QStringLiteral("vorher");

    LogSchreiben(QStringLiteral("verloren"));

    EXPECT_FALSE(QFileInfo::exists(pfad("DB999")));
    EXPECT_TRUE(QDir(pfad(".")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    EXPECT_EQ(FehlerText, QStringLiteral("vorher"));
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(ProgrammlogTest, readOnlyLogFileDropsLineSilently)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind the super-user";
    schreiben("261205ed.log", "alt\r\n");
    QFile::setPermissions(pfad("261205ed.log"), QFile::ReadOwner);

    LogSchreiben(QStringLiteral("verloren"));

    QFile::setPermissions(pfad("261205ed.log"), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(lesen("261205ed.log"), QByteArray("alt\r\n"));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(ProgrammlogTest, logFileThatCannotBeOpenedDropsLineSilently)
{
    QDir().mkdir(pfad("261205ed.log")); // a folder where the file should be

    LogSchreiben(QStringLiteral("verloren"));

    EXPECT_TRUE(QFileInfo(pfad("261205ed.log")).isDir());
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(ProgrammlogTest, writingKeepsCallersErrorText)
{
    FehlerText = QStringLiteral("Datei nicht gefunden");

    LogSchreiben(QStringLiteral("Fehler: ") + FehlerText);

    EXPECT_EQ(FehlerText, QStringLiteral("Datei nicht gefunden"));
}

} // namespace

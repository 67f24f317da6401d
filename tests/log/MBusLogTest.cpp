#include "TickendeUhr.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <QDir>
#include <QFileInfo>

#include <ostream>

namespace {

class MBusLogTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(8, 15, 0)));
        QDir().mkpath(pfad("DB200/MBusLog"));
        DBPath = QStringLiteral(".\\DB200\\");
    }
};

TEST_F(MBusLogTest, newFileStartsWithHeaderThenEntry)
{
    MBusLogSchreiben(QStringLiteral("3;12345678;"), QStringLiteral("Datum;Com;Nr;"),
                     QStringLiteral("mb.log"));

    EXPECT_EQ(lesen("DB200/MBusLog/261205mb.log"),
              QByteArray("Datum;Com;Nr;\r\n05.12.26 08:15:00 ;3;12345678;\r\n"));
}

TEST_F(MBusLogTest, laterEntriesOfTheDayAddNoHeader)
{
    MBusLogSchreiben(QStringLiteral("a"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));
    m_uhr.vorstellen(30);
    MBusLogSchreiben(QStringLiteral("b"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));

    EXPECT_EQ(lesen("DB200/MBusLog/261205mb.log"),
              QByteArray("Kopf\r\n05.12.26 08:15:00 ;a\r\n05.12.26 08:15:30 ;b\r\n"));
}

TEST_F(MBusLogTest, emptyHeaderGivesEmptyFirstLine)
{
    MBusLogSchreiben(QStringLiteral("a"), QString(), QStringLiteral("mb.log"));

    EXPECT_EQ(lesen("DB200/MBusLog/261205mb.log"), QByteArray("\r\n05.12.26 08:15:00 ;a\r\n"));
}

TEST_F(MBusLogTest, suffixEndsTheFileName)
{
    MBusLogSchreiben(QStringLiteral("7"), QStringLiteral("Index"), QStringLiteral("Index1.txt"));

    EXPECT_EQ(lesen("DB200/MBusLog/261205Index1.txt"),
              QByteArray("Index\r\n05.12.26 08:15:00 ;7\r\n"));
}

TEST_F(MBusLogTest, entryJustAfterMidnightStartsNewDaysFileWithHeader)
{
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    MBusLogSchreiben(QStringLiteral("alt"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));
    m_uhr.vorstellen(1);
    MBusLogSchreiben(QStringLiteral("neu"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));

    EXPECT_EQ(lesen("DB200/MBusLog/261205mb.log"),
              QByteArray("Kopf\r\n05.12.26 23:59:59 ;alt\r\n"));
    EXPECT_EQ(lesen("DB200/MBusLog/261206mb.log"),
              QByteArray("Kopf\r\n06.12.26 00:00:00 ;neu\r\n"));
}

TEST_F(MBusLogTest, fileNameAndLineTakeOneReadingOfTheClock)
{
    TickendeUhr uhr(Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    UhrSetzen(&uhr);

    MBusLogSchreiben(QStringLiteral("a"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));

    UhrSetzen(&m_uhr);
    EXPECT_EQ(lesen("DB200/MBusLog/261205mb.log"), QByteArray("Kopf\r\n05.12.26 23:59:59 ;a\r\n"));
}

TEST_F(MBusLogTest, missingLogFolderIsCreatedAndFirstEntryKept)
{
    QDir(pfad("DB200/MBusLog")).removeRecursively();

    MBusLogSchreiben(QStringLiteral("a"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));

    EXPECT_EQ(lesen("DB200/MBusLog/261205mb.log"), QByteArray("Kopf\r\n05.12.26 08:15:00 ;a\r\n"));
}

TEST_F(MBusLogTest, logFolderIsMatchedWithoutRegardToCase)
{
    QDir(pfad("DB200/MBusLog")).removeRecursively();
    QDir().mkpath(pfad("DB200/mbuslog"));

    MBusLogSchreiben(QStringLiteral("a"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));

    EXPECT_EQ(lesen("DB200/mbuslog/261205mb.log"), QByteArray("Kopf\r\n05.12.26 08:15:00 ;a\r\n"));
    EXPECT_FALSE(QFileInfo::exists(pfad("DB200/MBusLog")));
}

TEST_F(MBusLogTest, missingDatabaseFolderDropsEntryAndCreatesNothing)
{
    DBPath = QStringLiteral(".\\DB999\\");

    MBusLogSchreiben(QStringLiteral("a"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));

    EXPECT_FALSE(QFileInfo::exists(pfad("DB999")));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(MBusLogTest, emptyDatabasePathUsesLogFolderInWorkingFolder)
{
    DBPath.clear();

    MBusLogSchreiben(QStringLiteral("a"), QStringLiteral("Kopf"), QStringLiteral("mb.log"));

    EXPECT_EQ(lesen("MBusLog/261205mb.log"), QByteArray("Kopf\r\n05.12.26 08:15:00 ;a\r\n"));
}

struct DateiFall
{
    const char* name;
    const char* anlegen; // "" nothing, "datei", "leer", "ordner"
    const char* abfrage; // Windows-style path asked for
    bool erwartet;
};

void PrintTo(const DateiFall& fall, std::ostream* os)
{
    *os << fall.name;
}

class MBFileExistsTest : public TestUmgebung, public ::testing::WithParamInterface<DateiFall>
{
};

TEST_P(MBFileExistsTest, answersWhetherTheFileExists)
{
    const DateiFall fall = GetParam();
    const QString art = QString::fromLatin1(fall.anlegen);
    if (art == u"datei")
        schreiben("DB200/Liste.txt", "x");
    else if (art == u"leer")
        schreiben("DB200/Liste.txt", "");
    else if (art == u"ordner")
        QDir().mkpath(pfad("DB200/Liste.txt"));

    EXPECT_EQ(MB_FileExists(QString::fromLatin1(fall.abfrage)), fall.erwartet);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, MBFileExistsTest,
    ::testing::Values(DateiFall{"file", "datei", ".\\DB200\\Liste.txt", true},
                      DateiFall{"emptyFile", "leer", ".\\DB200\\Liste.txt", true},
                      DateiFall{"otherCase", "datei", ".\\db200\\LISTE.TXT", true},
                      DateiFall{"missing", "", ".\\DB200\\Liste.txt", false},
                      DateiFall{"folder", "ordner", ".\\DB200\\Liste.txt", false},
                      DateiFall{"emptyPath", "datei", "", false}),
    [](const ::testing::TestParamInfo<DateiFall>& info) { return std::string(info.param.name); });

} // namespace

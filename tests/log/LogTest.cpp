#include "log/Log.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A clock that moves on by one second each time it is read: an entry that read the clock twice
// would show it at a day boundary.
class TickendeUhr : public Uhr
{
public:
    explicit TickendeUhr(QDateTime start) : m_zeit(start) {}
    QDateTime jetzt() const override
    {
        m_zeit = m_zeit.addSecs(1);
        return m_zeit.addSecs(-1);
    }

private:
    mutable QDateTime m_zeit;
};

using LogTest = TestUmgebung; // the test clock stands at 05.12.2026 12:00:00

TEST_F(LogTest, programmlogZeileIstDatumZeitBlankTextCrLfInWindows1252)
{
    FehlerText = "vorher";
    LogSchreiben("Suche Mandant 200"); // DBPath "": the working folder
    m_uhr.vorstellen(61);
    LogSchreiben("Zähler €");
    EXPECT_EQ(lesen("261205ed.log"),
              "05.12.26 12:00:00 Suche Mandant 200\r\n05.12.26 12:01:01 Z\xe4hler \x80\r\n");
    schreiben("DB200/261205ED.LOG", "alt\r\n");
    DBPath = ".\\db200\\";
    LogSchreiben("neu");
    EXPECT_EQ(lesen("DB200/261205ED.LOG"), "alt\r\n05.12.26 12:01:01 neu\r\n");
    EXPECT_EQ(FehlerText, "vorher");
}

TEST_F(LogTest, mbusLogBeginntJedeDateiMitDerKopfzeile)
{
    QDir().mkpath(pfad("DB200/mbuslog"));
    DBPath = ".\\DB200\\";
    MBusLogSchreiben("3;12345678;", "Datum;Com;Nr;", "mb.log");
    m_uhr.vorstellen(30);
    MBusLogSchreiben("b", "Kopf", "mb.log");
    MBusLogSchreiben("7", "", "Index1.txt");
    EXPECT_EQ(lesen("DB200/mbuslog/261205mb.log"),
              "Datum;Com;Nr;\r\n05.12.26 12:00:00 ;3;12345678;\r\n05.12.26 12:00:30 ;b\r\n");
    EXPECT_EQ(lesen("DB200/mbuslog/261205Index1.txt"), "\r\n05.12.26 12:00:30 ;7\r\n");
    EXPECT_FALSE(QFileInfo::exists(pfad("DB200/MBusLog")));
}

TEST_F(LogTest, dateinameUndZeileNehmenEineUhrablesungUndFehlenderLogordnerEntsteht)
{
    TickendeUhr uhr(Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    UhrSetzen(&uhr);
    LogSchreiben("alt");
    LogSchreiben("neu");
    TickendeUhr mbusUhr(Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    UhrSetzen(&mbusUhr);
    MBusLogSchreiben("alt", "Kopf", "mb.log"); // creates MBusLog and keeps the entry
    MBusLogSchreiben("neu", "Kopf", "mb.log");
    UhrSetzen(&m_uhr);
    EXPECT_EQ(lesen("261205ed.log"), "05.12.26 23:59:59 alt\r\n");
    EXPECT_EQ(lesen("261206ed.log"), "06.12.26 00:00:00 neu\r\n");
    EXPECT_EQ(lesen("MBusLog/261205mb.log"), "Kopf\r\n05.12.26 23:59:59 ;alt\r\n");
    EXPECT_EQ(lesen("MBusLog/261206mb.log"), "Kopf\r\n06.12.26 00:00:00 ;neu\r\n");
}

TEST_F(LogTest, ohneDatenbankordnerOderOeffenbareDateiGehtDieZeileNachStandardfehler)
{
    FehlerText = "vorher";
    DBPath = ".\\DB999\\";
    testing::internal::CaptureStderr();
    LogSchreiben("verloren 1");
    MBusLogSchreiben("verloren 2", "Kopf", "mb.log");
    EXPECT_TRUE(QDir(pfad(".")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    DBPath.clear();
    QDir().mkdir(pfad("261205ed.log")); // a folder where the file should be
    LogSchreiben("verloren 3");
    EXPECT_TRUE(QFileInfo(pfad("261205ed.log")).isDir());
    // A path through a regular file fails for root too.
    schreiben("Datei", "x");
    DBPath = pfad("Datei") + "/";
    MBusLogSchreiben("verloren 4", "Kopf", "mb.log");
    const QString fehler = QString::fromLocal8Bit(testing::internal::GetCapturedStderr());
    const QStringList zeilen = fehler.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 4) << qPrintable(fehler);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(zeilen[i].startsWith("Log nicht schreibbar: ")) << qPrintable(zeilen[i]);
        EXPECT_TRUE(zeilen[i].endsWith(QStringLiteral("verloren %1").arg(i + 1)))
            << qPrintable(zeilen[i]);
    }
    EXPECT_TRUE(zeilen[3].contains(pfad("Datei") + "/MBusLog/261205mb.log"))
        << qPrintable(zeilen[3]);
    EXPECT_EQ(FehlerText, "vorher");
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(LogTest, mbFileExistsKenntDateienAuchLeereAberKeineOrdner)
{
    schreiben("DB200/Liste.txt", "x");
    schreiben("DB200/Leer.txt", "");
    QDir().mkpath(pfad("DB200/Ordner.txt"));
    EXPECT_TRUE(MB_FileExists(".\\DB200\\Liste.txt"));
    EXPECT_TRUE(MB_FileExists(".\\db200\\LISTE.TXT"));
    EXPECT_TRUE(MB_FileExists(".\\DB200\\Leer.txt"));
    EXPECT_FALSE(MB_FileExists(".\\DB200\\Fehlt.txt"));
    EXPECT_FALSE(MB_FileExists(".\\DB200\\Ordner.txt"));
    EXPECT_FALSE(MB_FileExists(""));
}

} // namespace

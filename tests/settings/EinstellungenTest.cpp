#include "settings/Einstellungen.h"

#include "platform/Global.h"

#include "support/TestUmgebung.h"

#include <QDir>

namespace {

class EinstellungenTest : public TestUmgebung
{
protected:
    void TearDown() override
    {
        KommandozeileZuruecksetzen();
        TestUmgebung::TearDown();
    }

    // The program log of the test clock's day (5 December 2026) in a folder of the working
    // folder ("" for the working folder itself).
    QByteArray programmlog(const QString& ordner) const
    {
        return lesen(ordner.isEmpty() ? QStringLiteral("261205ed.log")
                                      : ordner + QStringLiteral("/261205ed.log"));
    }

    static QByteArray logzeile(const QByteArray& text) { return "05.12.26 12:00:00 " + text + "\r\n"; }

    void ordnerAnlegen(const QString& name) const { ASSERT_TRUE(QDir(m_ordner.path()).mkpath(name)); }
};

struct Kommandofall
{
    const char* zeile;
    const char* mandant;
};

TEST_F(EinstellungenTest, clientNumberFromTheCommandLine)
{
    const Kommandofall faelle[] = {
        {"Auto -M200 -C3", "200"},
        {"-M7", "007"},
        {"-M5", "005"},
        {"-M1450", "1450"},
        {"-M0042", "042"},
        {"-M", "000"},
        {"-Mx", "000"},
        {"-M 200", "000"},
        {"-M12ab -C3", "012"},
        {"-C3 -M12 -M99", "012"},
        {"Auto-M300", "300"},
        {"-M123456789012345678901234", "123456789012345678901234"},
    };
    for (const Kommandofall& fall : faelle) {
        SCOPED_TRACE(fall.zeile);
        Mandant = QStringLiteral("999");
        KommandozeileSetzen(QString::fromUtf8(fall.zeile));
        KommandozeileAuswerten();
        EXPECT_EQ(Mandant, QString::fromUtf8(fall.mandant));
    }
}

TEST_F(EinstellungenTest, commandLineWithoutMLeavesClientNumberAndLogsNothing)
{
    for (const char* zeile : {"Auto -C3", "", "Auto -m200", "TEST -T5"}) {
        SCOPED_TRACE(zeile);
        Mandant = QStringLiteral("123");
        KommandozeileSetzen(QString::fromUtf8(zeile));
        KommandozeileAuswerten();
        EXPECT_EQ(Mandant, "123");
    }
    EXPECT_EQ(programmlog(""), "");
}

TEST_F(EinstellungenTest, commandLineClientNumberIsLogged)
{
    DBPath = QStringLiteral(".\\");
    KommandozeileSetzen(QStringLiteral("Auto -M200 -C3"));
    KommandozeileAuswerten();
    EXPECT_EQ(programmlog(""), logzeile("Suche Mandant 200"));
}

TEST_F(EinstellungenTest, clientNumberIsReadFromZepIniOnlyWhenEmpty)
{
    schreiben("zep.ini", "[zep]\r\nzepmandant = 200\r\n");
    ZEPIniLesen(".\\zep.ini");
    EXPECT_EQ(Mandant, "200");
    Mandant = QStringLiteral("007");
    ZEPIniLesen(".\\zep.ini");
    EXPECT_EQ(Mandant, "007");
    EXPECT_EQ(DBPath, ".\\DB007\\");
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(EinstellungenTest, missingClientNumberIsShownAndTheStepsGoOn)
{
    schreiben("ZEP.INI", "[ZEP]\r\nDBPATH=D:\\Plain\r\n[]\r\nDatenPath=D:\\Leer\r\n");
    ZEPIniLesen(".\\zep.ini");
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte[0],
              "Keinen Mandanten in der zep.ini gefunden.([ZEP]  ZEPMandant=200) ");
    EXPECT_EQ(Mandant, "");
    // "DBPATH" & "" is the plain key; the section of the empty client number is "[]".
    EXPECT_EQ(DBPath, "D:\\Plain\\");
    EXPECT_EQ(DatenPath, "D:\\Leer");
}

TEST_F(EinstellungenTest, missingZepIniGivesTheDefaults)
{
    Mandant = QStringLiteral("200");
    ZEPIniLesen(".\\zep.ini");
    EXPECT_EQ(DBPath, ".\\DB200\\");
    EXPECT_EQ(DatenPath, ".\\");
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

struct DbPfadfall
{
    const char* name;
    QByteArray zeile;
    const char* dbPath;
};

TEST_F(EinstellungenTest, databaseFolderFromTheClientsKey)
{
    const DbPfadfall faelle[] = {
        {"no key: the client's folder", "", ".\\DB200\\"},
        {"client number replaced", "DBPATH200=D:\\Daten\\$MANDANT$\\DB\r\n", "D:\\Daten\\200\\DB\\"},
        {"every occurrence replaced", "DBPATH200=D:\\$MANDANT$\\$MANDANT$\r\n", "D:\\200\\200\\"},
        {"trailing backslash not doubled", "DBPATH200=D:\\DB\\\r\n", "D:\\DB\\"},
        {"key in other case", "dbpath200=E:\\db\r\n", "E:\\db\\"},
        {"plain key decides nothing", "DBPATH=X:\\Alle\r\n", ".\\DB200\\"},
        {"other client's key ignored", "DBPATH201=X:\\DB201\r\n", ".\\DB200\\"},
        {"empty value: the client's folder", "DBPATH200=\r\n", ".\\DB200\\"},
    };
    for (const DbPfadfall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        Mandant = QStringLiteral("200");
        schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=200\r\n" + fall.zeile);
        ZEPIniLesen(".\\zep.ini");
        EXPECT_EQ(DBPath, QString::fromUtf8(fall.dbPath));
    }
}

TEST_F(EinstellungenTest, databaseFolderIsReadFromTheFileGiven)
{
    schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=200\r\nDBPATH200=D:\\Falsch\r\n"
                         "[200]\r\nDatenPath=D:\\Daten\r\n");
    schreiben("andere.ini", "[ZEP]\r\nZEPMandant=300\r\nDBPATH200=D:\\Richtig\r\n"
                            "[200]\r\nDatenPath=D:\\Falsch\r\n");
    ZEPIniLesen(".\\ANDERE.INI");
    EXPECT_EQ(Mandant, "200");
    EXPECT_EQ(DBPath, "D:\\Richtig\\");
    EXPECT_EQ(DatenPath, "D:\\Daten");
}

TEST_F(EinstellungenTest, dataFolderIsTakenAsWrittenAndLogged)
{
    ordnerAnlegen("DB200");
    schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=200\r\n[200]\r\nDatenPath = \"D:\\Daten\\$MANDANT$\"\r\n");
    ZEPIniLesen(".\\zep.ini");
    EXPECT_EQ(DatenPath, "D:\\Daten\\$MANDANT$");
    EXPECT_EQ(programmlog("DB200"), logzeile("ZEPDatenPATH = D:\\Daten\\$MANDANT$"));
}

TEST_F(EinstellungenTest, missingDataFolderGivesCurrentFolderAndIsLogged)
{
    ordnerAnlegen("DB200");
    schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=200\r\n[201]\r\nDatenPath=D:\\Anderer\r\n");
    ZEPIniLesen(".\\zep.ini");
    EXPECT_EQ(DatenPath, ".\\");
    EXPECT_EQ(programmlog("DB200"), logzeile(" Keinen Eintrag gefunden : ZEPDatenPATH = .\\"));
}

} // namespace

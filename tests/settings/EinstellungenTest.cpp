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
    static QByteArray logzeile(const QByteArray& text)
    {
        return "05.12.26 12:00:00 " + text + "\r\n";
    }
};

TEST_F(EinstellungenTest, mandantAusDerKommandozeileWirdProtokolliert)
{
    const struct
    {
        const char *zeile, *mandant; // nullptr: unchanged, nothing logged
    } faelle[] = {
        // clang-format off
        {"Auto -M200 -C3", "200"}, {"-M7", "007"}, {"-M1450", "1450"}, {"-M0042", "042"},
        {"-M", "000"}, {"-Mx", "000"}, {"-M 200", "000"}, {"-M12ab -C3", "012"},
        {"-C3 -M12 -M99", "012"}, {"Auto-M300", "300"}, {"Auto -C3", nullptr}, {"", nullptr},
        {"Auto -m200", nullptr}, {"-M123456789012345678901234", "123456789012345678901234"},
        // clang-format on
    };
    QByteArray log;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.zeile);
        Mandant = "999";
        KommandozeileSetzen(f.zeile);
        KommandozeileAuswerten();
        EXPECT_EQ(Mandant, f.mandant ? f.mandant : "999");
        if (f.mandant)
            log += logzeile(QByteArray("Suche Mandant ") + f.mandant);
    }
    EXPECT_EQ(lesen("261205ed.log"), log);
}

TEST_F(EinstellungenTest, mandantNurWennLeerUndDatenbankordnerAusDemSchluesselDesMandanten)
{
    const struct
    {
        const char* vorher; // the client before; "" takes 200 from the file
        QByteArray zeile;
        const char* dbPath;
    } faelle[] = {
        {"", "", ".\\DB200\\"},
        {"007", "", ".\\DB007\\"},
        {"200", "DBPATH200=D:\\$MANDANT$\\DB\\$MANDANT$\r\n", "D:\\200\\DB\\200\\"},
        {"200", "DBPATH200=D:\\DB\\\r\n", "D:\\DB\\"},
        {"200", "dbpath200=E:\\db\r\n", "E:\\db\\"},
        {"200", "DBPATH=X:\\Alle\r\nDBPATH201=X:\\DB201\r\n", ".\\DB200\\"},
        {"200", "DBPATH200=\r\n", ".\\DB200\\"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.dbPath);
        Mandant = f.vorher;
        schreiben("ZEP.INI", "[zep]\r\nzepmandant = 200\r\n" + f.zeile);
        ZEPIniLesen(".\\zep.ini");
        EXPECT_EQ(Mandant, *f.vorher ? f.vorher : "200");
        EXPECT_EQ(DBPath, f.dbPath);
    }
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    // The database folder comes from the file given, client and data folder from ZEP.INI.
    schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=200\r\nDBPATH200=D:\\Falsch\r\n"
                         "[200]\r\nDatenPath=D:\\Daten\r\n");
    schreiben("andere.ini", "[ZEP]\r\nZEPMandant=300\r\nDBPATH200=D:\\Richtig\r\n"
                            "[200]\r\nDatenPath=D:\\Falsch\r\n");
    Mandant.clear();
    ZEPIniLesen(".\\ANDERE.INI");
    EXPECT_EQ(Mandant, "200");
    EXPECT_EQ(DBPath, "D:\\Richtig\\");
    EXPECT_EQ(DatenPath, "D:\\Daten");
}

TEST_F(EinstellungenTest, datenordnerWieGeschriebenOderPunktUndProtokolliert)
{
    ASSERT_TRUE(QDir(m_ordner.path()).mkpath("DB200"));
    schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=200\r\n[200]\r\nDatenPath = \"D:\\$MANDANT$\"\r\n");
    ZEPIniLesen(".\\zep.ini");
    EXPECT_EQ(DatenPath, "D:\\$MANDANT$");
    schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=200\r\n[201]\r\nDatenPath=D:\\Anderer\r\n");
    ZEPIniLesen(".\\zep.ini");
    EXPECT_EQ(DatenPath, ".\\");
    EXPECT_EQ(lesen("DB200/261205ed.log"),
              logzeile("ZEPDatenPATH = D:\\$MANDANT$") +
                  logzeile(" Keinen Eintrag gefunden : ZEPDatenPATH = .\\"));
}

} // namespace

#include "TageswerteTest.h"

#include "database/AllesSchliessen.h"
#include "datafiles/ZaehlerstammPfade.h"
#include "platform/Cp1252.h"

class ZaehlerstammTest : public TageswerteTest
{
protected:
    void SetUp() override
    {
        TageswerteTest::SetUp();
        basisAnlegen();
        zeileEinfuegen("TaGrp", {{"TaGrp_nr", 5}, {"BasisTarif", 4}});
        zeileEinfuegen("TaGrp", {{"TaGrp_nr", 6}, {"BasisTarif", 300}});
    }

    ZaehlerStammdaten m_satz;
};

TEST_F(ZaehlerstammTest, quellregelnUndDateinamen)
{
    struct Fall
    {
        QVariantMap spalten; // besides LZNR 1234 and MBIndex 2
        qint32 quellArt, quellNr;
        quint8 mbIndex;
        QString datenDatei;
    };
    const Fall faelle[] = {
        {{{"ZQUELLE", "M-Bus"}}, -2, 1234, 2, "db\\Z200\\001234002.zep"},
        {{{"ZQUELLE", "S0003"}, {"EINGNR", 7}}, 3, 7, 0, "daten\\S0003\\z07a015p.dat"},
        {{{"ZQUELLE", "virtuell"}}, -1, 1234, 0, "db\\00001234.15p"},
        {{{"ZQUELLE", "VBZ"}}, -1, 1234, 2, "db\\00001234.002"},
        {{{"ZQUELLE", "CSV Import"}, {"TARIFGRP", 5}}, -2, 1234, 4, "db\\Z200\\001234004.zep"},
        {{{"ZQUELLE", "CSV Import"}, {"TARIFGRP", 5}, {"TARIFGRUPPE", "Erdgas"}, {"TaGemessen", 9}},
         -2,
         1234,
         9,
         "db\\Z200\\001234009.zep"},
        {{{"ZQUELLE", "CSV Import"}, {"TARIFGRP", 6}}, -2, 1234, 2, "db\\Z200\\001234002.zep"},
        {{{"ZQUELLE", "wMBus OMS"}, {"TARIFGRP", 7}}, -2, 1234, 2, "db\\Z200\\001234002.zep"},
    };
    for (const Fall& fall : faelle) {
        ausfuehren("DELETE FROM zaehler");
        QVariantMap spalten = fall.spalten;
        spalten["LZNR"] = 1234;
        spalten["MBIndex"] = 2;
        zeileEinfuegen("zaehler", spalten);
        const QByteArray name = spalten["ZQUELLE"].toString().toUtf8();

        ASSERT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerGefunden) << name.data();
        EXPECT_EQ(m_satz.QuellArt, fall.quellArt) << name.data();
        EXPECT_EQ(m_satz.QuellNr, fall.quellNr) << name.data();
        EXPECT_EQ(m_satz.MBIndex, fall.mbIndex) << name.data();
        EXPECT_EQ(m_satz.DatenDatei, fall.datenDatei) << name.data();
        EXPECT_EQ(m_satz.MdbDatei, "db\\zaehler\\0001234.mdb");
    }
}

TEST_F(ZaehlerstammTest, zeitraumAusDerWertdatei)
{
    zeileEinfuegen("zaehler", {{"LZNR", 1234}, {"ZQUELLE", "M-Bus"}, {"MBIndex", 1}});
    werteSchreiben(1'796'428'800, 1'796'437'800, [](qint64) { return 1.0; });
    ASSERT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerGefunden);
    EXPECT_EQ(m_satz.TmErster, 1'796'428'800);
    EXPECT_EQ(m_satz.TmLetzter, 1'796'437'800);
}

TEST_F(ZaehlerstammTest, keinFeldDesVorigenZaehlersBleibt)
{
    zeileEinfuegen("zaehler", {{"LZNR", 1},
                               {"ZQUELLE", "M-Bus"},
                               {"ZNr", "A-1"},
                               {"ZStellen", 6},
                               {"MBIndex", 3},
                               {"MBZStand", 1},
                               {"FAKTOR", 2.5},
                               {"TARIFGRUPPE", "Strom"},
                               {"EINGNR", 4},
                               {"ZOrt", "Keller"},
                               {"BulaNr", "12 a"},
                               {"TgAnfang", 6}});
    zeileEinfuegen("zaehler", {{"LZNR", 2}});
    ASSERT_EQ(MB_ZaehlerLaden(1, m_satz), kZaehlerGefunden);
    EXPECT_EQ(m_satz.ZStellen, 6);
    EXPECT_EQ(m_satz.BulaNr, 12);

    ASSERT_EQ(MB_ZaehlerLaden(2, m_satz), kZaehlerGefunden);
    ZaehlerStammdaten leer;
    leer.lznr = 2;
    leer.DatenDatei = "daten\\S0000\\z00a015p.dat";
    leer.MdbDatei = "db\\zaehler\\0000002.mdb";
    EXPECT_EQ(m_satz, leer);

    ASSERT_EQ(MB_ZaehlerLaden(1, m_satz), kZaehlerGefunden);
    EXPECT_EQ(MB_ZaehlerLaden(3, m_satz), kZaehlerNichtGefunden);
    EXPECT_EQ(m_satz, ZaehlerStammdaten{});
}

TEST_F(ZaehlerstammTest, fehlendeDatenbankIstEinFehler)
{
    QFile::remove(pfad("db/basis.mdb"));
    m_satz.ZStellen = 5;
    EXPECT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerDatenbankFehlt);
    EXPECT_EQ(m_satz, ZaehlerStammdaten{});
    EXPECT_FALSE(QFileInfo::exists(pfad("db/basis.mdb")));
    const QString log = Cp1252ZuText(lesen("db/261205ed.log"));
    EXPECT_TRUE(log.contains("Öffne Datenbank : db\\")) << qPrintable(log);
    EXPECT_TRUE(log.contains(QRegularExpression("Fehler bei OeffneBasisMDB : .*basis.mdb.*\r"
                                                "Programm wird beendet")))
        << qPrintable(log);

    // Once the database is there, the next load opens it.
    basisAnlegen();
    zeileEinfuegen("zaehler", {{"LZNR", 1234}});
    EXPECT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerGefunden);
}

TEST_F(ZaehlerstammTest, eineGeschlosseneDatenbankWirdNeuGeoeffnet)
{
    zeileEinfuegen("zaehler", {{"LZNR", 1234}});
    ASSERT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerGefunden);
    MB_DAOAllesSchliessen();
    EXPECT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerGefunden) << qPrintable(FehlerText);
    EXPECT_EQ(MB_GetBasistarif(5), 4);
    EXPECT_EQ(MB_GetBasistarif(8), -1);
}

TEST_F(ZaehlerstammTest, pfadeUndZeitraeumeOhneAnlegen)
{
    EXPECT_EQ(MB_GetDatenPfad("d\\", "b\\", 3, 7, 0), "d\\S0003\\z07a015p.dat");
    EXPECT_EQ(MB_GetDatenPfad("d\\", "b\\", "S0012", 7, 15), "d\\S0012\\z07a0015.dat");
    EXPECT_EQ(MB_GetDatenPfad("d\\", "b\\", QString(), 7, 0), "");
    EXPECT_EQ(MB_GetDatenDateiName("b\\", 1234, 0, -2, 5), "b\\Z200\\001234005.zep");
    EXPECT_EQ(MB_GetDatenDateiName("b\\", 1234, 0, 3, 5), "");
    EXPECT_EQ(MB_GetZaehlerMdbPfad("b", "", 42), "b\\zaehler\\0000042.mdb");
    EXPECT_EQ(MB_GetZaehlerMdbPfad("b\\", "", 0), "-1");

    QDateTime erster, letzter;
    EXPECT_EQ(MB_GetDateiZeitraum("db\\Z200\\001234001.zep", erster, letzter), -1);
    EXPECT_EQ(MB_GetDateiZeitraum("daten\\S0003\\z07a015p.dat", erster, letzter), -2);
    EXPECT_FALSE(erster.isValid());
    EXPECT_FALSE(QDir(pfad("db/Z200")).exists());
    EXPECT_FALSE(QDir(pfad("daten")).exists());
}

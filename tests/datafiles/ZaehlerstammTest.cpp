#include "DatendateiTest.h"

#include "database/AllesSchliessen.h"
#include "platform/Cp1252.h"

#include <QRegularExpression>

namespace {

class ZaehlerstammTest : public DatendateiTest
{
protected:
    void SetUp() override
    {
        DatendateiTest::SetUp();
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
        SCOPED_TRACE(spalten["ZQUELLE"].toString().toStdString());
        ASSERT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerGefunden);
        EXPECT_EQ(m_satz.QuellArt, fall.quellArt);
        EXPECT_EQ(m_satz.QuellNr, fall.quellNr);
        EXPECT_EQ(m_satz.MBIndex, fall.mbIndex);
        EXPECT_EQ(m_satz.DatenDatei, fall.datenDatei);
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
    EXPECT_FALSE(vorhanden("db/basis.mdb"));
    const QString log = Cp1252ZuText(lesen("db/261205ed.log"));
    EXPECT_TRUE(log.contains("Öffne Datenbank : db\\")) << qPrintable(log);
    EXPECT_TRUE(log.contains(QRegularExpression("Fehler bei OeffneBasisMDB : .*basis.mdb.*\r"
                                                "Programm wird beendet")))
        << qPrintable(log);

    // Once the database is there (under the default name), the next load opens it; and again
    // after everything was closed.
    basisAnlegen();
    zeileEinfuegen("zaehler", {{"LZNR", 1234}});
    zeileEinfuegen("TaGrp", {{"TaGrp_nr", 5}, {"BasisTarif", 4}});
    EXPECT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerGefunden);
    MB_DAOAllesSchliessen();
    EXPECT_EQ(MB_ZaehlerLaden(1234, m_satz), kZaehlerGefunden) << qPrintable(FehlerText);
    EXPECT_EQ(MB_GetBasistarif(5), 4);
    EXPECT_EQ(MB_GetBasistarif(8), -1);
}

} // namespace

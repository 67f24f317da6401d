#include "DatenbankUmgebung.h"

#include "database/Schema.h"

#include "platform/Global.h"

#include <QFile>

namespace {

struct TabellenSpalten
{
    const char* tabelle;
    QStringList spalten;
};

// Every column some feature of the program reads or writes.
const TabellenSpalten erwartet[] = {
    {"zaehler",
     {"LZNR",         "ZNr",        "ZNAME",        "ZQUELLE",      "MBAdr",    "MBComP",
      "MBBaud",       "MBIndex",    "MBZStand",     "MB_SelectSec", "MB_ID",    "MB_Medium",
      "MB_Version",   "Hersteller", "STUFE",        "TARIFGRUPPE",  "TARIFGRP", "FAKTOR",
      "IMPULSE",      "OFFSET",     "ZTyp",         "ZStellen",     "Tarif",    "Feld",
      "EINGNR",       "lfdnr",      "zaehlerplatz", "BulaNr",       "fmax",     "fmin",
      "MBMin",        "MBMax",      "anl",          "TaGemessen",   "TgAnfang", "ZeitenNr",
      "txtBemerkung", "ZOrt"}},
    {"tagrp", {"TAGRP_NR", "TAGRP_NAME", "BasisTarif"}},
    {"ta", {"TA_NR", "TA_BEZ", "Ta_Reihenfolge"}},
    {"tazuordnung", {"zlznr", "zta", "MBusIndex"}},
    {"MB_IndexListe",
     {"Lznr", "Index", "Art", "Einheit", "Speichern", "MBIndex", "Anzeigen", "Faktor", "Farbe",
      "MBTyp", "TarifNr", "Reihenfolge"}},
    {"MBusIndexListe", {"Lznr", "MBIndex", "Text"}},
    {"Zaehlerstaende", {"lznr", "Tm", "DT", "ZStand", "ta"}},
    {"MBusWerte", {"lznr", "Tm", "idx", "Wert"}},
};

} // namespace

class SchemaTest : public DatenbankUmgebung
{
};

TEST_F(SchemaTest, newDatabaseHasEveryTableWithEveryColumn)
{
    basisAnlegen();
    std::unique_ptr<Verbindung> db = oeffnen();
    ASSERT_TRUE(db);
    for (const TabellenSpalten& t : erwartet) {
        const QString tabelle = QString::fromLatin1(t.tabelle);
        EXPECT_TRUE(db->TabelleVorhanden(tabelle)) << t.tabelle;
        const QStringList vorhanden = db->Feldnamen(tabelle);
        for (const QString& spalte : t.spalten)
            EXPECT_TRUE(vorhanden.contains(spalte, Qt::CaseInsensitive))
                << t.tabelle << "." << qPrintable(spalte);
    }
}

TEST_F(SchemaTest, newDatabaseHasNoRows)
{
    basisAnlegen();
    for (const TabellenSpalten& t : erwartet)
        EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM ") + t.tabelle).toInt(), 0);
}

TEST_F(SchemaTest, existingFileIsNeitherOverwrittenNorOpened)
{
    schreiben(QStringLiteral("basis.mdb"), "keine Datenbank");
    EXPECT_FALSE(DatenbankAnlegen(basisPfad()));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(lesen(QStringLiteral("basis.mdb")), QByteArray("keine Datenbank"));
}

TEST_F(SchemaTest, existingDatabaseKeepsItsRows)
{
    basisAnlegen();
    zaehlerEinfuegen({7, "M-Bus", 1, 1});
    EXPECT_FALSE(DatenbankAnlegen(basisPfad()));
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM zaehler")).toInt(), 1);
}

TEST_F(SchemaTest, failedCreationLeavesNoFile)
{
    EXPECT_FALSE(DatenbankAnlegen(pfad(QStringLiteral("fehlt/basis.mdb"))));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("fehlt/basis.mdb"))));
}

TEST_F(SchemaTest, newMeterRowGetsTheNextMeterNumber)
{
    basisAnlegen();
    zaehlerEinfuegen({41, "M-Bus", 1, 1});
    ausfuehren(QStringLiteral("INSERT INTO zaehler (ZNAME) VALUES (?)"), {QStringLiteral("neu")});
    EXPECT_EQ(abfragen(QStringLiteral("SELECT LZNR FROM zaehler WHERE ZNAME = ?"), {"neu"}).toInt(),
              42);
}

TEST_F(SchemaTest, yesNoColumnsDefaultToNo)
{
    basisAnlegen();
    ausfuehren(QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex) VALUES (?, ?)"), {1, 2});
    EXPECT_EQ(abfragen(QStringLiteral("SELECT Speichern FROM MB_IndexListe")).toInt(), 0);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT Anzeigen FROM MB_IndexListe")).toInt(), 0);
}

TEST_F(SchemaTest, textColumnsCompareWithoutLetterCase)
{
    basisAnlegen();
    ausfuehren(QStringLiteral("INSERT INTO MBusIndexListe (Lznr, MBIndex, Text) VALUES (?, ?, ?)"),
               {1, 2, QStringLiteral("Wärme")});
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM MBusIndexListe WHERE Text = ?"),
                       {QStringLiteral("wäRME")})
                  .toInt(),
              1);
}

TEST_F(SchemaTest, indexColumnIsWrittenQuotedInLowerCase)
{
    basisAnlegen();
    ausfuehren(QStringLiteral("INSERT INTO MB_IndexListe (Lznr, \"index\") VALUES (?, ?)"), {5, 3});
    EXPECT_EQ(
        abfragen(QStringLiteral("SELECT \"index\" FROM MB_IndexListe WHERE Lznr = ?"), {5}).toInt(),
        3);
}

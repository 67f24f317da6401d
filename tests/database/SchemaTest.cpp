// The tables of a new basis.mdb, their column rules, and tables and columns added later.

#include "DatenbankUmgebung.h"

#include "database/DaoTabellen.h"

#include <QFile>

namespace {

// Every column some feature of the program reads or writes.
// clang-format off
const QStringList IndexListeSpalten{"Lznr", "Index", "Art", "Einheit", "Speichern", "MBIndex",
                                    "Anzeigen", "Faktor", "Farbe", "MBTyp", "TarifNr", "Reihenfolge"};
const std::pair<const char*, QStringList> Tabellen[] = {
    {"zaehler", {"LZNR", "ZNr", "ZNAME", "ZQUELLE", "MBAdr", "MBComP", "MBBaud", "MBIndex",
                 "MBZStand", "MB_SelectSec", "MB_ID", "MB_Medium", "MB_Version", "Hersteller",
                 "STUFE", "TARIFGRUPPE", "TARIFGRP", "FAKTOR", "IMPULSE", "OFFSET", "ZTyp",
                 "ZStellen", "Tarif", "Feld", "EINGNR", "lfdnr", "zaehlerplatz", "BulaNr", "fmax",
                 "fmin", "MBMin", "MBMax", "anl", "TaGemessen", "TgAnfang", "ZeitenNr",
                 "txtBemerkung", "ZOrt"}},
    {"tagrp", {"TAGRP_NR", "TAGRP_NAME", "BasisTarif"}},
    {"ta", {"TA_NR", "TA_BEZ", "Ta_Reihenfolge"}},
    {"tazuordnung", {"zlznr", "zta", "MBusIndex"}},
    {"MB_IndexListe", IndexListeSpalten},
    {"MBusIndexListe", {"Lznr", "MBIndex", "Text"}},
    {"Zaehlerstaende", {"lznr", "Tm", "DT", "ZStand", "ta"}},
    {"MBusWerte", {"lznr", "Tm", "idx", "Wert"}},
};
// clang-format on

void SpaltenPruefen(Verbindung& db, const QString& tabelle, const QStringList& spalten)
{
    const QStringList vorhanden = db.Feldnamen(tabelle);
    for (const QString& spalte : spalten)
        EXPECT_TRUE(vorhanden.contains(spalte, Qt::CaseInsensitive))
            << qPrintable(tabelle + u'.' + spalte);
}

} // namespace

class SchemaTest : public DatenbankUmgebung
{
protected:
    void SetUp() override
    {
        DatenbankUmgebung::SetUp();
        basisOeffnen();
    }
};

TEST_F(SchemaTest, newDatabaseHasEveryTableWithEveryColumnAndNoRows)
{
    for (const auto& [tabelle, spalten] : Tabellen) {
        EXPECT_TRUE(m_db->TabelleVorhanden(QString::fromLatin1(tabelle).toLower())) << tabelle;
        SpaltenPruefen(*m_db, QString::fromLatin1(tabelle), spalten);
        EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM ") + tabelle).toInt(), 0);
    }
}

TEST_F(SchemaTest, creationNeverTouchesAnExistingFileAndLeavesNoFileOnFailure)
{
    zaehlerEinfuegen(7, "M-Bus", 1, 1);
    EXPECT_FALSE(DatenbankAnlegen(basisPfad()));
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM zaehler")).toInt(), 1);

    schreiben(QStringLiteral("anderes.mdb"), "keine Datenbank");
    EXPECT_FALSE(DatenbankAnlegen(pfad(QStringLiteral("anderes.mdb"))));
    EXPECT_EQ(lesen(QStringLiteral("anderes.mdb")), QByteArray("keine Datenbank"));

    FehlerText.clear();
    EXPECT_FALSE(DatenbankAnlegen(pfad(QStringLiteral("fehlt/basis.mdb"))));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("fehlt/basis.mdb"))));
}

TEST_F(SchemaTest, tablesAndFieldsAreAddedOnceWithTheirStatus)
{
    const QString neu = QStringLiteral("Neu");
    FehlerText.clear();
    EXPECT_EQ(DAO_TabelleAnlegen(*m_db, neu, QStringLiteral("Nr"), 99, 0), -1);
    EXPECT_FALSE(m_db->TabelleVorhanden(neu));
    EXPECT_FALSE(FehlerText.isEmpty());
    ASSERT_EQ(DAO_TabelleAnlegen(*m_db, neu, QStringLiteral("Nr"), dbLong, dbAutoIncrField), 0);
    FehlerText.clear();
    EXPECT_EQ(DAO_TabelleAnlegen(*m_db, neu, QStringLiteral("Nr"), dbLong, 0), -2);
    EXPECT_FALSE(FehlerText.isEmpty());

    ASSERT_EQ(DAO_FeldAnfuegen(*m_db, neu, QStringLiteral("Name"), dbText, 20), 0);
    FehlerText.clear();
    EXPECT_NE(DAO_FeldAnfuegen(*m_db, neu, QStringLiteral("NAME"), dbText, 20), 0);
    EXPECT_FALSE(FehlerText.isEmpty());
    for (const char* name : {"a", "b"})
        ASSERT_TRUE(m_db->Execute(QStringLiteral("INSERT INTO Neu (Name) VALUES (?)"), {name}));
    EXPECT_EQ(abfragen(QStringLiteral("SELECT Nr FROM Neu WHERE Name = 'b'")).toInt(), 2);
}

TEST_F(SchemaTest, indexListIsCreatedOnceWithEveryColumnAndAnOldOneIsKept)
{
    m_db.reset();
    ausfuehren(QStringLiteral("DROP TABLE MB_IndexListe"));
    IndexListeTabelleAnlegen();
    ausfuehren(QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex) VALUES (4, 2)"));
    IndexListeTabelleAnlegen();
    SpaltenPruefen(*oeffnen(), QStringLiteral("MB_IndexListe"), IndexListeSpalten);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM MB_IndexListe")).toInt(), 1);

    ausfuehren(QStringLiteral("DROP TABLE MB_IndexListe"));
    ausfuehren(QStringLiteral("CREATE TABLE MB_IndexListe (Lznr INTEGER, \"index\" SMALLINT)"));
    IndexListeTabelleAnlegen();
    EXPECT_EQ(oeffnen()->Feldnamen(QStringLiteral("MB_IndexListe")),
              (QStringList{"Lznr", "index"}));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    EXPECT_EQ(Datenbank, nullptr);
}

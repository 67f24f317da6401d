#include "DatenbankUmgebung.h"

#include "database/BasisMdb.h"
#include "database/DaoTabellen.h"

#include "platform/Global.h"

#include <QFile>

class DaoTabellenTest : public DatenbankUmgebung
{
protected:
    void SetUp() override
    {
        DatenbankUmgebung::SetUp();
        basisAnlegen();
    }

    // basis.mdb as the editor meets it at an installation that never had the index list.
    void ohneIndexListe() { ausfuehren(QStringLiteral("DROP TABLE MB_IndexListe")); }

    QStringList indexListeSpalten()
    {
        std::unique_ptr<Verbindung> db = oeffnen();
        return db ? db->Feldnamen(QStringLiteral("MB_IndexListe")) : QStringList();
    }
};

TEST_F(DaoTabellenTest, tableIsCreatedOnceAndTheSecondTimeGivesMinusTwo)
{
    std::unique_ptr<Verbindung> db = oeffnen();
    EXPECT_EQ(DAO_TabelleAnlegen(*db, QStringLiteral("Neu"), QStringLiteral("Nr"), dbLong, 2), 0);
    EXPECT_TRUE(db->TabelleVorhanden(QStringLiteral("Neu")));
    FehlerText.clear();
    EXPECT_EQ(DAO_TabelleAnlegen(*db, QStringLiteral("Neu"), QStringLiteral("Nr"), dbLong, 2), -2);
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(DaoTabellenTest, unknownFieldTypeGivesMinusOneAndNoTable)
{
    std::unique_ptr<Verbindung> db = oeffnen();
    EXPECT_EQ(DAO_TabelleAnlegen(*db, QStringLiteral("Neu"), QStringLiteral("Nr"), 99, 0), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(db->TabelleVorhanden(QStringLiteral("Neu")));
}

TEST_F(DaoTabellenTest, fieldIsAppendedOnceAndTheSecondTimeGivesAnErrorNumber)
{
    std::unique_ptr<Verbindung> db = oeffnen();
    EXPECT_EQ(DAO_FeldAnfuegen(*db, QStringLiteral("ta"), QStringLiteral("Kurz"), dbText, 10), 0);
    EXPECT_TRUE(db->FeldVorhanden(QStringLiteral("ta"), QStringLiteral("Kurz")));
    FehlerText.clear();
    EXPECT_NE(DAO_FeldAnfuegen(*db, QStringLiteral("ta"), QStringLiteral("Kurz"), dbText, 10), 0);
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(DaoTabellenTest, autoNumberFieldOnANewTableNumbersTheRows)
{
    std::unique_ptr<Verbindung> db = oeffnen();
    ASSERT_EQ(DAO_TabelleAnlegen(*db, QStringLiteral("Neu"), QStringLiteral("Nr"), dbLong,
                                 dbAutoIncrField),
              0);
    ASSERT_EQ(DAO_FeldAnfuegen(*db, QStringLiteral("Neu"), QStringLiteral("Name"), dbText, 20), 0);
    ASSERT_TRUE(db->Execute(QStringLiteral("INSERT INTO Neu (Name) VALUES (?)"), {"a"}));
    ASSERT_TRUE(db->Execute(QStringLiteral("INSERT INTO Neu (Name) VALUES (?)"), {"b"}));
    EXPECT_EQ(abfragen(QStringLiteral("SELECT Nr FROM Neu WHERE Name = 'b'")).toInt(), 2);
}

TEST_F(DaoTabellenTest, indexListIsCreatedWithEveryColumn)
{
    ohneIndexListe();
    IndexListeTabelleAnlegen();
    const QStringList spalten = indexListeSpalten();
    for (const char* name : {"Lznr", "Index", "Art", "Einheit", "Speichern", "MBIndex", "Anzeigen",
                             "Faktor", "Farbe", "MBTyp", "TarifNr", "Reihenfolge"})
        EXPECT_TRUE(spalten.contains(QString::fromLatin1(name), Qt::CaseInsensitive)) << name;
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    EXPECT_EQ(Datenbank, nullptr);
}

TEST_F(DaoTabellenTest, indexListCreatedTwiceIsCreatedOnce)
{
    ohneIndexListe();
    IndexListeTabelleAnlegen();
    ausfuehren(QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex, Speichern, Anzeigen) "
                              "VALUES (?, ?, ?, ?)"),
               {4, 2, 1, 1});
    const QStringList spalten = indexListeSpalten();
    IndexListeTabelleAnlegen();
    EXPECT_EQ(indexListeSpalten(), spalten);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM MB_IndexListe")).toInt(), 1);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    EXPECT_EQ(Datenbank, nullptr);
}

TEST_F(DaoTabellenTest, existingIndexListKeepsItsOwnColumns)
{
    ausfuehren(QStringLiteral("DROP TABLE MB_IndexListe"));
    ausfuehren(QStringLiteral("CREATE TABLE MB_IndexListe (Lznr INTEGER, \"index\" SMALLINT)"));
    IndexListeTabelleAnlegen();
    EXPECT_EQ(indexListeSpalten(), (QStringList{"Lznr", "index"}));
}

TEST_F(DaoTabellenTest, missingDatabaseShowsTheMessageAndCreatesNoFile)
{
    QFile::remove(basisPfad());
    DBPath = QStringLiteral(".\\");
    IndexListeTabelleAnlegen();
    EXPECT_EQ(m_meldungen.texte,
              QStringList{QStringLiteral("Fehler beim Update Datenbank .\\basis.mdb")});
    EXPECT_FALSE(QFile::exists(basisPfad()));
    EXPECT_EQ(Datenbank, nullptr);
}

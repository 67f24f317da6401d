// Reading rows as the program reads them, and adding and changing rows through a recordset.

#include "DatenbankUmgebung.h"

#include "database/DatenbankFehler.h"

class RecordsetTest : public DatenbankUmgebung
{
protected:
    void SetUp() override
    {
        DatenbankUmgebung::SetUp();
        basisOeffnen();
    }
    int zaehler(const QString& bedingung, const QVariantList& werte = {})
    {
        return abfragen(QStringLiteral("SELECT count(*) FROM zaehler WHERE ") + bedingung, werte)
            .toInt();
    }
};

TEST_F(RecordsetTest, fieldsAreFoundWithoutLetterCaseAndAMissingOneIsEmptyAndAnError)
{
    zaehlerEinfuegen(12, "M-Bus", 3, 7);
    Recordset rs = m_db->OpenRecordset(QStringLiteral("SELECT zaehler.LZNR, MBAdr FROM zaehler"));
    EXPECT_EQ(rs.Feld(QStringLiteral("lznr")).ganz() +
                  rs.Feld(QStringLiteral("zaehler.LZNR")).ganz(),
              24);
    EXPECT_EQ(rs.Feld(QStringLiteral("MBADR")).ganz(), 7);
    const Feldwert fehlt = rs.Feld(QStringLiteral("gibtsnicht"));
    EXPECT_FALSE(fehlt.vorhanden());
    EXPECT_EQ(rs.Fehlernummer(), dbFehlerElementNichtGefunden);
}

TEST_F(RecordsetTest, valuesReadAsTheStoredFilesWriteThem)
{
    const struct
    {
        QVariant faktor;
        const char* text;
        bool jaNein;
    } faelle[] = {{1.5, "1,5", true}, {-1, "-1", true}, {0, "0", false}, {QVariant(), "", false}};
    for (const auto& fall : faelle) {
        ASSERT_TRUE(m_db->Execute(QStringLiteral("DELETE FROM MB_IndexListe")));
        ASSERT_TRUE(m_db->Execute(
            QStringLiteral("INSERT INTO MB_IndexListe (Lznr, Faktor, Speichern) VALUES (1, ?, ?)"),
            {fall.faktor, fall.faktor}));
        Recordset rs = m_db->OpenRecordset(QStringLiteral("MB_IndexListe"));
        EXPECT_EQ(rs.Feld(QStringLiteral("Faktor")).text(), QString::fromLatin1(fall.text));
        EXPECT_EQ(rs.Feld(QStringLiteral("Faktor")).zahl(), fall.faktor.toDouble()) << fall.text;
        EXPECT_EQ(rs.Feld(QStringLiteral("Speichern")).jaNein(), fall.jaNein) << fall.text;
    }
}

TEST_F(RecordsetTest, addedRowIsStoredVerbatimAndJoinsTheRecordset)
{
    zaehlerEinfuegen(20, "M-Bus", 1, 1);
    const QString name = QStringLiteral("O'Brien; DROP TABLE zaehler; --");
    Recordset rs = m_db->OpenRecordset(
        QStringLiteral("SELECT zaehler.ZNr, * FROM zaehler WHERE ZQUELLE = ?"), {"M-Bus"});
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.Setzen(QStringLiteral("ZNAME"), name));
    ASSERT_TRUE(rs.Setzen(QStringLiteral("ZNr"), QStringLiteral("4711")));
    ASSERT_TRUE(rs.Update()) << qPrintable(FehlerText);
    EXPECT_EQ(rs.RecordCount(), 2);
    ASSERT_TRUE(rs.FindFirst(QStringLiteral("ZNr"), QStringLiteral("4711")));
    EXPECT_EQ(rs.Feld(QStringLiteral("LZNR")).ganz(), 21);
    EXPECT_EQ(zaehler(QStringLiteral("ZNAME = ?"), {name}), 1);
}

TEST_F(RecordsetTest, editChangesOnlyTheCurrentRow)
{
    zaehlerEinfuegen(1, "M-Bus", 1, 1);
    zaehlerEinfuegen(2, "M-Bus", 1, 2);
    Recordset rs = m_db->OpenRecordset(
        QStringLiteral("SELECT * FROM zaehler WHERE MBComP = ? ORDER BY MBAdr"), {1});
    rs.MoveNext();
    ASSERT_TRUE(rs.Edit());
    rs.Setzen(QStringLiteral("OFFSET"), 2.5);
    rs.Setzen(QStringLiteral("ZNAME"), QStringLiteral("zwei"));
    ASSERT_TRUE(rs.Update()) << qPrintable(FehlerText);
    EXPECT_EQ(rs.Feld(QStringLiteral("ZNAME")).text(), QStringLiteral("zwei"));
    EXPECT_EQ(zaehler(QStringLiteral("ZNAME = 'zwei'")), 1);
    EXPECT_EQ(zaehler(QStringLiteral("LZNR = 2 AND \"offset\" = 2.5")), 1);
}

TEST_F(RecordsetTest, failedUpdateLeavesNoHalfRowForTheNextOne)
{
    zaehlerEinfuegen(5, "M-Bus", 1, 1);
    Recordset rs = m_db->OpenRecordset(QStringLiteral("zaehler"));
    ASSERT_TRUE(rs.AddNew());
    rs.Setzen(QStringLiteral("LZNR"), 5); // the key is taken
    rs.Setzen(QStringLiteral("ZNAME"), QStringLiteral("halb"));
    FehlerText.clear();
    EXPECT_FALSE(rs.Update());
    EXPECT_FALSE(FehlerText.isEmpty());

    ASSERT_TRUE(rs.AddNew());
    rs.Setzen(QStringLiteral("MBAdr"), 9);
    ASSERT_TRUE(rs.Update()) << qPrintable(FehlerText);
    EXPECT_EQ(zaehler(QStringLiteral("ZNAME = 'halb'")), 0);
    EXPECT_EQ(zaehler(QStringLiteral("LZNR = 6 AND MBAdr = 9")), 1);
}

TEST_F(RecordsetTest, rowsWithoutTheirKeyOrOfAJoinCannotBeChanged)
{
    zaehlerEinfuegen(1, "M-Bus", 1, 1);
    Recordset verbund = m_db->OpenRecordset(QStringLiteral(
        "SELECT zaehler.LZNR FROM zaehler INNER JOIN tagrp ON zaehler.TARIFGRP = tagrp.TAGRP_NR"));
    ASSERT_TRUE(verbund.offen());
    EXPECT_FALSE(verbund.AddNew());
    EXPECT_EQ(verbund.Fehlernummer(), dbFehlerSchreibgeschuetzt);

    Recordset ohneSchluessel = m_db->OpenRecordset(QStringLiteral("SELECT ZNAME FROM zaehler"));
    ASSERT_TRUE(ohneSchluessel.Edit());
    ohneSchluessel.Setzen(QStringLiteral("ZNAME"), QStringLiteral("x"));
    EXPECT_FALSE(ohneSchluessel.Update());
    EXPECT_EQ(zaehler(QStringLiteral("ZNAME = 'x'")), 0);
}

TEST_F(RecordsetTest, findFirstComparesNumbersAndTextsWithoutLetterCase)
{
    ASSERT_TRUE(m_db->Execute(QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, ZNr) VALUES "
                                             "(1, 3, 'AB12'), (2, 5, 'cd34'), (3, 5, 'ef56')")));
    Recordset rs = m_db->OpenRecordset(QStringLiteral("SELECT * FROM zaehler ORDER BY LZNR"));
    ASSERT_TRUE(rs.FindFirst(QStringLiteral("MBAdr"), 5));
    EXPECT_EQ(rs.Feld(QStringLiteral("LZNR")).ganz(), 2);
    ASSERT_TRUE(rs.FindFirst(QStringLiteral("ZNr"), QStringLiteral("ab12")));
    EXPECT_FALSE(rs.NoMatch());
    EXPECT_FALSE(rs.FindFirst(QStringLiteral("ZNr"), QStringLiteral("zz")));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs.Feld(QStringLiteral("LZNR")).ganz(), 1);
}

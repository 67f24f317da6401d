#include "DatenbankUmgebung.h"

#include "database/DatenbankFehler.h"

#include "platform/Global.h"

class RecordsetTest : public DatenbankUmgebung
{
protected:
    void SetUp() override
    {
        DatenbankUmgebung::SetUp();
        basisAnlegen();
        m_db = oeffnen();
        ASSERT_TRUE(m_db);
    }
    void TearDown() override
    {
        m_db.reset();
        DatenbankUmgebung::TearDown();
    }

    std::unique_ptr<Verbindung> m_db;
};

TEST_F(RecordsetTest, fieldsAreFoundWithoutRegardToLetterCase)
{
    zaehlerEinfuegen({12, "M-Bus", 3, 7});
    Recordset rs = m_db->OpenRecordset(QStringLiteral("SELECT zaehler.LZNR, MBAdr FROM zaehler"));
    ASSERT_TRUE(rs.offen());
    EXPECT_EQ(rs.Feld(QStringLiteral("lznr")).ganz(), 12);
    EXPECT_EQ(rs.Feld(QStringLiteral("zaehler.LZNR")).ganz(), 12);
    EXPECT_EQ(rs.Feld(QStringLiteral("MBADR")).ganz(), 7);
}

TEST_F(RecordsetTest, missingFieldIsAnEmptyValueAndAnError)
{
    zaehlerEinfuegen({12, "M-Bus", 3, 7});
    Recordset rs = m_db->OpenRecordset(QStringLiteral("zaehler"));
    const Feldwert wert = rs.Feld(QStringLiteral("gibtsnicht"));
    EXPECT_FALSE(wert.vorhanden());
    EXPECT_EQ(wert.text(), QString());
    EXPECT_EQ(rs.Fehlernummer(), dbFehlerElementNichtGefunden);
}

TEST_F(RecordsetTest, emptyFieldReadsAsEmptyTextAndZero)
{
    zaehlerEinfuegen({12, QVariant(), QVariant(), QVariant()});
    Recordset rs = m_db->OpenRecordset(QStringLiteral("zaehler"));
    EXPECT_TRUE(rs.Feld(QStringLiteral("ZQUELLE")).istNull());
    EXPECT_EQ(rs.Feld(QStringLiteral("ZQUELLE")).text(), QString());
    EXPECT_EQ(rs.Feld(QStringLiteral("MBComP")).ganz(), 0);
    EXPECT_EQ(rs.Feld(QStringLiteral("FAKTOR")).zahl(), 0.0);
    EXPECT_FALSE(rs.Feld(QStringLiteral("STUFE")).jaNein());
}

TEST_F(RecordsetTest, yesNoIsTrueForEveryValueButZero)
{
    const struct
    {
        QVariant gespeichert;
        bool erwartet;
    } faelle[] = {{-1, true}, {1, true}, {255, true}, {0, false}, {QVariant(), false}};
    for (const auto& fall : faelle) {
        ASSERT_TRUE(m_db->Execute(QStringLiteral("DELETE FROM MB_IndexListe")));
        ASSERT_TRUE(m_db->Execute(
            QStringLiteral("INSERT INTO MB_IndexListe (Lznr, Speichern) VALUES (1, ?)"),
            {fall.gespeichert}));
        Recordset rs = m_db->OpenRecordset(QStringLiteral("MB_IndexListe"));
        EXPECT_EQ(rs.Feld(QStringLiteral("Speichern")).jaNein(), fall.erwartet)
            << qPrintable(fall.gespeichert.toString());
    }
}

TEST_F(RecordsetTest, decimalNumbersReadAsTextWithDecimalComma)
{
    ASSERT_TRUE(
        m_db->Execute(QStringLiteral("INSERT INTO zaehler (LZNR, FAKTOR) VALUES (1, ?)"), {1.5}));
    Recordset rs = m_db->OpenRecordset(QStringLiteral("zaehler"));
    EXPECT_EQ(rs.Feld(QStringLiteral("FAKTOR")).text(), QStringLiteral("1,5"));
    EXPECT_EQ(rs.Feld(QStringLiteral("LZNR")).text(), QStringLiteral("1"));
}

TEST_F(RecordsetTest, rowsAreWalkedInQueryOrderUntilEof)
{
    for (int lznr : {3, 1, 2})
        zaehlerEinfuegen({lznr, "M-Bus", 1, lznr});
    Recordset rs =
        m_db->OpenRecordset(QStringLiteral("SELECT LZNR FROM zaehler ORDER BY LZNR DESC"));
    EXPECT_EQ(rs.RecordCount(), 3);
    QList<qint64> gelesen;
    for (; !rs.Eof(); rs.MoveNext())
        gelesen << rs.Feld(QStringLiteral("LZNR")).ganz();
    EXPECT_EQ(gelesen, (QList<qint64>{3, 2, 1}));
}

TEST_F(RecordsetTest, emptyRecordsetIsAtBothEnds)
{
    Recordset rs = m_db->OpenRecordset(QStringLiteral("zaehler"));
    ASSERT_TRUE(rs.offen());
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.RecordCount(), 0);
}

TEST_F(RecordsetTest, addNewStoresValuesVerbatim)
{
    const QString name = QStringLiteral("O'Brien; DROP TABLE zaehler; --");
    Recordset rs = m_db->OpenRecordset(QStringLiteral("zaehler"));
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.Setzen(QStringLiteral("ZNAME"), name));
    ASSERT_TRUE(rs.Setzen(QStringLiteral("ZQUELLE"), QStringLiteral("M-Bus")));
    ASSERT_TRUE(rs.Update()) << qPrintable(FehlerText);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT ZNAME FROM zaehler")).toString(), name);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM zaehler")).toInt(), 1);
}

TEST_F(RecordsetTest, addedRowJoinsTheRecordsetWithItsNewKey)
{
    zaehlerEinfuegen({20, "M-Bus", 1, 1});
    Recordset rs = m_db->OpenRecordset(
        QStringLiteral("SELECT zaehler.ZNr, * FROM zaehler WHERE ZQUELLE = ?"), {"M-Bus"});
    ASSERT_TRUE(rs.AddNew());
    rs.Setzen(QStringLiteral("ZNr"), QStringLiteral("4711"));
    ASSERT_TRUE(rs.Update()) << qPrintable(FehlerText);
    EXPECT_EQ(rs.RecordCount(), 2);
    ASSERT_TRUE(rs.FindFirst(QStringLiteral("ZNr"), QStringLiteral("4711")));
    EXPECT_EQ(rs.Feld(QStringLiteral("LZNR")).ganz(), 21);
}

TEST_F(RecordsetTest, editChangesOnlyTheCurrentRow)
{
    zaehlerEinfuegen({1, "M-Bus", 1, 1});
    zaehlerEinfuegen({2, "M-Bus", 1, 2});
    Recordset rs = m_db->OpenRecordset(
        QStringLiteral("SELECT * FROM zaehler WHERE MBComP = ? ORDER BY MBAdr"), {1});
    rs.MoveNext();
    ASSERT_TRUE(rs.Edit());
    rs.Setzen(QStringLiteral("OFFSET"), 2.5);
    rs.Setzen(QStringLiteral("ZNAME"), QStringLiteral("zwei"));
    ASSERT_TRUE(rs.Update()) << qPrintable(FehlerText);
    EXPECT_EQ(rs.Feld(QStringLiteral("ZNAME")).text(), QStringLiteral("zwei"));
    EXPECT_EQ(
        abfragen(QStringLiteral("SELECT count(*) FROM zaehler WHERE ZNAME = ?"), {"zwei"}).toInt(),
        1);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT \"offset\" FROM zaehler WHERE LZNR = 2")).toDouble(),
              2.5);
}

TEST_F(RecordsetTest, failedUpdateLeavesNoHalfRowForTheNextOne)
{
    zaehlerEinfuegen({5, "M-Bus", 1, 1});
    Recordset rs = m_db->OpenRecordset(QStringLiteral("zaehler"));
    ASSERT_TRUE(rs.AddNew());
    rs.Setzen(QStringLiteral("LZNR"), 5); // the key is taken
    rs.Setzen(QStringLiteral("ZNAME"), QStringLiteral("halb"));
    EXPECT_FALSE(rs.Update());
    EXPECT_FALSE(FehlerText.isEmpty());

    ASSERT_TRUE(rs.AddNew());
    rs.Setzen(QStringLiteral("MBAdr"), 9);
    ASSERT_TRUE(rs.Update()) << qPrintable(FehlerText);
    EXPECT_EQ(
        abfragen(QStringLiteral("SELECT count(*) FROM zaehler WHERE ZNAME = ?"), {"halb"}).toInt(),
        0);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT LZNR FROM zaehler WHERE MBAdr = 9")).toInt(), 6);
}

TEST_F(RecordsetTest, joinedRowsCannotBeChanged)
{
    Recordset rs = m_db->OpenRecordset(QStringLiteral(
        "SELECT zaehler.LZNR FROM zaehler INNER JOIN tagrp ON zaehler.TARIFGRP = tagrp.TAGRP_NR"));
    ASSERT_TRUE(rs.offen());
    EXPECT_FALSE(rs.AddNew());
    EXPECT_EQ(rs.Fehlernummer(), dbFehlerSchreibgeschuetzt);
}

TEST_F(RecordsetTest, editWithoutTheKeyInTheQueryIsRefused)
{
    zaehlerEinfuegen({1, "M-Bus", 1, 1});
    Recordset rs = m_db->OpenRecordset(QStringLiteral("SELECT ZNAME FROM zaehler"));
    ASSERT_TRUE(rs.Edit());
    rs.Setzen(QStringLiteral("ZNAME"), QStringLiteral("x"));
    EXPECT_FALSE(rs.Update());
    EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM zaehler WHERE ZNAME = 'x'")).toInt(),
              0);
}

TEST_F(RecordsetTest, setWithoutAddNewOrEditIsAnError)
{
    Recordset rs = m_db->OpenRecordset(QStringLiteral("zaehler"));
    EXPECT_FALSE(rs.Setzen(QStringLiteral("ZNAME"), QStringLiteral("x")));
    EXPECT_FALSE(rs.Update());
    EXPECT_EQ(rs.Fehlernummer(), dbFehlerUpdateOhneAddNew);
}

TEST_F(RecordsetTest, appendOnlyReadsNoRowsAndAddsRows)
{
    ASSERT_TRUE(m_db->Execute(QStringLiteral("INSERT INTO MBusWerte (lznr, Tm, idx, Wert) "
                                             "VALUES (1, 100, 1, 1.0)")));
    Recordset rs = m_db->OpenRecordset(QStringLiteral("MBusWerte"), {}, dbAppendOnly);
    ASSERT_TRUE(rs.offen());
    EXPECT_EQ(rs.RecordCount(), 0);
    ASSERT_TRUE(rs.AddNew());
    rs.Setzen(QStringLiteral("lznr"), 1);
    rs.Setzen(QStringLiteral("Tm"), 200);
    rs.Setzen(QStringLiteral("idx"), 2);
    rs.Setzen(QStringLiteral("Wert"), 2.5);
    ASSERT_TRUE(rs.Update()) << qPrintable(FehlerText);
    EXPECT_EQ(abfragen(QStringLiteral("SELECT Wert FROM MBusWerte WHERE Tm = 200")).toDouble(),
              2.5);
}

TEST_F(RecordsetTest, findFirstComparesNumbersAndTextsWithoutLetterCase)
{
    ASSERT_TRUE(m_db->Execute(QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, ZNr) VALUES "
                                             "(1, 3, 'AB12'), (2, 5, 'cd34'), (3, 5, 'ef56')")));
    Recordset rs = m_db->OpenRecordset(QStringLiteral("SELECT * FROM zaehler ORDER BY LZNR"));
    ASSERT_TRUE(rs.FindFirst(QStringLiteral("MBAdr"), 5));
    EXPECT_EQ(rs.Feld(QStringLiteral("LZNR")).ganz(), 2);
    ASSERT_TRUE(rs.FindFirst(QStringLiteral("ZNr"), QStringLiteral("ab12")));
    EXPECT_EQ(rs.Feld(QStringLiteral("LZNR")).ganz(), 1);
    EXPECT_FALSE(rs.NoMatch());
    EXPECT_FALSE(rs.FindFirst(QStringLiteral("ZNr"), QStringLiteral("zz")));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs.Feld(QStringLiteral("LZNR")).ganz(), 1);
}

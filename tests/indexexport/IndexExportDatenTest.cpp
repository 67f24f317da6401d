// The editor's stored rows, alike in basis.mdb and on the server.

#include "database/ZielUmgebung.h"

#include "indexexport/IndexExportDaten.h"

#include <QSet>

template <class Ziel> class IndexExportDatenTest : public ZielUmgebung<Ziel>
{
protected:
    void SetUp() override
    {
        ZielUmgebung<Ziel>::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        this->pruefAusfuehren(QStringLiteral("INSERT INTO zaehler (LZNR, ZNr, ZNAME, ZQUELLE, "
                                             "MBAdr, MBComP) VALUES (7, '4711', 'Heizung', "
                                             "'M-Bus', 5, 1), (8, '0815', 'Wasser', 'm-bus', "
                                             "NULL, NULL)"));
        for (const auto& [lznr, index, text] :
             {std::tuple{7, 2, "alt zwei"}, {7, 1, "alt eins"}, {8, 4, "anderer"}})
            this->pruefAusfuehren(
                QStringLiteral("INSERT INTO MBusIndexListe (Lznr, MBIndex, Text) VALUES (?, ?, ?)"),
                {lznr, index, QString::fromUtf8(text)});
        this->verbinden();
        m_daten = std::make_unique<IndexExportDaten>(*MB_Connection);
    }

    // The meter's rows as "index text", in the order the table gives them.
    QStringList zeilen(int lznr, const char* ordnung = "")
    {
        QStringList liste;
        for (const auto& zeile : this->pruefZeilen(
                 QStringLiteral("SELECT MBIndex, Text FROM MBusIndexListe WHERE Lznr = ? ") +
                     QString::fromLatin1(ordnung),
                 {lznr}))
            liste << zeile[0].text() + u' ' + zeile[1].text();
        return liste;
    }

    std::unique_ptr<IndexExportDaten> m_daten;
};

TYPED_TEST_SUITE(IndexExportDatenTest, DatenbankZiele, ZielName);

TYPED_TEST(IndexExportDatenTest, savingRowsThreeEmptyAndOneStoresThreeThenOne)
{
    const QList<IndexExportZeile> grid = {{"7", "3", "drei"},
                                          {"", "", "ohne Index"},
                                          {"", " 1 ", "eins"},
                                          {"", "hhh", ""},
                                          {"", "1,5", "halb"}};
    ASSERT_EQ(this->m_daten->IndexSpeichern(7, grid), 2) << qPrintable(FehlerText);
    // in grid order, the older rows of the meter gone
    EXPECT_EQ(this->zeilen(7), (QStringList{"3 drei", "1 eins"}));
    EXPECT_EQ(this->zeilen(8), QStringList{"4 anderer"});

    ASSERT_EQ(this->m_daten->IndexSpeichern(7, {}), 0) << qPrintable(FehlerText);
    EXPECT_TRUE(this->zeilen(7).isEmpty());
    EXPECT_EQ(this->zeilen(8), QStringList{"4 anderer"});
}

TYPED_TEST(IndexExportDatenTest, failingInsertKeepsTheMetersRowsAndSaysWhy)
{
    this->pruefAusfuehren(QStringLiteral(
        "CREATE UNIQUE INDEX mbusindexliste_eindeutig ON MBusIndexListe (Lznr, MBIndex)"));
    FehlerText.clear();
    EXPECT_EQ(this->m_daten->IndexSpeichern(7, {{"", "5", "a"}, {"", "5", "b"}}), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(this->zeilen(7, "ORDER BY MBIndex"), (QStringList{"1 alt eins", "2 alt zwei"}));
    // the connection takes the next save
    EXPECT_EQ(this->m_daten->IndexSpeichern(7, {{"", "5", "a"}}), 1) << qPrintable(FehlerText);
    EXPECT_EQ(this->zeilen(7), QStringList{"5 a"});
}

TYPED_TEST(IndexExportDatenTest, meterLoadsItsHeadingAndRowsByIndex)
{
    ZaehlerKopf kopf;
    QList<IndexExportZeile> zeilen;
    ASSERT_TRUE(this->m_daten->ZaehlerLaden(7, kopf, zeilen)) << qPrintable(FehlerText);
    EXPECT_EQ(QStringList({kopf.znr, kopf.zname, kopf.mbAdr}),
              (QStringList{"4711", "Heizung", "5"}));
    EXPECT_EQ(zeilen, (QList<IndexExportZeile>{{"7", "1", "alt eins"}, {"7", "2", "alt zwei"}}));

    ASSERT_TRUE(this->m_daten->ZaehlerLaden(8, kopf, zeilen));
    EXPECT_EQ(QStringList({kopf.znr, kopf.zname, kopf.mbAdr}), (QStringList{"0815", "Wasser", ""}));
    ASSERT_TRUE(this->m_daten->ZaehlerLaden(99, kopf, zeilen));
    EXPECT_EQ(QStringList({kopf.znr, kopf.zname, kopf.mbAdr}), (QStringList{"", "", ""}));
    EXPECT_TRUE(zeilen.isEmpty());

    QList<QStringList> liste;
    ASSERT_TRUE(this->m_daten->ZaehlerListeLaden(liste)) << qPrintable(FehlerText);
    ASSERT_EQ(liste.size(), 2);
    // where a meter without port sorts depends on the database
    EXPECT_EQ(QSet<QString>({liste[0][1], liste[1][1]}), QSet<QString>({"7", "8"}));
}

TYPED_TEST(IndexExportDatenTest, missingTableIsReportedNotCrashed)
{
    this->pruefAusfuehren(QStringLiteral("DROP TABLE MBusIndexListe"));
    ZaehlerKopf kopf;
    QList<IndexExportZeile> zeilen;
    EXPECT_FALSE(this->m_daten->ZaehlerLaden(7, kopf, zeilen));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(this->m_daten->IndexSpeichern(7, {{"", "1", "x"}}), -1);
}

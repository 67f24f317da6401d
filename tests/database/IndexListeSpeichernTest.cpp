#include "ZielUmgebung.h"

#include "database/IndexListeSpeichern.h"

#include <QFile>

#include <array>

namespace {

// The parts of the master's meter record that the save reads and writes.
struct TestWert
{
    QString Art;
    QString Einheit;
    quint8 Speichern = 0;
};

struct TestZaehler
{
    qint32 LZNR = 0;
    quint8 AnzWerte = 0;
    std::array<TestWert, 256> Werte{};
};

TestZaehler ZaehlerMit(qint32 lznr, std::initializer_list<IndexListenWert> werte)
{
    TestZaehler zaehler;
    zaehler.LZNR = lznr;
    for (const IndexListenWert& wert : werte)
        zaehler.Werte[++zaehler.AnzWerte] = {wert.art, wert.einheit, 0};
    return zaehler;
}

const QString kSpalten =
    QStringLiteral("SELECT Lznr, MBIndex, Faktor, MBTyp, Art, Einheit, Speichern, Anzeigen, "
                   "Farbe, TarifNr FROM MB_IndexListe");

} // namespace

struct MBTypFall
{
    const char* einheit;
    int mbTyp;
};

class IndexListeRegelTest : public ::testing::TestWithParam<MBTypFall>
{
};

TEST_P(IndexListeRegelTest, mbTypFollowsTheUnit)
{
    EXPECT_EQ(IndexListeMBTyp(QString::fromUtf8(GetParam().einheit)), GetParam().mbTyp)
        << GetParam().einheit;
}

INSTANTIATE_TEST_SUITE_P(
    Einheiten, IndexListeRegelTest,
    ::testing::Values(MBTypFall{"kWh            ", 0}, MBTypFall{"kW             ", 1},
                      MBTypFall{"m^3/h          ", 1}, MBTypFall{"°C             ", 1},
                      MBTypFall{"m^3            ", 0}, MBTypFall{"kWh/h", 0}, MBTypFall{"MWh", 0},
                      MBTypFall{"kw", 0}, MBTypFall{"", 0}, MBTypFall{"K", 0}));

TEST(IndexListeEinheitTest, trailingBlanksGoAndNothingLeftIsOneBlank)
{
    EXPECT_EQ(IndexListeEinheit(QStringLiteral("m^3/h          ")), QStringLiteral("m^3/h"));
    EXPECT_EQ(IndexListeEinheit(QStringLiteral(" kWh ")), QStringLiteral(" kWh"));
    EXPECT_EQ(IndexListeEinheit(QStringLiteral("               ")), QStringLiteral(" "));
    EXPECT_EQ(IndexListeEinheit(QString()), QStringLiteral(" "));
}

template <class Ziel> class IndexListeSpeichernTest : public ZielUmgebung<Ziel>
{
protected:
    void SetUp() override
    {
        ZielUmgebung<Ziel>::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        for (int i = 1; i <= 3; ++i)
            this->pruefAusfuehren(
                QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex, Art, Einheit, Speichern, "
                               "Farbe) VALUES (?, ?, ?, ?, ?, ?)"),
                {7, i, QStringLiteral("alt %1").arg(i), QStringLiteral("kWh"), 0, 255});
        this->pruefAusfuehren(
            QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex, Art) VALUES (?, ?, ?)"),
            {8, 1, QStringLiteral("anderer")});
        DBParameter = this->m_ziel.parameter();
    }

    QStringList arten(int lznr)
    {
        QStringList liste;
        for (const auto& zeile : this->pruefZeilen(
                 QStringLiteral("SELECT Art FROM MB_IndexListe WHERE Lznr = ? ORDER BY MBIndex"),
                 {lznr}))
            liste << zeile[0].text();
        return liste;
    }
};

TYPED_TEST_SUITE(IndexListeSpeichernTest, DatenbankZiele, ZielName);

TYPED_TEST(IndexListeSpeichernTest, rowsOfTheMeterAreReplacedByOneRowPerValue)
{
    TestZaehler zaehler =
        ZaehlerMit(7, {{QStringLiteral("Energie        "), QStringLiteral("kWh            ")},
                       {QStringLiteral("Durchfluss     "), QStringLiteral("m^3/h          ")},
                       {QStringLiteral("Vorlauf        "), QString(15, u' ')}});
    ASSERT_EQ(MB_IndexListeSpeichern(zaehler), 3) << qPrintable(FehlerText);

    const auto zeilen =
        this->pruefZeilen(kSpalten + QStringLiteral(" WHERE Lznr = 7 ORDER BY MBIndex"));
    ASSERT_EQ(zeilen.size(), 3);
    const int mbTyp[] = {0, 1, 0};
    const QString einheit[] = {QStringLiteral("kWh"), QStringLiteral("m^3/h"), QStringLiteral(" ")};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(zeilen[i][0].ganz(), 7);
        EXPECT_EQ(zeilen[i][1].ganz(), i + 1);
        EXPECT_DOUBLE_EQ(zeilen[i][2].zahl(), 1.0);
        EXPECT_EQ(zeilen[i][3].ganz(), mbTyp[i]);
        EXPECT_EQ(zeilen[i][4].text(), zaehler.Werte[i + 1].Art); // blanks kept
        EXPECT_EQ(zeilen[i][5].text(), einheit[i]);
        EXPECT_EQ(zeilen[i][6].ganz(), 1);
        EXPECT_EQ(zeilen[i][7].ganz(), 1);
        EXPECT_TRUE(zeilen[i][8].istNull());
        EXPECT_TRUE(zeilen[i][9].istNull());
    }
    EXPECT_EQ(this->arten(8), QStringList{QStringLiteral("anderer")});
}

TYPED_TEST(IndexListeSpeichernTest, storedRecordsAreMarkedForSavingAfterTheSave)
{
    TestZaehler zaehler = ZaehlerMit(7, {{QStringLiteral("a"), QStringLiteral("kWh")},
                                         {QStringLiteral("b"), QStringLiteral("kW")}});
    zaehler.Werte[3] = {QStringLiteral("alt"), QStringLiteral("K"), 0};
    ASSERT_EQ(MB_IndexListeSpeichern(zaehler), 2) << qPrintable(FehlerText);
    EXPECT_EQ(zaehler.Werte[1].Speichern, 255);
    EXPECT_EQ(zaehler.Werte[2].Speichern, 255);
    EXPECT_EQ(zaehler.Werte[3].Speichern, 0);
    EXPECT_EQ(zaehler.Werte[0].Speichern, 0);
}

TYPED_TEST(IndexListeSpeichernTest, meterWithoutValuesLosesItsRowsAndGivesZero)
{
    TestZaehler zaehler = ZaehlerMit(7, {});
    EXPECT_EQ(MB_IndexListeSpeichern(zaehler), 0) << qPrintable(FehlerText);
    EXPECT_TRUE(this->arten(7).isEmpty());
    EXPECT_EQ(this->arten(8), QStringList{QStringLiteral("anderer")});
}

TYPED_TEST(IndexListeSpeichernTest, failureHalfWayKeepsTheOldListAndReportsIt)
{
    // two values of one kind: the second row breaks a rule of the table
    this->pruefAusfuehren(
        QStringLiteral("CREATE UNIQUE INDEX mb_indexliste_art ON MB_IndexListe (Art)"));
    TestZaehler zaehler = ZaehlerMit(7, {{QStringLiteral("Energie"), QStringLiteral("kWh")},
                                         {QStringLiteral("Energie"), QStringLiteral("kWh")},
                                         {QStringLiteral("Volumen"), QStringLiteral("m^3")}});
    FehlerText.clear();
    EXPECT_EQ(MB_IndexListeSpeichern(zaehler), -1);

    EXPECT_EQ(this->arten(7), (QStringList{"alt 1", "alt 2", "alt 3"}));
    EXPECT_EQ(this->arten(8), QStringList{QStringLiteral("anderer")});
    const QString anfang = QStringLiteral("Fehler beim Speichern der Indexliste für lznr=7 : ");
    EXPECT_TRUE(FehlerText.startsWith(anfang)) << qPrintable(FehlerText);
    EXPECT_GT(FehlerText.size(), anfang.size());
    EXPECT_EQ(this->programmlog(),
              QStringLiteral("05.12.26 12:00:00 ") + FehlerText + QStringLiteral("\r\n"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(zaehler.Werte[i].Speichern, 0) << i;
    // the connection is usable afterwards
    zaehler.Werte[2].Art = QStringLiteral("Leistung");
    EXPECT_EQ(MB_IndexListeSpeichern(zaehler), 3) << qPrintable(FehlerText);
}

TYPED_TEST(IndexListeSpeichernTest, closedSharedConnectionIsOpenedAgainForTheSave)
{
    this->verbinden();
    MB_Connection->Close();
    TestZaehler zaehler = ZaehlerMit(7, {{QStringLiteral("Energie"), QStringLiteral("kWh")}});
    EXPECT_EQ(MB_IndexListeSpeichern(zaehler), 1) << qPrintable(FehlerText);
    EXPECT_TRUE(MB_Connection->offen());
    EXPECT_EQ(this->arten(7), QStringList{QStringLiteral("Energie")});
}

class IndexListeVerbindungTest : public DatenbankUmgebung
{
};

TEST_F(IndexListeVerbindungTest, noConnectionGivesMinusOneAndChangesNothing)
{
    DBParameter = QStringList{
        QStringLiteral("1"), pfad(QStringLiteral("gibtsnicht.mdb")), {}, {}, {}, {}, {}};
    TestZaehler zaehler = ZaehlerMit(7, {{QStringLiteral("Energie"), QStringLiteral("kWh")}});
    EXPECT_EQ(MB_IndexListeSpeichern(zaehler), -1);
    EXPECT_EQ(zaehler.Werte[1].Speichern, 0);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("gibtsnicht.mdb"))));
    EXPECT_TRUE(lesen(QStringLiteral("261205ed.log")).isEmpty());
}

// Saving a meter's index list from its last answer, alike on SQLite and on the server.

#include "ZielUmgebung.h"

#include "database/IndexListeSpeichern.h"

#include <array>
#include <tuple>

namespace {

// The parts of the master's meter record that the save reads and writes.
struct TestWert
{
    QString Art, Einheit;
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

} // namespace

// (the save itself shows kWh, m^3/h and blanks only)
TEST(IndexListeRegelTest, mbTypAndStoredUnitFollowTheUnitText)
{
    const std::tuple<const char*, int, const char*> faelle[] = {
        {"kW   ", 1, "kW"}, {"°C ", 1, "°C"}, {"kWh/h", 0, "kWh/h"},
        {"kw", 0, "kw"},    {" K ", 0, " K"}, {"", 0, " "}};
    for (const auto& [einheit, mbTyp, gespeichert] : faelle) {
        EXPECT_EQ(IndexListeMBTyp(QString::fromUtf8(einheit)), mbTyp) << einheit;
        EXPECT_EQ(IndexListeEinheit(QString::fromUtf8(einheit)), QString::fromUtf8(gespeichert));
    }
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

TYPED_TEST(IndexListeSpeichernTest, rowsOfTheMeterAreReplacedByOneRowPerValueAndMarked)
{
    TestZaehler zaehler =
        ZaehlerMit(7, {{QStringLiteral("Energie        "), QStringLiteral("kWh            ")},
                       {QStringLiteral("Durchfluss     "), QStringLiteral("m^3/h          ")},
                       {QStringLiteral("Vorlauf        "), QString(15, u' ')}});
    zaehler.Werte[4] = {QStringLiteral("alt"), QStringLiteral("K"), 0};
    ASSERT_EQ(MB_IndexListeSpeichern(zaehler), 3) << qPrintable(FehlerText);

    const auto zeilen = this->pruefZeilen(
        QStringLiteral("SELECT Lznr, MBIndex, Faktor, MBTyp, Art, Einheit, Speichern, Anzeigen, "
                       "Farbe, TarifNr FROM MB_IndexListe WHERE Lznr = 7 ORDER BY MBIndex"));
    ASSERT_EQ(zeilen.size(), 3);
    const int mbTyp[] = {0, 1, 0};
    const QString einheit[] = {QStringLiteral("kWh"), QStringLiteral("m^3/h"), QStringLiteral(" ")};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QList<Feldwert>& z = zeilen[i];
        EXPECT_EQ(QList<qint64>({z[0].ganz(), z[1].ganz(), z[2].ganz(), z[3].ganz()}),
                  QList<qint64>({7, i + 1, 1, mbTyp[i]}));
        EXPECT_EQ(z[4].text(), zaehler.Werte[i + 1].Art); // blanks kept
        EXPECT_EQ(z[5].text(), einheit[i]);
        EXPECT_EQ(z[6].ganz() * 10 + z[7].ganz(), 11);
        EXPECT_TRUE(z[8].istNull() && z[9].istNull());
        EXPECT_EQ(zaehler.Werte[i + 1].Speichern, 255);
    }
    EXPECT_EQ(zaehler.Werte[0].Speichern + zaehler.Werte[4].Speichern, 0);
    EXPECT_EQ(this->arten(8), QStringList{QStringLiteral("anderer")});

    TestZaehler ohneWerte = ZaehlerMit(7, {});
    EXPECT_EQ(MB_IndexListeSpeichern(ohneWerte), 0) << qPrintable(FehlerText);
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

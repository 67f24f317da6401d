#include "grid/GridHilfen.h"

#include "FlexGridVerhalten.h"
#include "grid/GridModell.h"
#include "platform/Global.h"

#include <QDir>

class GridHilfenTest : public TestUmgebung
{
protected:
    GridModell m_grid;
    QString m_trenner;
    QString m_formate;
};

// ---- FlexGridExport ----------------------------------------------------------------------

TEST_F(GridHilfenTest, exportSchreibtJedeZeileMitTrennerAmEndeInWindows1252MitCrLf)
{
    Fuellen(m_grid, {QStringLiteral("Primär|ID"), QStringLiteral("Wärmezähler|12345678")});
    ASSERT_TRUE(FlexGridExport(m_grid, QStringLiteral("liste.txt"), m_trenner, m_formate));
    EXPECT_EQ(lesen(QStringLiteral("liste.txt")),
              QByteArray("Prim\xe4r\tID\t\r\nW\xe4rmez\xe4hler\t12345678\t\r\n"));
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(GridHilfenTest, exportMitLeeremTrennerSetztTabAuchBeimAufrufer)
{
    Fuellen(m_grid, {QStringLiteral("a|b")});
    ASSERT_TRUE(FlexGridExport(m_grid, QStringLiteral("liste.txt"), m_trenner, m_formate));
    EXPECT_EQ(m_trenner, QStringLiteral("\t"));
}

TEST_F(GridHilfenTest, exportSchreibtDenGegebenenTrenner)
{
    Fuellen(m_grid, {QStringLiteral("a|b"), QStringLiteral("|c")});
    m_trenner = QStringLiteral(";");
    ASSERT_TRUE(FlexGridExport(m_grid, QStringLiteral("liste.txt"), m_trenner, m_formate));
    EXPECT_EQ(lesen(QStringLiteral("liste.txt")), QByteArray("a;b;\r\n;c;\r\n"));
}

TEST_F(GridHilfenTest, exportUeberspringtVersteckteSpalten)
{
    Fuellen(m_grid, {QStringLiteral("a|b|c|d"), QStringLiteral("1|2|3|4")});
    m_grid.setColWidth(1, 0);
    m_grid.setColWidth(3, 1);
    ASSERT_TRUE(FlexGridExport(m_grid, QStringLiteral("liste.txt"), m_trenner, m_formate));
    EXPECT_EQ(lesen(QStringLiteral("liste.txt")), QByteArray("a\tc\t\r\n1\t3\t\r\n"));
}

TEST_F(GridHilfenTest, exportFormatiertDieSpaltenNachDerFormatliste)
{
    Fuellen(m_grid, {QStringLiteral("Nr|Wert|Zeit"), QStringLiteral("7|12.5|07.12.2026 08:15:30"),
                     QStringLiteral("8|leer|")});
    m_formate = QStringLiteral(";0.000;yymmddhhnn;");
    ASSERT_TRUE(FlexGridExport(m_grid, QStringLiteral("liste.txt"), m_trenner, m_formate));
    EXPECT_EQ(lesen(QStringLiteral("liste.txt")),
              QByteArray("Nr\tWert\tZeit\t\r\n7\t12,500\t2612070815\t\r\n8\tleer\t\t\r\n"));
}

TEST_F(GridHilfenTest, exportErsetztEineVorhandeneDatei)
{
    schreiben(QStringLiteral("liste.txt"), QByteArray(200, 'x'));
    Fuellen(m_grid, {QStringLiteral("a")});
    ASSERT_TRUE(FlexGridExport(m_grid, QStringLiteral("liste.txt"), m_trenner, m_formate));
    EXPECT_EQ(lesen(QStringLiteral("liste.txt")), QByteArray("a\t\r\n"));
}

TEST_F(GridHilfenTest, exportLoestWindowsPfadeOhneRuecksichtAufGrossschreibungAuf)
{
    QDir().mkdir(pfad(QStringLiteral("Daten")));
    Fuellen(m_grid, {QStringLiteral("a")});
    ASSERT_TRUE(
        FlexGridExport(m_grid, QStringLiteral(".\\DATEN\\Liste.txt"), m_trenner, m_formate));
    EXPECT_EQ(lesen(QStringLiteral("Daten/Liste.txt")), QByteArray("a\t\r\n"));
}

TEST_F(GridHilfenTest, exportInEinenFehlendenOrdnerMeldetDenFehler)
{
    Fuellen(m_grid, {QStringLiteral("a")});
    EXPECT_FALSE(FlexGridExport(m_grid, QStringLiteral("fehlt\\liste.txt"), m_trenner, m_formate));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(m_meldungen.texte,
              QStringList{QStringLiteral("Fehler beim speichern der Datei fehlt\\liste.txt\r"
                                         "Bitte versuchen Sie es erneut")});
}

TEST_F(GridHilfenTest, exportAufEinenOrdnerMeldetDenFehler)
{
    QDir().mkdir(pfad(QStringLiteral("ordner")));
    Fuellen(m_grid, {QStringLiteral("a")});
    EXPECT_FALSE(FlexGridExport(m_grid, QStringLiteral("ordner"), m_trenner, m_formate));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(m_meldungen.texte,
              QStringList{QStringLiteral("Fehler beim speichern der Datei ordner\r"
                                         "Bitte versuchen Sie es erneut")});
    EXPECT_TRUE(QFileInfo(pfad(QStringLiteral("ordner"))).isDir());
}

TEST_F(GridHilfenTest, exportUndImportBehaltenDieSichtbarenSpalten)
{
    Fuellen(m_grid, {QStringLiteral("Primär|intern|Medium"), QStringLiteral("1|x|Wärme"),
                     QStringLiteral("2|y|"), QStringLiteral("3|z|Gas")});
    m_grid.setColWidth(1, 0);
    ASSERT_TRUE(FlexGridExport(m_grid, QStringLiteral("liste.txt"), m_trenner, m_formate));

    GridModell gelesen;
    ASSERT_TRUE(DateiInFlexGrid(gelesen, QStringLiteral("liste.txt"), true, QStringLiteral("\t")));
    EXPECT_EQ(Inhalt(gelesen),
              QStringList({QStringLiteral("Primär|Medium"), QStringLiteral("1|Wärme"),
                           QStringLiteral("2|"), QStringLiteral("3|Gas")}));
}

// ---- DateiInFlexGrid ---------------------------------------------------------------------

TEST_F(GridHilfenTest, dateiMitKopfzeileGibtZeileNullUndKeineFestenZeilen)
{
    schreiben(QStringLiteral("liste.txt"), "Prim\xe4r\tID\t\r\n1\t123\t\r\n");
    ASSERT_TRUE(DateiInFlexGrid(m_grid, QStringLiteral("liste.txt"), true, QStringLiteral("\t")));
    EXPECT_EQ(Inhalt(m_grid), QStringList({QStringLiteral("Primär|ID"), QStringLiteral("1|123")}));
    EXPECT_EQ(m_grid.FixedRows(), 0);
    EXPECT_EQ(m_grid.FixedCols(), 0);
}

TEST_F(GridHilfenTest, dateiOhneKopfzeileBekommtFeldUeberschriften)
{
    schreiben(QStringLiteral("liste.txt"), "a;b;c\r\nd;e;f\r\n");
    ASSERT_TRUE(DateiInFlexGrid(m_grid, QStringLiteral("liste.txt"), false, QStringLiteral(";")));
    EXPECT_EQ(Inhalt(m_grid), QStringList({QStringLiteral("Feld 1|Feld 2|Feld 3"),
                                           QStringLiteral("a|b|c"), QStringLiteral("d|e|f")}));
}

TEST_F(GridHilfenTest, spaltenAnzahlGibtDieSpaltenDerErstenZeileVor)
{
    schreiben(QStringLiteral("liste.txt"), "a;b\r\n");
    ASSERT_TRUE(
        DateiInFlexGrid(m_grid, QStringLiteral("liste.txt"), false, QStringLiteral(";"), 4));
    EXPECT_EQ(Inhalt(m_grid), QStringList({QStringLiteral("Feld 1|Feld 2|Feld 3|Feld 4"),
                                           QStringLiteral("a|b||")}));
}

TEST_F(GridHilfenTest, eineBreitereSpaetereZeileVerbreitertDasGitter)
{
    schreiben(QStringLiteral("liste.txt"), "a;b\r\nc;d;e\r\n");
    ASSERT_TRUE(DateiInFlexGrid(m_grid, QStringLiteral("liste.txt"), true, QStringLiteral(";")));
    EXPECT_EQ(Inhalt(m_grid), QStringList({QStringLiteral("a|b|"), QStringLiteral("c|d|e")}));

    ASSERT_TRUE(DateiInFlexGrid(m_grid, QStringLiteral("liste.txt"), false, QStringLiteral(";")));
    EXPECT_EQ(Inhalt(m_grid), QStringList({QStringLiteral("Feld 1|Feld 2|Feld 3"),
                                           QStringLiteral("a|b|"), QStringLiteral("c|d|e")}));
}

TEST_F(GridHilfenTest, fehlendeDateiSetztFehlerTextUndLaesstEinLeeresGitter)
{
    Fuellen(m_grid, {QStringLiteral("a|b"), QStringLiteral("c|d")});
    EXPECT_FALSE(DateiInFlexGrid(m_grid, QStringLiteral("fehlt.txt"), true, QStringLiteral("\t")));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(m_grid.Rows(), 0);
    EXPECT_EQ(m_grid.Cols(), 0);
}

TEST_F(GridHilfenTest, eineZeileDieDasGitterNichtFasstBeendetDasLesenMitDenZeilenDavor)
{
    QByteArray breit = "x";
    for (int i = 0; i < FlexGrid::kMaxSpalten; ++i)
        breit += ";x";
    schreiben(QStringLiteral("liste.txt"), "a;b\r\nc;d\r\n" + breit + "\r\ne;f\r\n");
    EXPECT_FALSE(DateiInFlexGrid(m_grid, QStringLiteral("liste.txt"), true, QStringLiteral(";")));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(Inhalt(m_grid), QStringList({QStringLiteral("a|b"), QStringLiteral("c|d")}));
}

TEST_F(GridHilfenTest, leereZeilenWerdenUebersprungen)
{
    schreiben(QStringLiteral("liste.txt"), "a;b\r\n\r\n   \r\nc;d\n\nd;e");
    ASSERT_TRUE(DateiInFlexGrid(m_grid, QStringLiteral("liste.txt"), true, QStringLiteral(";")));
    EXPECT_EQ(Inhalt(m_grid),
              QStringList({QStringLiteral("a|b"), QStringLiteral("c|d"), QStringLiteral("d|e")}));
}

TEST_F(GridHilfenTest, oemUmlauteWerdenZuWindowsZeichen)
{
    schreiben(QStringLiteral("liste.txt"), "Z\x84hler;Stra\xe1"
                                           "e;\x81"
                                           "ber;\x8e\x99\x9a\x94;W\xe4rme\r\n");
    ASSERT_TRUE(DateiInFlexGrid(m_grid, QStringLiteral("liste.txt"), true, QStringLiteral(";")));
    EXPECT_EQ(Inhalt(m_grid), QStringList{QStringLiteral("Zähler|Straße|über|ÄÖÜö|Wärme")});
}

TEST_F(GridHilfenTest, dateinameWirdOhneRuecksichtAufGrossschreibungGefunden)
{
    schreiben(QStringLiteral("liste.txt"), "a;b\r\n");
    ASSERT_TRUE(DateiInFlexGrid(m_grid, QStringLiteral(".\\LISTE.TXT"), true, QStringLiteral(";")));
    EXPECT_EQ(Inhalt(m_grid), QStringList{QStringLiteral("a|b")});
}

// ---- ArrayInFlexGrid ---------------------------------------------------------------------

TEST_F(GridHilfenTest, arrayZeilenFolgenDerKopfzeileUndDieLetzteSpalteFaelltWeg)
{
    Fuellen(m_grid, {QStringLiteral("ZQ|LZNR|Name"), QStringLiteral("alt|alt|alt"),
                     QStringLiteral("alt|alt|alt")});
    const QList<QStringList> feld = {{"1", "10", "Nord", ""}, {"2", "20", "Süd", ""}};
    ASSERT_TRUE(ArrayInFlexGrid(m_grid, feld));
    EXPECT_EQ(Inhalt(m_grid),
              QStringList({QStringLiteral("ZQ|LZNR|Name"), QStringLiteral("1|10|Nord"),
                           QStringLiteral("2|20|Süd")}));
}

TEST_F(GridHilfenTest, arrayMitEinerZeileGibtEineDatenzeile)
{
    ASSERT_TRUE(ArrayInFlexGrid(m_grid, {{"a", "b", ""}}));
    EXPECT_EQ(Inhalt(m_grid), QStringList({QStringLiteral("|"), QStringLiteral("a|b")}));
}

TEST_F(GridHilfenTest, leeresArraySetztFehlerTextUndLaesstDieKopfzeile)
{
    Fuellen(m_grid, {QStringLiteral("K|L"), QStringLiteral("a|b"), QStringLiteral("c|d")});
    EXPECT_FALSE(ArrayInFlexGrid(m_grid, {}));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(Inhalt(m_grid), QStringList({QStringLiteral("K|L"), QStringLiteral("|")}));
}

TEST_F(GridHilfenTest, arrayInEinGitterOhneZeilenSetztFehlerText)
{
    m_grid.setRows(0);
    EXPECT_FALSE(ArrayInFlexGrid(m_grid, {{"a", "b", ""}}));
    EXPECT_FALSE(FehlerText.isEmpty());
}

// ---- FlexGridSpaltenbreiten --------------------------------------------------------------

TEST_F(GridHilfenTest, spaltenbreitePasstZumLaengstenTextMitZweiZeichenRand)
{
    Fuellen(m_grid, {QStringLiteral("Primär|ID"), QStringLiteral("1|12345678901")});
    FlexGridSpaltenbreiten(m_grid);
    EXPECT_EQ(m_grid.ColWidth(0), m_grid.TextBreiteTwips(QStringLiteral("AAPrimär")));
    EXPECT_EQ(m_grid.ColWidth(1), m_grid.TextBreiteTwips(QStringLiteral("AA12345678901")));
}

TEST_F(GridHilfenTest, spaltenbreitenZeigenVersteckteSpaltenWieder)
{
    Fuellen(m_grid, {QStringLiteral("a|b")});
    m_grid.setColWidth(1, 0);
    FlexGridSpaltenbreiten(m_grid);
    EXPECT_GT(m_grid.ColWidth(1), 0);
}

TEST_F(GridHilfenTest, spaltenbreitenOhneZeilenLassenDieSpaltenSichtbar)
{
    m_grid.setRows(0);
    FlexGridSpaltenbreiten(m_grid);
    EXPECT_EQ(m_grid.ColWidth(0), m_grid.TextBreiteTwips(QStringLiteral("AA")));
}

// The editor window on basis.mdb and on the server: choosing, loading and saving a meter, the
// cell editor and the settings.

#include "database/ZielUmgebung.h"

#include "indexexport/Zelleneditor.h"
#include "indexexport/frmMBusEditIndexExport.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"
#include "ui/FlexGridWidget.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <type_traits>

template <class Ziel> class IndexExportFensterTest : public ZielUmgebung<Ziel>
{
protected:
    void SetUp() override
    {
        ZielUmgebung<Ziel>::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        this->schreiben(QStringLiteral("ZEP.INI"),
                        "[ZEP]\r\nZEPMandant=1320\r\nDBPATH1320=.\\\r\n[1320]\r\n"
                        "DatenPath=.\\daten\\\r\nVorWert=12\r\n");
        // A and B on port 1, a meter of another source that the list leaves out
        this->pruefAusfuehren(QStringLiteral(
            "INSERT INTO zaehler (LZNR, ZNr, ZNAME, ZQUELLE, MBAdr, MBComP, MBBaud) VALUES "
            "(7, 'A-Nr', 'A', 'M-Bus', 5, 1, 2400), (8, 'B-Nr', 'B', 'M-Bus', 6, 1, 2400), "
            "(9, 'C-Nr', 'C', 'Hand', 1, 1, 2400)"));
        for (const auto& [lznr, index, text] :
             {std::tuple{7, 1, "Energie"}, {7, 2, "Volumen"}, {8, 4, "Leistung"}})
            this->pruefAusfuehren(
                QStringLiteral("INSERT INTO MBusIndexListe (Lznr, MBIndex, Text) VALUES (?, ?, ?)"),
                {lznr, index, QString::fromUtf8(text)});
    }
    void TearDown() override
    {
        m_fenster.reset();
        ZielUmgebung<Ziel>::TearDown();
    }

    frmMBusEditIndexExport& oeffnen()
    {
        std::unique_ptr<IndexExportDaten> daten;
        if constexpr (std::is_same_v<Ziel, ServerZiel>) {
            this->verbinden();
            daten = std::make_unique<IndexExportDaten>(*MB_Connection);
        }
        m_fenster = std::make_unique<frmMBusEditIndexExport>(std::move(daten));
        return *m_fenster;
    }
    // Picks a row of the meter list as a click would.
    void waehlen(int zeile)
    {
        m_fenster->ui().MSFlexGrid1->setRow(zeile);
        m_fenster->MSFlexGrid1_SelChange();
    }
    QStringList gespeichert(int lznr)
    {
        QStringList liste;
        for (const auto& zeile : this->pruefZeilen(
                 QStringLiteral("SELECT MBIndex, Text FROM MBusIndexListe WHERE Lznr = ? "
                                "ORDER BY MBIndex"),
                 {lznr}))
            liste << zeile[0].text() + u' ' + zeile[1].text();
        return liste;
    }
    QStringList indexGrid() const
    {
        QStringList liste;
        for (const IndexExportZeile& zeile : IndexZeilenAusGrid(*m_fenster->ui().MSFlexGrid2))
            liste << zeile.index + u' ' + zeile.text;
        return liste;
    }

    std::unique_ptr<frmMBusEditIndexExport> m_fenster;
};

TYPED_TEST_SUITE(IndexExportFensterTest, DatenbankZiele, ZielName);

TYPED_TEST(IndexExportFensterTest, deletePathSavesTheChosenMetersOwnRowsNotTheOnesShownBefore)
{
    frmMBusEditIndexExport& f = this->oeffnen();
    ASSERT_EQ(f.ui().MSFlexGrid1->Rows(), 3) << qPrintable(this->m_meldungen.texte.join(u'|'));
    this->waehlen(1);
    f.cmdAendern_Click();
    EXPECT_EQ(this->indexGrid(), (QStringList{"1 Energie", "2 Volumen"}));
    f.cmdAbbrechen_Click();

    this->waehlen(2);
    f.cmdLoeschen_Click();
    EXPECT_TRUE(f.bearbeitungSichtbar());
    EXPECT_TRUE(f.ui().cmdSpeichern->isHidden());
    EXPECT_EQ(f.ui().Label5->text(), QStringLiteral("8"));
    EXPECT_EQ(f.ui().Text1[1]->text(), QStringLiteral("B"));
    EXPECT_EQ(this->indexGrid(), QStringList{"4 Leistung"});
    f.cmdLoeschenausfuehren_Click();
    EXPECT_FALSE(f.ui().cmdSpeichern->isHidden());
    f.cmdSpeichern_Click();

    EXPECT_FALSE(f.bearbeitungSichtbar());
    EXPECT_EQ(this->gespeichert(8), QStringList{"4 Leistung"});
    EXPECT_EQ(this->gespeichert(7), (QStringList{"1 Energie", "2 Volumen"}));
    EXPECT_TRUE(this->m_meldungen.texte.isEmpty())
        << qPrintable(this->m_meldungen.texte.join(u'|'));
}

TYPED_TEST(IndexExportFensterTest, databaseWithoutTheExportTableGetsItAtLoad)
{
    this->pruefAusfuehren(QStringLiteral("DROP TABLE MBusIndexListe"));
    frmMBusEditIndexExport& f = this->oeffnen();
    this->waehlen(1);
    f.cmdAendern_Click();
    ASSERT_TRUE(f.bearbeitungSichtbar()) << qPrintable(this->m_meldungen.texte.join(u'|'));
    EXPECT_EQ(this->indexGrid(), QStringList{" "});
    f.ui().Text2->setText(QStringLiteral("3")); // the editor stands on (1, 1)
    f.cmdSpeichern_Click();
    EXPECT_EQ(this->gespeichert(7), QStringList{"3 "});
    EXPECT_TRUE(this->m_meldungen.texte.isEmpty())
        << qPrintable(this->m_meldungen.texte.join(u'|'));
}

TYPED_TEST(IndexExportFensterTest, typedCellsAndNewRowsAreSavedThroughTheCellEditor)
{
    frmMBusEditIndexExport& f = this->oeffnen();
    this->waehlen(1);
    f.cmdAendern_Click();
    Zelleneditor* editor = f.ui().Text2;
    ASSERT_FALSE(editor->isHidden());
    EXPECT_EQ(f.editorZelle(), (Zelle{1, 1}));
    EXPECT_EQ(editor->text(), QStringLiteral("1"));

    // Tab in the last column of row 2 leads to a new row 3; the text goes to its own cell
    f.cmdNeu_Click();
    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_Right);
    editor->setText(QStringLiteral("Volumen neu"));
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(f.editorZelle(), (Zelle{3, 1}));
    EXPECT_EQ(f.ui().MSFlexGrid2->TextMatrix(2, 2), QStringLiteral("Volumen neu"));
    EXPECT_TRUE(f.ui().MSFlexGrid2->TextMatrix(3, 1).isEmpty());
    editor->setText(QStringLiteral(" 3"));
    QTest::keyClick(editor, Qt::Key_Right);
    editor->setText(QStringLiteral("Durchfluss"));
    QTest::keyClick(editor, Qt::Key_Left);
    QTest::keyClick(editor, Qt::Key_Up);
    editor->setText(QString());
    QTest::keyClick(editor, Qt::Key_Right);
    editor->setText(QString());
    QTest::keyClick(editor, Qt::Key_Left);
    QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(editor, Qt::Key_Left);
    EXPECT_EQ(f.editorZelle(), (Zelle{1, 1}));
    editor->setText(QStringLiteral("2"));
    f.cmdSpeichern_Click(); // the open editor's text is saved too

    // rows 2 (index and text now empty, dropped), 1 and 3 in grid order
    EXPECT_EQ(this->gespeichert(7), (QStringList{"2 Energie", "3 Durchfluss"}));
    EXPECT_EQ(this->gespeichert(8), QStringList{"4 Leistung"});
}

TYPED_TEST(IndexExportFensterTest, failedSaveKeepsTheEditFrameAndTheStoredRows)
{
    frmMBusEditIndexExport& f = this->oeffnen();
    this->pruefAusfuehren(QStringLiteral(
        "CREATE UNIQUE INDEX mbusindexliste_eindeutig ON MBusIndexListe (Lznr, MBIndex)"));
    this->waehlen(1);
    f.cmdAendern_Click();
    f.ui().Text2->setText(QStringLiteral("2")); // a second index 2
    f.cmdSpeichern_Click();
    EXPECT_TRUE(f.bearbeitungSichtbar());
    ASSERT_EQ(this->m_meldungen.texte.size(), 1);
    EXPECT_TRUE(this->m_meldungen.texte[0].startsWith(
        QString::fromUtf8("Die Indexliste des Zählers 7 wurde nicht gespeichert")))
        << qPrintable(this->m_meldungen.texte[0]);
    EXPECT_EQ(this->gespeichert(7), (QStringList{"1 Energie", "2 Volumen"}));
    EXPECT_EQ(this->indexGrid(), (QStringList{"2 Energie", "2 Volumen"}));
}

TYPED_TEST(IndexExportFensterTest, listWithoutMetersOpensNothing)
{
    this->pruefAusfuehren(QStringLiteral("DELETE FROM zaehler"));
    frmMBusEditIndexExport& f = this->oeffnen();
    EXPECT_EQ(f.ui().MSFlexGrid1->Rows(), 2);
    f.cmdAendern_Click();
    f.cmdLoeschen_Click();
    f.MSFlexGrid1_DblClick();
    EXPECT_FALSE(f.bearbeitungSichtbar());
    EXPECT_EQ(f.aktuellerZaehler(), std::nullopt);
}

TYPED_TEST(IndexExportFensterTest, meterWithoutPortDoesNotHideTheList)
{
    this->pruefAusfuehren(QStringLiteral("UPDATE zaehler SET MBComP = NULL WHERE LZNR = 8"));
    frmMBusEditIndexExport& f = this->oeffnen();
    const FlexGridWidget& liste = *f.ui().MSFlexGrid1;
    ASSERT_EQ(liste.Rows(), 3);
    EXPECT_EQ(QSet<QString>({liste.TextMatrix(1, 5), liste.TextMatrix(2, 5)}),
              QSet<QString>({"A", "B"}));
}

const QString kNichtGespeichert =
    QStringLiteral("Die Indexliste des Zählers 7 wurde nicht gespeichert, ein Index muss eine "
                   "ganze Zahl ab 0 sein und eine Zeile mit Text braucht einen Index (eine ganz "
                   "leere Zeile entfällt):\n");

TYPED_TEST(IndexExportFensterTest, indexThatIsNoWholeNumberIsNamedAndKeepsTheFrameOpen)
{
    frmMBusEditIndexExport& f = this->oeffnen();
    this->waehlen(1);
    f.cmdAendern_Click();
    f.cmdNeu_Click();
    FlexGridWidget& grid = *f.ui().MSFlexGrid2;
    for (const char* index : {"3.0", "2,0", "abc"}) {
        this->m_meldungen.texte.clear();
        grid.setTextMatrix(3, 1, QString::fromLatin1(index));
        grid.setTextMatrix(3, 2, QStringLiteral("Durchfluss"));
        f.cmdSpeichern_Click();
        EXPECT_TRUE(f.bearbeitungSichtbar()) << index;
        EXPECT_EQ(this->m_meldungen.texte,
                  QStringList(kNichtGespeichert + QStringLiteral("Zeile 3: ") +
                              QString::fromLatin1(index)));
        EXPECT_EQ(this->gespeichert(7), (QStringList{"1 Energie", "2 Volumen"})) << index;
    }
    grid.setTextMatrix(3, 1, QStringLiteral(" 3 "));
    f.cmdSpeichern_Click();
    EXPECT_FALSE(f.bearbeitungSichtbar());
    EXPECT_EQ(this->gespeichert(7), (QStringList{"1 Energie", "2 Volumen", "3 Durchfluss"}));
}

TYPED_TEST(IndexExportFensterTest, textWithoutIndexAndNegativeIndexAreNamedTogether)
{
    frmMBusEditIndexExport& f = this->oeffnen();
    this->waehlen(1);
    f.cmdAendern_Click();
    f.cmdNeu_Click();
    f.cmdNeu_Click();
    f.cmdNeu_Click();
    FlexGridWidget& grid = *f.ui().MSFlexGrid2;
    grid.setTextMatrix(2, 1, QString()); // the text of row 2 would be lost
    grid.setTextMatrix(3, 1, QStringLiteral("-1"));
    grid.setTextMatrix(3, 2, QStringLiteral("Durchfluss"));
    grid.setTextMatrix(4, 1, QStringLiteral("x"));
    grid.setTextMatrix(4, 2, QStringLiteral("Leistung"));
    // row 5 stays empty: it is dropped without a word
    f.cmdSpeichern_Click();
    EXPECT_TRUE(f.bearbeitungSichtbar());
    EXPECT_EQ(this->m_meldungen.texte,
              QStringList(kNichtGespeichert +
                          QStringLiteral("Zeile 2: kein Index zum Text \"Volumen\"\nZeile 3: "
                                         "-1\nZeile 4: x")));
    EXPECT_EQ(this->gespeichert(7), (QStringList{"1 Energie", "2 Volumen"}));

    this->m_meldungen.texte.clear();
    grid.setTextMatrix(2, 1, QStringLiteral("2"));
    grid.setTextMatrix(3, 1, QStringLiteral("0"));
    grid.setTextMatrix(4, 1, QString());
    grid.setTextMatrix(4, 2, QStringLiteral("  "));
    f.cmdSpeichern_Click();
    EXPECT_FALSE(f.bearbeitungSichtbar());
    EXPECT_TRUE(this->m_meldungen.texte.isEmpty())
        << qPrintable(this->m_meldungen.texte.join(u'|'));
    EXPECT_EQ(this->gespeichert(7), (QStringList{"0 Durchfluss", "1 Energie", "2 Volumen"}));
}

// Window behaviour that does not depend on the database kind.
class IndexExportFenster : public IndexExportFensterTest<SqliteZiel>
{
};

TEST_F(IndexExportFenster, emptyExportPathIsFilledWithTheDataFolderAndBothKeysAreWritten)
{
    frmMBusEditIndexExport& f = oeffnen();
    EXPECT_EQ(f.ui().Text3->text(), QStringLiteral(".\\daten\\"));
    EXPECT_EQ(f.ui().Text4->text(), QStringLiteral("12"));
    EXPECT_EQ(f.ui().Label4[1]->text(), QStringLiteral(".\\daten\\yymmddmb.txt"));
    EXPECT_EQ(ProfilLesen("1320", "MBusExportIndexDatei", "-", kZepIni), ".\\daten\\");
    QTest::keyClicks(f.ui().Text4, QStringLiteral("3"));
    EXPECT_EQ(ProfilLesen("1320", "VorWert", "-", kZepIni), QStringLiteral("123"));
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join(u'|'));
}

TEST_F(IndexExportFenster, settingThatCannotBeWrittenIsReportedOnce)
{
    frmMBusEditIndexExport& f = oeffnen();
    ASSERT_TRUE(QFile::remove(pfad(QStringLiteral("ZEP.INI"))));
    ASSERT_TRUE(QDir().mkdir(pfad(QStringLiteral("ZEP.INI")))); // cannot be written as a file
    QTest::keyClicks(f.ui().Text4, QStringLiteral("34"));
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].startsWith(
        QStringLiteral("Die Einstellung VorWert konnte nicht gespeichert werden")))
        << qPrintable(m_meldungen.texte[0]);
    ASSERT_TRUE(QDir().rmdir(pfad(QStringLiteral("ZEP.INI"))));
    QTest::keyClicks(f.ui().Text4, QStringLiteral("5"));
    EXPECT_EQ(ProfilLesen("1320", "VorWert", "-", kZepIni), QStringLiteral("12345"));
    EXPECT_EQ(m_meldungen.texte.size(), 1);
}

TEST_F(IndexExportFenster, clipboardGetsTheWholeListAndTheListIsMarkedWhole)
{
    frmMBusEditIndexExport& f = oeffnen();
    f.cmdZwischen_Click();
    const QString text = QGuiApplication::clipboard()->text();
    const QStringList zeilen = text.split(u'\n');
    ASSERT_EQ(zeilen.size(), 4) << qPrintable(text); // three rows, each ended by "\n"
    EXPECT_TRUE(zeilen[0].startsWith(QStringLiteral("ZQUELLE\tLZNR\tMBus Adresse\t")));
    EXPECT_EQ(zeilen[2], QStringLiteral("\t8\t6\t1\t2400\tB\t\t\tB-Nr\t\t"));
    const FlexGridWidget& liste = *f.ui().MSFlexGrid1;
    EXPECT_EQ(QList<int>({liste.Row(), liste.Col(), liste.RowSel(), liste.ColSel()}),
              QList<int>({0, 0, 2, 10}));
}

TEST_F(IndexExportFenster, cellEditorEndsAtTheRightEdgeOfTheVisibleGrid)
{
    frmMBusEditIndexExport& f = oeffnen();
    f.resize(420, 400);
    waehlen(1);
    f.cmdAendern_Click();
    QTest::keyClick(f.ui().Text2, Qt::Key_Right);
    FlexGridWidget& grid = *f.ui().MSFlexGrid2;
    ASSERT_EQ(f.editorZelle(), (Zelle{1, 2}));
    const QRect zelle = grid.zellenRechteck();
    const QRect editor = f.ui().Text2->geometry();
    ASSERT_GT(zelle.right(), grid.viewport()->geometry().right());
    EXPECT_EQ(editor.right(), grid.viewport()->geometry().right());
    EXPECT_EQ(editor.left(), zelle.left());
    EXPECT_EQ(f.ui().Text2->text(), QStringLiteral("Energie"));
}

TEST_F(IndexExportFenster, missingDatabaseIsReportedAndTheWindowStaysUsable)
{
    schreiben(QStringLiteral("ZEP.INI"), "[ZEP]\r\nZEPMandant=1320\r\nDBPATH1320=.\\fehlt\\\r\n");
    frmMBusEditIndexExport& f = oeffnen();
    ASSERT_FALSE(m_meldungen.texte.isEmpty());
    EXPECT_TRUE(m_meldungen.texte[0].startsWith(
        QString::fromUtf8("Die Zählerliste konnte nicht aus der Datenbank .\\fehlt\\basis.mdb "
                          "gelesen werden:\n")))
        << qPrintable(m_meldungen.texte[0]);
    EXPECT_EQ(f.ui().MSFlexGrid1->Rows(), 2);
    f.cmdAendern_Click();
    EXPECT_FALSE(f.bearbeitungSichtbar());
    EXPECT_TRUE(f.isVisible());
}

TEST_F(IndexExportFenster, meterThatCannotBeLoadedIsNotOpenedForSaving)
{
    frmMBusEditIndexExport& f = oeffnen();
    pruefAusfuehren(QStringLiteral("ALTER TABLE MBusIndexListe RENAME TO MBusIndexListeWeg"));
    waehlen(1);
    f.cmdAendern_Click();
    EXPECT_FALSE(f.bearbeitungSichtbar());
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].startsWith(QString::fromUtf8("Der Zähler 7 konnte nicht")));
    f.cmdSpeichern_Click();
    pruefAusfuehren(QStringLiteral("ALTER TABLE MBusIndexListeWeg RENAME TO MBusIndexListe"));
    EXPECT_EQ(gespeichert(7), (QStringList{"1 Energie", "2 Volumen"}));
}

TEST_F(IndexExportFenster, meterBoxesShowTheMeterButTakeNoInput)
{
    frmMBusEditIndexExport& f = oeffnen();
    waehlen(1);
    f.cmdAendern_Click();
    const QStringList vorher = {"A-Nr", "A", "5"};
    for (int i = 0; i < 3; ++i) {
        QLineEdit* box = f.ui().Text1[static_cast<size_t>(i)];
        EXPECT_EQ(box->text(), vorher[i]);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("99"));
        EXPECT_EQ(box->text(), vorher[i]);
    }
}

// The window "Import Log Datei": start-up, design texts, the buttons during a run and while a
// master cycle runs, closing during a run, the viewer handlers and the layout at 1280x800.

#include "ImportUmgebung.h"

#include "master/importlog/frmImportLogFile.h"
#include "settings/Einstellungen.h"
#include "ui/FlexGridWidget.h"
#include "zugang/UserConfig.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class frmImportLogFileTest : public ImportUmgebung
{
protected:
    void SetUp() override
    {
        ImportUmgebung::SetUp();
        m_uhr.stellen(zeit(2026, 12, 6, 9, 30));
    }
    void TearDown() override
    {
        m_fenster.reset();
        KommandozeileZuruecksetzen();
        ProgrammordnerSetzen(QString());
        ImportUmgebung::TearDown();
    }
    frmImportLogFile& oeffnen()
    {
        m_fenster = std::make_unique<frmImportLogFile>();
        m_fenster->show();
        return *m_fenster;
    }
    std::unique_ptr<frmImportLogFile> m_fenster;
};

TEST_F(frmImportLogFileTest, startUpWithoutClientReadsTheSettingsAndShowsTheDesignTexts)
{
    Mandant.clear();
    DBPath.clear();
    ProgrammordnerSetzen(pfad(QStringLiteral("programm")));
    KommandozeileSetzen(QString());
    schreiben(QStringLiteral("ZEP.INI"),
              "[ZEP]\r\nDBPATH1320=.\\DB1320\\\r\n[1320MBus]\r\nRB6_StandardGroesse=400\r\n");
    frmImportLogFile& f = oeffnen();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Import Log Datei"));
    EXPECT_EQ(Mandant, QStringLiteral("1320"));
    EXPECT_EQ(DBPath, QStringLiteral(".\\DB1320\\"));
    EXPECT_EQ(DatenPath, DBPath);
    EXPECT_EQ(f.Label4[0]->text(), QStringLiteral(".\\DB1320\\basis.mdb"));
    EXPECT_EQ(RB6_StandardGroesse, 400);
    EXPECT_EQ(f.Text5[5]->text(), QStringLiteral("06.12.2026"));
    EXPECT_EQ(f.Text6->text(), QStringLiteral("06.12.2026"));
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Bereit"));
    EXPECT_EQ(f.Label2->text(), QString());

    const QList<std::pair<QLineEdit*, const char*>> boxen{
        {f.Text5[4], "15.9.2005"},
        {f.Text8, "56"},
        {f.Text1, ".\\DB1320\\mbuslog\\050916mb.log"},
        {f.Text4, "150"},
        {f.Text9, "1"},
        {f.Text3, ".\\DB1320\\Z1320\\00000001.zep"},
        {f.Text2, "400"},
        {f.Text5[0], "11"},
        {f.Text5[1], "20"},
        {f.Text5[2], "17.9.2005 19:40"},
        {f.Text5[3], "17.9.2005 20:00"},
        {f.Text7, "900"}};
    for (const auto& [box, text] : boxen)
        EXPECT_EQ(box->text(), QString::fromUtf8(text));
    const QList<std::pair<QPushButton*, const char*>> knoepfe{
        {f.cmdImport, "Import"},
        {f.cmdTageswerte, "Tageswerte"},
        {f.cmdDateiLesen, "Datei Lesen"},
        {f.cmdErzeugeTestDatei, "Erzeuge Test Datei "},
        {f.cmdDatInfoLesen, "DatInfoLesen"},
        {f.cmdLesen, "cmdLesen"},
        {f.Command1, "SuchePos"},
        {f.cmdLeseTag, "Lese Tag"}};
    for (const auto& [knopf, text] : knoepfe)
        EXPECT_EQ(knopf->text(), QString::fromUtf8(text));
    EXPECT_EQ(f.Label4[4]->text(), QStringLiteral("Von"));
    EXPECT_EQ(f.Label4[5]->text(), QStringLiteral("bis"));
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("lznr : "));
    EXPECT_EQ(f.Label1[2]->text(), QStringLiteral("Index : "));
}

TEST_F(frmImportLogFileTest, aClientAlreadySetKeepsItsPathsAndTheStandardSizeFallsBack)
{
    const QString dbPath = DBPath;
    frmImportLogFile& f = oeffnen();
    EXPECT_EQ(DBPath, dbPath);
    EXPECT_EQ(f.Label4[0]->text(), QStringLiteral("Von"));
    EXPECT_EQ(RB6_StandardGroesse, 6000);

    f.Text9->setText(QStringLiteral("2"));
    EXPECT_EQ(f.Text3->text(), QStringLiteral(".\\DB1320\\Z1320\\00000001.zep"));
    f.Text4->setText(QStringLiteral("150"));
    f.Text4->setText(QStringLiteral("151"));
    EXPECT_EQ(f.Text3->text(), DBPath + QStringLiteral("Z1320\\000151002.zep"));
}

TEST_F(frmImportLogFileTest, importAndFileReadAreDisabledWhileACycleOfTheClientRuns)
{
    frmImportLogFile& f = oeffnen();
    EXPECT_TRUE(f.cmdImport->isEnabled());
    EXPECT_TRUE(f.SperrenTimer->isActive());
    {
        Sperre zyklus(Sperren::zyklusDatei(1320, 4));
        ASSERT_TRUE(zyklus.holen());
        ASSERT_TRUE(QMetaObject::invokeMethod(f.SperrenTimer, "timeout", Qt::DirectConnection));
        EXPECT_FALSE(f.cmdImport->isEnabled());
        EXPECT_FALSE(f.cmdDateiLesen->isEnabled());
        EXPECT_TRUE(f.cmdTageswerte->isEnabled());
    }
    f.sperrenPruefen();
    EXPECT_TRUE(f.cmdImport->isEnabled());
    EXPECT_TRUE(f.cmdDateiLesen->isEnabled());
}

TEST_F(frmImportLogFileTest, closingDuringAnImportStopsItAndThenCloses)
{
    zaehler(150, 3, 1, 3);
    masterLiest(zeit(2005, 9, 15), {QStringLiteral("1"), QStringLiteral("A"), 3, 3}, {10});
    frmImportLogFile& f = oeffnen();
    f.Text5[4]->setText(QStringLiteral("15.9.2005"));
    f.Text5[5]->setText(QStringLiteral("15.9.2005"));
    QList<QPushButton*> freiWaehrend;
    QTimer::singleShot(0, &f, [&] {
        for (QPushButton* knopf : f.findChildren<QPushButton*>())
            if (knopf->isEnabled())
                freiWaehrend << knopf;
        EXPECT_TRUE(f.beschaeftigt());
        f.close();
    });
    f.cmdImport->click();
    EXPECT_TRUE(freiWaehrend.isEmpty());
    EXPECT_EQ(f.Label5->text(),
              QStringLiteral("Fertig (abgebrochen, keine Datei halb geschrieben)"));
    EXPECT_FALSE(QFile::exists(wertdatei(150, 1)));
    QTRY_VERIFY(!f.isVisible());

    // Without closing, the same click imports.
    frmImportLogFile& g = oeffnen();
    g.Text5[4]->setText(QStringLiteral("15.9.2005"));
    g.Text5[5]->setText(QStringLiteral("15.9.2005"));
    g.cmdImport->click();
    EXPECT_EQ(g.Label5->text(), QStringLiteral("Fertig"));
    EXPECT_EQ(werte(150, 1).size(), 1);
    EXPECT_TRUE(g.cmdImport->isEnabled());
}

TEST_F(frmImportLogFileTest, aRangeBeforeNineteenSeventyOrTheWrongWayRoundIsNamed)
{
    frmImportLogFile& f = oeffnen();
    f.Label2->setText(QStringLiteral("12  (96%)")); // the progress of an earlier run
    f.Text5[4]->setText(QStringLiteral("1.1.1969"));
    f.cmdImport->click();
    const QString vor1970 =
        QStringLiteral("Nichts importiert: \"Von\" liegt vor dem 01.01.1970: \"1.1.1969\"");
    EXPECT_EQ(f.Label5->text(), vor1970);
    EXPECT_EQ(f.Label2->text(), QString());
    EXPECT_EQ(m_meldungen.texte, QStringList{vor1970});
    EXPECT_TRUE(f.cmdImport->isEnabled());

    f.Text5[4]->setText(QStringLiteral("7.12.2026"));
    f.cmdTageswerte->click();
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Keine Tageswerte gelesen: \"bis\" (06.12.2026) "
                                               "liegt vor \"Von\" (07.12.2026)"));
    EXPECT_EQ(m_meldungen.texte.size(), 2);
}

TEST_F(frmImportLogFileTest, toolButtonsShowTheirStatusAndTheTestFileMessage)
{
    frmImportLogFile& f = oeffnen();
    f.cmdErzeugeTestDatei->click();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].startsWith(QStringLiteral("rc= 0 in ")));
    EXPECT_EQ(dateiBytes(wertdatei(150, 1)).size(), 400 * 1212);

    f.cmdLeseTag->click();
    EXPECT_EQ(f.MSFlexGrid4->Rows(), 1);
    EXPECT_EQ(f.MSFlexGrid4->TextMatrix(0, 5), QStringLiteral("Z-Stand"));
    EXPECT_TRUE(f.lblWerkzeug->text().startsWith(QStringLiteral("Lese Tag rc= -")));

    f.Text9->setText(QStringLiteral("11"));
    f.cmdDatInfoLesen->click();
    EXPECT_TRUE(f.lblWerkzeug->text().startsWith(QStringLiteral("DatInfoLesen rc= -3")));
    f.cmdLesen->click();
    EXPECT_TRUE(f.lblWerkzeug->text().startsWith(QStringLiteral("Lesen rc= ")));
    f.Command1->click();
    EXPECT_TRUE(f.lblWerkzeug->text().startsWith(QStringLiteral("SuchePos rc= ")));
}

// The grids of the value-file tools show every cell whole.
TEST_F(frmImportLogFileTest, viewerGridsShowEveryCellWhole)
{
    frmImportLogFile& f = oeffnen();
    f.cmdErzeugeTestDatei->click();
    for (QPushButton* knopf : {f.cmdDatInfoLesen, f.cmdLesen}) {
        knopf->click();
        EXPECT_TRUE(f.lblWerkzeug->text().contains(QStringLiteral("rc= 0")))
            << qPrintable(f.lblWerkzeug->text());
    }
    for (const FlexGridWidget* grid : {f.MSFlexGrid2, f.MSFlexGrid3}) {
        ASSERT_GT(grid->Rows(), 2);
        for (int zeile = 0; zeile < grid->Rows(); ++zeile)
            for (int spalte = 0; spalte < grid->Cols(); ++spalte)
                EXPECT_GT(grid->columnWidth(spalte),
                          grid->fontMetrics().horizontalAdvance(grid->TextMatrix(zeile, spalte)))
                    << qPrintable(grid->TextMatrix(zeile, spalte));
    }
}

// Every visible control lies inside the window and has the room its text needs.
TEST_F(frmImportLogFileTest, layoutFitsUnclippedAt1280x800)
{
    frmImportLogFile& f = oeffnen();
    f.resize(1280, 800);
    QTest::qWait(50);
    ASSERT_EQ(f.size(), QSize(1280, 800));
    for (const QWidget* element : f.findChildren<QWidget*>()) {
        if (!element->isVisibleTo(&f) ||
            !(qobject_cast<const QPushButton*>(element) ||
              qobject_cast<const QLineEdit*>(element) || qobject_cast<const QGroupBox*>(element) ||
              qobject_cast<const FlexGridWidget*>(element)))
            continue;
        const QRect lage(element->mapTo(&f, QPoint(0, 0)), element->size());
        EXPECT_TRUE(f.rect().contains(lage)) << element->metaObject()->className();
        EXPECT_GE(element->width(), element->minimumSizeHint().width())
            << element->property("text").toString().toStdString();
    }
    EXPECT_GE(f.MSFlexGrid5->height(), 200);
    EXPECT_GE(f.MSFlexGrid3->height(), 150);
    const QByteArray ordner = qgetenv("TELVARIN_BILDORDNER");
    if (!ordner.isEmpty())
        f.grab().save(QString::fromLocal8Bit(ordner) + QStringLiteral("/frmImportLogFile.png"));
}

} // namespace

// The meter list files and the clipboard of the test window: names from one clock reading, the
// bytes written, save and load round trip, the port taken from the name, bad files, and the
// encodings read.

#include "TestfensterUmgebung.h"

#include "bustest/ZaehlerListeDatei.h"
#include "platform/Cp1252.h"
#include "ui/FlexGridWidget.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

class ZaehlerListeDateiTest : public TestfensterUmgebung
{
protected:
    void SetUp() override
    {
        TestfensterUmgebung::SetUp();
        m_uhr.stellen(Wandzeit(QDate(2024, 5, 6), QTime(11, 30, 59)));
        oeffnen();
    }
    FlexGridWidget& scan() { return *m_fenster->ui().MSFlexGrid1; }
    FlexGridWidget& saetze() { return *m_fenster->ui().Grid1; }
    void fuellen(FlexGrid& grid, const QList<QStringList>& zeilen)
    {
        grid.setRows(static_cast<int>(zeilen.size()));
        for (int z = 0; z < zeilen.size(); ++z)
            for (int s = 0; s < zeilen[z].size(); ++s)
                grid.setTextMatrix(z, s, zeilen[z][s]);
    }
    QList<QStringList> inhalt(const FlexGrid& grid) const
    {
        QList<QStringList> zeilen;
        for (int z = 0; z < grid.Rows(); ++z) {
            zeilen.append(QStringList());
            for (int s = 0; s < grid.Cols(); ++s)
                zeilen.last() << grid.TextMatrix(z, s);
        }
        return zeilen;
    }
    // Picks the file in the panel of test files as the user does.
    void laden(const QString& datei)
    {
        m_fenster->ui().cmdImporttxt->click();
        const QList<QListWidgetItem*> treffer =
            m_fenster->ui().File1->findItems(datei, Qt::MatchExactly);
        ASSERT_EQ(treffer.size(), 1) << qPrintable(datei);
        m_fenster->ui().File1->setCurrentItem(treffer.first());
        m_fenster->File1_Click();
    }
};

TEST(ZaehlerListeDateiNamen, portFromNameAndNamesFromOneClockReading)
{
    const std::pair<const char*, int> faelle[] = {{"2405061130MBTestCom3.txt", 3},
                                                  {"2405061130MBTestCom12.txt", 12},
                                                  {"2405061130MBZählerliste3.txt", 0},
                                                  {"2405061130mbtestcom7.TXT", 7},
                                                  {"liste.txt", 0},
                                                  {"", 0},
                                                  {"2405061130MBTestComX.txt", 0}};
    for (const auto& [name, port] : faelle)
        EXPECT_EQ(ZaehlerListeDatei::PortAusDateiname(QString::fromUtf8(name)), port) << name;
    for (const auto& [box, port] : {std::pair{"3", 3}, {"", 0}, {" 12 ", 12}, {"3.5", 3}, {"x", 0}})
        EXPECT_EQ(ZaehlerListeDatei::PortZahl(QString::fromLatin1(box)), port) << box;
    const auto namen =
        ZaehlerListeDatei::Dateinamen(Wandzeit(QDate(2024, 5, 6), QTime(11, 30, 59)), 3);
    EXPECT_EQ(namen.scanListe, "2405061130MBTestCom3.txt");
    EXPECT_EQ(namen.satzListe, "2405061130MBZählerliste3.txt");
}

TEST_F(ZaehlerListeDateiTest, saveWritesBothGridsByteForByteAndConfirms)
{
    m_fenster->Text4Setzen(QStringLiteral("3"));
    fuellen(scan(), {{"Primär", "ID", "Herst.", "Vers.", "Medium", "AnzDat.", "Baudrate",
                      "Neue Primäradresse", "Neu Baudrate"},
                     {"5", "12345678", "LUG", "7", "Heat", "2", "9600;", "", ""}});
    scan().setColWidth(3, 0);
    saetze().setCols(5);
    fuellen(saetze(), {{"Index", "Medium", "Meßart", "Wert", "Einh."},
                       {"5 [1]", "Heat", "Energie", "100", "kWh"}});
    m_fenster->ui().cmdSpeichern->click();

    EXPECT_EQ(lesen("2405061130MBTestCom3.txt"),
              TextZuCp1252("Primär\tID\tHerst.\tMedium\tAnzDat.\tBaudrate\tNeue Primäradresse\t"
                           "Neu Baudrate\t\r\n5\t12345678\tLUG\tHeat\t2\t9600;\t\t\t\r\n"));
    EXPECT_EQ(lesen("2405061130MBZählerliste3.txt"),
              TextZuCp1252("Index\tMedium\tMeßart\tWert\tEinh.\t\r\n5 [1]\tHeat\tEnergie\t100\t"
                           "kWh\t\r\n"));
    EXPECT_EQ(m_meldungen.texte,
              QStringList({QDir::currentPath() +
                           "/Tabelle wurde gespeichert : 2405061130MBZählerliste3.txt"}));

    m_fenster->Text4Setzen(QString());
    m_uhr.vorstellen(60);
    m_fenster->ui().cmdSpeichern->click();
    EXPECT_FALSE(lesen("2405061131MBTestCom0.txt").isEmpty());
    EXPECT_FALSE(lesen("2405061131MBZählerliste0.txt").isEmpty());
}

TEST_F(ZaehlerListeDateiTest, failedScanListShowsNoConfirmation)
{
    // A folder in the way of the scan list: that file cannot be written.
    ASSERT_TRUE(QDir().mkdir(pfad("2405061130MBTestCom3.txt")));
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->ui().cmdSpeichern->click();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].startsWith("Fehler beim speichern der Datei "))
        << qPrintable(m_meldungen.texte[0]);
}

TEST_F(ZaehlerListeDateiTest, savedListLoadsBackWithItsPortAndTheIndexList)
{
    m_fenster->Text4Setzen(QStringLiteral("4"));
    scan().setRows(251);
    fuellen(scan(), {{"Primär", "ID", "Herst.", "Vers.", "Medium", "AnzDat.", "Baudrate",
                      "Neue Primäradresse", "Neu Baudrate"},
                     {"1", "11111111", "ABC", "1", "Wärme", "2", "2400;9600;", "5", ""}});
    scan().setRows(251);
    scan().setTextMatrix(250, 0, QStringLiteral("250"));
    const QList<QStringList> vorher = inhalt(scan());
    m_fenster->ui().cmdSpeichern->click();
    schreiben(ZaehlerListeDatei::kIndexListe,
              QStringLiteral("Herst;Medium;MBIndex;TarifGruppe;TarifGrp;Tarif;Feld\r\n"
                             "ABC;WÄRME;2;Wärme;4;5,7;E\r\n")
                  .toUtf8());

    m_fenster->Text4Setzen(QStringLiteral("9"));
    scan().setRows(1);
    laden(QStringLiteral("2405061130MBTestCom4.txt"));
    EXPECT_EQ(inhalt(scan()), vorher);
    EXPECT_EQ(scan().FixedRows(), 1);
    EXPECT_EQ(m_fenster->ui().Text4->text(), "4");
    const FlexGrid& vorlage = *m_fenster->ui().MSFlexGrid3;
    ASSERT_EQ(vorlage.Rows(), 2);
    EXPECT_EQ(vorlage.TextMatrix(1, 1), "WÄRME");
    EXPECT_EQ(vorlage.TextMatrix(1, 5), "5,7");

    // A records list names no port; without the index list its grid stays empty.
    QFile::remove(pfad(ZaehlerListeDatei::kIndexListe));
    laden(QStringLiteral("2405061130MBZählerliste4.txt"));
    EXPECT_EQ(m_fenster->ui().Text4->text(), "0");
    EXPECT_EQ(m_fenster->ui().MSFlexGrid3->Rows(), 0);
    EXPECT_TRUE(m_meldungen.texte.size() == 1) << qPrintable(m_meldungen.texte.join('|'));
}

TEST_F(ZaehlerListeDateiTest, filesInEitherEncodingLoad)
{
    schreiben("a.txt", TextZuCp1252("Primär\tID\t\r\n1\tZähler\t\r\n"));
    schreiben("b.txt", QStringLiteral("Primär\tID\t\n1\tZähler\t\n").toUtf8());
    for (const char* datei : {"a.txt", "b.txt"}) {
        laden(QString::fromLatin1(datei));
        EXPECT_EQ(inhalt(scan()), QList<QStringList>({{"Primär", "ID"}, {"1", "Zähler"}})) << datei;
    }
}

TEST_F(ZaehlerListeDateiTest, badFilesLeaveTheGridAndSayWhy)
{
    fuellen(scan(), {{"Primär", "ID"}, {"1", "2"}});
    const QList<QStringList> vorher = inhalt(scan());
    schreiben("binaer.txt", QByteArray("Primär\t\0\x01\x02\r\n", 11));
    schreiben("lang.txt", QByteArray("a\tb\t\r\n").repeated(100000));
    const std::pair<const char*, const char*> faelle[] = {
        {"binaer.txt", "Die Datei binaer.txt ist keine Textdatei."},
        {"lang.txt", "Die Datei lang.txt hat mehr als 10000 Zeilen und wird nicht geladen."}};
    for (const auto& [datei, meldung] : faelle) {
        m_meldungen.texte.clear();
        laden(QString::fromLatin1(datei));
        EXPECT_EQ(m_meldungen.texte, QStringList({QString::fromUtf8(meldung)}));
        EXPECT_EQ(inhalt(scan()), vorher) << datei;
    }
}

TEST_F(ZaehlerListeDateiTest, filesThatHoldNoListLeaveGridAndPortAndSayWhy)
{
    fuellen(scan(), {{"Primär", "ID"}, {"1", "2"}});
    m_fenster->Text4Setzen(QStringLiteral("5"));
    const QList<QStringList> vorher = inhalt(scan());
    schreiben("2405061130MBTestCom3.txt", QByteArray());
    schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=1320\r\n\r\n[COM]\r\nCOM3=/dev/null\r\n");
    const std::pair<const char*, const char*> faelle[] = {
        {"2405061130MBTestCom3.txt",
         "Die Datei 2405061130MBTestCom3.txt ist leer und wird nicht geladen."},
        {"ZEP.INI", "Die Datei ZEP.INI ist keine Zählerliste (ihre erste Zeile hat keine durch "
                    "Tabulatoren getrennten Spalten) und wird nicht geladen."}};
    for (const auto& [datei, meldung] : faelle) {
        m_meldungen.texte.clear();
        laden(QString::fromLatin1(datei));
        EXPECT_EQ(m_meldungen.texte, QStringList({QString::fromUtf8(meldung)}));
        EXPECT_EQ(inhalt(scan()), vorher) << datei;
        EXPECT_EQ(scan().FixedRows(), 1) << datei;
        EXPECT_EQ(m_fenster->ui().Text4->text(), "5") << datei;
    }

    // A list of one shown column is still a list: its lines end with a TAB.
    schreiben("eine.txt", "Primär\t\r\n7\t\r\n");
    m_meldungen.texte.clear();
    laden(QStringLiteral("eine.txt"));
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_EQ(inhalt(scan()), QList<QStringList>({{"Primär"}, {"7"}}));
}

TEST_F(ZaehlerListeDateiTest, anUnreadableIndexListIsNamedAndTheListLoadsWithoutIt)
{
    schreiben("2405061130MBTestCom3.txt", TextZuCp1252("Primär\tID\t\r\n1\t11111111\t\r\n"));
    schreiben(ZaehlerListeDatei::kIndexListe, QByteArray("Herst;Medium\r\n\0\x01", 16));
    laden(QStringLiteral("2405061130MBTestCom3.txt"));
    EXPECT_EQ(inhalt(scan()), QList<QStringList>({{"Primär", "ID"}, {"1", "11111111"}}));
    EXPECT_EQ(m_fenster->ui().Text4->text(), "3");
    EXPECT_EQ(m_fenster->ui().MSFlexGrid3->Rows(), 0);
    EXPECT_EQ(m_meldungen.texte,
              QStringList({"Die Datei MBusImportIndex.txt ist keine Textdatei. Die Zählerliste "
                           "wurde ohne Index-Importliste geladen (der Import setzt dann nur die "
                           "Vorgabewerte)."}));
}

TEST_F(ZaehlerListeDateiTest, clipboardGetsTheWholeGridRowsByNewline)
{
    scan().setCols(2);
    fuellen(scan(), {{"Primär", "ID"}, {"1", "11"}, {"2", ""}});
    m_fenster->ui().Command1->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Primär\tID\n1\t11\n2\t");
    EXPECT_EQ(scan().RowSel(), 2);
    EXPECT_EQ(scan().ColSel(), 1);
    saetze().setCols(2);
    fuellen(saetze(), {{"Index", "Wert"}, {"5 [1]", "3"}});
    m_fenster->ui().cmdZwischen->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Index\tWert\n5 [1]\t3");
}

} // namespace

TEST_F(ZaehlerListeDateiTest, reloadedListShowsEveryCellWhole)
{
    schreiben(QStringLiteral("2405061130MBTestCom2.txt"),
              TextZuCp1252("Primär\tID\tHerst.\tMedium\tBaudrate\t\r\n"
                           "7\t12345678\tLUG\tWärme (Rücklauf) und Kälte\t300;2400;9600;\t\r\n"));
    laden(QStringLiteral("2405061130MBTestCom2.txt"));
    ASSERT_EQ(scan().TextMatrix(1, 3), QStringLiteral("Wärme (Rücklauf) und Kälte"));
    for (int spalte = 0; spalte < scan().Cols(); ++spalte)
        for (int zeile = 0; zeile < scan().Rows(); ++zeile)
            EXPECT_GT(scan().columnWidth(spalte),
                      scan().fontMetrics().horizontalAdvance(scan().TextMatrix(zeile, spalte)))
                << qPrintable(scan().TextMatrix(zeile, spalte));
}

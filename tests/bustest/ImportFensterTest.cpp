// The database imports of the test window end to end: meters on the bus simulator (COM3, pacing
// off), read by the window, stored in a real basis.mdb: the scan list with the port of its file,
// one meter's index list after its read, and the batch with its "Imp Idx" column.

#include "SimulatorFensterUmgebung.h"

#include "bustest/TestfensterRegeln.h"
#include "bustest/ZaehlerListeDatei.h"
#include "database/BasisMdb.h"
#include "database/Schema.h"
#include "database/Verbindung.h"
#include "platform/Global.h"
#include "ui/FlexGridWidget.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

QString Zaehler(int adresse, const QString& id)
{
    return QStringLiteral("zaehler adresse=%1 id=%2 hersteller=ABC version=01 medium=07 "
                          "baud=9600\nsatz 0C13 45230100\nsatz 4C13 00003400\n")
        .arg(adresse)
        .arg(id);
}

class ImportFensterTest : public SimulatorFensterUmgebung
{
protected:
    frmMBustest& starten(const QString& bus)
    {
        frmMBustest& fenster = simulatorStarten(bus);
        DBPath = QDir::currentPath() + u'/';
        EXPECT_TRUE(DatenbankAnlegen(BasisMdbPfad())) << qPrintable(FehlerText);
        suchPortSetzen();
        return fenster;
    }
    FlexGridWidget& scan() { return *m_fenster->ui().MSFlexGrid1; }
    void scanZeile(int zeile, const QString& adresse, const QString& id)
    {
        if (scan().Rows() <= zeile)
            scan().setRows(zeile + 1);
        const QStringList zellen = {adresse, id, "ABC", "1", "Water", "2", "9600;", "", ""};
        for (int s = 0; s < zellen.size(); ++s)
            scan().setTextMatrix(zeile, s, zellen[s]);
    }
    QStringList abfrage(const QString& sql)
    {
        QStringList zeilen;
        std::unique_ptr<Verbindung> db = Verbindung::OpenDatabase(BasisMdbPfad());
        Recordset rs = db ? db->OpenRecordset(sql) : Recordset();
        EXPECT_TRUE(rs.offen()) << qPrintable(FehlerText);
        for (; rs.offen() && !rs.Eof(); rs.MoveNext()) {
            QStringList zellen;
            for (int i = 0; i < rs.Feldnamen().size(); ++i)
                zellen << rs.FeldAn(i).text();
            zeilen << zellen.join(u' ');
        }
        return zeilen;
    }
    void lesen(const QString& adresse)
    {
        m_fenster->Text1Setzen(1, QString::number(kPort));
        m_fenster->Text1Setzen(2, QStringLiteral("9600"));
        m_fenster->Text1Setzen(0, adresse);
        m_fenster->ui().cmdstartAuslesen->click();
    }
    QStringList indexListe()
    {
        return abfrage("SELECT Lznr, MBIndex, Art FROM MB_IndexListe ORDER BY Lznr, MBIndex");
    }
    // A primary scan of the addresses at 9600 baud.
    void scannen(int von, int bis)
    {
        m_fenster->ui().Check1[0]->setChecked(true);
        m_fenster->ui().Text5[0]->setText(QString::number(von));
        m_fenster->ui().Text6[0]->setText(QString::number(bis));
        m_fenster->ui().cmdSecPrimSuchen->click();
    }
    QStringList scanZeilen()
    {
        QStringList zeilen;
        for (int zeile = 1; zeile < scan().Rows(); ++zeile)
            if (!scan().TextMatrix(zeile, 1).isEmpty())
                zeilen << scan().TextMatrix(zeile, 0) + u' ' + scan().TextMatrix(zeile, 1);
        return zeilen;
    }
};

TEST_F(ImportFensterTest, scanListOfAFileGoesInUnderTheFilesPortOnlyWhileTheGridHoldsIt)
{
    starten(QString());
    scanZeile(1, "5", "50000005");
    scanZeile(2, "0", "60000006");
    schreiben("MBusImportIndex.txt", "Herst;Medium;MBIndex;TarifGruppe;TarifGrp;Tarif;Feld\r\n"
                                     "ABC;WATER;2;Wasser;4;5,7;E\r\n");
    m_fenster->Text4Setzen(QStringLiteral("4"));
    m_fenster->ui().cmdSpeichern->click();
    const QString datei =
        ZaehlerListeDatei::Dateinamen(Jetzt(), 4).scanListe; // "...MBTestCom4.txt"
    m_fenster->ui().cmdImporttxt->click();
    m_fenster->ui().File1->setCurrentItem(
        m_fenster->ui().File1->findItems(datei, Qt::MatchExactly).value(0));
    m_fenster->File1_Click();

    m_fenster->Text4Setzen(QStringLiteral("3")); // the file's port still counts
    m_fenster->ui().cmdImport->click();
    EXPECT_EQ(m_fenster->ui().Text4->text(), "4");
    EXPECT_EQ(abfrage("SELECT ZNAME, MBComP, MBAdr, Tarif, TarifGruppe FROM zaehler ORDER BY ZNr"),
              QStringList({"ABC_50000005 4 5 5;7; Wasser", "ABC_60000006 4 0 5;7; Wasser"}));

    // A list made afresh belongs to the port box, whatever file was picked before.
    scanZeile(1, "7", "70000007");
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->ui().cmdImport->click();
    EXPECT_EQ(abfrage("SELECT ZNr, MBComP FROM zaehler WHERE MBAdr = 7"),
              QStringList({"70000007 3"}));
    EXPECT_TRUE(m_meldungen.texte.size() == 1) << qPrintable(m_meldungen.texte.join('|'));
}

TEST_F(ImportFensterTest, badTemplateRowsAreNamedAndTheirMetersKeepTheDefaults)
{
    starten(QString());
    scanZeile(1, "5", "50000005");
    schreiben("MBusImportIndex.txt", "Herst;Medium;MBIndex;TarifGruppe;TarifGrp;Tarif;Feld\r\n"
                                     "ABC;WATER;;Wasser;4;5,7;E\r\n");
    schreiben("liste.txt", "Primär\tID\t\r\n");
    m_fenster->ui().cmdImporttxt->click();
    m_fenster->ui().File1->setCurrentItem(
        m_fenster->ui().File1->findItems("liste.txt", Qt::MatchExactly).value(0));
    m_fenster->File1_Click(); // loads the index import list beside it
    scan().setCols(9);
    scanZeile(1, "5", "50000005");
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->ui().cmdImport->click();
    EXPECT_EQ(m_meldungen.texte, QStringList({"MBusImportIndex.txt: Zeile 2 wird nicht verwendet "
                                              "(MBIndex und TarifGrp müssen ganze Zahlen sein)."}));
    EXPECT_EQ(abfrage("SELECT ZNr, MBIndex, Tarif FROM zaehler"), QStringList({"50000005 1 5;"}));
}

TEST_F(ImportFensterTest, missingDatabaseOrPortGivesNoHalfImport)
{
    starten(QString());
    scanZeile(1, "5", "50000005");
    m_fenster->Text4Setzen(QString());
    m_fenster->ui().cmdImport->click(); // port 0: nothing
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    QFile::remove(BasisMdbPfad());
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->ui().cmdImport->click();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].startsWith("Import Liste: "))
        << qPrintable(m_meldungen.texte[0]);
    EXPECT_FALSE(QFile::exists(BasisMdbPfad()));
}

TEST_F(ImportFensterTest, indexListOfTheMeterReadAndNeverOfAScansRecords)
{
    starten(Zaehler(5, "50000005") + Zaehler(6, "60000006"));
    scanZeile(1, "5", "50000005");
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->ui().cmdImport->click();
    EXPECT_TRUE(m_fenster->ui().cmdImportIndexe->isHidden());

    lesen(QStringLiteral("5"));
    EXPECT_FALSE(m_fenster->ui().cmdImportIndexe->isHidden());
    m_fenster->ui().cmdImportIndexe->click();
    m_fenster->ui().cmdImportIndexe->click();
    EXPECT_EQ(indexListe(), QStringList({"1 1 Volume", "1 2 Volume"}));
    EXPECT_EQ(scan().TextMatrix(1, 8), ""); // no mark outside the batch

    // A meter not in the database.
    lesen(QStringLiteral("6"));
    m_fenster->ui().cmdImportIndexe->click();
    EXPECT_EQ(m_meldungen.texte, QStringList({"Zähler nicht gefunden"}));

    // After a scan the records grid holds every meter's records: nothing is imported.
    lesen(QStringLiteral("5"));
    m_fenster->ui().Check1[0]->setChecked(true);
    m_fenster->ui().Text5[0]->setText(QStringLiteral("5"));
    m_fenster->ui().Text6[0]->setText(QStringLiteral("6"));
    m_fenster->ui().cmdSecPrimSuchen->click();
    ASSERT_GT(m_fenster->ui().Grid1->Rows(), 3);
    EXPECT_EQ(m_fenster->ui().Text1[0]->text(), "5");
    m_fenster->cmdImportIndexe_Click();
    EXPECT_EQ(indexListe(), QStringList({"1 1 Volume", "1 2 Volume"}));
    EXPECT_EQ(m_meldungen.texte.size(), 1);
}

TEST_F(ImportFensterTest, batchReadsEveryMeterOnceAndMarksItsOwnColumn)
{
    starten(Zaehler(5, "50000005") + Zaehler(6, "60000006"));
    scanZeile(1, "5", "50000005");
    scanZeile(2, "6", "60000006");
    scanZeile(3, "7", "70000007"); // not on the bus
    scan().setTextMatrix(1, 8, QStringLiteral("9600"));
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->ui().cmdImport->click();
    scanZeile(4, "8", "80000008"); // on neither

    m_fenster->cmdImportAlleIndexe_Click();
    m_fenster->cmdImportAlleIndexe_Click();
    ASSERT_EQ(scan().Cols(), 11);
    for (const int spalte : {9, 10}) {
        EXPECT_EQ(scan().TextMatrix(0, spalte), "Imp Idx");
        EXPECT_EQ(scan().TextMatrix(1, spalte), "Ok");
        EXPECT_EQ(scan().TextMatrix(2, spalte), "Ok");
        EXPECT_EQ(scan().TextMatrix(3, spalte), "Fehler");
        EXPECT_EQ(scan().TextMatrix(4, spalte), "Fehler");
    }
    EXPECT_EQ(scan().TextMatrix(1, 8), "9600");
    EXPECT_EQ(indexListe(), QStringList({"1 1 Volume", "1 2 Volume", "2 1 Volume", "2 2 Volume"}));
    // One read per meter on the bus and run; the silent ones are asked once (and repeated by
    // the driver at most once).
    EXPECT_EQ(m_sim->zaehlerStand(0).telegramme, 2);
    EXPECT_EQ(m_sim->zaehlerStand(1).telegramme, 2);
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_FALSE(m_fenster->ui().cmdSecPrimSuchen->isHidden());
}

TEST_F(ImportFensterTest, batchWithoutAUsablePortSaysSoOnceAndReadsNothingElsewhere)
{
    starten(Zaehler(5, "50000005") + Zaehler(6, "60000006"));
    for (int zeile = 1; zeile <= 3; ++zeile)
        scanZeile(zeile, QString::number(zeile + 4), QString::number(50000004 + zeile));
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->ui().cmdImport->click();

    // An empty or wrong port box: no read on the port of an earlier read, no column.
    for (const char* box : {"", "0", "x", "300"}) {
        m_meldungen.texte.clear();
        m_fenster->Text4Setzen(QString::fromLatin1(box));
        m_fenster->cmdImportAlleIndexe_Click();
        EXPECT_EQ(m_meldungen.texte, QStringList({kComPortUngueltig})) << box;
    }
    EXPECT_EQ(scan().Cols(), 9);
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());

    // Without the meter database nothing is read: said once.
    m_meldungen.texte.clear();
    const QString datenbank = BasisMdbPfad();
    ASSERT_TRUE(QFile::rename(datenbank, datenbank + ".weg"));
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->cmdImportAlleIndexe_Click();
    ASSERT_EQ(m_meldungen.texte.size(), 1) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_TRUE(m_meldungen.texte[0].startsWith("Import Idx ")) << qPrintable(m_meldungen.texte[0]);
    EXPECT_EQ(scan().Cols(), 9);
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
    EXPECT_FALSE(QFile::exists(datenbank));
    ASSERT_TRUE(QFile::rename(datenbank + ".weg", datenbank));

    // A port that does not open is named once; the batch ends there.
    m_meldungen.texte.clear();
    m_fenster->Text4Setzen(QStringLiteral("9"));
    m_fenster->cmdImportAlleIndexe_Click();
    ASSERT_EQ(m_meldungen.texte.size(), 1) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_TRUE(m_meldungen.texte[0].startsWith("Fehler Open Com"))
        << qPrintable(m_meldungen.texte[0]);
    EXPECT_EQ(scan().TextMatrix(1, 9), "Fehler");
    EXPECT_EQ(scan().TextMatrix(2, 9), "");
    EXPECT_EQ(scan().TextMatrix(3, 9), "");
    EXPECT_FALSE(m_fenster->ui().cmdSecPrimSuchen->isHidden());
}

TEST_F(ImportFensterTest, scanStopButtonEndsTheBatchAfterTheMeterRunning)
{
    starten(Zaehler(5, "50000005") + Zaehler(6, "60000006"));
    scanZeile(1, "5", "50000005");
    scanZeile(2, "6", "60000006");
    m_fenster->Text4Setzen(QStringLiteral("3"));
    m_fenster->ui().cmdImport->click();
    sobald([this] { return m_sim->zaehlerStand(0).gehoert > 0; },
           [this] { m_fenster->ui().cmdSecAdrStop->click(); });
    m_fenster->cmdImportAlleIndexe_Click();
    EXPECT_EQ(scan().TextMatrix(1, 9), "Ok");
    EXPECT_EQ(scan().TextMatrix(2, 9), "");
    EXPECT_EQ(m_sim->zaehlerStand(1).telegramme, 0);
}

TEST_F(ImportFensterTest, scanRowsAtTheBroadcastAddressLeaveTheMetersAddressAndAreCounted)
{
    starten(Zaehler(250, "50000005"));
    scannen(250, 254); // the meter answers at 250 and again at 254
    ASSERT_EQ(scanZeilen(), QStringList({"250 50000005", "254 50000005"}));
    m_fenster->ui().cmdImport->click();
    EXPECT_EQ(abfrage("SELECT ZNr, MBAdr FROM zaehler"), QStringList({"50000005 250"}));
    EXPECT_EQ(m_meldungen.texte,
              QStringList({"1 Zeile mit einer Adresse über 250 (keine Primäradresse): diese "
                           "Adresse wurde nicht gespeichert, der Zähler behält seine bisherige "
                           "Adresse."}));

    m_meldungen.texte.clear();
    lesen(QStringLiteral("250"));
    m_fenster->ui().cmdImportIndexe->click();
    EXPECT_EQ(indexListe(), QStringList({"1 1 Volume", "1 2 Volume"}));
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
}

TEST_F(ImportFensterTest, twoMetersTheSearchFindsAtOneAddressKeepARowEachAndAreNamed)
{
    starten(Zaehler(5, "00000015") + Zaehler(5, "00000016"));
    QComboBox* stellen = m_fenster->ui().Combo3;
    stellen->setCurrentIndex(stellen->findText(QStringLiteral("2")));
    emit stellen->activated(stellen->currentIndex());
    m_fenster->ui().Check1[0]->setChecked(true);
    m_fenster->ui().cmdSekSuchenAlle->click();
    ASSERT_EQ(scanZeilen(), QStringList({"5 00000016", "5 00000015"}));

    m_fenster->ui().cmdImport->click();
    EXPECT_EQ(abfrage("SELECT ZNAME, ZNr, MBAdr FROM zaehler ORDER BY ZNr"),
              QStringList({"ABC_00000015 00000015 5", "ABC_00000016 00000016 5"}));
    EXPECT_EQ(m_meldungen.texte,
              QStringList({"Adresse 5 (00000016, 00000015) ist in der Liste mehrfach vergeben: "
                           "jeder Zähler wurde in einer eigenen Zeile gespeichert."}));
}

TEST_F(ImportFensterTest, listFileThatFailsToLoadChangesNothing)
{
    starten(QString());
    scanZeile(1, "5", "50000005");
    m_fenster->Text4Setzen(QStringLiteral("4"));
    m_fenster->ui().cmdSpeichern->click();
    const auto waehlen = [this](const QString& name) {
        m_fenster->ui().cmdImporttxt->click();
        m_fenster->ui().File1->setCurrentItem(
            m_fenster->ui().File1->findItems(name, Qt::MatchExactly).value(0));
        m_fenster->File1_Click();
    };
    waehlen(ZaehlerListeDatei::Dateinamen(Jetzt(), 4).scanListe); // no index import list beside
    schreiben("MBusImportIndex.txt", "Herst;Medium;MBIndex;TarifGruppe;TarifGrp;Tarif;Feld\r\n"
                                     "ABC;WATER;2;Wasser;4;5,7;E\r\n");
    schreiben("2405061130MBTestCom7.txt", QByteArray("Primär\t\0\x01\r\n", 12));
    waehlen(QStringLiteral("2405061130MBTestCom7.txt"));
    EXPECT_EQ(m_meldungen.texte.size(), 2) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_EQ(m_fenster->ui().Text4->text(), "4");
    EXPECT_EQ(scan().TextMatrix(1, 1), "50000005");
    EXPECT_EQ(m_fenster->ui().MSFlexGrid3->Rows(), 0);
    m_fenster->ui().cmdImport->click();
    EXPECT_EQ(abfrage("SELECT ZNr, MBComP, Tarif FROM zaehler"), QStringList({"50000005 4 5;"}));
}

TEST_F(ImportFensterTest, gridActionsAreTurnedAwayWhileAScanFillsTheGrid)
{
    starten(Zaehler(5, "50000005") + Zaehler(6, "60000006"));
    const TestfensterElemente& e = m_fenster->ui();
    const QString titelZeile = e.Label12->text();
    QStringList zeilen;
    sobald([this] { return m_sim->zaehlerStand(0).telegramme > 0; },
           [&] {
               for (QPushButton* knopf :
                    {e.cmdSpeichern, e.cmdImport, e.cmdZwischen, e.cmd_AutoPrimaer}) {
                   e.Label12->setText(titelZeile);
                   knopf->click();
                   zeilen << e.Label12->text();
               }
           });
    QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
    scannen(5, 6);
    EXPECT_EQ(zeilen, QStringList(4, kNichtGestartet));
    EXPECT_EQ(e.Label12->text(), titelZeile);
    EXPECT_EQ(scanZeilen(), QStringList({"5 50000005", "6 60000006"}));
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_TRUE(abfrage("SELECT ZNr FROM zaehler").isEmpty());
    EXPECT_TRUE(QDir::current().entryList({"*.txt"}, QDir::Files).isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "vorher");
    EXPECT_EQ(scan().TextMatrix(1, 7), "");
}

} // namespace

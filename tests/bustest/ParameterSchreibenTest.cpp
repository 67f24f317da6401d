// Commissioning in the test window end to end against the bus simulator (COM3, pacing off): new
// primary addresses and baud rates for one meter and for the scan list, the fallback with the
// secondary address, refused values with nothing on the wire, the stop button, and the address
// choice of a picked row.

#include "SimulatorFensterUmgebung.h"

#include "bustest/ParameterSchreiben.h"
#include "bustest/TestfensterRegeln.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

QString Zaehler(int adresse, const QString& id, int baud, const QString& fehler = QString())
{
    return QStringLiteral("zaehler adresse=%1 id=%2 hersteller=LUG medium=04 baud=%3 %4\n"
                          "satz 0C13 45230100\n")
        .arg(adresse)
        .arg(id)
        .arg(baud)
        .arg(fehler);
}

// A long frame with the CI given (SND_UD with a change or a select).
bool IstAdressAenderung(const QByteArray& r)
{
    return r.size() > 8 && static_cast<quint8>(r[0]) == 0x68 && static_cast<quint8>(r[6]) == 0x51;
}

class ParameterSchreibenTest : public SimulatorFensterUmgebung
{
protected:
    // One row of the scan list: address, ID, rate list, new address, new rate.
    void zeile(int zeile, const QString& adresse, const QString& id, const QString& baud,
               const QString& neuAdresse, const QString& neuBaud = QString())
    {
        FlexGridWidget* grid = m_fenster->ui().MSFlexGrid1;
        if (grid->Rows() <= zeile)
            grid->setRows(zeile + 1);
        const QString zellen[] = {adresse, id, "LUG", "0", "Heat", "1", baud, neuAdresse, neuBaud};
        for (int spalte = 0; spalte < 9; ++spalte)
            grid->setTextMatrix(zeile, spalte, zellen[spalte]);
    }
    QString zelle(int zeile, int spalte) const
    {
        return m_fenster->ui().MSFlexGrid1->TextMatrix(zeile, spalte);
    }
    void listeSchreiben()
    {
        m_fenster->ui().Combo4->setEditText(QString::number(kPort));
        m_fenster->ui().Command4->click();
    }
    void einzeln(const QString& id, const QString& adresse, int baud)
    {
        m_fenster->ui().Combo7->setEditText(QString::number(kPort));
        m_fenster->ui().Combo8->setEditText(QString::number(baud));
        m_fenster->ui().Text2[4]->setText(id);
        m_fenster->Text1Setzen(0, adresse);
        m_fenster->ui().cmd_SetPrimSingle->click();
    }
    int frames() const { return static_cast<int>(m_sim->empfangeneRahmen().size()); }
    // Reads the meter at the address in the meter view; its manufacturer, "" without answer.
    QString leseHersteller(const QString& adresse, int baud)
    {
        m_fenster->Text1Setzen(1, QString::number(kPort));
        m_fenster->Text1Setzen(2, QString::number(baud));
        m_fenster->Text1Setzen(0, adresse);
        m_fenster->ui().cmdstartAuslesen->click();
        return m_fenster->ui().Text2[0]->text();
    }
};

TEST_F(ParameterSchreibenTest, singleMeterGetsItsNewAddress)
{
    simulatorStarten(Zaehler(1, "12345678", 9600) + Zaehler(2, "12345679", 9600));
    einzeln(QStringLiteral(" 12345678 "), QStringLiteral("5"), 9600);

    EXPECT_EQ(m_meldungen.texte, QStringList({"Erfolgreich gesendet!"}));
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 5);
    EXPECT_EQ(m_sim->zaehlerStand(1).primaerAdresse, 2);
    EXPECT_EQ(frames(), 2); // select and change, no fallback

    // The meter answers at 5 and no longer at 1.
    EXPECT_EQ(leseHersteller(QStringLiteral("1"), 9600), "");
    EXPECT_EQ(leseHersteller(QStringLiteral("5"), 9600), "LUG");
}

TEST_F(ParameterSchreibenTest, singleMeterRefusesBadValuesWithNothingSent)
{
    simulatorStarten(Zaehler(1, "12345678", 9600));
    for (const char* wert : {"251", "abc", "", "-1", "2.5"}) {
        m_meldungen.texte.clear();
        einzeln(QStringLiteral("12345678"), QString::fromLatin1(wert), 9600);
        EXPECT_EQ(m_meldungen.texte, QStringList({ParameterSchreiben::kWertUngueltig})) << wert;
    }
    // A nine-digit number would select another meter by its first eight digits.
    for (const char* id : {"123456789", "", "12x45678"}) {
        m_meldungen.texte.clear();
        einzeln(QString::fromLatin1(id), QStringLiteral("5"), 9600);
        EXPECT_EQ(m_meldungen.texte, QStringList({"Nicht erfolgreich gesendet!"})) << id;
    }
    // Port and rate boxes without a port or a rate.
    for (const auto& [port, baud, meldung] :
         {std::tuple{"", "9600", kComPortUngueltig}, std::tuple{"0", "9600", kComPortUngueltig},
          std::tuple{"3", "", kBaudUngueltig}}) {
        m_meldungen.texte.clear();
        m_fenster->ui().Text2[4]->setText(QStringLiteral("12345678"));
        m_fenster->Text1Setzen(0, QStringLiteral("5"));
        m_fenster->ui().Combo7->setEditText(QString::fromLatin1(port));
        m_fenster->ui().Combo8->setEditText(QString::fromLatin1(baud));
        m_fenster->ui().cmd_SetPrimSingle->click();
        EXPECT_EQ(m_meldungen.texte, QStringList({meldung})) << port << "/" << baud;
    }
    EXPECT_EQ(frames(), 0);
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 1);
}

TEST_F(ParameterSchreibenTest, endingTheProgramDuringTheSingleWriteShowsNoOutcome)
{
    // The select is never acknowledged: the write waits for it when the program is ended.
    simulatorStarten(Zaehler(1, "12345678", 9600, "auswahl_ohne_quittung"));
    sobald([this] { return frames() >= 1; }, [this] { m_fenster->mnuEnde_Click(); });
    einzeln(QStringLiteral("12345678"), QStringLiteral("5"), 9600);
    EXPECT_EQ(m_programmEnden, 1);
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    ProgrammEndeZuruecksetzen();
}

TEST_F(ParameterSchreibenTest, listWritesAddressesWithFallbackAndReportsEachRow)
{
    simulatorStarten(Zaehler(1, "11111111", 9600) +
                     Zaehler(2, "22222222", 9600, "aendern_nur_mit_id") +
                     Zaehler(4, "44444444", 9600, "auswahl_ohne_quittung"));
    zeile(1, "1", "11111111", "9600;", "5");
    zeile(2, "2", "22222222", "9600;", "6");
    zeile(3, "3", "33333333", "9600;", "7");   // not on the bus
    zeile(4, "4", "44444444", "9600;", "8");   // select not acknowledged
    zeile(5, "9", "99999999", "9600;", "251"); // no address a meter may have
    zeile(6, "10", "123456789", "9600;", "11");
    zeile(7, "12", "", "9600;", "13");
    zeile(8, "14", "14141414", "9600;", "abc"); // nothing planned
    zeile(9, "15", "15151515", "9600;", "15");
    listeSchreiben();

    const QStringList erwartet = {"5: Ok!",
                                  "6: Ok!",
                                  "7: Fehler! Timeout, ",
                                  "8: Fehler! Timeout, ",
                                  "251: Fehler! ",
                                  "11: Fehler! ",
                                  "13: Fehler! ",
                                  "abc",
                                  "15"};
    for (int z = 1; z <= 9; ++z)
        EXPECT_EQ(zelle(z, 7), erwartet[z - 1]) << z;
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 5);
    EXPECT_EQ(m_sim->zaehlerStand(1).primaerAdresse, 6);
    EXPECT_EQ(m_sim->zaehlerStand(2).primaerAdresse, 4);
    // Select + change for 1; select + change + fallback for 2; one select each for 3 and 4.
    EXPECT_EQ(frames(), 2 + 3 + 1 + 1);
    EXPECT_EQ(rahmenZaehlen(IstAdressAenderung), 3);
    EXPECT_EQ(m_fenster->ui().Command4->text(), "Parameter schreiben");

    // The outcome texts are no numbers: a second run sends nothing.
    listeSchreiben();
    EXPECT_EQ(frames(), 7);
}

TEST_F(ParameterSchreibenTest, baudChangeGoesAtTheFirstRateAndMovesTheMeter)
{
    simulatorStarten(Zaehler(3, "30303030", 2400) + Zaehler(4, "40404040", 2400));
    zeile(1, "3", "30303030", "2400;9600;", "", "9600");
    zeile(2, "4", "40404040", "2400;", "", "19200"); // a rate the builders do not know
    zeile(3, "5", "50505050", "9600;", "", "9600;"); // the same rate: nothing to write
    listeSchreiben();

    EXPECT_EQ(zelle(1, 8), "9600: Ok!");
    EXPECT_EQ(zelle(2, 8), "19200: Fehler! ");
    EXPECT_EQ(zelle(3, 8), "9600;");
    EXPECT_EQ(gesendeteRaten(), QList<int>({2400}));
    EXPECT_EQ(m_sim->zaehlerStand(0).baud, 9600);
    EXPECT_EQ(m_sim->zaehlerStand(0).quittungen, 2); // select and change, both at 2400
    EXPECT_EQ(m_sim->zaehlerStand(1).baud, 2400);
    EXPECT_EQ(frames(), 2);

    // Meter 3 answers at 9600 only; meter 4 stays at 2400.
    EXPECT_EQ(leseHersteller(QStringLiteral("3"), 2400), "");
    EXPECT_EQ(leseHersteller(QStringLiteral("3"), 9600), "LUG");
    EXPECT_EQ(leseHersteller(QStringLiteral("4"), 2400), "LUG");
}

TEST_F(ParameterSchreibenTest, stopAfterTheAddressPartLeavesTheBaudPartUnwritten)
{
    simulatorStarten(Zaehler(1, "11111111", 9600) + Zaehler(2, "22222222", 9600));
    zeile(1, "1", "11111111", "9600;", "5", "2400");
    zeile(2, "2", "22222222", "9600;", "6");
    sobald([this] { return frames() >= 1; }, [this] { m_fenster->ui().Command4->click(); });
    listeSchreiben();

    EXPECT_EQ(zelle(1, 7), "5: Ok!");
    EXPECT_EQ(zelle(1, 8), "2400");
    EXPECT_EQ(zelle(2, 7), "6");
    EXPECT_EQ(frames(), 2);
    EXPECT_EQ(m_sim->zaehlerStand(0).baud, 9600);
    EXPECT_EQ(m_fenster->ui().Command4->text(), "Parameter schreiben");
}

TEST_F(ParameterSchreibenTest, listFileClickedWhileTheListIsWrittenIsNotLoaded)
{
    // A saved list whose row 2 plans address 9: loaded under the running writing, the writer
    // would go on with the file's rows and give meter 2 an address nobody wrote this time.
    simulatorStarten(Zaehler(1, "11111111", 9600) + Zaehler(2, "22222222", 9600));
    zeile(1, "1", "11111111", "9600;", "5");
    zeile(2, "2", "22222222", "9600;", "");
    schreiben(QStringLiteral("alt.txt"),
              "Primär\tID\tHerst.\tVers.\tMedium\tAnzDat.\tBaudrate\tNeue Primäradresse\t"
              "Neu Baudrate\t\r\n1\t11111111\tLUG\t0\tHeat\t1\t9600;\t\t\t\r\n"
              "2\t22222222\tLUG\t0\tHeat\t1\t9600;\t9\t\t\r\n");
    m_fenster->ui().cmdImporttxt->click();
    QListWidget* dateien = m_fenster->ui().File1;
    dateien->setCurrentItem(
        dateien->findItems(QStringLiteral("alt.txt"), Qt::MatchExactly).value(0));
    QString hinweis;
    sobald([this] { return frames() >= 1; },
           [&] {
               m_fenster->File1_Click();
               hinweis = m_fenster->ui().Label12->text();
           });
    listeSchreiben();

    EXPECT_EQ(hinweis, kNichtGestartet);
    EXPECT_EQ(zelle(1, 7), "5: Ok!");
    EXPECT_EQ(zelle(2, 7), "");
    EXPECT_EQ(m_sim->zaehlerStand(1).primaerAdresse, 2);
    // Afterwards the file loads.
    m_fenster->File1_Click();
    EXPECT_EQ(zelle(2, 7), "9");
}

TEST_F(ParameterSchreibenTest, portThatDoesNotOpenNeverReportsOk)
{
    simulatorStarten(Zaehler(1, "11111111", 9600));
    zeile(1, "1", "11111111", "9600;", "5", "2400");
    schreiben(QStringLiteral("ZEP.INI"), QStringLiteral("[COM]\r\nCOM3=%1\r\nCOM9=%2\r\n")
                                             .arg(m_sim->geraet(), pfad("fehlt"))
                                             .toUtf8());
    // No port at all: said so, the plan stays.
    for (const char* box : {"", "x", "0", "300"}) {
        m_meldungen.texte.clear();
        m_fenster->ui().Combo4->setEditText(QString::fromLatin1(box));
        m_fenster->ui().Command4->click();
        EXPECT_EQ(m_meldungen.texte, QStringList({kComPortUngueltig})) << box;
        EXPECT_EQ(zelle(1, 7), "5") << box;
        EXPECT_EQ(m_fenster->ui().Command4->text(), "Parameter schreiben");
    }
    m_fenster->ui().Combo4->setEditText(QStringLiteral("(9)"));
    m_fenster->ui().Command4->click();
    EXPECT_EQ(zelle(1, 7), "5: Fehler! ");
    EXPECT_EQ(zelle(1, 8), "2400: Fehler! ");
    EXPECT_EQ(frames(), 0);
}

TEST_F(ParameterSchreibenTest, planningOffersOnlyFreeAddressesAndFillsTheNewColumns)
{
    oeffnen();
    zeile(1, "1", "11111111", "9600;", "7");
    zeile(2, "2", "22222222", "2400;9600;", "3");
    zeile(3, "4", "33333333", "9600;", "5");
    FlexGridWidget* grid = m_fenster->ui().MSFlexGrid1;
    grid->setRow(2);
    m_fenster->MSFlexGrid1_Click();
    QComboBox* adressen = m_fenster->ui().Combo5;
    QStringList fehlend;
    for (int a = 0; a <= 250; ++a)
        if (adressen->findText(QString::number(a)) < 0)
            fehlend << QString::number(a);
    // the addresses planned and those the other meters have now
    EXPECT_EQ(fehlend, QStringList({"1", "3", "4", "5", "7"}));
    EXPECT_EQ(adressen->currentText(), "2");
    EXPECT_EQ(m_fenster->ui().Combo6->currentText(), "2400");

    // Planning the current values empties the columns; other values go in.
    m_fenster->ui().Command3->click();
    EXPECT_EQ(zelle(2, 7), "");
    EXPECT_EQ(zelle(2, 8), "");
    adressen->setEditText("9");
    m_fenster->ui().Combo6->setEditText("9600");
    m_fenster->ui().Command3->click();
    EXPECT_EQ(zelle(2, 7), "9");
    EXPECT_EQ(zelle(2, 8), "9600");

    m_fenster->ui().cmd_AutoPrimaer->click();
    for (int z = 1; z <= 3; ++z)
        EXPECT_EQ(zelle(z, 7), QString::number(z));
}

TEST_F(ParameterSchreibenTest, addressesOtherMetersHaveAreNeitherOfferedNorPlannedNorWritten)
{
    simulatorStarten(Zaehler(1, "11111111", 9600) + Zaehler(2, "22222222", 9600) +
                     Zaehler(5, "55555555", 9600));
    const auto scannen = [this] {
        suchPortSetzen();
        for (size_t i = 0; i < m_fenster->ui().Check1.size(); ++i) {
            m_fenster->ui().Check1[i]->setChecked(m_fenster->ui().Check1[i]->text() == "9600");
            m_fenster->ui().Text5[i]->setText("0");
            m_fenster->ui().Text6[i]->setText("10");
        }
        m_fenster->ui().cmdSecPrimSuchen->click();
        QStringList gefunden;
        FlexGridWidget* grid = m_fenster->ui().MSFlexGrid1;
        for (int z = 1; z < grid->Rows(); ++z)
            if (!grid->TextMatrix(z, 1).isEmpty())
                gefunden << grid->TextMatrix(z, 0) + ' ' + grid->TextMatrix(z, 1);
        return gefunden;
    };
    ASSERT_EQ(scannen(), QStringList({"1 11111111", "2 22222222", "5 55555555"}));
    FlexGridWidget* grid = m_fenster->ui().MSFlexGrid1;
    QComboBox* adressen = m_fenster->ui().Combo5;
    const auto waehlen = [&](int zeile) {
        grid->setRow(zeile);
        m_fenster->MSFlexGrid1_Click();
    };
    const auto eintragen = [&](const QString& adresse) {
        m_meldungen.texte.clear();
        adressen->setEditText(adresse);
        m_fenster->ui().Command3->click();
    };

    waehlen(1);
    EXPECT_GE(adressen->findText("1"), 0); // its own
    EXPECT_LT(adressen->findText("2"), 0);
    EXPECT_LT(adressen->findText("5"), 0);
    EXPECT_GE(adressen->findText("3"), 0);
    eintragen("5");
    EXPECT_EQ(m_meldungen.texte, QStringList({"Die Adresse 5 hat schon der Zähler 55555555 (Zeile "
                                              "5). Bitte eine freie Adresse wählen."}));
    EXPECT_EQ(zelle(1, 7), "");
    eintragen("7");
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_EQ(zelle(1, 7), "7");

    // Meter 1 still answers at 1 until it is written; 7 is planned for it.
    waehlen(2);
    EXPECT_LT(adressen->findText("1"), 0);
    EXPECT_LT(adressen->findText("7"), 0);
    eintragen(" 7");
    EXPECT_EQ(m_meldungen.texte,
              QStringList({"Die Adresse 7 ist schon für den Zähler 11111111 (Zeile 1) "
                           "vorgesehen. Bitte eine freie Adresse wählen."}));
    eintragen("1");
    EXPECT_EQ(m_meldungen.texte, QStringList({"Die Adresse 1 hat schon der Zähler 11111111 (Zeile "
                                              "1). Bitte eine freie Adresse wählen."}));
    EXPECT_EQ(zelle(2, 7), "");
    listeSchreiben();
    EXPECT_EQ(zelle(1, 7), "7: Ok!");
    EXPECT_EQ(zelle(2, 7), "");

    // Written, meter 1 has left address 1.
    waehlen(2);
    EXPECT_GE(adressen->findText("1"), 0);
    EXPECT_LT(adressen->findText("7"), 0);
    eintragen("1");
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    listeSchreiben();
    EXPECT_EQ(zelle(2, 7), "1: Ok!");

    EXPECT_EQ(scannen(), QStringList({"1 22222222", "5 55555555", "7 11111111"}));
}

} // namespace

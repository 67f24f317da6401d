// The imports of the test window into the meter database, alike in basis.mdb and on the server:
// matching of scan rows, defaults and the index template, the index list of one meter with its
// transaction, hostile IDs and addresses, and the tariff list.

#include "database/ZielUmgebung.h"

#include "bustest/DatenbankImport.h"
#include "grid/GridModell.h"

namespace {

// A grid from rows of cells (row 0 the header).
void Fuellen(FlexGrid& grid, const QList<QStringList>& zeilen)
{
    grid.setRows(static_cast<int>(zeilen.size()));
    qsizetype spalten = 0;
    for (const QStringList& zeile : zeilen)
        spalten = std::max(spalten, zeile.size());
    grid.setCols(static_cast<int>(spalten));
    for (int z = 0; z < zeilen.size(); ++z)
        for (int s = 0; s < zeilen[z].size(); ++s)
            grid.setTextMatrix(z, s, zeilen[z][s]);
}

const QStringList kScanKopf = {"Primär",      "ID",      "Herst.",   "Vers.",
                               "Medium",      "AnzDat.", "Baudrate", "Neue Primäradresse",
                               "Neu Baudrate"};

QStringList ScanZeile(const QString& adresse, const QString& id, const QString& medium = "Water",
                      const QString& hersteller = "ABC")
{
    return {adresse, id, hersteller, "7", medium, "3", "2400;9600;", "", ""};
}

} // namespace

template <class Ziel> class DatenbankImportTest : public ZielUmgebung<Ziel>
{
protected:
    Verbindung& db() { return this->m_ziel.pruefung(); }

    int listeImportieren(const QList<QStringList>& zeilen, int port = 3)
    {
        QList<QStringList> mitKopf = {kScanKopf};
        mitKopf += zeilen;
        Fuellen(m_scan, mitKopf);
        QString fehler;
        const int anzahl = DatenbankImport::ListeImportieren(db(), m_scan, m_vorlage, port, fehler);
        EXPECT_GE(anzahl, 0) << qPrintable(fehler);
        return anzahl;
    }
    // "ZNAME ZNr MBAdr MBComP" of every meter, sorted (new rows get whatever LZNR is free).
    QStringList zaehler()
    {
        QStringList liste;
        for (const auto& z :
             this->pruefZeilen(QStringLiteral("SELECT ZNAME, ZNr, MBAdr, MBComP FROM zaehler")))
            liste << QStringLiteral("%1 %2 %3 %4")
                         .arg(z[0].text(), z[1].text(), z[2].text(), z[3].text());
        liste.sort();
        return liste;
    }
    // A field of the meter with the number on port 3.
    QString feld(const QString& znr, const QString& name)
    {
        const auto zeilen = this->pruefZeilen(
            QStringLiteral("SELECT %1 FROM zaehler WHERE ZNr = ? AND MBComP = 3").arg(name), {znr});
        return zeilen.isEmpty() ? QStringLiteral("<keine Zeile>") : zeilen[0][0].text();
    }
    // "MBIndex|index|Art|Einheit|Speichern" of the meter's index rows, in stored order.
    QStringList indexListe(int lznr)
    {
        QStringList liste;
        for (const auto& z : this->pruefZeilen(
                 QStringLiteral("SELECT MBIndex, \"index\", Art, Einheit, Speichern FROM "
                                "MB_IndexListe WHERE Lznr = ? ORDER BY Art"),
                 {lznr}))
            liste << QStringList{z[0].istNull() ? "-" : z[0].text(),
                                 z[1].istNull() ? "-" : z[1].text(), z[2].text(), z[3].text(),
                                 z[4].text()}
                         .join(u'|');
        return liste;
    }
    void meterEinfuegen(int lznr, const QString& znr, int adresse, int port = 3,
                        const QString& name = "alt")
    {
        this->pruefAusfuehren(QStringLiteral("INSERT INTO zaehler (LZNR, ZNr, ZNAME, ZQUELLE, "
                                             "MBAdr, MBComP, FAKTOR) VALUES (?, ?, ?, 'M-Bus', ?, "
                                             "?, 3)"),
                              {lznr, znr, name, adresse, port});
    }
    DatenbankImport::Ergebnis indexeImportieren(const QList<QStringList>& saetze,
                                                const QString& adresse, QString& meldung)
    {
        QList<QStringList> mitKopf = {{"Index", "Medium", "Meßart", "Wert", "Einh."}};
        mitKopf += saetze;
        Fuellen(m_saetze, mitKopf);
        return DatenbankImport::IndexeImportieren(db(), m_saetze, 3, adresse, 4, meldung);
    }

    GridModell m_scan;
    GridModell m_vorlage;
    GridModell m_saetze;
};

TYPED_TEST_SUITE(DatenbankImportTest, DatenbankZiele, ZielName);

TYPED_TEST(DatenbankImportTest, scanRowsMatchByAddressOrByNumberAndNewOnesGetTheirName)
{
    this->meterEinfuegen(10, "1111", 5);
    this->meterEinfuegen(11, "2222", 0);
    this->meterEinfuegen(12, "3333", 7, 4);        // another port
    this->meterEinfuegen(13, "4444", 5, 3, "dup"); // a second meter at 5: the first one counts
    EXPECT_EQ(
        this->listeImportieren({ScanZeile("5", "9999"),   // by address, number changed
                                ScanZeile("0", "2222"),   // no address: by number
                                ScanZeile("253", "5555"), // no address to store, unknown number
                                ScanZeile("7", "3333"),   // known only on port 4
                                ScanZeile("", "6666"), ScanZeile("8", "")}),
        4);
    EXPECT_EQ(this->zaehler(), QStringList({"ABC_3333 3333 7 3", "ABC_5555 5555  3", "alt 2222 0 3",
                                            "alt 3333 7 4", "alt 9999 5 3", "dup 4444 5 3"}));
    EXPECT_EQ(this->feld("9999", "MBBaud"), "2400");
    EXPECT_EQ(this->feld("9999", "Hersteller"), "ABC");
    EXPECT_EQ(this->feld("9999", "MB_Medium"), "Water");
    EXPECT_EQ(this->feld("9999", "MB_Version"), "7");
    EXPECT_EQ(this->feld("9999", "MB_Id"), "9999");
    EXPECT_EQ(this->feld("9999", "MBZStand"), "1");
    EXPECT_EQ(this->feld("4444", "MB_Id"), ""); // untouched
}

TYPED_TEST(DatenbankImportTest, defaultsFillOnlyEmptyFieldsAndTheTemplateOverwrites)
{
    this->meterEinfuegen(10, "1111", 5);
    Fuellen(this->m_vorlage,
            {{"Herst", "MEDIUM", "MBIndex", "TarifGruppe", "TarifGrp", "Tarif", "Feld"},
             {"ABC", "GAS", "x", "Gas", "4", "5", "G"}, // bad number: no template
             {"ABC", "WATER", "2", "Wasser", "4", "5,7", "E"},
             {"ABC", "WATER", "3", "Zweite", "4", "5", "F"}});
    this->listeImportieren({ScanZeile("5", "1111"), ScanZeile("6", "2222", "Gas"),
                            ScanZeile("9", "3333", "Water", "XYZ")});
    const std::pair<const char*, const char*> faelle[] = {
        {"faktor", "3"},   {"Impulse", "1"},  {"\"offset\"", "0"}, {"ZTyp", "EVZ-Zähler"},
        {"ZStellen", "7"}, {"Stufe", "1"},    {"MBIndex", "2"},    {"TarifGruppe", "Wasser"},
        {"TarifGrp", "4"}, {"Tarif", "5;7;"}, {"Feld", "E"}};
    for (const auto& [name, wert] : faelle)
        EXPECT_EQ(this->feld("1111", name), QString::fromUtf8(wert)) << name;
    EXPECT_EQ(this->feld("2222", "faktor"), "1");
    for (const char* znr : {"2222", "3333"}) {
        EXPECT_EQ(this->feld(znr, "MBIndex"), "1") << znr;
        EXPECT_EQ(this->feld(znr, "TarifGruppe"), "Strom") << znr;
        EXPECT_EQ(this->feld(znr, "Tarif"), "5;") << znr;
    }
    EXPECT_EQ(DatenbankImport::TarifText(""), ";");
    EXPECT_EQ(DatenbankImport::TarifText("5;"), "5;");
}

TYPED_TEST(DatenbankImportTest, hostileIdsAreStoredAsTextAndChangeNoOtherRow)
{
    this->meterEinfuegen(10, "1111", 0);
    this->listeImportieren({ScanZeile("0", "1' OR '1'='1"), ScanZeile("0", "5 OR 1=1")});
    EXPECT_EQ(this->zaehler(), QStringList({"ABC_1' OR '1'='1 1' OR '1'='1 0 3",
                                            "ABC_5 OR 1=1 5 OR 1=1 0 3", "alt 1111 0 3"}));
}

TYPED_TEST(DatenbankImportTest, indexListOfOneMeterReplacesItsRowsOnce)
{
    this->meterEinfuegen(10, "1111", 5);
    this->meterEinfuegen(11, "2222", 6);
    this->pruefAusfuehren(QStringLiteral(
        "INSERT INTO MB_IndexListe (Lznr, MBIndex, Art) VALUES (10, 9, 'alt'), (11, 1, 'fremd')"));
    const QList<QStringList> saetze = {{"", "", "", "", ""},
                                       {"5 [1]", "Heat", "Energie", "100", "kWh"},
                                       {"5 [2]", "Heat", "Volumen", "12", "m3 sehr lang"},
                                       {"5 [0]", "Heat", "Zeit", "", "Datum"},
                                       {"4", "Heat", "Zahl", "", ""}};
    QString meldung;
    for (int mal = 0; mal < 2; ++mal)
        EXPECT_EQ(this->indexeImportieren(saetze, " 5 ", meldung), DatenbankImport::Ergebnis::Ok)
            << qPrintable(meldung);
    EXPECT_EQ(this->indexListe(10), QStringList({"1|-|Energie|kWh|1", "2|-|Volumen|m3 sehr la|1",
                                                 "4|-|Zahl||1", "-|-|Zeit|Datum|1"}));
    EXPECT_EQ(this->indexListe(11), QStringList({"1|-|fremd||0"}));

    Mandant = QStringLiteral("2500");
    EXPECT_EQ(this->indexeImportieren(saetze.mid(0, 2), "5", meldung),
              DatenbankImport::Ergebnis::Ok);
    Mandant.clear();
    EXPECT_EQ(this->indexListe(10), QStringList({"-|1|Energie|kWh|1"}));
}

TYPED_TEST(DatenbankImportTest, unknownAmbiguousOrHostileAddressFindsNoMeterAndDeletesNothing)
{
    this->meterEinfuegen(10, "1111", 5);
    this->meterEinfuegen(11, "2222", 0);
    this->meterEinfuegen(12, "3333", 0);
    this->pruefAusfuehren(
        QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex, Art) VALUES (10, 1, 'alt')"));
    QString meldung;
    for (const char* adresse : {"6", "0", "5 OR 1=1", "5'", "", "abc"})
        EXPECT_EQ(this->indexeImportieren({{"5 [1]", "Heat", "Energie", "1", "kWh"}},
                                          QString::fromLatin1(adresse), meldung),
                  DatenbankImport::Ergebnis::NichtGefunden)
            << adresse;
    EXPECT_EQ(this->indexListe(10).size(), 1);
}

TYPED_TEST(DatenbankImportTest, failureOnTheThirdRowKeepsTheOldList)
{
    this->meterEinfuegen(10, "1111", 5);
    this->pruefAusfuehren(
        QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex, Art) VALUES (10, 7, 'alt')"));
    // The same kind twice in one meter's list breaks this index on the third row.
    this->pruefAusfuehren(
        QStringLiteral("CREATE UNIQUE INDEX art_einmal ON MB_IndexListe (Lznr, Art)"));
    QString meldung;
    EXPECT_EQ(
        this->indexeImportieren(
            {{"5 [1]", "", "A", "", ""}, {"5 [2]", "", "B", "", ""}, {"5 [3]", "", "A", "", ""}},
            "5", meldung),
        DatenbankImport::Ergebnis::Fehler);
    EXPECT_TRUE(meldung.startsWith("Import Idx ")) << qPrintable(meldung);
    EXPECT_TRUE(meldung.endsWith("\n\rIndex = 3  Zeile=4")) << qPrintable(meldung);
    EXPECT_EQ(this->indexListe(10), QStringList({"7|-|alt||0"}));
}

TYPED_TEST(DatenbankImportTest, databaseWithoutTablesGivesAMessage)
{
    this->pruefAusfuehren(QStringLiteral("DROP TABLE zaehler"));
    Fuellen(this->m_scan, {kScanKopf, ScanZeile("5", "1")});
    QString fehler;
    EXPECT_EQ(
        DatenbankImport::ListeImportieren(this->db(), this->m_scan, this->m_vorlage, 3, fehler),
        -1);
    EXPECT_FALSE(fehler.isEmpty());
    Fuellen(this->m_scan, {{"a", "b"}, {"1", "2"}});
    EXPECT_EQ(
        DatenbankImport::ListeImportieren(this->db(), this->m_scan, this->m_vorlage, 3, fehler),
        -1);
    EXPECT_EQ(fehler, "Die Liste hat nicht die Spalten einer Zählerliste.");
}

TYPED_TEST(DatenbankImportTest, tariffsOfOneMeterInTheirOrderWithoutDuplicates)
{
    this->meterEinfuegen(10, "1111", 5);
    this->meterEinfuegen(11, "2222", 6);
    this->pruefAusfuehren(QStringLiteral(
        "INSERT INTO ta (TA_NR, TA_BEZ, Ta_Reihenfolge) VALUES (1, 'HT', 2), (2, 'NT', 1)"));
    this->pruefAusfuehren(QStringLiteral("INSERT INTO tazuordnung (zlznr, zta, MBusIndex) VALUES "
                                         "(10, 1, 3), (10, 2, 4), (11, 1, 9)"));
    GridModell grid;
    ASSERT_TRUE(DatenbankImport::TarifeEinlesen(this->db(), 10, grid));
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 0) + grid.TextMatrix(0, 1), "TarifIndex");
    EXPECT_EQ(grid.TextMatrix(1, 0) + grid.TextMatrix(1, 1), "NT4");
    EXPECT_EQ(grid.TextMatrix(2, 0) + grid.TextMatrix(2, 1), "HT3");
}

TEST(DatenbankImportVorlage, rowsThatCannotServeAsATemplateAreNamed)
{
    const QStringList kopf = {"Herst",    "MEDIUM", "MBIndex", "TarifGruppe",
                              "TarifGrp", "Tarif",  "Feld"};
    GridModell vorlage;
    Fuellen(vorlage, {kopf, {"ABC", "WATER", "2", "Wasser", "4", "5,7", "E"}});
    EXPECT_EQ(DatenbankImport::VorlageMaengel(vorlage), "");
    Fuellen(vorlage, {kopf,
                      {"ABC", "WATER", "2", "Wasser", "4", "5,7", "E"},
                      {"ABC", "GAS", "", "Gas", "4", "5", "G"},
                      {"ABC", "HEAT", "1", "Wärme", "x", "5", "W"}});
    EXPECT_EQ(DatenbankImport::VorlageMaengel(vorlage),
              "MBusImportIndex.txt: Zeile 3, 4 wird nicht verwendet (MBIndex und TarifGrp müssen "
              "ganze Zahlen sein).");
    Fuellen(vorlage, {{"Herst", "MEDIUM", "MBIndex"}, {"ABC", "WATER", "2"}});
    EXPECT_EQ(DatenbankImport::VorlageMaengel(vorlage),
              "MBusImportIndex.txt hat weniger als 7 Spalten (Herst.;Medium;MBIndex;TarifGruppe;"
              "TarifGrp;Tarif;Feld) und wird nicht verwendet.");
    // No list loaded: an empty grid.
    GridModell leer;
    EXPECT_EQ(DatenbankImport::VorlageMaengel(leer), "");
    Fuellen(vorlage, {{"Herst", "MEDIUM"}, {"", " "}});
    EXPECT_EQ(DatenbankImport::VorlageMaengel(vorlage), "");
}

TYPED_TEST(DatenbankImportTest, twoMetersAtOneAddressKeepARowEachAndTheClashIsNamed)
{
    this->meterEinfuegen(10, "1111", 5);
    DatenbankImport::ListenBericht bericht;
    // 1111 keeps its row, 2222 gets a row of its own; the same meter listed twice is one.
    Fuellen(this->m_scan, {kScanKopf, ScanZeile("5", "2222"), ScanZeile("5", "1111"),
                           ScanZeile("6", "5555"), ScanZeile("6", "6666"), ScanZeile("6", "5555")});
    QString fehler;
    EXPECT_EQ(DatenbankImport::ListeImportieren(this->db(), this->m_scan, this->m_vorlage, 3,
                                                fehler, &bericht),
              5)
        << qPrintable(fehler);
    EXPECT_EQ(this->zaehler(), QStringList({"ABC_2222 2222 5 3", "ABC_5555 5555 6 3",
                                            "ABC_6666 6666 6 3", "alt 1111 5 3"}));
    EXPECT_EQ(bericht.Meldung(), "Adresse 5 (2222, 1111) ist in der Liste mehrfach vergeben: "
                                 "jeder Zähler wurde in einer eigenen Zeile gespeichert.\n"
                                 "Adresse 6 (5555, 6666) ist in der Liste mehrfach vergeben: "
                                 "jeder Zähler wurde in einer eigenen Zeile gespeichert.");
}

TYPED_TEST(DatenbankImportTest, aMeterStoredWithoutAddressTakesItWhenFoundAtOne)
{
    // Listed only at the broadcast address, the meter is stored without an address.
    EXPECT_EQ(this->listeImportieren({ScanZeile("254", "5555")}), 1);
    EXPECT_EQ(this->zaehler(), QStringList({"ABC_5555 5555  3"}));
    const QString lznr = this->feld("5555", "LZNR");
    // Found at its own address later, it keeps its row and takes the address.
    this->meterEinfuegen(20, "6666", 9);
    EXPECT_EQ(this->listeImportieren({ScanZeile("7", "5555"), ScanZeile("9", "7777")}), 2);
    EXPECT_EQ(this->zaehler(), QStringList({"ABC_5555 5555 7 3", "alt 7777 9 3"}));
    EXPECT_EQ(this->feld("5555", "LZNR"), lznr);
}

TYPED_TEST(DatenbankImportTest, aMeterStoredWithoutAUsableAddressNeverGetsASecondRow)
{
    // Listed above 250 first and at its address later in the same list, among others.
    this->meterEinfuegen(20, "6666", 7); // no longer on the bus
    EXPECT_EQ(this->listeImportieren({ScanZeile("254", "5555"), ScanZeile("253", "5555"),
                                      ScanZeile("7", "5555"), ScanZeile("254", "5555")}),
              4);
    EXPECT_EQ(this->zaehler(), QStringList({"ABC_5555 5555 7 3", "alt 6666 7 3"}));

    // A new meter found at the factory address 0 is stored there; given its own address it
    // keeps that row, whether the list shows it at 0 as well or not.
    EXPECT_EQ(this->listeImportieren({ScanZeile("0", "8888"), ScanZeile("0", "9999")}), 2);
    const QString lznr8888 = this->feld("8888", "LZNR");
    const QString lznr9999 = this->feld("9999", "LZNR");
    EXPECT_EQ(this->listeImportieren({ScanZeile("9", "8888")}), 1);
    EXPECT_EQ(this->listeImportieren({ScanZeile("0", "9999"), ScanZeile("10", "9999")}), 2);
    EXPECT_EQ(this->zaehler(), QStringList({"ABC_5555 5555 7 3", "ABC_8888 8888 9 3",
                                            "ABC_9999 9999 10 3", "alt 6666 7 3"}));
    EXPECT_EQ(this->feld("8888", "LZNR"), lznr8888);
    EXPECT_EQ(this->feld("9999", "LZNR"), lznr9999);
    // The next list again: nothing is added.
    EXPECT_EQ(this->listeImportieren({ScanZeile("9", "8888"), ScanZeile("10", "9999"),
                                      ScanZeile("7", "5555"), ScanZeile("254", "8888")}),
              4);
    EXPECT_EQ(this->zaehler(), QStringList({"ABC_5555 5555 7 3", "ABC_8888 8888 9 3",
                                            "ABC_9999 9999 10 3", "alt 6666 7 3"}));
}

TYPED_TEST(DatenbankImportTest, theNoteOnRowsAboveTheLastAddressTellsKeptFromNewMeters)
{
    this->meterEinfuegen(10, "1111", 5);
    const auto bericht = [this](const QList<QStringList>& zeilen) {
        QList<QStringList> mitKopf = {kScanKopf};
        mitKopf += zeilen;
        Fuellen(this->m_scan, mitKopf);
        QString fehler;
        DatenbankImport::ListenBericht b;
        EXPECT_GE(DatenbankImport::ListeImportieren(this->db(), this->m_scan, this->m_vorlage, 3,
                                                    fehler, &b),
                  0)
            << qPrintable(fehler);
        return b.Meldung();
    };
    const QString anfang = "mit einer Adresse über 250 (keine Primäradresse): diese Adresse "
                           "wurde nicht gespeichert, ";
    EXPECT_EQ(bericht({ScanZeile("254", "5555")}),
              "1 Zeile " + anfang + "der Zähler wurde ohne Adresse gespeichert.");
    // stored without one before, it still has none
    EXPECT_EQ(bericht({ScanZeile("254", "5555"), ScanZeile("253", "6666")}),
              "2 Zeilen " + anfang + "die Zähler wurden ohne Adresse gespeichert.");
    EXPECT_EQ(bericht({ScanZeile("254", "1111")}),
              "1 Zeile " + anfang + "der Zähler behält seine bisherige Adresse.");
    EXPECT_EQ(bericht({ScanZeile("254", "1111"), ScanZeile("253", "1111"), ScanZeile("254", "7777"),
                       ScanZeile("254", "6666")}),
              "4 Zeilen " + anfang +
                  "1 Zähler behält seine bisherige Adresse, 2 Zähler wurden ohne Adresse "
                  "gespeichert.");
    // given an address by another row of the list, the meter has one
    EXPECT_EQ(bericht({ScanZeile("254", "8888"), ScanZeile("8", "8888")}),
              "1 Zeile " + anfang + "der Zähler behält seine bisherige Adresse.");
    EXPECT_EQ(this->zaehler(),
              QStringList({"ABC_5555 5555  3", "ABC_6666 6666  3", "ABC_7777 7777  3",
                           "ABC_8888 8888 8 3", "alt 1111 5 3"}));
}

TEST(DatenbankImportBericht, rowsAboveTheLastPrimaryAddressAreCountedInWords)
{
    DatenbankImport::ListenBericht bericht;
    bericht.ohneAdresse = 2;
    EXPECT_EQ(bericht.Meldung(), "2 Zeilen mit einer Adresse über 250 (keine Primäradresse): diese "
                                 "Adresse wurde nicht gespeichert, die Zähler behalten ihre "
                                 "bisherige Adresse.");
}

// Records and telegram structures: DIF/DIFE chains, special functions, the limits of the blocks,
// MSB-first telegrams, the fixed data structure and application errors.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"

namespace {

using namespace mbus;
using namespace dekodiertest;

class DatensatzTest : public TestUmgebung
{
};

TEST_F(DatensatzTest, difUndDifesGebenSpeicherTarifUntereinheitUndFunktion)
{
    const struct
    {
        const char* dib; // followed by VIF 13 and the data bytes of the data field
        quint64 speicher;
        quint32 tarif;
        quint32 untereinheit;
        Funktion funktion;
    } faelle[] = {
        {"0C", 0, 0, 0, Funktion::Momentanwert},
        {"4C", 1, 0, 0, Funktion::Momentanwert},
        {"8C 01", 2, 0, 0, Funktion::Momentanwert},
        {"CC 01", 3, 0, 0, Funktion::Momentanwert},
        {"84 8F 0F", 510, 0, 0, Funktion::Momentanwert},
        {"8C 10", 0, 1, 0, Funktion::Momentanwert},
        {"8E 80 10", 0, 4, 0, Funktion::Momentanwert},
        {"8E 80 40", 0, 0, 2, Funktion::Momentanwert},
        {"84 50", 0, 1, 1, Funktion::Momentanwert},
        {"8C 90 10", 0, 5, 0, Funktion::Momentanwert},
        {"9B 10", 0, 1, 0, Funktion::Maximalwert},
        {"2C", 0, 0, 0, Funktion::Minimalwert},
        {"B2 01", 2, 0, 0, Funktion::Fehlerwert},
    };
    static constexpr int kLaenge[16] = {0, 1, 2, 3, 4, 4, 6, 8, 0, 1, 2, 3, 4, 0, 6, 0};
    for (const auto& f : faelle) {
        const QByteArray dib = Hex(f.dib);
        const QByteArray daten(kLaenge[dib[0] & 0x0F], '\x01');
        const Datensatz d = EinDatensatz(QString::fromLatin1((dib + '\x13' + daten).toHex()));
        EXPECT_EQ(d.speicher, f.speicher) << f.dib;
        EXPECT_EQ(d.tarif, f.tarif) << f.dib;
        EXPECT_EQ(d.untereinheit, f.untereinheit) << f.dib;
        EXPECT_EQ(d.funktion, f.funktion) << f.dib;
        EXPECT_EQ(d.block.dib, dib) << f.dib;
    }
}

TEST_F(DatensatzTest, weitereDatensaetzeSindVonHerstellerdatenUnterschieden)
{
    const QList<Datensatz> weitere = AlleDatensaetze("04 13 39 30 00 00 2F 2F 1F");
    ASSERT_EQ(weitere.size(), 2); // fillers are no records
    EXPECT_EQ(weitere[1].sonderfunktion, Sonderfunktion::WeitereDatensaetze);
    EXPECT_EQ(weitere[1].datenfeld, 15);
    EXPECT_EQ(WertHex(weitere[1]), "");
    EXPECT_EQ(DatenfeldText(weitere[1], Sprache::Deutsch), "Weitere Datensätze folgen");

    const auto mitWeiteren =
        DekodiereGenau(BaueRahmen(VariablerKopf() + Hex("04 13 39 30 00 00 1F")));
    EXPECT_TRUE(std::get<Telegramm>(mitWeiteren).weitereDatensaetze());
    EXPECT_FALSE(std::get<Telegramm>(mitWeiteren).herstellerdaten());

    const auto mitHersteller =
        DekodiereGenau(BaueRahmen(VariablerKopf() + Hex("04 13 39 30 00 00 0F 1F 2F 01")));
    const Telegramm& t = std::get<Telegramm>(mitHersteller);
    EXPECT_FALSE(t.weitereDatensaetze());
    EXPECT_TRUE(t.herstellerdaten());
    ASSERT_EQ(t.datensaetze.size(), 2);
    EXPECT_EQ(t.datensaetze[1].datenfeld, 15);
    EXPECT_EQ(WertText(t.datensaetze[1]), "1F 2F 01"); // everything behind 0F, as sent
    EXPECT_EQ(WertHex(t.datensaetze[1]), "1F2F01");
    EXPECT_EQ(DatenfeldText(t.datensaetze[1], Sprache::Englisch), "Manufacturer data");

    const auto nurFueller = DekodiereGenau(BaueRahmen(VariablerKopf() + Hex("2F 2F 2F")));
    EXPECT_TRUE(std::get<Telegramm>(nurFueller).datensaetze.isEmpty());
}

TEST_F(DatensatzTest, zehnErweiterungenSindErlaubtElfNicht)
{
    const QString zehnDifes = "8C " + QString("80 ").repeated(9) + "00 13 01 00 00 00";
    EXPECT_EQ(AlleDatensaetze(zehnDifes).size(), 1);
    const auto elfDifes = DekodiereGenau(BaueRahmen(
        VariablerKopf() + Hex("8C " + QString("80 ").repeated(10) + "00 13 01 00 00 00")));
    EXPECT_TRUE(std::holds_alternative<ZuVieleDifes>(std::get<DekodierFehler>(elfDifes)));

    const QString zehnVifes = "01 93 " + QString("BB ").repeated(9) + "3B 01";
    EXPECT_EQ(AlleDatensaetze(zehnVifes).size(), 1);
    const auto elfVifes = DekodiereGenau(
        BaueRahmen(VariablerKopf() + Hex("01 93 " + QString("BB ").repeated(10) + "3B 01")));
    EXPECT_TRUE(std::holds_alternative<ZuVieleVifes>(std::get<DekodierFehler>(elfVifes)));
}

TEST_F(DatensatzTest, reservierteSonderfunktionWirdAbgelehnt)
{
    for (const char* dif : {"3F", "7F", "8F"}) {
        const auto ergebnis =
            DekodiereGenau(BaueRahmen(VariablerKopf() + Hex(QString("04 13 39 30 00 00 ") + dif)));
        const auto& fehler = std::get<DekodierFehler>(ergebnis);
        ASSERT_TRUE(std::holds_alternative<ReserviertesDif>(fehler)) << dif;
        EXPECT_EQ(std::get<ReserviertesDif>(fehler).position, 25);
        EXPECT_EQ(DekodierFehlerText(fehler, Sprache::Deutsch),
                  QString("Reserviertes DIF %1 an Stelle 25").arg(dif));
    }
}

TEST_F(DatensatzTest, kopfDerVariablenStruktur)
{
    const auto ergebnis = DekodiereGenau(
        BaueRahmen(Hex("45 23 11 70 93 15 02 07 02 10 00 00 0C 13 67 45 23 01"), 0x72, 0x08, 0x01));
    const Telegramm& t = std::get<Telegramm>(ergebnis);
    EXPECT_EQ(t.kopf.adresse, 1);
    EXPECT_EQ(IdentText(t.kopf), "70112345");
    EXPECT_EQ(IdentNummer(t.kopf), 70112345);
    EXPECT_EQ(HerstellerText(t.kopf.hersteller), "ELS");
    EXPECT_EQ(t.kopf.version, 2);
    EXPECT_EQ(MediumText(t.kopf.medium, Sprache::Deutsch), "Wasser");
    EXPECT_EQ(t.kopf.zugriffsnummer, 2);
    EXPECT_EQ(StatusText(t.kopf, Sprache::Deutsch), "Vorübergehender Fehler");
    ASSERT_EQ(t.datensaetze.size(), 1);
    EXPECT_EQ(WertText(t.datensaetze[0]), "1234.567");

    Kopf k;
    k.ident = 0x0500023E;
    EXPECT_EQ(IdentText(k), "0500023E");
    EXPECT_FALSE(IdentNummer(k));
    k.status = 0x25;
    EXPECT_EQ(StatusText(k, Sprache::Englisch),
              "Application busy, Power low, Manufacturer bits 20");
}

TEST_F(DatensatzTest, ci76SendetDasHoechstwertigeByteZuerst)
{
    const auto ergebnis = DekodiereGenau(BaueRahmen(
        Hex("12 34 56 78 14 C5 01 04 2A 00 00 00 04 13 00 00 30 39 0D FD 0B 05 57 46 48 32 31"),
        0x76));
    const Telegramm& t = std::get<Telegramm>(ergebnis);
    EXPECT_EQ(IdentText(t.kopf), "12345678");
    EXPECT_EQ(HerstellerText(t.kopf.hersteller), "EFE");
    ASSERT_EQ(t.datensaetze.size(), 2);
    EXPECT_EQ(WertText(t.datensaetze[0]), "12.345");
    EXPECT_EQ(WertText(t.datensaetze[1]), "WFH21"); // characters in reading order
}

TEST_F(DatensatzTest, festeStrukturGibtZweiZaehler)
{
    // Ident 12345678, access 5, status 0 (BCD, current values), counter 1 kWh, counter 2 m^3;
    // the top bits of the unit bytes give medium 4 (heat).
    const auto bcd =
        DekodiereGenau(BaueRahmen(Hex("78 56 34 12 05 00 05 6C 45 23 01 00 00 01 00 00"), 0x73));
    const Telegramm& t = std::get<Telegramm>(bcd);
    EXPECT_TRUE(t.kopf.festeStruktur);
    EXPECT_EQ(IdentNummer(t.kopf), 12345678);
    EXPECT_EQ(t.kopf.zugriffsnummer, 5);
    EXPECT_EQ(MediumText(t.kopf.medium, Sprache::Deutsch), "Wärme");
    ASSERT_EQ(t.datensaetze.size(), 2);
    EXPECT_EQ(BeschreibungText(t.datensaetze[0], Sprache::Deutsch), "Energie");
    EXPECT_EQ(EinheitText(t.datensaetze[0], Sprache::Deutsch), "kWh");
    EXPECT_EQ(WertText(t.datensaetze[0]), "12345");
    EXPECT_EQ(EinheitText(t.datensaetze[1], Sprache::Deutsch), "m^3");
    EXPECT_EQ(WertText(t.datensaetze[1]), "100");
    EXPECT_EQ(DatenfeldText(t.datensaetze[0], Sprache::Deutsch), "8 Ziffern BCD");

    // Binary counters (status bit 7), MSB first (CI 77); counter 2 "same unit, historic".
    const auto binaer =
        DekodiereGenau(BaueRahmen(Hex("12 34 56 78 05 80 29 3E 00 00 30 39 00 00 00 64"), 0x77));
    const Telegramm& b = std::get<Telegramm>(binaer);
    EXPECT_EQ(IdentNummer(b.kopf), 12345678);
    EXPECT_EQ(WertText(b.datensaetze[0]), "12.345"); // l
    EXPECT_EQ(b.datensaetze[0].speicher, 0u);
    EXPECT_EQ(WertText(b.datensaetze[1]), "0.1");
    EXPECT_EQ(EinheitText(b.datensaetze[1], Sprache::Deutsch), "m^3");
    EXPECT_EQ(b.datensaetze[1].speicher, 1u);
}

TEST_F(DatensatzTest, anwendungsfehlerMitUndOhneCode)
{
    const auto beschaeftigt = DekodiereGenau(BaueRahmen(Hex("08"), 0x70));
    const auto& fehler = std::get<Anwendungsfehler>(beschaeftigt);
    EXPECT_EQ(fehler.code, 8);
    EXPECT_EQ(AnwendungsfehlerText(fehler.code, Sprache::Deutsch), "Anwendung beschäftigt");
    const auto ohne = DekodiereGenau(BaueRahmen(QByteArray(), 0x70));
    EXPECT_FALSE(std::get<Anwendungsfehler>(ohne).code);
    EXPECT_EQ(AnwendungsfehlerText(std::nullopt, Sprache::Englisch), "Unspecified error");
    EXPECT_EQ(AnwendungsfehlerText(0x42, Sprache::Englisch), "Unknown error 66");
}

TEST_F(DatensatzTest, rohblockBehaeltDieBytesFuerDieHexAnsicht)
{
    const Datensatz d = EinDatensatz("8C 10 04 52 12 00 00");
    EXPECT_EQ(d.block.position, 19);
    EXPECT_EQ(d.block.dib, Hex("8C 10"));
    EXPECT_EQ(d.block.vib, Hex("04"));
    EXPECT_EQ(d.block.daten, Hex("52 12 00 00"));
    EXPECT_EQ(WertHex(d), "00001252");
    EXPECT_EQ(WertText(d), "12.52");
    EXPECT_EQ(DatenfeldText(d, Sprache::Englisch), "8 digit BCD");
    EXPECT_EQ(FunktionText(d.funktion, Sprache::Deutsch), "Momentanwert");
    const Datensatz klartext = EinDatensatz("02 FC 03 48 52 25 74 22 15");
    EXPECT_EQ(klartext.block.klartext, "HR%");
    EXPECT_EQ(klartext.block.vib, Hex("FC 74"));
}

} // namespace

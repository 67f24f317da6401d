// The link frame around a meter's answer (each fault with its text and receive-error bits), and
// the telegram structures: DIF/DIFE chains, special functions, the limits of the blocks,
// MSB-first telegrams, the fixed data structure and application errors.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"

namespace {

using namespace mbus;
using namespace dekodiertest;

using DatensatzTest = TestUmgebung;

// manual_frame7 of the shared telegrams: one fabrication number record.
const char* const kGut = "68 15 15 68 08 02 72 78 56 34 12 24 40 01 07 13 00 00 00 "
                         "0C 78 04 03 02 01 9D 16";

DekodierFehler Fehler(const QByteArray& bytes)
{
    const auto ergebnis = DekodiereGenau(bytes);
    const auto* f = std::get_if<DekodierFehler>(&ergebnis);
    EXPECT_NE(f, nullptr);
    return f ? *f : DekodierFehler{};
}

TEST_F(DatensatzTest, fehlerDerVerbindungsschichtBeschreibenDieBytes)
{
    const QByteArray gut = Hex(kGut);
    QByteArray pruefsumme = gut;
    pruefsumme[25] = char(0x9E);
    QByteArray stopp = gut;
    stopp[26] = char(0x17);
    QByteArray laenge = gut;
    laenge[2] = char(0x16);

    const struct
    {
        QByteArray bytes;
        const char* text;
        int bits;
    } faelle[] = {
        {QByteArray(), "Incomplete frame: 9 bytes expected, 0 received", 16},
        {Hex("10 5B FE 59 16"), "Wrong start character 10 at byte 0", 8},
        {Hex("68 15"), "Incomplete frame: 9 bytes expected, 2 received", 16},
        {laenge, "Length fields differ: 15 and 16", 16},
        {Hex("68 15 15 69"), "Wrong start character 69 at byte 3", 8},
        {Hex("68 02 02 68 08 01 09 16"), "Invalid length field 02", 16},
        {gut.left(20), "Incomplete frame: 27 bytes expected, 20 received", 16},
        {gut + '\x16', "Wrong length: 27 bytes expected, 28 received", 16},
        {pruefsumme, "Wrong checksum: computed 9D, received 9E", 4},
        {stopp, "Wrong stop character 17", 32},
    };
    for (const auto& f : faelle) {
        const DekodierFehler fehler = Fehler(f.bytes);
        EXPECT_EQ(DekodierFehlerText(fehler, Sprache::Englisch), QString::fromUtf8(f.text));
        EXPECT_EQ(EmpfangsfehlerBits(fehler), f.bits) << f.text;
    }
    EXPECT_EQ(DekodierFehlerText(Fehler(pruefsumme), Sprache::Deutsch),
              "Prüfsumme falsch: berechnet 9D, empfangen 9E");
    EXPECT_EQ(DekodierFehlerText(Fehler(gut.left(20)), Sprache::Deutsch),
              "Rahmen unvollständig: 27 Bytes erwartet, 20 empfangen");
}

TEST_F(DatensatzTest, nurAntwortenMitNutzdatenEinesZaehlers)
{
    // RSP_UD with and without the ACD and DFC bits.
    for (const quint8 c : {0x08, 0x18, 0x28, 0x38})
        EXPECT_EQ(FehlerText(BaueRahmen(VariablerKopf(), 0x72, c)), "") << int(c);
    const DekodierFehler master = Fehler(BaueRahmen(VariablerKopf(), 0x72, 0x53));
    EXPECT_EQ(std::get<KeineZaehlerantwort>(master).steuerfeld, 0x53);
    EXPECT_EQ(EmpfangsfehlerBits(master), 0); // the frame itself arrived intact

    const DekodierFehler ci = Fehler(BaueRahmen(VariablerKopf(), 0x51));
    EXPECT_EQ(DekodierFehlerText(ci, Sprache::Deutsch), "CI-Feld 51 wird nicht unterstützt");
    EXPECT_EQ(FehlerText(BaueRahmen(VariablerKopf().left(11))),
              "Data header too short (CI 72): 12 bytes expected, 11 present");
}

TEST_F(DatensatzTest, rohdatenAlsHexUndDezimal)
{
    const QByteArray rahmen = Hex("68 03 03 68 08 FF 70 77 16");
    EXPECT_EQ(RohdatenHex(rahmen), "6803036808FF707716");
    EXPECT_EQ(RohdatenDez(rahmen), "104003003104008255112119022");
}

// ---- records

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
        {"CC 01", 3, 0, 0, Funktion::Momentanwert},
        {"84 8F 0F", 510, 0, 0, Funktion::Momentanwert},
        {"8E 80 40", 0, 0, 2, Funktion::Momentanwert},
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
    }
}

TEST_F(DatensatzTest, weitereDatensaetzeSindVonHerstellerdatenUnterschieden)
{
    const QList<Datensatz> weitere = AlleDatensaetze("04 13 39 30 00 00 2F 2F 1F");
    ASSERT_EQ(weitere.size(), 2); // fillers are no records
    EXPECT_EQ(weitere[1].sonderfunktion, Sonderfunktion::WeitereDatensaetze);
    EXPECT_EQ(DatenfeldText(weitere[1], Sprache::Deutsch), "Weitere Datensätze folgen");
    const auto mitHersteller = DekodiereGenau(RahmenMit("04 13 39 30 00 00 0F 1F 2F 01"));
    const Telegramm& t = std::get<Telegramm>(mitHersteller);
    ASSERT_EQ(t.datensaetze.size(), 2);
    EXPECT_EQ(WertText(t.datensaetze[1]), "1F 2F 01"); // everything behind 0F, as sent
    EXPECT_EQ(WertHex(t.datensaetze[1]), "1F2F01");
    EXPECT_EQ(DatenfeldText(t.datensaetze[1], Sprache::Englisch), "Manufacturer data");
    EXPECT_TRUE(AlleDatensaetze("2F 2F 2F").isEmpty());
}

TEST_F(DatensatzTest, zehnErweiterungenSindErlaubtElfUndReservierteDifsNicht)
{
    const struct
    {
        QString datensaetze;
        const char* fehler; // "" : decoded
    } faelle[] = {
        {"8C " + QString("80 ").repeated(9) + "00 13 01 00 00 00", ""},
        {"8C " + QString("80 ").repeated(10) + "00 13 01 00 00 00",
         "More than 10 DIFEs in the record at byte 19"},
        {"01 93 " + QString("BB ").repeated(9) + "3B 01", ""},
        {"01 93 " + QString("BB ").repeated(10) + "3B 01",
         "More than 10 VIFEs in the record at byte 19"},
        {"04 13 39 30 00 00 3F", "Reserved DIF 3F at byte 25"},
        {"04 13 39 30 00 00 7F", "Reserved DIF 7F at byte 25"},
        {"04 13 39 30 00 00 8F", "Reserved DIF 8F at byte 25"},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(FehlerText(RahmenMit(f.datensaetze)), f.fehler) << f.datensaetze.toStdString();
}

TEST_F(DatensatzTest, identUndStatusDesKopfs)
{
    Kopf k;
    k.ident = 0x0500023E;
    EXPECT_EQ(IdentText(k), "0500023E");
    EXPECT_FALSE(IdentNummer(k));
    k.status = 0x10;
    EXPECT_EQ(StatusText(k, Sprache::Deutsch), "Vorübergehender Fehler");
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
    EXPECT_EQ(MediumText(t.kopf.medium, Sprache::Deutsch), "Wärme");
    ASSERT_EQ(t.datensaetze.size(), 2);
    EXPECT_EQ(EinheitText(t.datensaetze[0], Sprache::Deutsch), "kWh");
    EXPECT_EQ(WertText(t.datensaetze[0]), "12345");
    EXPECT_EQ(EinheitText(t.datensaetze[1], Sprache::Deutsch), "m^3");
    EXPECT_EQ(WertText(t.datensaetze[1]), "100");

    // Binary counters (status bit 7), MSB first (CI 77); counter 2 "same unit, historic".
    const auto binaer =
        DekodiereGenau(BaueRahmen(Hex("12 34 56 78 05 80 29 3E 00 00 30 39 00 00 00 64"), 0x77));
    const Telegramm& b = std::get<Telegramm>(binaer);
    EXPECT_EQ(IdentNummer(b.kopf), 12345678);
    EXPECT_EQ(WertText(b.datensaetze[0]), "12.345"); // l
    EXPECT_EQ(WertText(b.datensaetze[1]), "0.1");
    EXPECT_EQ(EinheitText(b.datensaetze[1], Sprache::Deutsch), "m^3");
    EXPECT_EQ(b.datensaetze[1].speicher, 1u);
}

TEST_F(DatensatzTest, anwendungsfehlerMitUndOhneCode)
{
    const auto beschaeftigt = DekodiereGenau(BaueRahmen(Hex("08"), 0x70));
    EXPECT_EQ(AnwendungsfehlerText(std::get<Anwendungsfehler>(beschaeftigt).code, Sprache::Deutsch),
              "Anwendung beschäftigt");
    const auto ohne = DekodiereGenau(BaueRahmen(QByteArray(), 0x70));
    EXPECT_FALSE(std::get<Anwendungsfehler>(ohne).code);
    EXPECT_EQ(AnwendungsfehlerText(std::nullopt, Sprache::Englisch), "Unspecified error");
    EXPECT_EQ(AnwendungsfehlerText(0x42, Sprache::Englisch), "Unknown error 66");
}

} // namespace

// The link frame around a meter's answer: start, lengths, checksum, stop and C field.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "driver/decode/LangerRahmen.h"

namespace {

using namespace mbus;
using namespace dekodiertest;

class LangerRahmenTest : public TestUmgebung
{
};

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

TEST_F(LangerRahmenTest, gueltigerRahmenWirdGelesen)
{
    const auto gelesen = LiesLangenRahmen(Hex(kGut));
    const auto& r = std::get<mbus::LangerRahmen>(gelesen);
    EXPECT_EQ(r.steuerfeld, 0x08);
    EXPECT_EQ(r.adresse, 0x02);
    EXPECT_EQ(r.ci, 0x72);
    EXPECT_EQ(r.datenAnfang, 7);
    EXPECT_EQ(r.datenEnde, 25);
}

TEST_F(LangerRahmenTest, fehlerDerVerbindungsschichtBeschreibenDieBytes)
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
        const char* deutsch;
        const char* englisch;
        int bits;
    } faelle[] = {
        {QByteArray(), "Rahmen unvollständig: 9 Bytes erwartet, 0 empfangen",
         "Incomplete frame: 9 bytes expected, 0 received", 16},
        {Hex("10 5B FE 59 16"), "Falsches Startzeichen 10 an Stelle 0",
         "Wrong start character 10 at byte 0", 8},
        {Hex("E5"), "Falsches Startzeichen E5 an Stelle 0", "Wrong start character E5 at byte 0",
         8},
        {Hex("68 15"), "Rahmen unvollständig: 9 Bytes erwartet, 2 empfangen",
         "Incomplete frame: 9 bytes expected, 2 received", 16},
        {laenge, "Längenfelder ungleich: 15 und 16", "Length fields differ: 15 and 16", 16},
        {Hex("68 15 15 69"), "Falsches Startzeichen 69 an Stelle 3",
         "Wrong start character 69 at byte 3", 8},
        {Hex("68 02 02 68 08 01 09 16"), "Ungültiges Längenfeld 02", "Invalid length field 02", 16},
        {gut.left(20), "Rahmen unvollständig: 27 Bytes erwartet, 20 empfangen",
         "Incomplete frame: 27 bytes expected, 20 received", 16},
        {gut + '\x16', "Falsche Länge: 27 Bytes erwartet, 28 empfangen",
         "Wrong length: 27 bytes expected, 28 received", 16},
        {pruefsumme, "Prüfsumme falsch: berechnet 9D, empfangen 9E",
         "Wrong checksum: computed 9D, received 9E", 4},
        {stopp, "Falsches Stoppzeichen 17", "Wrong stop character 17", 32},
    };
    for (const auto& f : faelle) {
        const DekodierFehler fehler = Fehler(f.bytes);
        EXPECT_EQ(DekodierFehlerText(fehler, Sprache::Deutsch), QString::fromUtf8(f.deutsch));
        EXPECT_EQ(DekodierFehlerText(fehler, Sprache::Englisch), QString::fromUtf8(f.englisch));
        EXPECT_EQ(EmpfangsfehlerBits(fehler), f.bits) << f.englisch;
    }
}

TEST_F(LangerRahmenTest, nurAntwortenMitNutzdatenEinesZaehlers)
{
    // RSP_UD with and without the ACD and DFC bits.
    for (const quint8 c : {0x08, 0x18, 0x28, 0x38})
        EXPECT_TRUE(
            std::holds_alternative<Telegramm>(DekodiereGenau(BaueRahmen(VariablerKopf(), 0x72, c))))
            << int(c);
    const DekodierFehler master = Fehler(BaueRahmen(VariablerKopf(), 0x72, 0x53));
    EXPECT_EQ(std::get<KeineZaehlerantwort>(master).steuerfeld, 0x53);
    EXPECT_EQ(EmpfangsfehlerBits(master), 0);

    const DekodierFehler ci = Fehler(BaueRahmen(VariablerKopf(), 0x51));
    EXPECT_EQ(DekodierFehlerText(ci, Sprache::Deutsch), "CI-Feld 51 wird nicht unterstützt");
    const DekodierFehler kopf = Fehler(BaueRahmen(VariablerKopf().left(11)));
    EXPECT_EQ(DekodierFehlerText(kopf, Sprache::Englisch),
              "Data header too short (CI 72): 12 bytes expected, 11 present");
}

TEST_F(LangerRahmenTest, rohdatenAlsHexUndDezimal)
{
    const QByteArray rahmen = Hex("68 03 03 68 08 FF 70 77 16");
    EXPECT_EQ(RohdatenHex(rahmen), "6803036808FF707716");
    EXPECT_EQ(RohdatenDez(rahmen), "104003003104008255112119022");
    EXPECT_EQ(RohdatenHex(QByteArray()), "");
    EXPECT_EQ(SpracheFuer(1), Sprache::Englisch);
    EXPECT_EQ(SpracheFuer(0), Sprache::Deutsch);
    EXPECT_EQ(SpracheFuer(49), Sprache::Deutsch);
}

} // namespace

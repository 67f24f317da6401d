// The link-layer engine against scripted meters: requests as bytes, answers fed in pieces, time
// reported by the test.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "driver/engine/Antwortpruefung.h"
#include "driver/engine/Busmaster.h"

#include <chrono>

namespace {

using namespace mbus;
using namespace std::chrono_literals;
using dekodiertest::BaueRahmen;
using dekodiertest::Hex;

class EngineTest : public TestUmgebung
{
protected:
    // Feeds the pieces one millisecond apart, starting 50 ms after t, then lets the answer end.
    const Ereignis& Antworte(const QList<QByteArray>& stuecke, Buszeit t)
    {
        Buszeit jetzt = t + 50ms;
        for (const QByteArray& stueck : stuecke) {
            m_master.empfange(stueck, jetzt);
            jetzt += 1ms;
        }
        return m_master.zeitAbgelaufen(*m_master.frist());
    }

    Busmaster m_master;
};

const Buszeit kT0{1'000'000};
const MBusAdresse kAdresse5{5};

// One fabrication number record (12345678) behind a variable data header.
QByteArray GuterRahmen()
{
    return BaueRahmen(Hex(QStringLiteral("78563412C51401042A000000") + "0C7804030201"));
}

TEST_F(EngineTest, reqUd2AntwortInDreiStueckenGibtTelegramm)
{
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    EXPECT_EQ(sendung.bytes, Hex("107B058016"));
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangLaeuft);

    const QByteArray rahmen = GuterRahmen();
    const Ereignis& e = Antworte({rahmen.first(3), rahmen.sliced(3, 10), rahmen.sliced(13)}, kT0);

    EXPECT_EQ(e.art, Ereignisart::Telegramm);
    EXPECT_EQ(e.empfangsfehler, 0);
    EXPECT_EQ(e.antwort, rahmen);
    ASSERT_TRUE(e.dekodiert);
    const auto* telegramm = std::get_if<Telegramm>(&*e.dekodiert);
    ASSERT_NE(telegramm, nullptr);
    EXPECT_EQ(IdentText(telegramm->kopf), "12345678");
    EXPECT_EQ(telegramm->datensaetze.size(), 1);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangTelegramm);
}

TEST_F(EngineTest, antwortEndetErstNachDerPauseHinterDemLetztenByte)
{
    m_master.reqUd2(kAdresse5, kT0);
    const QByteArray rahmen = GuterRahmen();
    const Buszeit t = kT0 + 100ms;
    m_master.empfange(rahmen.first(5), t);
    // 4 characters of 11 bits at 2400 baud: 18.333 ms, rounded up to the microsecond.
    EXPECT_EQ(m_master.frist(), t + 18334us);
    EXPECT_EQ(m_master.zeitAbgelaufen(t + 18333us).art, Ereignisart::Laeuft);
    m_master.empfange(rahmen.sliced(5), t + 18333us);
    EXPECT_EQ(m_master.zeitAbgelaufen(t + 18333us + 18334us).art, Ereignisart::Telegramm);
}

TEST_F(EngineTest, fcbWechseltZwischenAnfragenUndBeginntNachSndNkeNeu)
{
    QList<quint8> steuerfelder;
    auto anfrage = [&](Buszeit t) {
        steuerfelder << quint8(m_master.reqUd2(kAdresse5, t).bytes[1]);
        Antworte({GuterRahmen()}, t);
    };
    anfrage(kT0);
    anfrage(kT0 + 1s);
    anfrage(kT0 + 2s);
    const Sendung nke = m_master.sndNke(kAdresse5, kT0 + 3s);
    EXPECT_EQ(nke.bytes, Hex("1040054516"));
    Antworte({Hex("E5")}, kT0 + 3s);
    anfrage(kT0 + 4s);

    EXPECT_EQ(steuerfelder, (QList<quint8>{0x7B, 0x5B, 0x7B, 0x7B}));
}

TEST_F(EngineTest, fcbBleibtNachZeitueberschreitungFuerDieWiederholung)
{
    m_master.reqUd2(kAdresse5, kT0);
    Antworte({GuterRahmen()}, kT0);
    m_master.reqUd2(kAdresse5, kT0 + 1s);
    m_master.zeitAbgelaufen(kT0 + 2s);
    EXPECT_EQ(quint8(m_master.reqUd2(kAdresse5, kT0 + 3s).bytes[1]), 0x5B);
}

TEST_F(EngineTest, fcbGiltJeAdresse)
{
    m_master.reqUd2(kAdresse5, kT0);
    Antworte({GuterRahmen()}, kT0);
    EXPECT_FALSE(m_master.naechstesFcb(kAdresse5));
    EXPECT_TRUE(m_master.naechstesFcb(MBusAdresse(6)));
    m_master.sndNke(MBusAdresse(MBusAdresse::kRundruf), kT0 + 1s);
    EXPECT_TRUE(m_master.naechstesFcb(kAdresse5));
}

TEST_F(EngineTest, auswahlmaskeErgibtDenGenauenRahmen)
{
    const struct
    {
        Auswahlmaske maske;
        const char* bytes;
    } faelle[] = {
        {{"ffff1234", "", {}, {}}, "680B0B6853FD523412FFFFFFFFFFFFE216"},
        {{"12345678", "", {}, {}}, "680B0B6853FD5278563412FFFFFFFFB216"},
        {{"1234", "", {}, {}}, "680B0B6853FD5234120000FFFFFFFFE416"},
        {{"12345678", "EFE", 1, 4}, "680B0B6853FD5278563412C51401049416"},
    };
    for (const auto& fall : faelle) {
        const std::optional<Sendung> sendung = m_master.waehle(fall.maske, kT0);
        ASSERT_TRUE(sendung) << fall.maske.ident.toStdString();
        EXPECT_EQ(sendung->bytes.toHex().toUpper(), QByteArray(fall.bytes))
            << fall.maske.ident.toStdString();
    }
}

TEST_F(EngineTest, ungueltigeAuswahlmaskeSendetNichts)
{
    const Auswahlmaske faelle[] = {
        {"12A45678", "", {}, {}},   {"123456789", "", {}, {}},   {"", "", {}, {}},
        {"12345678", "EF", {}, {}}, {"12345678", "E1E", {}, {}},
    };
    for (const Auswahlmaske& maske : faelle) {
        EXPECT_FALSE(m_master.waehle(maske, kT0)) << maske.ident.toStdString();
        EXPECT_FALSE(m_master.laeuft());
    }
}

TEST_F(EngineTest, ohneAntwortZeitueberschreitungNachDerBerechnetenFrist)
{
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    // 5 bytes of 11 bits at 2400 baud (22.917 ms), then 330 bit times (137.5 ms) + 50 ms.
    const Buszeit frist = kT0 + 22917us + 137500us + 50ms;
    EXPECT_EQ(sendung.frist, frist);
    EXPECT_EQ(m_master.zeitAbgelaufen(frist - 1us).art, Ereignisart::Laeuft);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangLaeuft);

    const Ereignis& e = m_master.zeitAbgelaufen(frist);
    EXPECT_EQ(e.art, Ereignisart::Zeitueberschreitung);
    EXPECT_EQ(e.empfangsfehler, kFehlerZeitueberschreitung);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangZeitueberschreitung);
}

TEST_F(EngineTest, antwortfensterFolgtDenZeitparametern)
{
    const struct
    {
        Zeitparameter zeiten;
        Dauer fenster;
        Dauer pause;
    } faelle[] = {
        {{2400, 330, 50, 4, 11}, 187500us, 18334us},
        {{9600, 330, 50, 4, 11}, 34375us + 50ms, 4584us},
        {{300, 11, 0, 1, 11}, 36667us, 36667us},
        {{0, 330, 50, 4, 11}, 187500us, 18334us}, // no rate: 2400 baud
    };
    for (const auto& fall : faelle) {
        EXPECT_EQ(Antwortfenster(fall.zeiten), fall.fenster) << fall.zeiten.baud;
        EXPECT_EQ(Antwortpause(fall.zeiten), fall.pause) << fall.zeiten.baud;
    }
}

TEST_F(EngineTest, falschePruefsummeIstUngueltigMitBit4)
{
    m_master.reqUd2(kAdresse5, kT0);
    QByteArray rahmen = GuterRahmen();
    rahmen[rahmen.size() - 2] = char(rahmen[rahmen.size() - 2] + 1);
    const Ereignis& e = Antworte({rahmen}, kT0);
    EXPECT_EQ(e.art, Ereignisart::Ungueltig);
    EXPECT_EQ(e.empfangsfehler, kFehlerPruefsumme);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangUngueltig);
}

TEST_F(EngineTest, verbindungsfehlerGebenIhreBits)
{
    const QByteArray gut = GuterRahmen();
    QByteArray stopp = gut;
    stopp[stopp.size() - 1] = char(0x17);
    QByteArray laenge = gut;
    laenge[2] = char(laenge[2] + 1);
    const struct
    {
        QByteArray antwort;
        int bits;
    } faelle[] = {
        {stopp, kFehlerStoppzeichen},
        {laenge, kFehlerLaenge},
        {gut.first(gut.size() - 3), kFehlerLaenge},
    };
    for (const auto& fall : faelle) {
        const Ereignis e = PruefeAntwort(fall.antwort);
        EXPECT_EQ(e.art, Ereignisart::Ungueltig) << fall.antwort.toHex().toStdString();
        EXPECT_EQ(e.empfangsfehler, fall.bits) << fall.antwort.toHex().toStdString();
    }
}

TEST_F(EngineTest, mehrereZaehlerGleichzeitigSindEineKollision)
{
    const char* const faelle[] = {
        "E5E5", // two acknowledgements one after the other
        "E5C5", // the second one garbled
        "C7",   // both at once, the bits mixed
        "E568", // an acknowledgement and the start of a frame
    };
    for (const char* fall : faelle) {
        const Ereignis e = PruefeAntwort(Hex(fall));
        EXPECT_EQ(e.art, Ereignisart::Ungueltig) << fall;
        EXPECT_EQ(e.empfangsfehler, kFehlerKollision) << fall;
        EXPECT_EQ(EmpfangsTestWert(e), kEmpfangUngueltig) << fall;
    }
}

TEST_F(EngineTest, auswahlMitZweiGestoertenQuittungenMeldetKollision)
{
    m_master.waehle({"ffff1234", "", {}, {}}, kT0);
    const Ereignis& e = Antworte({Hex("E5"), Hex("E5")}, kT0);
    EXPECT_EQ(e.empfangsfehler, kFehlerKollision);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangUngueltig);
}

TEST_F(EngineTest, bytesHinterEinemRahmenSindEineKollision)
{
    EXPECT_EQ(PruefeAntwort(GuterRahmen() + Hex("E5")).empfangsfehler, kFehlerKollision);
    EXPECT_EQ(PruefeAntwort(GuterRahmen() + Hex("00FF")).art, Ereignisart::Telegramm);
}

TEST_F(EngineTest, quittungMitNachlaufendemRauschenIstQuittung)
{
    m_master.waehle({"12345678", "", {}, {}}, kT0);
    const Ereignis& e = Antworte({Hex("E5"), Hex("00"), Hex("FFFF")}, kT0);
    EXPECT_EQ(e.art, Ereignisart::Quittung);
    EXPECT_EQ(e.empfangsfehler, 0);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangQuittung);
}

TEST_F(EngineTest, nurRauschenIstKeineAntwort)
{
    const Ereignis e = PruefeAntwort(Hex("00FF00"));
    EXPECT_EQ(e.art, Ereignisart::Zeitueberschreitung);
    EXPECT_EQ(e.empfangsfehler, kFehlerZeitueberschreitung);
}

TEST_F(EngineTest, rundrufOhneAntwortEndetImLeerlauf)
{
    const Sendung sendung = m_master.sndNke(MBusAdresse(MBusAdresse::kRundruf), kT0);
    EXPECT_EQ(sendung.bytes, Hex("1040FF3F16"));
    EXPECT_EQ(m_master.zeitAbgelaufen(sendung.frist).art, Ereignisart::Gesendet);
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangLeerlauf);
}

TEST_F(EngineTest, vorDemErstenAustauschLeerlauf)
{
    EXPECT_EQ(m_master.empfangsTest(), kEmpfangLeerlauf);
    EXPECT_FALSE(m_master.frist());
}

TEST_F(EngineTest, rohrahmenWirdUnveraendertGesendet)
{
    const QByteArray rahmen = Hex("105B015C16");
    const std::optional<Sendung> sendung = m_master.sendeRoh(rahmen, kT0);
    ASSERT_TRUE(sendung);
    EXPECT_EQ(sendung->bytes, rahmen);
    EXPECT_EQ(Antworte({GuterRahmen()}, kT0).art, Ereignisart::Telegramm);
    EXPECT_FALSE(m_master.sendeRoh(QByteArray(), kT0));
}

TEST_F(EngineTest, endloserStromEndetSofortAlsUngueltig)
{
    m_master.reqUd2(kAdresse5, kT0);
    m_master.empfange(QByteArray(300, char(0x55)), kT0 + 50ms);
    EXPECT_FALSE(m_master.laeuft());
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Ungueltig);
}

TEST_F(EngineTest, spaeteBytesNachDemEndeGehoerenNiemandem)
{
    const Sendung sendung = m_master.reqUd2(kAdresse5, kT0);
    m_master.zeitAbgelaufen(sendung.frist);
    m_master.empfange(GuterRahmen(), sendung.frist + 1ms);
    EXPECT_EQ(m_master.ereignis().art, Ereignisart::Zeitueberschreitung);
    EXPECT_TRUE(m_master.ereignis().antwort.isEmpty());
}

} // namespace

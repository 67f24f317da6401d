// The modem dialogue against a scripted modem: bytes fed in pieces, time set by the test, the
// standard waits (command 2 s, dial 60 s, guard time 1 s + 0.1 s, pause 0.1 s, DTR 0.5 s). What
// the simulator's modem shows end to end (the guard times around "+++" included) is tested there.

#include "support/TestUmgebung.h"

#include "driver/modem/Modemdialog.h"
#include "driver/modem/Modemmeldung.h"

#include <chrono>

namespace {

using namespace mbus;
using namespace std::chrono_literals;

const Buszeit kT0{10'000'000};

class ModemTest : public TestUmgebung
{
protected:
    void merke(const Modemaktion& aktion)
    {
        m_gesendet += aktion.senden;
        if (aktion.dtr)
            m_dtr << *aktion.dtr;
        m_daten += aktion.daten;
    }
    void modemSagt(const QByteArray& bytes) { merke(m_dialog.empfange(bytes, m_t)); }
    // Lets the time run to the dialogue's next deadline.
    void bisZurFrist()
    {
        ASSERT_TRUE(m_dialog.frist());
        ASSERT_GE(*m_dialog.frist(), m_t);
        m_t = *m_dialog.frist();
        merke(m_dialog.zeitAbgelaufen(m_t));
    }
    // What was sent since the last call.
    QByteArray gesendet()
    {
        QByteArray g;
        g.swap(m_gesendet);
        return g;
    }
    void verbunden()
    {
        ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
        modemSagt("\r\nCONNECT 9600\r\n");
        ASSERT_EQ(m_dialog.telStatus(), kTelStatusVerbunden);
        gesendet();
    }

    Modemdialog m_dialog;
    Buszeit m_t = kT0;
    QByteArray m_gesendet;
    QList<bool> m_dtr;
    QByteArray m_daten;
};

// ---- result lines

TEST(ModemmeldungTest, ergebniszeilenWerdenErkannt)
{
    const struct
    {
        QByteArray zeile;
        Meldungsart art;
        const char* text;
        const char* zusatz;
    } faelle[] = {
        {"OK", Meldungsart::Ok, "OK", ""},
        {"CONNECT 9600", Meldungsart::Connect, "CONNECT 9600", "9600"},
        {"BUSY", Meldungsart::Busy, "BUSY", ""},
        {"NO CARRIER", Meldungsart::NoCarrier, "NO CARRIER", ""},
        {"NO DIAL TONE", Meldungsart::NoDialtone, "NO DIAL TONE", ""},
        {QByteArrayLiteral("\xFF\x00OK"), Meldungsart::Ok, "OK", ""},
        {"\x85\x12 BUSY ", Meldungsart::Busy, "BUSY", ""},
        {"ATDT0301234", Meldungsart::Echo, "ATDT0301234", ""},
        {"7", Meldungsart::Busy, "BUSY", ""},
        {"5", Meldungsart::Connect, "CONNECT 1200", "1200"},
        {"\x01\x02", Meldungsart::Keine, "", ""},
    };
    for (const auto& f : faelle) {
        const Modemmeldung m = MeldungDeuten(f.zeile);
        EXPECT_EQ(m.art, f.art) << f.zeile.toHex().constData();
        EXPECT_EQ(m.text, QString::fromLatin1(f.text)) << f.zeile.toHex().constData();
        EXPECT_EQ(m.zusatz, QString::fromLatin1(f.zusatz)) << f.zeile.toHex().constData();
    }
}

// ---- initialising

TEST_F(ModemTest, initialisierenMitErrorEndetUnbestaetigt)
{
    merke(m_dialog.initialisiere(QStringLiteral("ATX9"), m_t));
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATZ\rATE0V1\rATX9\r");
    modemSagt("\r\nERROR\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusUnbestaetigt);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Fehlermeldung);
    EXPECT_EQ(m_dialog.meldung(), "ERROR");
}

TEST_F(ModemTest, modemNochImDatenmodusWirdBeimInitialisierenAufgelegt)
{
    merke(m_dialog.initialisiere(QString(), m_t));
    EXPECT_EQ(gesendet(), "ATZ\r");
    modemSagt("\x68\x10"); // the remote bus's bytes: no answer of the modem
    bisZurFrist();         // ATZ unanswered
    EXPECT_EQ(gesendet(), "");
    bisZurFrist(); // guard silence
    EXPECT_EQ(gesendet(), "+++");
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATH\r");
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATZ\r");
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATE0V1\r");
    modemSagt("\r\nOK\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusBereit) << "no command of the caller's";
    EXPECT_TRUE(m_dtr.isEmpty());
}

TEST_F(ModemTest, abbrechenEndetDieInitialisierung)
{
    merke(m_dialog.initialisiere(QStringLiteral("ATX1L3"), m_t));
    merke(m_dialog.abbrechen(m_t));
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusUnbestaetigt);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Abgebrochen);
    modemSagt("\r\nOK\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusUnbestaetigt) << "a late OK changes nothing";
}

// ---- dialling

TEST_F(ModemTest, fehlgeschlageneWahlIstLeerlaufMitDemTextDesModems)
{
    const struct
    {
        QByteArray antwort;
        const char* meldung;
    } faelle[] = {
        {"\r\nNO CARRIER\r\n", "NO CARRIER"},
        {"\r\nNO DIALTONE\r\n", "NO DIALTONE"},
        {"\r\nERROR\r\n", "ERROR"},
        {"7\r", "BUSY"},
    };
    for (const auto& f : faelle) {
        Modemdialog dialog;
        ASSERT_TRUE(dialog.waehle(QStringLiteral("ATDT0301111"), kT0));
        dialog.empfange("ATDT0301111\r", kT0); // echo
        dialog.empfange("\r\nRING\r\n\r\nOK\r\n", kT0 + 1s);
        EXPECT_EQ(dialog.telStatus(), kTelStatusLaeuft) << f.meldung;
        dialog.empfange(f.antwort, kT0 + 2s);
        EXPECT_EQ(dialog.telStatus(), kTelStatusLeerlauf) << f.meldung;
        EXPECT_EQ(dialog.ausgang(), Modemausgang::Fehlermeldung) << f.meldung;
        EXPECT_EQ(dialog.meldung(), QString::fromLatin1(f.meldung));
    }
}

TEST_F(ModemTest, connectWaehrendDesAbbruchsWirdWiederAufgelegt)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    merke(m_dialog.abbrechen(m_t));
    gesendet();
    modemSagt("\r\nCONNECT 9600\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    bisZurFrist();
    EXPECT_EQ(gesendet(), "+++");
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATH\r");
    modemSagt("\r\nOK\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Abgebrochen);
}

TEST_F(ModemTest, waehlenWirdWaehrendEinerVerbindungUndEinerWahlAbgewiesen)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT1"), m_t));
    EXPECT_FALSE(m_dialog.waehle(QStringLiteral("ATDT2"), m_t));
    m_dialog.empfange("\r\nCONNECT\r\n", m_t);
    EXPECT_FALSE(m_dialog.waehle(QStringLiteral("ATDT2"), m_t));
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusVerbunden);
    EXPECT_FALSE(Modemdialog().waehle(QStringLiteral("  "), m_t));
}

TEST_F(ModemTest, connectInStueckenUndDieBytesDahinterGehoerenDemBus)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    modemSagt("\r\nCONN");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    modemSagt("ECT 9600\r");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusVerbunden);
    EXPECT_EQ(m_dialog.verbindung(), "9600");
    modemSagt(QByteArray("\n\xE5\x0A", 3)); // the line's LF, then an E5 and a data byte 0A
    EXPECT_EQ(m_daten, QByteArray("\xE5\x0A", 2));
    m_daten.clear();
    Modemdialog zweiter;
    ASSERT_TRUE(zweiter.waehle(QStringLiteral("ATDT0301234"), m_t));
    merke(zweiter.empfange(QByteArray("\r\nCONNECT 9600\r\n\x68\x03", 18), m_t));
    EXPECT_EQ(m_daten, QByteArray("\x68\x03", 2));
}

// ---- hanging up

TEST_F(ModemTest, gesendeteDatenSchiebenDasPlusHinaus)
{
    verbunden();
    const Buszeit beginn = m_t;
    merke(m_dialog.auflegen(m_t));
    m_dialog.datenGesendet(beginn + 600ms);
    EXPECT_EQ(m_dialog.frist(), beginn + 1700ms);
}

TEST_F(ModemTest, athMitErrorLaesstDtrFallen)
{
    verbunden();
    merke(m_dialog.auflegen(m_t));
    bisZurFrist();
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "+++ATH\r");
    modemSagt("\r\nERROR\r\n");
    EXPECT_EQ(m_dtr, QList<bool>{false});
    bisZurFrist();
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.meldung(), "ERROR");
}

TEST_F(ModemTest, portVerlustBeendetJedenDialog)
{
    verbunden();
    merke(m_dialog.auflegen(m_t));
    m_dialog.portVerloren();
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Portfehler);
    merke(m_dialog.initialisiere(QString(), m_t));
    m_dialog.portVerloren();
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusUnbestaetigt);
}

TEST_F(ModemTest, portVerlustBeendetDieVerbindungOhneDieMeldungDesAnrufs)
{
    verbunden();
    ASSERT_EQ(m_dialog.meldung(), "CONNECT 9600");
    m_dialog.portVerloren();
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Portfehler);
    EXPECT_EQ(m_dialog.meldung(), "");
}

TEST_F(ModemTest, endloseZeileOhneZeilenendeBleibtBegrenzt)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    modemSagt(QByteArray(100000, 'x'));
    modemSagt("BUSY\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.meldung(), "BUSY");
}

} // namespace

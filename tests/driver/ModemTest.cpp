// The modem dialogue against a scripted modem: bytes fed in pieces, time set by the test.

#include "support/TestUmgebung.h"

#include "driver/modem/Modemdialog.h"
#include "driver/modem/Modemmeldung.h"

#include <chrono>
#include <functional>

namespace {

using namespace mbus;
using namespace std::chrono_literals;

const Buszeit kT0{10'000'000};

Modemzeiten Zeiten()
{
    Modemzeiten z;
    z.befehlsfrist = 2000ms;
    z.waehlfrist = 60000ms;
    z.schutzzeit = 1000ms;
    z.schutzreserve = 100ms;
    z.befehlspause = 100ms;
    z.dtrAbfall = 500ms;
    return z;
}

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
    void initialisiert()
    {
        merke(m_dialog.initialisiere(QStringLiteral("ATX1L3"), m_t));
        for (int i = 0; i < 3; ++i) {
            modemSagt("\r\nOK\r\n");
            if (m_dialog.laeuft())
                bisZurFrist();
        }
        ASSERT_EQ(m_dialog.telStatus(), kTelStatusBereit);
        gesendet();
    }
    void verbunden()
    {
        initialisiert();
        ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
        modemSagt("\r\nCONNECT 9600\r\n");
        ASSERT_EQ(m_dialog.telStatus(), kTelStatusVerbunden);
        gesendet();
    }

    Modemdialog m_dialog{Zeiten()};
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
        {"CONNECT 9600/ARQ", Meldungsart::Connect, "CONNECT 9600/ARQ", "9600/ARQ"},
        {"CONNECT", Meldungsart::Connect, "CONNECT", ""},
        {"BUSY", Meldungsart::Busy, "BUSY", ""},
        {"NO CARRIER", Meldungsart::NoCarrier, "NO CARRIER", ""},
        {"NO DIALTONE", Meldungsart::NoDialtone, "NO DIALTONE", ""},
        {"NO DIAL TONE", Meldungsart::NoDialtone, "NO DIAL TONE", ""},
        {"NO ANSWER", Meldungsart::NoAnswer, "NO ANSWER", ""},
        {"ERROR", Meldungsart::Error, "ERROR", ""},
        {"RING", Meldungsart::Ring, "RING", ""},
        {"ok", Meldungsart::Ok, "OK", ""},
        {QByteArrayLiteral("\xFF\x00OK"), Meldungsart::Ok, "OK", ""},
        {"\x85\x12 BUSY ", Meldungsart::Busy, "BUSY", ""},
        {"ATDT0301234", Meldungsart::Echo, "ATDT0301234", ""},
        {"0", Meldungsart::Ok, "OK", ""},
        {"7", Meldungsart::Busy, "BUSY", ""},
        {"3", Meldungsart::NoCarrier, "NO CARRIER", ""},
        {"5", Meldungsart::Connect, "CONNECT 1200", "1200"},
        {"DISCONNECTED", Meldungsart::Sonstige, "DISCONNECTED", ""},
        {"TELVARIN MBUS-SIM", Meldungsart::Sonstige, "TELVARIN MBUS-SIM", ""},
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

TEST_F(ModemTest, initialisierenSendetResetEchoAusUndEigenenBefehlUndIstDannBereit)
{
    merke(m_dialog.initialisiere(QStringLiteral("ATX1L3"), m_t));
    EXPECT_EQ(gesendet(), "ATZ\r");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    modemSagt("ATZ\r\r\nOK\r\n"); // with echo
    EXPECT_EQ(gesendet(), "") << "the next command waits for the pause behind OK";
    EXPECT_EQ(m_dialog.frist(), m_t + 100ms);
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATE0V1\r");
    modemSagt("ATE0V1\r\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATX1L3\r");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    modemSagt("\r\nOK\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusBereit);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Erfolg);
    EXPECT_FALSE(m_dialog.frist());
}

TEST_F(ModemTest, eigenerInitBefehlWirdZurAtZeile)
{
    const struct
    {
        const char* eingabe;
        const char* zeile; // "" : no third command
    } faelle[] = {
        {"ATX1L3", "ATX1L3\r"},
        {"X1L3", "ATX1L3\r"},
        {"atx1", "atx1\r"},
        {"  ATX1L3\r\n", "ATX1L3\r"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& f : faelle) {
        Modemdialog dialog(Zeiten());
        Buszeit t = kT0;
        QByteArray alles = dialog.initialisiere(QString::fromLatin1(f.eingabe), t).senden;
        while (dialog.laeuft()) {
            alles += dialog.empfange("\r\nOK\r\n", t).senden;
            if (dialog.frist()) {
                t = *dialog.frist();
                alles += dialog.zeitAbgelaufen(t).senden;
            }
        }
        EXPECT_EQ(alles, "ATZ\rATE0V1\r" + QByteArray(f.zeile)) << f.eingabe;
        EXPECT_EQ(dialog.telStatus(), kTelStatusBereit) << f.eingabe;
    }
}

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

TEST_F(ModemTest, stummesModemEndetDieInitialisierungNachFristenUnbestaetigt)
{
    merke(m_dialog.initialisiere(QStringLiteral("ATX1L3"), m_t));
    int schritte = 0;
    while (m_dialog.laeuft() && schritte++ < 20)
        bisZurFrist();
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusUnbestaetigt);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Zeitueberschreitung);
    // A second try after leaving a possible data mode: "+++" failed, DTR dropped, ATZ again.
    EXPECT_EQ(gesendet(), "ATZ\r+++ATZ\r");
    EXPECT_EQ(m_dtr, (QList<bool>{false, true}));
    // ATZ 2 s, guard 1.1 s, "+++" 1.1 + 2 s, DTR 0.5 s, pause 0.1 s, ATZ 2 s.
    EXPECT_EQ(m_t - kT0, 8800ms);
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
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusBereit);
    EXPECT_TRUE(m_dtr.isEmpty());
}

TEST_F(ModemTest, initialisierenWaehrendVerbundenLegtZuerstAuf)
{
    verbunden();
    merke(m_dialog.initialisiere(QStringLiteral("ATX1L3"), m_t));
    EXPECT_EQ(gesendet(), "");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "+++");
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATH\r");
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATZ\r");
}

TEST_F(ModemTest, initialisierenWaehrendDerWahlStopptSieZuerst)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    gesendet();
    merke(m_dialog.initialisiere(QString(), m_t));
    EXPECT_EQ(gesendet(), "\r");
    modemSagt("\r\nNO CARRIER\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATZ\r");
}

TEST_F(ModemTest, abbrechenBeendetDieInitialisierung)
{
    merke(m_dialog.initialisiere(QStringLiteral("ATX1L3"), m_t));
    merke(m_dialog.abbrechen(m_t));
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusUnbestaetigt);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Abgebrochen);
    modemSagt("\r\nOK\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusUnbestaetigt) << "a late OK changes nothing";
}

// ---- dialling

TEST_F(ModemTest, waehlenMitConnectIstVerbunden)
{
    initialisiert();
    const std::optional<Modemaktion> aktion = m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t);
    ASSERT_TRUE(aktion);
    EXPECT_EQ(aktion->senden, "ATDT0301234\r");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    EXPECT_EQ(m_dialog.frist(), m_t + 60s);
    modemSagt("\r\nCONN");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    modemSagt("ECT 9600\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusVerbunden);
    EXPECT_EQ(m_dialog.meldung(), "CONNECT 9600");
    EXPECT_EQ(m_dialog.verbindung(), "9600");
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Erfolg);
    EXPECT_TRUE(m_dialog.imDatenmodus());
}

TEST_F(ModemTest, nurEineNummerWirdMitAtdGewaehlt)
{
    const std::optional<Modemaktion> aktion = m_dialog.waehle(QStringLiteral("0301234"), m_t);
    ASSERT_TRUE(aktion);
    EXPECT_EQ(aktion->senden, "ATD0301234\r");
}

TEST_F(ModemTest, fehlgeschlageneWahlIstLeerlaufMitDemTextDesModems)
{
    const struct
    {
        QByteArray antwort;
        const char* meldung;
    } faelle[] = {
        {"\r\nBUSY\r\n", "BUSY"},
        {"\r\nNO CARRIER\r\n", "NO CARRIER"},
        {"\r\nNO DIALTONE\r\n", "NO DIALTONE"},
        {"\r\nNO ANSWER\r\n", "NO ANSWER"},
        {"\r\nERROR\r\n", "ERROR"},
        {"7\r", "BUSY"},
    };
    for (const auto& f : faelle) {
        Modemdialog dialog(Zeiten());
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

TEST_F(ModemTest, wahlOhneErgebnisWirdNachDerFristGestoppt)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    gesendet();
    merke(m_dialog.zeitAbgelaufen(m_t + 59999ms));
    EXPECT_EQ(gesendet(), "");
    bisZurFrist();
    EXPECT_EQ(m_t - kT0, 60s);
    EXPECT_EQ(gesendet(), "\r") << "one character stops the dialling";
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    modemSagt("\r\nNO CARRIER\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Zeitueberschreitung);
}

TEST_F(ModemTest, gestoppteWahlOhneAntwortIstNachDerBefehlsfristLeerlauf)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    bisZurFrist();
    bisZurFrist();
    EXPECT_EQ(m_t - kT0, 62s);
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Zeitueberschreitung);
}

TEST_F(ModemTest, abbrechenStopptDieWahl)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    gesendet();
    m_t += 500ms;
    merke(m_dialog.abbrechen(m_t));
    EXPECT_EQ(gesendet(), "\r");
    modemSagt("\r\nNO CARRIER\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Abgebrochen);
}

TEST_F(ModemTest, abbrechenLaesstEineVerbindungStehen)
{
    verbunden();
    merke(m_dialog.abbrechen(m_t));
    EXPECT_EQ(gesendet(), "");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusVerbunden);
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

TEST_F(ModemTest, bytesNachConnectGehoerenDemBus)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    modemSagt("\r\nCONNECT 9600\r");
    modemSagt(QByteArray("\n\xE5\x0A", 3)); // the line's LF, then an E5 and a data byte 0A
    EXPECT_EQ(m_daten, QByteArray("\xE5\x0A", 2));
    m_daten.clear();
    Modemdialog zweiter(Zeiten());
    ASSERT_TRUE(zweiter.waehle(QStringLiteral("ATDT0301234"), m_t));
    merke(zweiter.empfange(QByteArray("\r\nCONNECT 9600\r\n\x68\x03", 18), m_t));
    EXPECT_EQ(m_daten, QByteArray("\x68\x03", 2));
}

TEST_F(ModemTest, noCarrierWaehrendDerVerbindungHeisstLeerlauf)
{
    verbunden();
    modemSagt("\x68\x03\x03\x68\r\nNO CAR");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusVerbunden);
    modemSagt("RIER\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.meldung(), "NO CARRIER");
}

// ---- hanging up

TEST_F(ModemTest, auflegenMitSchutzzeitenVorUndNachDemPlus)
{
    verbunden();
    m_t += 3s;
    const Buszeit beginn = m_t;
    merke(m_dialog.auflegen(m_t));
    EXPECT_EQ(gesendet(), "") << "silence first";
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    merke(m_dialog.zeitAbgelaufen(beginn + 1099ms));
    EXPECT_EQ(gesendet(), "");
    bisZurFrist();
    EXPECT_EQ(m_t - beginn, 1100ms);
    EXPECT_EQ(gesendet(), "+++");
    // The modem answers only after its own guard time; nothing is sent meanwhile.
    merke(m_dialog.zeitAbgelaufen(m_t + 1000ms));
    EXPECT_EQ(gesendet(), "");
    m_t += 1000ms;
    modemSagt("\r\nOK\r\n");
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATH\r");
    modemSagt("\r\nOK\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Erfolg);
    EXPECT_TRUE(m_dtr.isEmpty());
}

TEST_F(ModemTest, gesendeteDatenSchiebenDasPlusHinaus)
{
    verbunden();
    const Buszeit beginn = m_t;
    merke(m_dialog.auflegen(m_t));
    m_dialog.datenGesendet(beginn + 600ms);
    EXPECT_EQ(m_dialog.frist(), beginn + 1700ms);
}

TEST_F(ModemTest, auflegenOhneAntwortLaesstDtrFallenUndIstDochLeerlauf)
{
    verbunden();
    merke(m_dialog.auflegen(m_t));
    bisZurFrist();
    EXPECT_EQ(gesendet(), "+++");
    bisZurFrist(); // no OK
    EXPECT_EQ(m_dtr, QList<bool>{false});
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLaeuft);
    bisZurFrist();
    EXPECT_EQ(m_dtr, (QList<bool>{false, true}));
    EXPECT_EQ(gesendet(), "") << "no ATH behind the dropped DTR";
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.ausgang(), Modemausgang::Zeitueberschreitung);
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

TEST_F(ModemTest, gegenstelleLegtWaehrendDerSchutzzeitAuf)
{
    verbunden();
    merke(m_dialog.auflegen(m_t));
    modemSagt("\r\nNO CARRIER\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(gesendet(), "");
}

TEST_F(ModemTest, auflegenOhneVerbindungIstSofortLeerlauf)
{
    initialisiert();
    merke(m_dialog.auflegen(m_t));
    EXPECT_EQ(gesendet(), "");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
}

TEST_F(ModemTest, abbrechenUndAuflegenWaehrendDerWahl)
{
    // As a window hangs up: APPBreak, then TELHangUp, then wait for idle.
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    gesendet();
    merke(m_dialog.abbrechen(m_t));
    merke(m_dialog.auflegen(m_t));
    EXPECT_EQ(gesendet(), "\r");
    modemSagt("\r\nNO CARRIER\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
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

// ---- noise

TEST_F(ModemTest, rauschenUndEinzelneBytesVerdeckenKeinErgebnis)
{
    merke(m_dialog.initialisiere(QString(), m_t));
    const QByteArray antwort("\xFF\x00\r\n\x80OK\r\n", 9);
    for (const char c : antwort)
        modemSagt(QByteArray(1, c));
    bisZurFrist();
    EXPECT_EQ(gesendet(), "ATZ\rATE0V1\r");
    modemSagt(QByteArray("\r\n\x13\x11\r\nOK\r\n", 10));
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusBereit);
}

TEST_F(ModemTest, endloseZeileOhneZeilenendeBleibtBegrenzt)
{
    ASSERT_TRUE(m_dialog.waehle(QStringLiteral("ATDT0301234"), m_t));
    modemSagt(QByteArray(100000, 'x'));
    modemSagt("BUSY\r\n");
    EXPECT_EQ(m_dialog.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_dialog.meldung(), "BUSY");
}

TEST_F(ModemTest, jederDialogEndetGegenEinStummesModem)
{
    // Whatever was asked, a modem that never answers leaves status 1 within a bounded time.
    const auto stumm = [](const std::function<void(Modemdialog&, Buszeit)>& auftrag) {
        Modemdialog dialog(Zeiten());
        Buszeit t = kT0;
        dialog.waehle(QStringLiteral("ATDT1"), t);
        dialog.empfange("\r\nCONNECT\r\n", t);
        auftrag(dialog, t);
        int schritte = 0;
        while (dialog.laeuft() && schritte++ < 20) {
            EXPECT_TRUE(dialog.frist());
            t = std::max(t, *dialog.frist());
            dialog.zeitAbgelaufen(t);
        }
        EXPECT_FALSE(dialog.laeuft());
        return t - kT0;
    };
    EXPECT_LE(stumm([](Modemdialog& d, Buszeit t) { d.auflegen(t); }), 10s);
    EXPECT_LE(stumm([](Modemdialog& d, Buszeit t) { d.initialisiere("ATX1L3", t); }), 10s);
    EXPECT_LE(stumm([](Modemdialog& d, Buszeit t) {
                  d.auflegen(t);
                  d.initialisiere("ATX1L3", t);
              }),
              15s);
}

} // namespace

// Reading one meter in the meter view of the test window, end to end against the bus simulator
// (COM3, pacing off): by primary address through both driver faces, by secondary address,
// several telegrams, silent meters, refused addresses and the speed test.

#include "SimulatorFensterUmgebung.h"

#include "bustest/Auslesen.h"
#include "bustest/TestfensterRegeln.h"
#include "driver/faces/MBusRacX4.h"
#include "lesen/Zaehlerlesen.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

enum Gesicht : int { kSchnittstelle = 0, kNamensgebunden = 1 };

QString Zaehler(int adresse, const QString& id, const QString& saetze = QString())
{
    return QStringLiteral("zaehler adresse=%1 id=%2 hersteller=LUG version=07 medium=04 "
                          "baud=9600\n")
               .arg(adresse)
               .arg(id) +
           (saetze.isEmpty() ? QStringLiteral("satz 0406 A0860100\nsatz 0C13 45230100\n") : saetze);
}

class AuslesenTest : public SimulatorFensterUmgebung
{
protected:
    frmMBustest& starten(const QString& bus, int gesicht)
    {
        frmMBustest& fenster = simulatorStarten(bus);
        treiberWaehlen(gesicht);
        fenster.Text1Setzen(1, QString::number(kPort));
        fenster.Text1Setzen(2, QStringLiteral("9600"));
        return fenster;
    }

    void primaerLesen(const QString& adresse)
    {
        m_fenster->Text1Setzen(0, adresse);
        m_fenster->ui().cmdstartAuslesen->click();
    }

    QString zelle(int zeile, int spalte) const
    {
        return m_fenster->ui().Grid1->TextMatrix(zeile, spalte);
    }

    QStringList spalte(int nummer) const
    {
        QStringList werte;
        for (int zeile = 1; zeile < m_fenster->ui().Grid1->Rows(); ++zeile)
            werte << zelle(zeile, nummer);
        return werte;
    }

    bool zeitZeileIrgendwo() const { return spalte(0).contains(QStringLiteral("Gelesen in ")); }

    int anforderungen() const { return rahmenZaehlen(IstAnforderung); }

    QString text2(int index) const
    {
        return m_fenster->ui().Text2[static_cast<size_t>(index)]->text();
    }

    // A primary scan of 1 to 6 at 9600 asks every address of its range and finds the meter at 5.
    void erwarteGanzenScan()
    {
        suchPortSetzen();
        m_fenster->ui().Check1[0]->setChecked(true);
        m_fenster->ui().Text5[0]->setText(QStringLiteral("1"));
        m_fenster->ui().Text6[0]->setText(QStringLiteral("6"));
        m_fenster->ui().cmdSecPrimSuchen->click();
        const QString zeile = m_fenster->ui().Label4[0]->text();
        EXPECT_TRUE(zeile.startsWith(QStringLiteral("1 Zähler in "))) << qPrintable(zeile);
        EXPECT_FALSE(zeile.contains(QStringLiteral("abgebrochen"))) << qPrintable(zeile);
    }
};

class AuslesenGesichter : public AuslesenTest, public ::testing::WithParamInterface<int>
{
};

INSTANTIATE_TEST_SUITE_P(BeideGesichter, AuslesenGesichter,
                         ::testing::Values(kSchnittstelle, kNamensgebunden),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == kNamensgebunden ? std::string("Namensgebunden")
                                                                  : std::string("Schnittstelle");
                         });

// Every header box and every column of the record rows, as the bus file and the telegram layout
// give them: manufacturer ZRI packed into 5 bits a letter is 26 * 1024 + 18 * 32 + 9; the medium
// shows as text through the name-bound face and as its number through the interface face; the
// records are energy in kWh (VIF 06) and volume in 10^-3 m^3 (VIF 13) of subunit 1.
TEST_P(AuslesenGesichter, readByPrimaryAddressShowsHeaderRecordsAndTimingLine)
{
    frmMBustest& fenster =
        starten(QStringLiteral("zaehler adresse=5 id=50000005 hersteller=ZRI version=03 "
                               "medium=07 baud=9600\nsatz 0406 A0860100\nsatz 8C4013 45230100\n"),
                GetParam());
    primaerLesen(QStringLiteral("5"));

    const bool rac = GetParam() == kNamensgebunden;
    const QStringList kopf = {"ZRI", "50000005", "3", "27209", "50000005", rac ? "Water" : "7"};
    for (int index = 0; index < kopf.size(); ++index)
        EXPECT_EQ(text2(index), kopf[index]) << index;
    EXPECT_EQ(zelle(0, 0), "Index");
    EXPECT_EQ(zelle(1, 0), "Gelesen in ");
    EXPECT_TRUE(zelle(1, 1).endsWith(" s")) << qPrintable(zelle(1, 1));
    const QList<QStringList> saetze = {
        {"5 [1]", "Water", "Energy", "100000", "kWh"},
        {"5 [2]", "Water", "Volume", rac ? "12,345" : "12.345", "m^3"},
    };
    ASSERT_EQ(fenster.ui().Grid1->Rows(), 2 + saetze.size());
    for (int satz = 0; satz < saetze.size(); ++satz)
        for (int spalte = 0; spalte < 5; ++spalte)
            EXPECT_EQ(zelle(satz + 2, spalte), saetze[satz][spalte]) << satz << spalte;
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_FALSE(fenster.ui().cmdstartAuslesen->isHidden());
    ASSERT_FALSE(m_meldungen.zeiger_.isEmpty());
    EXPECT_EQ(m_meldungen.zeiger_.last(), vbDefault);
}

TEST_P(AuslesenGesichter, invalidPrimaryAddressGivesMessageAndSendsNothing)
{
    starten(Zaehler(5, "50000005"), GetParam());
    for (const char* eingabe : {"256", "-1", "abc", "", "1.5", "1000"}) {
        m_meldungen.texte.clear();
        primaerLesen(QString::fromLatin1(eingabe));
        EXPECT_EQ(m_meldungen.texte, QStringList({Auslesen::kPrimaerAdresseUngueltig})) << eingabe;
    }
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
}

// Port 37 is not mapped and /dev/ttyS36 does not exist: each read's message, logged with the
// device tried and the settings line.
TEST_P(AuslesenGesichter, portThatDoesNotOpenIsReportedAndLogged)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005"), GetParam());
    fenster.Text1Setzen(1, QStringLiteral("37"));
    primaerLesen(QStringLiteral("5"));
    fenster.ui().Text2[4]->setText(QStringLiteral("50000005"));
    fenster.ui().cmdSecLesen->click();

    const QString primaer = GetParam() == kNamensgebunden
                                ? QStringLiteral("Fehler Open Com Com 37")
                                : QStringLiteral("Fehler Open Com! com=Com 37 Baud=9600");
    EXPECT_EQ(m_meldungen.texte, QStringList({primaer, QStringLiteral("Fehler")}));
    EXPECT_TRUE(programmlog().contains(portFehlt(primaer, 37))) << qPrintable(programmlog());
    EXPECT_TRUE(programmlog().contains(portFehlt(QStringLiteral("Fehler"), 37)));
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
}

// After a read on the simulator's port and rate, a letter in the port or baud box is refused by
// every read; nothing goes out on the earlier port or rate.
TEST_P(AuslesenGesichter, letterInPortOrBaudBoxIsRefusedAndNothingIsSent)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005"), GetParam());
    primaerLesen(QStringLiteral("5"));
    ASSERT_EQ(text2(0), "LUG");
    const std::tuple<const char*, const char*, const QString*> faelle[] = {
        {"3", "24x0", &kBaudUngueltig},
        {"3", "x", &kBaudUngueltig},
        {"x", "9600", &kComPortUngueltig},
        {"3a", "9600", &kComPortUngueltig}};
    for (const auto& [port, baud, meldung] : faelle) {
        m_sim->rahmenVergessen();
        m_meldungen.texte.clear();
        fenster.Text1Setzen(1, QString::fromLatin1(port));
        fenster.Text1Setzen(2, QString::fromLatin1(baud));
        primaerLesen(QStringLiteral("5"));
        fenster.ui().cmdAuslesen1bis50->click();
        fenster.ui().Text2[4]->setText(QStringLiteral("50000005"));
        fenster.ui().cmdSecLesen->click();
        EXPECT_EQ(m_meldungen.texte, QStringList({*meldung, *meldung, *meldung})) << port << baud;
        EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty()) << port << baud;
        EXPECT_FALSE(fenster.ui().cmdAuslesen1bis50->isHidden());
    }
}

TEST_F(AuslesenTest, nameBoundReadShowsTheTelegramDumpAndKeepsTheRawTelegram)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005"), kNamensgebunden);
    RohdatenText.clear();
    primaerLesen(QStringLiteral("5"));

    const QString dump = fenster.ui().Text12->toPlainText();
    EXPECT_TRUE(dump.contains(QStringLiteral(" HEX Zeichen\n68 "))) << qPrintable(dump);
    EXPECT_TRUE(dump.contains(QStringLiteral(" Dezimal\n104 "))) << qPrintable(dump);
    EXPECT_TRUE(RohdatenText.startsWith(QStringLiteral("68"))) << qPrintable(RohdatenText);
    EXPECT_TRUE(fenster.ui().Text11->text().startsWith(QStringLiteral("104")));
}

TEST_F(AuslesenTest, twoTelegramMeterShowsAllRecordsInOrderNumberedOn)
{
    starten(Zaehler(5, "50000005",
                    QStringLiteral("satz 0406 01000000\nsatz 0406 02000000\ntelegramm\n"
                                   "satz 0406 03000000\n")),
            kNamensgebunden);
    primaerLesen(QStringLiteral("5"));

    EXPECT_EQ(anforderungen(), 2);
    // The first telegram ends with its "more records follow" record.
    EXPECT_EQ(spalte(0).mid(1), QStringList({"5 [1]", "5 [2]", "5 [3]", "5 [4]"}));
    EXPECT_EQ(zelle(2, 3), "1");
    EXPECT_EQ(zelle(3, 3), "2");
    EXPECT_EQ(zelle(5, 3), "3");
    EXPECT_EQ(zelle(1, 0), "Gelesen in ");
}

TEST_F(AuslesenTest, continuationStopsAfterSixteenTelegrams)
{
    QString saetze = QStringLiteral("satz 0406 01000000\n");
    for (int i = 0; i < 19; ++i)
        saetze += QStringLiteral("telegramm\nsatz 0406 01000000\n");
    starten(Zaehler(5, "50000005", saetze), kNamensgebunden);
    primaerLesen(QStringLiteral("5"));

    EXPECT_EQ(anforderungen(), Auslesen::kMaxTelegramme);
}

TEST_F(AuslesenTest, manufacturerTailDoesNotStartAContinuation)
{
    starten(Zaehler(5, "50000005", QStringLiteral("satz 0406 01000000\nsatz 0F 0102\n")),
            kNamensgebunden);
    primaerLesen(QStringLiteral("5"));

    EXPECT_EQ(anforderungen(), 1);
    EXPECT_EQ(zelle(1, 0), "Gelesen in ");
}

TEST_F(AuslesenTest, silentMeterShowsTheErrorRowNoTimingLineAndClosesThePort)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005"), kNamensgebunden);
    primaerLesen(QStringLiteral("9"));

    EXPECT_EQ(zelle(1, 0), "9");
    EXPECT_EQ(zelle(1, 1), " Fehler : Timeout, ");
    EXPECT_FALSE(zeitZeileIrgendwo());
    ASSERT_NE(fenster.RacServer(), nullptr);
    EXPECT_NE(fenster.RacServer()->APPIsComOpen(), 0);
    EXPECT_EQ(anforderungen(), 0);
}

TEST_F(AuslesenTest, meterWithoutDataShowsTheErrorRowAndNoTimingLine)
{
    starten(Zaehler(5, "50000005") + QStringLiteral("fehler ohne_daten\n"), kNamensgebunden);
    primaerLesen(QStringLiteral("5"));

    EXPECT_EQ(anforderungen(), 1);
    EXPECT_EQ(zelle(1, 0), "5");
    EXPECT_TRUE(zelle(1, 1).startsWith(" Fehler : ")) << qPrintable(zelle(1, 1));
    EXPECT_FALSE(zeitZeileIrgendwo());
}

TEST_F(AuslesenTest, unacknowledgedLinkResetClosesThePortAndShowsTheErrorRow)
{
    frmMBustest& fenster =
        starten(Zaehler(5, "50000005") + QStringLiteral("fehler ohne_nke\n"), kNamensgebunden);
    primaerLesen(QStringLiteral("5"));

    EXPECT_EQ(anforderungen(), 0);
    EXPECT_EQ(zelle(1, 0), "5");
    EXPECT_EQ(zelle(1, 1), " Fehler : Timeout, ");
    EXPECT_FALSE(zeitZeileIrgendwo());
    EXPECT_NE(fenster.RacServer()->APPIsComOpen(), 0);
}

TEST_F(AuslesenTest, silentMeterThroughTheInterfaceFaceGivesMessageAndNoTimingLine)
{
    starten(Zaehler(5, "50000005"), kSchnittstelle);
    primaerLesen(QStringLiteral("9"));

    EXPECT_EQ(m_meldungen.texte, QStringList({"Fehler : Keine Antwort"}));
    EXPECT_FALSE(zeitZeileIrgendwo());
    EXPECT_EQ(text2(0), "");
}

TEST_F(AuslesenTest, readAtBroadcastShowsTheAddressTheMeterAnsweredWith)
{
    frmMBustest& fenster = starten(Zaehler(7, "70000007"), kNamensgebunden);
    primaerLesen(QStringLiteral("254"));

    EXPECT_EQ(fenster.ui().Text1[0]->text(), "7");
    EXPECT_EQ(text2(4), "70000007");
}

TEST_F(AuslesenTest, address253ReadsNothing)
{
    starten(Zaehler(5, "50000005"), kNamensgebunden);
    primaerLesen(QStringLiteral("253"));

    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(AuslesenTest, readBySecondaryAddressShowsTheMeter)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005") + Zaehler(6, "60000006"), kSchnittstelle);
    fenster.ui().Text2[4]->setText(QStringLiteral("50000005"));
    fenster.ui().cmdSecLesen->click();

    EXPECT_EQ(text2(0), "LUG");
    EXPECT_EQ(text2(4), "50000005");
    EXPECT_EQ(spalte(0).mid(1), QStringList({"5 [1]", "5 [2]"}));
    EXPECT_EQ(fenster.ui().Text1[0]->text(), "5");
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
}

TEST_F(AuslesenTest, secondaryAddressMatchingTwoMetersIsReported)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005") + Zaehler(6, "50000006"), kSchnittstelle);
    fenster.ui().Text2[4]->setText(QStringLiteral("5000000f"));
    fenster.ui().cmdSecLesen->click();

    EXPECT_EQ(m_meldungen.texte, QStringList({"Antwort von mehreren Zählern."}));
}

TEST_F(AuslesenTest, invalidSecondaryAddressGivesMessageAndSendsNothing)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005"), kSchnittstelle);
    for (const char* eingabe : {"123456789", "12a4", "", "1 2", "-5"}) {
        m_meldungen.texte.clear();
        fenster.ui().Text2[4]->setText(QString::fromLatin1(eingabe));
        fenster.ui().cmdSecLesen->click();
        EXPECT_EQ(m_meldungen.texte, QStringList({Auslesen::kSekundaerAdresseUngueltig}))
            << eingabe;
    }
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
}

TEST_F(AuslesenTest, finishedSpeedTestOnASilentAddressAddsOneRowPerPassAndEndsIdle)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005"), kSchnittstelle);
    fenster.Text1Setzen(0, QStringLiteral("9"));
    fenster.ui().Text3[0]->setText(QStringLiteral("1"));
    fenster.ui().Text3[1]->setText(QStringLiteral("5"));
    fenster.ui().cmdAuslesen1bis50->click();

    EXPECT_EQ(spalte(0).mid(0, 5), QStringList({"5", "4", "3", "2", "1"}));
    EXPECT_EQ(zelle(1, 1), " Keine Antwort");
    EXPECT_EQ(anforderungen(), 5);
    EXPECT_EQ(fenster.ui().Label2[0]->text(), "5");
    EXPECT_TRUE(fenster.ui().cmdStop->isHidden());
    EXPECT_FALSE(fenster.ui().cmdAuslesen1bis50->isHidden());
    erwarteGanzenScan();
}

TEST_F(AuslesenTest, stoppedSpeedTestLeavesALaterScanItsWholeRange)
{
    frmMBustest& fenster = starten(Zaehler(5, "50000005"), kSchnittstelle);
    fenster.Text1Setzen(0, QStringLiteral("5"));
    fenster.ui().Text3[0]->setText(QStringLiteral("1"));
    fenster.ui().Text3[1]->setText(QStringLiteral("100000"));
    sobald([&fenster] { return fenster.ui().Label2[0]->text() == QStringLiteral("3"); },
           [&fenster] { fenster.ui().cmdStop->click(); });
    fenster.ui().cmdAuslesen1bis50->click();

    EXPECT_LT(anforderungen(), 10);
    EXPECT_EQ(text2(0), "LUG");
    EXPECT_TRUE(fenster.ui().cmdStop->isHidden());

    erwarteGanzenScan();
}

struct DumpFall
{
    int bytes;
    QString erwartet;
};

TEST(AuslesenDump, hexPairsBreakAfterSixteenAndDecimalsFollowInOneLine)
{
    const QString sechzehn = QStringLiteral("00 ").repeated(16);
    const DumpFall faelle[] = {
        {1, QStringLiteral("1 HEX Zeichen\r\n00 \r\n1 Dezimal\r\n000 ")},
        {16, QStringLiteral("16 HEX Zeichen\r\n") + sechzehn +
                 QStringLiteral("\r\n\r\n16 Dezimal\r\n") + QStringLiteral("000 ").repeated(16)},
        {17, QStringLiteral("17 HEX Zeichen\r\n") + sechzehn + QStringLiteral("\r\n00 \r\n") +
                 QStringLiteral("17 Dezimal\r\n") + QStringLiteral("000 ").repeated(17)},
    };
    for (const DumpFall& fall : faelle)
        EXPECT_EQ(TelegrammDump(QStringLiteral("00").repeated(fall.bytes),
                                QStringLiteral("000").repeated(fall.bytes)),
                  fall.erwartet)
            << fall.bytes;
}

TEST(AuslesenAdressen, primaryAddressesFrom0To255AreAccepted)
{
    const std::pair<const char*, bool> faelle[] = {{"0", true},    {"255", true}, {" 17 ", true},
                                                   {"256", false}, {"-1", false}, {"", false},
                                                   {"1.5", false}, {"x", false},  {"0255", false}};
    for (const auto& [text, gueltig] : faelle) {
        int adresse = -1;
        EXPECT_EQ(Auslesen::PrimaerAdresseGueltig(QString::fromLatin1(text), adresse), gueltig)
            << text;
    }
}

TEST(AuslesenAdressen, secondaryAddressesOfOneToEightDigitsOrFAreAccepted)
{
    const std::pair<const char*, bool> faelle[] = {
        {"1", true}, {"12345678", true}, {"1234fFff", true}, {"123456789", false},
        {"", false}, {"12a4", false},    {"1 2", false},     {"-5", false}};
    for (const auto& [text, gueltig] : faelle)
        EXPECT_EQ(Auslesen::SekundaerAdresseGueltig(QString::fromLatin1(text)), gueltig) << text;
}

} // namespace

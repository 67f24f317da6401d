#include "platform/Programmende.h"
#include "bustest/TestfensterEinstellungen.h"
#include "bustest/TestfensterRegeln.h"
#include "bustest/TreiberWahl.h"
#include "driver/faces/MBusRacX4.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"
#include "support/TestUmgebung.h"

#include <QTimer>

namespace {

class TestfensterDienste : public TestUmgebung
{
protected:
    QString wert(const QString& abschnitt, const QString& schluessel) const
    {
        return ProfilLesen(abschnitt, schluessel, QStringLiteral("<fehlt>"), kZepIni);
    }
    TestfensterEinstellungen m_einstellungen{kZepIni};
};

struct TimingFall
{
    const char* gespeichert; // nullptr: key absent
    int index;
    const char* erwartet;
    const char* danachGespeichert;
};

class TimingLaden : public TestfensterDienste, public ::testing::WithParamInterface<TimingFall>
{
};

TEST_P(TimingLaden, givesStoredNumberOrStoresDefault)
{
    const TimingFall fall = GetParam();
    const QString schluessel =
        TestfensterEinstellungen::kTimingSchluessel[static_cast<size_t>(fall.index)];
    if (fall.gespeichert)
        ProfilSchreiben(QStringLiteral("MBus"), schluessel, QString::fromLatin1(fall.gespeichert),
                        kZepIni);
    EXPECT_EQ(m_einstellungen.timingLaden(fall.index), QString::fromLatin1(fall.erwartet));
    EXPECT_EQ(wert(QStringLiteral("MBus"), schluessel),
              QString::fromLatin1(fall.danachGespeichert));
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, TimingLaden,
    ::testing::Values(TimingFall{nullptr, 0, "330", "330"}, TimingFall{nullptr, 1, "50", "50"},
                      TimingFall{nullptr, 2, "4", "4"}, TimingFall{nullptr, 3, "11", "11"},
                      TimingFall{"0", 0, "330", "330"}, TimingFall{"abc", 1, "50", "50"},
                      TimingFall{"500", 0, "500", "500"}, TimingFall{"12xyz", 3, "12", "12xyz"}));

TEST_F(TestfensterDienste, timingBoxWritesKeyOfIndexModFour)
{
    m_einstellungen.timingSchreiben(6, QStringLiteral("400"));
    EXPECT_EQ(wert(QStringLiteral("MBus"), QStringLiteral("COMTimeoutByte")),
              QStringLiteral("400"));
}

TEST_F(TestfensterDienste, sectionsCarryTheClientNumberOnTheirOwnSide)
{
    Mandant = QStringLiteral("007");
    m_einstellungen.einzelwertSchreiben(1, QStringLiteral("3"));
    m_einstellungen.suchPortSchreiben(QStringLiteral("5"));
    m_einstellungen.providerSchreiben(2);
    m_einstellungen.timingSchreiben(0, QStringLiteral("300"));
    EXPECT_EQ(wert(QStringLiteral("MBusTest007"), QStringLiteral("ComPort")), QStringLiteral("3"));
    EXPECT_EQ(wert(QStringLiteral("007MBusTest"), QStringLiteral("COMPort")), QStringLiteral("5"));
    EXPECT_EQ(wert(QStringLiteral("007MBus0"), QStringLiteral("OleProvider")), QStringLiteral("2"));
    EXPECT_EQ(wert(QStringLiteral("007MBus"), QStringLiteral("COMTimeout")), QStringLiteral("300"));
}

TEST_F(TestfensterDienste, singleMeterBoxesWritePrimAdrComPortBaudOnly)
{
    for (int i = 0; i < 4; ++i)
        m_einstellungen.einzelwertSchreiben(i, QString::number(10 + i));
    EXPECT_EQ(wert(QStringLiteral("MBusTest"), QStringLiteral("PrimAdr")), QStringLiteral("10"));
    EXPECT_EQ(wert(QStringLiteral("MBusTest"), QStringLiteral("ComPort")), QStringLiteral("11"));
    EXPECT_EQ(wert(QStringLiteral("MBusTest"), QStringLiteral("Baud")), QStringLiteral("12"));
    EXPECT_FALSE(lesen(QStringLiteral("ZEP.INI")).contains("13"));
}

TEST_F(TestfensterDienste, writingKeepsUnrelatedSections)
{
    schreiben(QStringLiteral("ZEP.INI"), "[ZEP]\r\nZEPMandant=200\r\n");
    m_einstellungen.timingSchreiben(1, QStringLiteral("60"));
    EXPECT_TRUE(lesen(QStringLiteral("ZEP.INI")).startsWith("[ZEP]\r\nZEPMandant=200\r\n"));
}

struct PortFall
{
    const char* port;
    const char* baud;
    const char* erwarteterPort;
    int erwarteteBaud;
    const QString* fehler; // nullptr: accepted
};

class PortParameter : public TestfensterDienste, public ::testing::WithParamInterface<PortFall>
{
};

// Empty boxes keep the earlier values; a box that holds no port or rate refuses the whole pair.
TEST_P(PortParameter, takesPortAndRateBoxesAndRefusesAnythingElse)
{
    const PortFall fall = GetParam();
    QVariant port = QStringLiteral("alt");
    QVariant baud = 300;
    QString fehler;
    EXPECT_EQ(PortParameterLesen(QString::fromLatin1(fall.port), QString::fromLatin1(fall.baud),
                                 port, baud, &fehler),
              fall.fehler == nullptr);
    EXPECT_EQ(fehler, fall.fehler ? *fall.fehler : QString());
    EXPECT_EQ(port.toString(), QString::fromLatin1(fall.erwarteterPort));
    EXPECT_EQ(baud.toInt(), fall.erwarteteBaud);
}

INSTANTIATE_TEST_SUITE_P(Faelle, PortParameter,
                         ::testing::Values(PortFall{"3", "2400", "Com 3", 2400, nullptr},
                                           PortFall{"", "2400", "alt", 2400, nullptr},
                                           PortFall{" 4 ", "", "Com 4", 300, nullptr},
                                           PortFall{"x3", "", "alt", 300, &kComPortUngueltig},
                                           PortFall{"x", "2400", "alt", 300, &kComPortUngueltig},
                                           PortFall{"0", "2400", "alt", 300, &kComPortUngueltig},
                                           PortFall{"1.5", "2400", "alt", 300, &kComPortUngueltig},
                                           PortFall{" 4 ", "96OO", "alt", 300, &kBaudUngueltig},
                                           PortFall{"4", "24x0", "alt", 300, &kBaudUngueltig},
                                           PortFall{"4", "2401", "alt", 300, &kBaudUngueltig}));

TEST(HoechsteAdresse, doubleClickTogglesBetween255And10)
{
    EXPECT_EQ(HoechsteAdresseUmschalten(QStringLiteral("250")), QStringLiteral("255"));
    EXPECT_EQ(HoechsteAdresseUmschalten(QStringLiteral("255")), QStringLiteral("10"));
    EXPECT_EQ(HoechsteAdresseUmschalten(QStringLiteral("10")), QStringLiteral("255"));
    EXPECT_EQ(HoechsteAdresseUmschalten(QString()), QStringLiteral("255"));
}

TEST(Dienstschalter, isCaseSensitiveAndFoundAnywhere)
{
    EXPECT_TRUE(DienstschalterGesetzt(QStringLiteral("vomak")));
    EXPECT_TRUE(DienstschalterGesetzt(QStringLiteral("-M7 xvomakx")));
    EXPECT_FALSE(DienstschalterGesetzt(QStringLiteral("VOMAK")));
    EXPECT_FALSE(DienstschalterGesetzt(QStringLiteral("Vomak")));
    EXPECT_FALSE(DienstschalterGesetzt(QString()));
}

TEST(Ansichtswechsel, onlyTheBusCaptionLeadsToTheMeterView)
{
    EXPECT_FALSE(BusAnsichtNachWechsel(QStringLiteral("Zähler &Scan")));
    EXPECT_TRUE(BusAnsichtNachWechsel(QStringLiteral("Bus &Scan")));
    EXPECT_TRUE(BusAnsichtNachWechsel(QStringLiteral("Zähler Scan")));
}

TEST_F(TestfensterDienste, providerZeroCreatesTheInterfaceDriver)
{
    TreiberWahl wahl;
    int nummer = 0;
    wahl.LoadMBusPovider(nummer);
    EXPECT_NE(wahl.OleServer(), nullptr);
    EXPECT_EQ(wahl.RacServer(), nullptr);
}

TEST_F(TestfensterDienste, providerOneCreatesTheNameBoundDriverWithEnglishTexts)
{
    TreiberWahl wahl;
    int nummer = 1;
    wahl.LoadMBusPovider(nummer);
    ASSERT_NE(wahl.RacServer(), nullptr);
    EXPECT_EQ(wahl.RacServer()->LNGLanguage(), 1);
    EXPECT_EQ(wahl.OleServer(), nullptr);
}

TEST_F(TestfensterDienste, providerTwoCreatesNothing)
{
    TreiberWahl wahl;
    int nummer = 2;
    wahl.LoadMBusPovider(nummer);
    EXPECT_EQ(wahl.RacServer(), nullptr);
    EXPECT_EQ(wahl.OleServer(), nullptr);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(TestfensterDienste, unknownProviderSaysSo)
{
    TreiberWahl wahl;
    int nummer = 3;
    wahl.LoadMBusPovider(nummer);
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("Kein OleProvider ausgewählt")});
}

TEST_F(TestfensterDienste, closingReleasesTheNameBoundDriver)
{
    TreiberWahl wahl;
    int nummer = 1;
    wahl.LoadMBusPovider(nummer);
    wahl.racServerSchliessen();
    EXPECT_EQ(wahl.RacServer(), nullptr);
    wahl.racServerSchliessen(); // no driver: nothing happens
}

class ProgrammendeTest : public TestUmgebung
{
protected:
    QStringList m_ablauf;
    Programmende m_ende{[this] { m_ablauf << QStringLiteral("ports"); },
                        [this] { m_ablauf << QStringLiteral("ende"); }};
};

TEST_F(ProgrammendeTest, endsAtOnceWhenNoLoopRuns)
{
    m_ende.beenden();
    EXPECT_TRUE(ProgrammEndet());
    EXPECT_EQ(m_ablauf, (QStringList{QStringLiteral("ports"), QStringLiteral("ende")}));
}

TEST_F(ProgrammendeTest, runningLoopStopsBeforeThePortsCloseAndTheProgramEnds)
{
    {
        Programmende::Lauf lauf(m_ende);
        ASSERT_TRUE(lauf.gueltig());
        QTimer::singleShot(0, [this] { m_ende.beenden(); });
        int schritte = 0;
        while (Warten(1) && ++schritte < 5000) {
        }
        EXPECT_LT(schritte, 5000);
        EXPECT_TRUE(m_ablauf.isEmpty());
        m_ablauf << QStringLiteral("schleife beendet");
    }
    EXPECT_EQ(m_ablauf, (QStringList{QStringLiteral("schleife beendet"), QStringLiteral("ports"),
                                     QStringLiteral("ende")}));
}

TEST_F(ProgrammendeTest, secondLoopIsTurnedAwayWhileOneRuns)
{
    Programmende::Lauf erster(m_ende);
    Programmende::Lauf zweiter(m_ende);
    EXPECT_TRUE(erster.gueltig());
    EXPECT_FALSE(zweiter.gueltig());
}

TEST_F(ProgrammendeTest, endRunsOnceWhenAskedTwice)
{
    m_ende.beenden();
    m_ende.beenden();
    EXPECT_EQ(m_ablauf.count(QStringLiteral("ende")), 1);
}

} // namespace

#include "bustest/ComboAuswahlListe.h"
#include "bustest/ComboListe.h"

#include <QComboBox>
#include <QSignalSpy>

namespace {

TEST(ComboListeAdapter, fillingKeepsTheTextShownAndRaisesNoSignal)
{
    QComboBox box;
    box.setEditable(true);
    QSignalSpy wechsel(&box, &QComboBox::currentTextChanged);
    ComboListe liste(box);
    liste.clear();
    liste.addItem(QStringLiteral("1"));
    liste.addItem(QStringLiteral("(2)"));
    liste.setText(QStringLiteral("3"));
    EXPECT_EQ(liste.listCount(), 2);
    EXPECT_EQ(liste.text(), QStringLiteral("3"));
    EXPECT_EQ(wechsel.count(), 0);
}

TEST(ComboAuswahlListeAdapter, entriesCarryTheirDataAndSelectionRaisesNoSignal)
{
    QComboBox box;
    QSignalSpy wahl(&box, &QComboBox::currentIndexChanged);
    ComboAuswahlListe liste(box);
    liste.addItem(QStringLiteral("MBus OLE V1"), 0);
    liste.addItem(QStringLiteral("MBus ZEP"), 2);
    liste.setCurrentIndex(1);
    EXPECT_EQ(box.currentData().toInt(), 2);
    EXPECT_EQ(wahl.count(), 0);
}

} // namespace

// The customer reading end to end on the bus simulator: the daily file, the address range, the
// clock across midnight and the month, one pass at a time, and closing port and file on every
// path.

#include "HalvorUmgebung.h"

#include "driver/faces/MBusObjektErzeugen.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "settings/IniDatei.h"

#include <QDir>

namespace {

class HalvorAuslesungTest : public HalvorUmgebung
{
protected:
    HalvorAuslesung& auslesung()
    {
        if (!m_auslesung)
            m_auslesung = std::make_unique<HalvorAuslesung>(
                HalvorAuslesung::Anzeige{[this] { return m_portText; },
                                         [this] { return m_anzText; },
                                         [this](bool laeuft) { m_laeufe << laeuft; }},
                fabrik());
        return *m_auslesung;
    }

    // Loads with the folder given in mb.INI.
    void ladenMit(const QString& ordner)
    {
        schreiben(QStringLiteral("mb.INI"), "[MB]\r\nDatenPath=" + ordner.toLatin1() + "\r\n");
        auslesung().laden();
    }

    QString programmlog() const { return QString::fromLatin1(lesen(QStringLiteral("261205ed.log"))); }

    void TearDown() override
    {
        EXPECT_EQ(m_offenFreigegeben, 0) << "a driver was released with its port open";
        EXPECT_EQ(BelegteDateinummern(), 0);
        m_auslesung.reset();
        HalvorUmgebung::TearDown();
    }

    std::unique_ptr<HalvorAuslesung> m_auslesung;
    QString m_portText = QString::number(kPort);
    QString m_anzText = QStringLiteral("3");
    QList<bool> m_laeufe;
};

TEST_F(HalvorAuslesungTest, highestAddressThreeWritesFourLinesMeterWithoutRecordsGivesDateAndAddress)
{
    busStarten(kVierAdressen);
    ladenMit(QStringLiteral("daten\\"));
    QDir().mkdir(pfad(QStringLiteral("daten")));

    ASSERT_TRUE(auslesung().AlleMBusZaehlerAuslesen());

    EXPECT_EQ(lesen(QStringLiteral("daten/261205mb.txt")),
              "261205\t0\t0\t345.678\r\n"
              "261205\t1\t0\t100000\t1\t12.345\r\n"
              "261205\t2\tFehlerBeimLesen\r\n"
              "261205\t3\r\n");
    EXPECT_EQ(angefragt(), QList<int>({0, 1, 2, 3}));
    EXPECT_EQ(m_laeufe, QList<bool>({true, false}));
    EXPECT_EQ(programmlog(), QString());
}

TEST_F(HalvorAuslesungTest, rangeFollowsTheAnzBoxByVal)
{
    busStarten(kVierAdressen);
    const struct
    {
        const char* anz;
        QList<int> adressen;
    } faelle[] = {
        {"0", {0}}, {"", {0}}, {"3", {0, 1, 2, 3}}, {" 2.9 x", {0, 1, 2}}, {"-1", {}}, {"abc", {0}},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.anz);
        m_sim->rahmenVergessen();
        m_anzText = QString::fromLatin1(fall.anz);
        auslesung().AlleMBusZaehlerAuslesen();
        EXPECT_EQ(angefragt(), fall.adressen);
    }
}

TEST_F(HalvorAuslesungTest, twoPassesOnOneDayAppendToOneFile)
{
    busStarten(kVierAdressen);
    auslesung().laden();
    auslesung().AlleMBusZaehlerAuslesen();
    auslesung().AlleMBusZaehlerAuslesen();
    EXPECT_EQ(zeilen(QStringLiteral("Slave.dat261205mb.txt")), kVierZeilen + kVierZeilen);
}

TEST_F(HalvorAuslesungTest, passAcrossMidnightSwitchesFileAndDate)
{
    busStarten(kVierAdressen);
    m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(23, 59, 59)));
    ladenMit(QStringLiteral(".\\"));
    // Midnight passes before the meter at address 2 is read.
    m_vorTreiber = [this](int n) {
        if (n == 3)
            m_uhr.stellen(Wandzeit(QDate(2026, 12, 6), QTime(0, 0, 1)));
    };
    auslesung().AlleMBusZaehlerAuslesen();
    EXPECT_EQ(zeilen(QStringLiteral("261205mb.txt")), kVierZeilen.mid(0, 2));
    EXPECT_EQ(zeilen(QStringLiteral("261206mb.txt")),
              QStringList({QStringLiteral("261206\t2\tFehlerBeimLesen"),
                           QStringLiteral("261206\t3")}));
}

TEST_F(HalvorAuslesungTest, folderTextIsUsedAsItStands)
{
    busStarten(kVierAdressen);
    m_anzText = QStringLiteral("0");
    QDir().mkdir(pfad(QStringLiteral("Aus")));
    const struct
    {
        const char* ini; // nullptr: no mb.INI
        const char* datei;
    } faelle[] = {
        {nullptr, "Slave.dat261205mb.txt"},
        {"kunde", "kunde261205mb.txt"},
        {".\\aus\\", "Aus/261205mb.txt"},
        {"Aus\\k_", "Aus/k_261205mb.txt"},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.datei);
        QFile::remove(pfad(QStringLiteral("mb.INI")));
        if (fall.ini)
            ladenMit(QString::fromLatin1(fall.ini));
        else
            EXPECT_EQ(auslesung().laden(), QStringLiteral("Slave.dat"));
        auslesung().AlleMBusZaehlerAuslesen();
        EXPECT_EQ(zeilen(QString::fromLatin1(fall.datei)), kVierZeilen.mid(0, 1));
    }
}

TEST_F(HalvorAuslesungTest, settingsFileIsOneFileWhateverItsLetterCase)
{
    for (const char* name : {"mb.INI", "MB.INI", "Mb.ini"}) {
        SCOPED_TRACE(name);
        for (const QString& alt : QDir(pfad(QString())).entryList({QStringLiteral("*.ini")}))
            QFile::remove(pfad(alt));
        schreiben(QString::fromLatin1(name), "[mb]\r\ndatenpath=Alt\\\r\n");
        HalvorAuslesung leser({});
        EXPECT_EQ(leser.laden(), QStringLiteral("Alt\\"));
        EXPECT_EQ(DatenPath, QStringLiteral("Alt\\"));
        leser.ordnerGeaendert(QStringLiteral("Neu\\"));
        EXPECT_EQ(DatenPath, QStringLiteral("Neu\\"));
        EXPECT_EQ(QDir(pfad(QString())).entryList({QStringLiteral("*.ini")}, QDir::Files),
                  QStringList({QString::fromLatin1(name)}));
        EXPECT_EQ(lesen(QString::fromLatin1(name)), "[mb]\r\ndatenpath=Neu\\\r\n");
    }
}

TEST_F(HalvorAuslesungTest, monthChangeDuringAPassRunsOnePassAfterIt)
{
    busStarten(kVierAdressen);
    m_uhr.stellen(Wandzeit(QDate(2026, 11, 30), QTime(23, 59, 0)));
    ladenMit(QStringLiteral(".\\"));
    auslesung().uhrTick(); // the first tick after loading never reads
    EXPECT_EQ(m_treiber, 0);
    // While address 1 is read the month changes and the timer ticks twice.
    m_vorTreiber = [this](int n) {
        if (n != 2)
            return;
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 1), QTime(0, 0, 5)));
        auslesung().uhrTick();
        auslesung().uhrTick();
    };
    auslesung().AlleMBusZaehlerAuslesen();
    EXPECT_EQ(angefragt(), QList<int>({0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_EQ(m_laeufe, QList<bool>({true, false}));
    EXPECT_EQ(zeilen(QStringLiteral("261130mb.txt")).size(), 1);
    EXPECT_EQ(zeilen(QStringLiteral("261201mb.txt")).size(), 7);

    // Later ticks of the same month read nothing; the next month reads once.
    m_vorTreiber = {};
    auslesung().uhrTick();
    EXPECT_EQ(m_treiber, 8);
    m_uhr.stellen(Wandzeit(QDate(2027, 1, 1), QTime(0, 0, 3)));
    auslesung().uhrTick();
    auslesung().uhrTick();
    EXPECT_EQ(m_treiber, 12);
}

TEST_F(HalvorAuslesungTest, secondPassIsTurnedAwayWhileOneRuns)
{
    busStarten(kVierAdressen);
    auslesung().laden();
    bool zweiter = true;
    m_vorTreiber = [&](int n) {
        if (n == 2)
            zweiter = auslesung().AlleMBusZaehlerAuslesen();
    };
    EXPECT_TRUE(auslesung().AlleMBusZaehlerAuslesen());
    EXPECT_FALSE(zweiter);
    EXPECT_EQ(angefragt(), QList<int>({0, 1, 2, 3}));
    EXPECT_EQ(zeilen(QStringLiteral("Slave.dat261205mb.txt")), kVierZeilen);
    EXPECT_FALSE(auslesung().laeuft());
}

TEST_F(HalvorAuslesungTest, highestAddressIsCutTo250WithALogLine)
{
    QString bus;
    for (int adresse = 0; adresse <= 250; ++adresse)
        bus += QStringLiteral("zaehler adresse=%1 id=%2 baud=9600\n").arg(adresse).arg(10000000 + adresse);
    busStarten(bus);
    auslesung().laden();
    m_anzText = QStringLiteral("255");
    auslesung().AlleMBusZaehlerAuslesen();

    const QList<int> adressen = angefragt();
    ASSERT_EQ(adressen.size(), 251);
    EXPECT_EQ(adressen.last(), 250);
    EXPECT_EQ(zeilen(QStringLiteral("Slave.dat261205mb.txt")).last(), QStringLiteral("261205\t250"));
    EXPECT_TRUE(programmlog().contains(QStringLiteral("Anz \"255\" auf 250 begrenzt")))
        << qPrintable(programmlog());
}

TEST_F(HalvorAuslesungTest, portThatDoesNotOpenKeepsItsLinesAndLogsOncePerPass)
{
    busStarten(kVierAdressen);
    auslesung().laden();
    m_portText = QStringLiteral("7");
    auslesung().AlleMBusZaehlerAuslesen();
    auslesung().AlleMBusZaehlerAuslesen();

    QStringList erwartet;
    for (int adresse = 0; adresse <= 3; ++adresse)
        erwartet << QStringLiteral("261205\t%1\tFehlerBeimLesen").arg(adresse);
    EXPECT_EQ(zeilen(QStringLiteral("Slave.dat261205mb.txt")), erwartet + erwartet);
    EXPECT_TRUE(angefragt().isEmpty());
    const QStringList log = zeilen(QStringLiteral("261205ed.log"));
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("Com 7 ließ sich nicht öffnen, 4 Zähler nicht gelesen")))
        << qPrintable(log[0]);
}

TEST_F(HalvorAuslesungTest, portAndFileAreClosedOnEveryPath)
{
    busStarten(kVierAdressen);
    auslesung().laden();

    // A folder that does not exist: every meter is read, no line is written, one log line.
    DatenPath = QStringLiteral("fehlt\\");
    auslesung().AlleMBusZaehlerAuslesen();
    EXPECT_EQ(angefragt(), QList<int>({0, 1, 2, 3}));
    EXPECT_FALSE(QDir(pfad(QStringLiteral("fehlt"))).exists());
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("261205mb.txt"))) << qPrintable(FehlerText);
    EXPECT_TRUE(programmlog().contains(QStringLiteral("4 Zähler ohne Zeile in der Tagesdatei")));

    // No driver: no line, and the pass goes on with the next address.
    auslesung().laden();
    m_sim->rahmenVergessen();
    HalvorAuslesung ohneTreiber({[this] { return m_portText; }, [this] { return m_anzText; }, {}},
                                [] { return MBusObjektErzeugen(QStringLiteral("MBus.Gibtsnicht")); });
    ohneTreiber.AlleMBusZaehlerAuslesen();
    EXPECT_TRUE(angefragt().isEmpty());
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("MBus.Gibtsnicht")));
    EXPECT_TRUE(lesen(QStringLiteral("Slave.dat261205mb.txt")).isEmpty());

    // The program ends while address 1 is read: its line is complete, then the pass stops.
    m_vorTreiber = [](int n) {
        if (n == 6)
            ProgrammEndeMelden();
    };
    auslesung().AlleMBusZaehlerAuslesen();
    const QStringList geschrieben = zeilen(QStringLiteral("Slave.dat261205mb.txt"));
    ASSERT_EQ(geschrieben.size(), 2);
    EXPECT_EQ(geschrieben[0], kVierZeilen[0]);
    EXPECT_TRUE(geschrieben[1].startsWith(QStringLiteral("261205\t1\t"))) << qPrintable(geschrieben[1]);
    EXPECT_FALSE(auslesung().laeuft());
    ProgrammEndeZuruecksetzen();
}

} // namespace

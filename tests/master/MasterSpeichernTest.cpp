// Storing a meter's values after a read: mb.log and Index1.txt lines byte for byte, the value
// tables, value files and both interval files, on a real meter database file.

#include "master/dienste/MasterSpeichern.h"
#include "database/MBConnection.h"
#include "database/Schema.h"
#include "database/WertTabellen.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/RB_Kopf.h"
#include "datafiles/RB_WerteSchreiben.h"
#include "datafiles/Wertdatei.h"
#include "grid/GridModell.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtEndian>

namespace {

// Slot h1 (the one written last) of an interval file: time and value; and the count of slots
// with a time.
struct IntervallStand
{
    qint32 zeit = 0, wert = 0;
    int belegt = 0;
    bool operator==(const IntervallStand&) const = default;
};

} // namespace

class MasterSpeichernTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        DBPath = m_ordner.path() + QLatin1Char('/');
        DatenPath = DBPath;
        Mandant = QStringLiteral("001");
        m_log.setRows(1);
        m_zaehler.LZNR = 7;
        m_zaehler.MB_ID = QStringLiteral("ff123456");
        m_zaehler.Zname = QStringLiteral("Wärme 7");
        m_zaehler.MBIndex = 2;
        m_zaehler.BasisTarif = 5;
        m_zaehler.AnzWerte = 3;
        m_zaehler.IndexAnz = 3;
        wert(1, 12.5, QStringLiteral("kWh"), 255);
        wert(2, 1000.25, QStringLiteral("m^3"), 255);
        wert(3, -3, QStringLiteral("°C"), 0);
    }
    void TearDown() override
    {
        m_z.rsMBusWerte.Close();
        m_z.rsZaehlerstaende.Close();
        MB_ConnectionSchliessen();
        QSqlDatabase::removeDatabase(QStringLiteral("pruefen"));
        TestUmgebung::TearDown();
    }

    void wert(int k, double w, const QString& einheit, quint8 speichern)
    {
        MBWert& v = m_zaehler.Werte[static_cast<size_t>(k)];
        v.Wert = w;
        v.Einheit = MBWertText(einheit);
        v.Art = MBWertText(QStringLiteral("Art%1").arg(k));
        v.Speichern = speichern;
        v.Tm = DatumInUnixZeit(Jetzt());
    }

    void datenbankOeffnen()
    {
        ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("basis.mdb"))));
        DBParameter = {QStringLiteral("1"),
                       pfad(QStringLiteral("basis.mdb")),
                       QString(),
                       QString(),
                       QStringLiteral("1"),
                       QString(),
                       QString()};
        ASSERT_TRUE(MB_DatenbankVerbinden());
        m_z.MBusWerteOffen = MBIndexlisteOeffnen(m_z.rsMBusWerte);
        m_z.ZaehlerstaendeOffen = MB_ZaehlerstaendeOeffnen(m_z.rsZaehlerstaende);
        ASSERT_TRUE(m_z.MBusWerteOffen && m_z.ZaehlerstaendeOffen);
    }
    QStringList zeilen(const QString& sql)
    {
        auto db =
            QSqlDatabase::contains(QStringLiteral("pruefen"))
                ? QSqlDatabase::database(QStringLiteral("pruefen"))
                : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("pruefen"));
        db.setDatabaseName(pfad(QStringLiteral("basis.mdb")));
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql));
        QStringList ergebnis;
        while (q.next()) {
            QStringList felder;
            for (int i = 0; i < q.record().count(); ++i)
                felder << q.value(i).toString();
            ergebnis << felder.join(u'|');
        }
        return ergebnis;
    }

    void speichern(std::array<bool, 3> haken, bool gesperrt = false)
    {
        MasterSpeicherZiel ziel{m_z, haken, 3, gesperrt, m_log};
        MasterWerteSpeichern(m_zaehler, QStringLiteral("5"), ziel);
    }
    QString tagesdatei(const QString& suffix) const
    {
        return Cp1252ZuText(lesen(QStringLiteral("MBusLog/261205") + suffix));
    }
    IntervallStand intervall(const QString& name) const
    {
        const QByteArray bytes = lesen(name);
        IntervallStand stand;
        if (bytes.size() < RB_Kopf::kBytes)
            return stand;
        const RB_Kopf kopf = RB_Kopf::ausBytes(bytes);
        EXPECT_EQ(kopf.pruefen(bytes.size()), QString()) << qPrintable(name);
        auto zahl = [&](qint64 satz) {
            return qFromLittleEndian<qint32>(bytes.constData() + (satz - 1) * 4);
        };
        const qint64 satz = kopf.slotSatz(kopf.h[1]);
        stand = {zahl(satz), zahl(satz + 2), 0};
        for (qint64 k = 0; k < kopf.h[0]; ++k)
            stand.belegt += zahl(kopf.slotSatz(k)) != 0 ? 1 : 0;
        return stand;
    }
    QStringList logTexte() const
    {
        QStringList texte;
        for (int zeile = m_log.Rows() - 1; zeile >= 1; --zeile)
            texte << m_log.TextMatrix(zeile, 1);
        return texte;
    }

    MasterZustand m_z;
    MBZaehler m_zaehler;
    GridModell m_log;
};

TEST_F(MasterSpeichernTest, threeRecordsMainIndexTwoOnlyTheLogBoxClient001)
{
    speichern({false, true, false});
    EXPECT_EQ(
        tagesdatei(QStringLiteral("mb.log")),
        QStringLiteral("Zeitstempel;Zählernummer;Zählernummer;ComPort;PrimAdr;Wert;Einheit;\r\n"
                       "05.12.26 12:00:00 ;123456;Wärme 7;3;5;1;12,5;kWh;\r\n"
                       "05.12.26 12:00:00 ;123456;Wärme 7;3;5;2;1000,25;m^3;\r\n"
                       "05.12.26 12:00:00 ;123456;Wärme 7;3;5;3;-3;°C;\r\n"));
    EXPECT_TRUE(lesen(QStringLiteral("MBusLog/261205Index1.txt")).isEmpty());
    // The main index reaches both interval files: the first row of difference mode is 0.
    const qint32 t1 = DatumInUnixZeit(Jetzt());
    EXPECT_EQ(intervall(QStringLiteral("00000007.15p")), (IntervallStand{t1, 0, 1}));
    EXPECT_EQ(intervall(QStringLiteral("Z1/000007002.15p")), (IntervallStand{t1, 0, 1}));
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("Z1/000007002.zep"))));
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("Z1/000007001.15p"))));
    EXPECT_EQ(logTexte(), QStringList{QStringLiteral("Indexe Speichern für ff123456")});
}

TEST_F(MasterSpeichernTest, client200AndClient0200)
{
    struct Fall
    {
        QString mandant;
        bool intervalle;
        int zaehlerstaende;
    };
    for (const Fall& fall :
         {Fall{QStringLiteral("200"), false, 0}, Fall{QStringLiteral("0200"), true, 1}}) {
        SCOPED_TRACE(fall.mandant.toStdString());
        QDir(pfad(QString())).removeRecursively();
        QDir().mkpath(pfad(QString()));
        Mandant = fall.mandant;
        datenbankOeffnen();
        speichern({true, true, false});
        EXPECT_EQ(tagesdatei(QStringLiteral("Index1.txt")),
                  QStringLiteral("Zeitstempel;Zählernummer;Zählername;Wert;Einheit;\r\n"
                                 "05.12.26 12:00:00 ;123456;Wärme 7;12,5;kWh;\r\n"));
        EXPECT_EQ(tagesdatei(QStringLiteral("mb.log")).count(QStringLiteral("\r\n")), 4);
        EXPECT_EQ(QFile::exists(pfad(QStringLiteral("00000007.15p"))), fall.intervalle);
        EXPECT_EQ(QFile::exists(pfad(QStringLiteral("Z200/000007002.15p"))), fall.intervalle);
        EXPECT_EQ(zeilen(QStringLiteral("SELECT lznr, ZStand, ta FROM Zaehlerstaende")).size(),
                  fall.zaehlerstaende);
        // Records 1 and 2 are marked for storing, record 3 is not.
        EXPECT_EQ(zeilen(QStringLiteral("SELECT idx, Wert FROM MBusWerte ORDER BY idx")),
                  (QStringList{QStringLiteral("1|12.5"), QStringLiteral("2|1000.25")}));
        m_z.rsMBusWerte.Close();
        m_z.rsZaehlerstaende.Close();
        MB_ConnectionSchliessen();
        QSqlDatabase::removeDatabase(QStringLiteral("pruefen"));
    }
}

TEST_F(MasterSpeichernTest, meterWithoutIndexListGetsItAndStoresEveryRecordAtOnce)
{
    datenbankOeffnen();
    m_zaehler.IndexAnz = 0;
    speichern({true, false, true});
    EXPECT_EQ(m_zaehler.IndexAnz, 3);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT MBIndex, Einheit, MBTyp FROM MB_IndexListe WHERE "
                                    "Lznr = 7 ORDER BY MBIndex")),
              (QStringList{QStringLiteral("1|kWh|0"), QStringLiteral("2|m^3|0"),
                           QStringLiteral("3|°C|1")}));
    EXPECT_EQ(zeilen(QStringLiteral("SELECT idx FROM MBusWerte ORDER BY idx")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    for (int k = 1; k <= 3; ++k) {
        RB6_Kopf kopf;
        EXPECT_EQ(RB6_KopfLesen(RB6_DateiName(DBPath, 7, k), kopf), 0) << k;
    }
    EXPECT_EQ(zeilen(QStringLiteral("SELECT lznr, ZStand, ta FROM Zaehlerstaende")),
              QStringList{QStringLiteral("7|1000.25|5")});
    EXPECT_TRUE(logTexte().contains(QStringLiteral("Speichern MBIndex Ok 3")));
    EXPECT_TRUE(logTexte().contains(QStringLiteral("Speichern ZStaende Ok")));
    // Nothing reaches mb.log without its box.
    EXPECT_TRUE(lesen(QStringLiteral("MBusLog/261205mb.log")).isEmpty());
}

TEST_F(MasterSpeichernTest, testMetersOnlyMarkTheirRead)
{
    datenbankOeffnen();
    m_z.TestModus = true;
    speichern({true, true, true});
    EXPECT_EQ(zeilen(QStringLiteral("SELECT lznr, Tm, ZStand, ta FROM Zaehlerstaende")),
              QStringList{QStringLiteral("7|0|0|5")});
    EXPECT_TRUE(zeilen(QStringLiteral("SELECT * FROM MBusWerte")).isEmpty());
    EXPECT_TRUE(lesen(QStringLiteral("MBusLog/261205mb.log")).isEmpty());
}

TEST_F(MasterSpeichernTest, valueFileAndIntervalFilesStayApartAndValidOverManyCycles)
{
    // Difference mode across the wrap of the six-digit counter (Wert * 100).
    const QList<double> staende{9999.90, 9999.95, 0.03, 0.10};
    const QList<qint32> differenzen{0, 5, 8, 7};
    for (int i = 0; i < 60; ++i) {
        const double stand = i < staende.size() ? staende[i] : 0.10 + i;
        wert(2, stand, QStringLiteral("m^3"), 255);
        speichern({false, false, true});
        if (i < differenzen.size()) {
            EXPECT_EQ(intervall(QStringLiteral("00000007.15p")).wert, differenzen[i]) << i;
            EXPECT_EQ(intervall(QStringLiteral("Z1/000007002.15p")).wert, differenzen[i]) << i;
        }
        m_uhr.vorstellen(900);
    }
    RB6_Kopf kopf;
    ASSERT_EQ(RB6_KopfLesen(RB6_DateiName(DBPath, 7, 2), kopf), 0);
    EXPECT_EQ(RB6_LetzterSatz(kopf), 10 + 59);
    EXPECT_EQ(intervall(QStringLiteral("Z1/000007002.15p")).belegt, 60);
    EXPECT_EQ(intervall(QStringLiteral("00000007.15p")).belegt, 60);
}

TEST_F(MasterSpeichernTest, valueTooLargeForIntervalFilesAndLockedValueFolder)
{
    wert(2, 3.0e7, QStringLiteral("m^3"), 255);
    speichern({false, true, true});
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("00000007.15p"))));
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("Z1/000007002.15p"))));
    RB6_Kopf kopf;
    EXPECT_EQ(RB6_KopfLesen(RB6_DateiName(DBPath, 7, 2), kopf), 0);
    EXPECT_TRUE(tagesdatei(QStringLiteral("mb.log"))
                    .contains(QStringLiteral(" ;Wert zu groß für die Intervalldateien : lznr=7 "
                                             "Index=2 Wert=30000000\r\n")));

    // The log import rebuilds the value folder: the value-file entries are set aside, the
    // interval files and the lines are written.
    QDir(pfad(QStringLiteral("Z1"))).removeRecursively();
    wert(2, 5, QStringLiteral("m^3"), 255);
    QList<WertdateiEintrag> zurueck;
    MasterSpeicherZiel ziel{m_z, {false, true, true}, 3, true, m_log, &zurueck};
    MasterWerteSpeichern(m_zaehler, QStringLiteral("5"), ziel);
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("Z1/000007001.zep"))));
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("Z1/000007002.zep"))));
    EXPECT_TRUE(QFile::exists(pfad(QStringLiteral("00000007.15p"))));
    EXPECT_TRUE(QFile::exists(pfad(QStringLiteral("Z1/000007002.15p"))));
    ASSERT_EQ(zurueck.size(), 2);
    EXPECT_EQ(zurueck[1].lznr, 7);
    EXPECT_EQ(zurueck[1].index, 2);
    EXPECT_EQ(zurueck[1].wert, 5.0);
    EXPECT_EQ(tagesdatei(QStringLiteral("mb.log")).count(QStringLiteral(";123456;")), 6);
}

TEST_F(MasterSpeichernTest, aFailedValueFileWriteNamesTheValueFile)
{
    speichern({false, false, true});
    Wertdatei::schreibfehlerNach(0);
    m_uhr.vorstellen(900);
    wert(1, 13, QStringLiteral("kWh"), 255);
    speichern({false, false, true});
    Wertdatei::schreibfehlerNach(-1);
    const QString log = tagesdatei(QStringLiteral("mb.log"));
    EXPECT_TRUE(log.contains(QStringLiteral(" ;Fehler beim speichern RB6 : ") + DBPath +
                             QStringLiteral("Z1\\000007001.zep rc=")))
        << qPrintable(log);
}

TEST_F(MasterSpeichernTest, cyclesBeforeAndAfterMidnightContinueTheSameFiles)
{
    // Readings of the main index at 23:45, 00:00 and 00:15 (Wert * 100 in the interval files).
    const QList<double> staende{1000.25, 1000.5, 1001};
    m_uhr.vorstellen(11 * 3600 + 45 * 60);
    const qint32 beginn = DatumInUnixZeit(Jetzt());
    for (const double stand : staende) {
        wert(2, stand, QStringLiteral("m^3"), 255);
        speichern({false, true, true});
        m_uhr.vorstellen(900);
    }

    // Header: 1000 days of 96 slots of three numbers, the date of the newest row; slot 0 stays
    // empty, the rows fill slots 1 to 3 in difference mode.
    constexpr qint32 n = 96000;
    QByteArray soll(RB_Kopf::kBytes + 12 * n, '\0');
    auto setzen = [&soll](qint64 satz, qint32 zahl) {
        qToLittleEndian<qint32>(zahl, soll.data() + (satz - 1) * 4);
    };
    const std::array<qint32, 16> kopf{n, 3,      516,           6, 12, 2026, 0, 15, 0, 12,
                                      0, 100100, beginn + 1800, 0, 0,  0};
    for (int i = 0; i < 16; ++i)
        setzen(i + 1, kopf[static_cast<size_t>(i)]);
    const qint32 reihen[3][3]{
        {beginn, beginn, 0}, {beginn + 900, 900, 25}, {beginn + 1800, 900, 50}};
    for (int r = 0; r < 3; ++r)
        for (int i = 0; i < 3; ++i)
            setzen(17 + (r + 1) * 3 + i, reihen[r][i]);
    EXPECT_TRUE(lesen(QStringLiteral("00000007.15p")) == soll);
    EXPECT_TRUE(lesen(QStringLiteral("Z1/000007002.15p")) == soll);

    // The value file goes on across the day; each day has its own mb.log.
    RB6_Kopf wertkopf;
    ASSERT_EQ(RB6_KopfLesen(RB6_DateiName(DBPath, 7, 2), wertkopf), 0);
    EXPECT_EQ(RB6_LetzterSatz(wertkopf), 10 + 2);
    auto zeilen = [](const QString& zeit, const QString& stand) {
        const QString anfang = zeit + QStringLiteral(" ;123456;Wärme 7;3;5;");
        return anfang + QStringLiteral("1;12,5;kWh;\r\n") + anfang + QStringLiteral("2;") + stand +
               QStringLiteral(";m^3;\r\n") + anfang + QStringLiteral("3;-3;°C;\r\n");
    };
    const QString kopfzeile =
        QStringLiteral("Zeitstempel;Zählernummer;Zählernummer;ComPort;PrimAdr;Wert;Einheit;\r\n");
    EXPECT_EQ(tagesdatei(QStringLiteral("mb.log")),
              kopfzeile + zeilen(QStringLiteral("05.12.26 23:45:00"), QStringLiteral("1000,25")));
    EXPECT_EQ(Cp1252ZuText(lesen(QStringLiteral("MBusLog/261206mb.log"))),
              kopfzeile + zeilen(QStringLiteral("06.12.26 00:00:00"), QStringLiteral("1000,5")) +
                  zeilen(QStringLiteral("06.12.26 00:15:00"), QStringLiteral("1001")));
}

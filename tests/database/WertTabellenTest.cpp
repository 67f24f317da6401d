// The value tables as the master appends to them, alike on SQLite and on the server.

#include "ZielUmgebung.h"

#include "database/WertTabellen.h"

#include "platform/Uhr.h"
#include "text/Zeit.h"

#include <algorithm>

#include <sys/wait.h>
#include <unistd.h>

template <class Ziel> class WertTabellenTest : public ZielUmgebung<Ziel>
{
};

TYPED_TEST_SUITE(WertTabellenTest, DatenbankZiele, ZielName);

namespace {

// A date and time with its zone, readable in a failure message.
QString Iso(const QDateTime& zeit)
{
    return zeit.isValid() ? zeit.toString(Qt::ISODate) : QStringLiteral("(ungültig)");
}

} // namespace

TYPED_TEST(WertTabellenTest, zaehlerstandRowsHoldTheValuesAndDtIsTmsWallClockTimeUnshifted)
{
    // ordinary times, and the hours the clocks of the program (Europe/Berlin) and of the test
    // server (Pacific/Auckland) skip or repeat
    const QDateTime zeiten[] = {
        Wandzeit(QDate(2026, 12, 5), QTime(11, 45, 30)),
        Wandzeit(QDate(2026, 7, 1), QTime(23, 59, 59)),
        Wandzeit(QDate(2026, 3, 29), QTime(2, 30, 0)),
        Wandzeit(QDate(2026, 10, 25), QTime(2, 30, 0)),
        Wandzeit(QDate(2026, 9, 27), QTime(2, 15, 0)),
        Wandzeit(QDate(2026, 4, 5), QTime(2, 45, 0)),
        Wandzeit(QDate(1970, 1, 1), QTime(0, 0, 0)),
    };
    this->verbinden();
    Recordset rs;
    ASSERT_TRUE(MB_ZaehlerstaendeOeffnen(rs)) << qPrintable(FehlerText);
    for (int i = 0; i < int(std::size(zeiten)); ++i)
        ASSERT_EQ(MB_ZaehlerstandSpeichern(rs, i + 1, DatumInUnixZeit(zeiten[i]), i + 7,
                                           98765.125 * (i + 1)),
                  0)
            << qPrintable(FehlerText);

    // as the database holds it, and as the program reads it back
    const auto gespeichert = this->pruefZeilen(
        QStringLiteral("SELECT %1, DT, lznr, Tm, ZStand, ta FROM Zaehlerstaende ORDER BY lznr")
            .arg(this->m_ziel.dtAlsText()));
    Recordset gelesen;
    ASSERT_TRUE(MB_RecordsetOeffnen(MB_Connection, gelesen,
                                    QStringLiteral("SELECT DT FROM Zaehlerstaende ORDER BY lznr")))
        << qPrintable(FehlerText);
    ASSERT_EQ(gespeichert.size(), std::size(zeiten));
    for (int i = 0; i < int(std::size(zeiten)); ++i, gelesen.MoveNext()) {
        SCOPED_TRACE(zeiten[i].toString(Qt::ISODate).toStdString());
        EXPECT_EQ(gespeichert[i][0].text(),
                  zeiten[i].toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        EXPECT_EQ(Iso(gespeichert[i][1].datum()), Iso(zeiten[i]));
        EXPECT_EQ(Iso(gelesen.Feld(QStringLiteral("DT")).datum()), Iso(zeiten[i]));
        EXPECT_EQ(gespeichert[i][2].ganz(), i + 1);
        EXPECT_EQ(gespeichert[i][3].ganz(), DatumInUnixZeit(zeiten[i]));
        EXPECT_DOUBLE_EQ(gespeichert[i][4].zahl(), 98765.125 * (i + 1));
        EXPECT_EQ(gespeichert[i][5].ganz(), i + 7);
    }
}

TYPED_TEST(WertTabellenTest, mbusWertRowsHoldTheValuesAndAFailedRowLeavesNothing)
{
    this->pruefAusfuehren(
        QStringLiteral("CREATE UNIQUE INDEX mbuswerte_einmal ON MBusWerte (lznr, idx, Tm)"));
    this->verbinden();
    Recordset rs;
    ASSERT_TRUE(MBIndexlisteOeffnen(rs)) << qPrintable(FehlerText);
    ASSERT_EQ(MB_MBusWertSpeichern(rs, 1234, 1796471100, 17, -0.001), 0) << qPrintable(FehlerText);
    FehlerText.clear();
    EXPECT_EQ(MB_MBusWertSpeichern(rs, 1234, 1796471100, 17, 2.5), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    ASSERT_EQ(MB_MBusWertSpeichern(rs, 1235, 200, 3, 1e12), 0) << qPrintable(FehlerText);

    const auto zeilen = this->pruefZeilen(
        QStringLiteral("SELECT lznr, Tm, idx, Wert FROM MBusWerte ORDER BY lznr"));
    ASSERT_EQ(zeilen.size(), 2);
    const double erwartet[2][4] = {{1234, 1796471100, 17, -0.001}, {1235, 200, 3, 1e12}};
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 4; ++k)
            EXPECT_DOUBLE_EQ(zeilen[i][k].zahl(), erwartet[i][k]) << i << "," << k;
}

TYPED_TEST(WertTabellenTest, appendingReadsNoRowOfTheTable)
{
    // rows already there, in tables that fail on every read of a row
    this->pruefAusfuehren(
        QStringLiteral("INSERT INTO MBusWerte (lznr, Tm, idx, Wert) VALUES (1, 1, 1, 1)"));
    this->pruefAusfuehren(
        QStringLiteral("INSERT INTO Zaehlerstaende (lznr, Tm, ZStand, ta) VALUES (1, 1, 1, 1)"));
    for (const QString& sql :
         this->m_ziel.unlesbarMachen(QStringLiteral("MBusWerte"),
                                     QStringLiteral("lznr, Tm, idx, Wert")) +
             this->m_ziel.unlesbarMachen(QStringLiteral("Zaehlerstaende"),
                                         QStringLiteral("lznr, Tm, DT, ZStand, ta")))
        this->pruefAusfuehren(sql);
    ASSERT_FALSE(this->m_ziel.pruefung().OpenRecordset(QStringLiteral("MBusWerte")).offen());

    this->verbinden();
    Recordset werte;
    Recordset staende;
    ASSERT_TRUE(MBIndexlisteOeffnen(werte)) << qPrintable(FehlerText);
    ASSERT_TRUE(MB_ZaehlerstaendeOeffnen(staende)) << qPrintable(FehlerText);
    EXPECT_EQ(MB_MBusWertSpeichern(werte, 2, 2, 2, 2.0), 0) << qPrintable(FehlerText);
    EXPECT_EQ(MB_ZaehlerstandSpeichern(staende, 2, 2, 2, 2.0), 0) << qPrintable(FehlerText);
    for (const char* tabelle : {"MBusWerteDaten", "ZaehlerstaendeDaten"})
        EXPECT_EQ(this->pruefZeilen(QStringLiteral("SELECT count(*) FROM ") + tabelle)
                      .value(0)
                      .value(0)
                      .ganz(),
                  2)
            << tabelle;
}

TYPED_TEST(WertTabellenTest, failedOpenOfAValueTableWritesItsLogLineAndAQueryNone)
{
    this->pruefAusfuehren(QStringLiteral("DROP TABLE Zaehlerstaende"));
    this->pruefAusfuehren(QStringLiteral("DROP TABLE MBusWerte"));
    this->verbinden();
    Recordset rs;
    EXPECT_FALSE(MB_ZaehlerstaendeOeffnen(rs));
    const QString ersterFehler = FehlerText;
    EXPECT_FALSE(ersterFehler.isEmpty());
    EXPECT_FALSE(rs.offen());
    EXPECT_FALSE(MBIndexlisteOeffnen(rs));
    const QString zweiterFehler = FehlerText;
    FehlerText.clear();
    EXPECT_FALSE(
        MB_RecordsetOeffnen(MB_Connection, rs, QStringLiteral("SELECT * FROM gibtsnicht")));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(this->programmlog(),
              QStringLiteral("05.12.26 12:00:00 Fehler in MB_ZaehlerstaendeOeffnen : ") +
                  ersterFehler +
                  QStringLiteral("\r\n05.12.26 12:00:00 Fehler in MBIndexlisteOeffnen : ") +
                  zweiterFehler + QStringLiteral("\r\n"));
    EXPECT_TRUE(this->m_meldungen.texte.isEmpty());
}

// Two master processes appending to one file, each with its own connection: every row of both
// arrives, none is refused as "database is locked".
using WertTabellenProzessTest = DatenbankUmgebung;

TEST_F(WertTabellenProzessTest, twoMastersAppendToOneFileWithoutLoss)
{
    basisAnlegen();
    constexpr int zeilen = 300;
    DBParameter = basisParameter();
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t kinder[2];
    for (int nummer = 0; nummer < 2; ++nummer) {
        if ((kinder[nummer] = fork()) != 0)
            continue;
        close(start[1]);
        char zeichen;
        (void)!read(start[0], &zeichen, 1); // both start when the parent closes the pipe
        Recordset werte, staende;
        if (!MB_DatenbankVerbinden() || !MBIndexlisteOeffnen(werte) ||
            !MB_ZaehlerstaendeOeffnen(staende))
            _exit(255);
        int fehler = 0;
        for (int i = 0; i < zeilen; ++i) {
            fehler += MB_MBusWertSpeichern(werte, nummer, i, 1, i * 0.5) != 0;
            if (i % 20 == 0)
                fehler += MB_ZaehlerstandSpeichern(staende, nummer, i, 1, i) != 0;
        }
        _exit(std::min(fehler, 254));
    }
    close(start[0]);
    close(start[1]);
    for (pid_t kind : kinder) {
        int status = -1;
        ASSERT_EQ(waitpid(kind, &status, 0), kind);
        EXPECT_EQ(status, 0) << "rows not written";
    }
    for (const QVariantList& nummer : {QVariantList{0}, QVariantList{1}}) {
        EXPECT_EQ(abfragen(QStringLiteral("SELECT count(*) FROM MBusWerte WHERE lznr = ?"), nummer),
                  zeilen);
        EXPECT_EQ(
            abfragen(QStringLiteral("SELECT count(*) FROM Zaehlerstaende WHERE lznr = ?"), nummer),
            zeilen / 20);
    }
}

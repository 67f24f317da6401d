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

UnixZeit Sekunden(QDate tag, QTime zeit)
{
    return DatumInUnixZeit(Wandzeit(tag, zeit));
}

// A date and time with its zone, readable in a failure message.
QString Iso(const QDateTime& zeit)
{
    return zeit.isValid() ? zeit.toString(Qt::ISODate) : QStringLiteral("(ungültig)");
}

} // namespace

TYPED_TEST(WertTabellenTest, zaehlerstandRowHoldsTheReadValues)
{
    this->verbinden();
    Recordset rs;
    ASSERT_TRUE(MB_ZaehlerstaendeOeffnen(rs)) << qPrintable(FehlerText);
    const UnixZeit tm = Sekunden(QDate(2026, 12, 5), QTime(11, 45, 30));
    ASSERT_EQ(MB_ZaehlerstandSpeichern(rs, 1234, tm, 7, 98765.125), 0) << qPrintable(FehlerText);

    const auto zeilen =
        this->pruefZeilen(QStringLiteral("SELECT lznr, Tm, DT, ZStand, ta FROM Zaehlerstaende"));
    ASSERT_EQ(zeilen.size(), 1);
    EXPECT_EQ(zeilen[0][0].ganz(), 1234);
    EXPECT_EQ(zeilen[0][1].ganz(), tm);
    EXPECT_EQ(Iso(zeilen[0][2].datum()), Iso(Wandzeit(QDate(2026, 12, 5), QTime(11, 45, 30))));
    EXPECT_DOUBLE_EQ(zeilen[0][3].zahl(), 98765.125);
    EXPECT_EQ(zeilen[0][4].ganz(), 7);
}

TYPED_TEST(WertTabellenTest, dtIsTheWallClockTimeOfTmWithoutShift)
{
    // ordinary times, and the hours the clocks of the program (Europe/Berlin) and of the test
    // server (Pacific/Auckland) skip or repeat
    const QDateTime zeiten[] = {
        Wandzeit(QDate(2026, 12, 5), QTime(12, 0, 0)),
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
    int lznr = 0;
    for (const QDateTime& zeit : zeiten)
        ASSERT_EQ(MB_ZaehlerstandSpeichern(rs, ++lznr, DatumInUnixZeit(zeit), 1, 1.0), 0)
            << qPrintable(FehlerText);

    // as the database holds it, and as the program reads it back
    const auto gespeichert =
        this->pruefZeilen(QStringLiteral("SELECT %1, DT FROM Zaehlerstaende ORDER BY lznr")
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
    }
}

TYPED_TEST(WertTabellenTest, mbusWertRowHoldsTheReadValues)
{
    this->verbinden();
    Recordset rs;
    ASSERT_TRUE(MBIndexlisteOeffnen(rs)) << qPrintable(FehlerText);
    ASSERT_EQ(MB_MBusWertSpeichern(rs, 1234, 1796471100, 17, -0.001), 0) << qPrintable(FehlerText);
    ASSERT_EQ(MB_MBusWertSpeichern(rs, 1234, 1796471100, 18, 1e12), 0) << qPrintable(FehlerText);

    const auto zeilen =
        this->pruefZeilen(QStringLiteral("SELECT lznr, Tm, idx, Wert FROM MBusWerte ORDER BY idx"));
    ASSERT_EQ(zeilen.size(), 2);
    EXPECT_EQ(zeilen[0][0].ganz(), 1234);
    EXPECT_EQ(zeilen[0][1].ganz(), 1796471100);
    EXPECT_EQ(zeilen[0][2].ganz(), 17);
    EXPECT_DOUBLE_EQ(zeilen[0][3].zahl(), -0.001);
    EXPECT_DOUBLE_EQ(zeilen[1][3].zahl(), 1e12);
}

TYPED_TEST(WertTabellenTest, failedRowLeavesNothingAndTheNextRowStoresOnlyItsOwnValues)
{
    this->pruefAusfuehren(
        QStringLiteral("CREATE UNIQUE INDEX mbuswerte_einmal ON MBusWerte (lznr, idx, Tm)"));
    this->verbinden();
    Recordset rs;
    ASSERT_TRUE(MBIndexlisteOeffnen(rs)) << qPrintable(FehlerText);
    ASSERT_EQ(MB_MBusWertSpeichern(rs, 1, 100, 1, 1.5), 0) << qPrintable(FehlerText);
    FehlerText.clear();
    EXPECT_EQ(MB_MBusWertSpeichern(rs, 1, 100, 1, 2.5), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    ASSERT_EQ(MB_MBusWertSpeichern(rs, 2, 200, 3, 4.5), 0) << qPrintable(FehlerText);

    const auto zeilen = this->pruefZeilen(
        QStringLiteral("SELECT lznr, Tm, idx, Wert FROM MBusWerte ORDER BY lznr"));
    ASSERT_EQ(zeilen.size(), 2);
    EXPECT_DOUBLE_EQ(zeilen[0][3].zahl(), 1.5);
    EXPECT_EQ(zeilen[1][0].ganz(), 2);
    EXPECT_EQ(zeilen[1][1].ganz(), 200);
    EXPECT_EQ(zeilen[1][2].ganz(), 3);
    EXPECT_DOUBLE_EQ(zeilen[1][3].zahl(), 4.5);
}

TYPED_TEST(WertTabellenTest, appendingReadsNoRowOfTheTable)
{
    // rows already there, in tables that fail on every read of a row
    this->pruefAusfuehren(QStringLiteral("INSERT INTO MBusWerte (lznr, Tm, idx, Wert) VALUES "
                                         "(1, 1, 1, 1)"));
    this->pruefAusfuehren(QStringLiteral("INSERT INTO Zaehlerstaende (lznr, Tm, ZStand, ta) "
                                         "VALUES (1, 1, 1, 1)"));
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
    EXPECT_EQ(this->anzahl(QStringLiteral("MBusWerteDaten")), 2);
    EXPECT_EQ(this->anzahl(QStringLiteral("ZaehlerstaendeDaten")), 2);
}

TYPED_TEST(WertTabellenTest, missingTableFailsTheOpenWithItsLogLine)
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
    EXPECT_EQ(this->programmlog(),
              QStringLiteral("05.12.26 12:00:00 Fehler in MB_ZaehlerstaendeOeffnen : ") +
                  ersterFehler +
                  QStringLiteral("\r\n05.12.26 12:00:00 Fehler in MBIndexlisteOeffnen : ") +
                  FehlerText + QStringLiteral("\r\n"));
    EXPECT_TRUE(this->m_meldungen.texte.isEmpty());
}

TYPED_TEST(WertTabellenTest, recordsetOnAQueryReadsItsRowsAndFailsWithoutLogLine)
{
    this->pruefAusfuehren(QStringLiteral("INSERT INTO MB_IndexListe (Lznr, MBIndex, Art) VALUES "
                                         "(5, 1, 'Energie'), (5, 2, 'Volumen'), (6, 1, 'x')"));
    this->verbinden();
    Recordset rs;
    ASSERT_TRUE(MB_RecordsetOeffnen(
        MB_Connection, rs,
        QStringLiteral("SELECT MBIndex, Art FROM MB_IndexListe WHERE Lznr = ? ORDER BY MBIndex"),
        {5}))
        << qPrintable(FehlerText);
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Feld(QStringLiteral("Art")).text(), QStringLiteral("Energie"));

    EXPECT_FALSE(
        MB_RecordsetOeffnen(MB_Connection, rs, QStringLiteral("SELECT * FROM gibtsnicht")));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(rs.offen());
    EXPECT_TRUE(this->programmlog().isEmpty());
}

TYPED_TEST(WertTabellenTest, openConnectionIsKeptWhateverKindIsPassed)
{
    this->verbinden();
    const std::shared_ptr<Verbindung> vorher = MB_Connection;
    for (const char* art : {"x", "5", "1", "3"})
        EXPECT_TRUE(MB_DatenbankVerbinden(MB_Connection, QString::fromLatin1(art), {}, {}, {}, {}));
    EXPECT_EQ(MB_Connection, vorher);
    EXPECT_TRUE(this->m_meldungen.texte.isEmpty());
}

class WertTabellenProzessTest : public DatenbankUmgebung
{
};

TEST_F(WertTabellenProzessTest, twoMastersAppendToOneFileWithoutLoss)
{
    basisAnlegen();
    constexpr int zeilenJeProzess = 300;
    DBParameter = QStringList{QStringLiteral("1"), basisPfad(), {}, {}, {}, {}, {}};
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t kinder[2];
    for (int nummer = 0; nummer < 2; ++nummer) {
        kinder[nummer] = fork();
        ASSERT_GE(kinder[nummer], 0);
        if (kinder[nummer] == 0) {
            close(start[1]);
            char zeichen;
            (void)!read(start[0], &zeichen, 1); // both start when the parent closes the pipe
            Recordset werte;
            Recordset staende;
            int fehler = 0;
            if (!MB_DatenbankVerbinden() || !MBIndexlisteOeffnen(werte) ||
                !MB_ZaehlerstaendeOeffnen(staende))
                _exit(255);
            for (int i = 0; i < zeilenJeProzess; ++i) {
                fehler += MB_MBusWertSpeichern(werte, nummer, i, 1, i * 0.5) != 0;
                if (i % 20 == 0)
                    fehler += MB_ZaehlerstandSpeichern(staende, nummer, i, 1, i) != 0;
            }
            MB_ConnectionSchliessen();
            _exit(std::min(fehler, 254));
        }
    }
    close(start[0]);
    close(start[1]);
    for (pid_t kind : kinder) {
        int status = 0;
        ASSERT_EQ(waitpid(kind, &status, 0), kind);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "rows not written";
    }
    for (int nummer = 0; nummer < 2; ++nummer) {
        EXPECT_EQ(
            abfragen(QStringLiteral("SELECT count(*) FROM MBusWerte WHERE lznr = ?"), {nummer})
                .toInt(),
            zeilenJeProzess);
        EXPECT_EQ(
            abfragen(QStringLiteral("SELECT count(*) FROM Zaehlerstaende WHERE lznr = ?"), {nummer})
                .toInt(),
            zeilenJeProzess / 20);
    }
}

// The log-file import on daily logs written by the master's log code, against a real basis.mdb
// and real value files.

#include "ImportUmgebung.h"

#include "grid/GridModell.h"
#include "master/importlog/LogImport.h"
#include "platform/Cp1252.h"

#include <QFile>

namespace {

const MasterZaehlerSatz kA{QStringLiteral("fff00150"), QStringLiteral("Wasser A"), 3, 3};
const MasterZaehlerSatz kB{QStringLiteral("fff00151"), QStringLiteral("Wärme B"), 3, 4};
const QDateTime kJetzt = Wandzeit(QDate(2026, 12, 6), QTime(10, 0));

class LogImportTest : public ImportUmgebung
{
protected:
    // The import runs at kJetzt, after every logged day of the tests.
    LogImport neuerImport()
    {
        m_uhr.stellen(kJetzt);
        return LogImport(LogImport::Anzeige{
            [this](const QString& text) {
                m_status << text;
                if (m_beiStatus)
                    m_beiStatus(text);
            },
            [this](const QString& text) { m_fortschritt = text; },
            {},
            {},
        });
    }

    GridModell m_grid;
    QStringList m_status;
    QString m_fortschritt;
    std::function<void(const QString&)> m_beiStatus;
};

TEST_F(LogImportTest, rangeWithMissingLogReplacesOnlyTargetFilesAndKeepsTheirHistory)
{
    zaehler(150, 3, 1, 3); // A: main index 1
    zaehler(151, 4, 2, 3); // B: main index 2
    zaehler(152, 5, 1, 3); // C: no lines in the logs
    const UnixZeit vorher = unix(zeit(2005, 9, 1));
    const UnixZeit danach = unix(zeit(2005, 9, 20));
    wertdateiFuellen(150, 1,
                     {{vorher, 1.0}, {unix(zeit(2005, 9, 15, 0, 15)), 99.0}, {danach, 9.0}});
    wertdateiFuellen(152, 1, {{vorher, 5.0}});
    wertdateiFuellen(999, 1, {{vorher, 7.0}});
    const QByteArray cVorher = dateiBytes(wertdatei(152, 1));
    const QByteArray fremdVorher = dateiBytes(wertdatei(999, 1));

    for (int tag : {15, 17}) {
        masterLiest(zeit(2005, 9, tag, 0, 0), kA, {10.0 + tag, 1, 2});
        masterLiest(zeit(2005, 9, tag, 0, 0, 4), kB, {1, 20.0 + tag, 3});
        masterLiest(zeit(2005, 9, tag, 0, 15), kA, {11.0 + tag, 1, 2});
        masterLiest(zeit(2005, 9, tag, 0, 15, 4), kB, {1, 21.0 + tag, 3});
    }
    ASSERT_FALSE(QFile::exists(PfadAufloesen(LogImport::logDatei(QDate(2005, 9, 16)))));

    LogImport import = neuerImport();
    ASSERT_TRUE(
        import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("17.9.2005 20:00"), m_grid));

    EXPECT_EQ(m_status, (QStringList{QStringLiteral(" Bearbeite 15.09.2005"),
                                     QStringLiteral(" Bearbeite 16.09.2005"),
                                     QStringLiteral(" Bearbeite 17.09.2005"),
                                     QStringLiteral(" Schreibe Wertdatei 1 von 2"),
                                     QStringLiteral(" Schreibe Wertdatei 2 von 2"),
                                     QStringLiteral("Fertig (1 Tag ohne Logdatei)")}));
    // A keeps what lies before and after the imported readings; the old value at 00:15 on the
    // 15th is replaced by the logged one.
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{vorher, 1.0},
                                              {unix(zeit(2005, 9, 15, 0, 0)), 25.0},
                                              {unix(zeit(2005, 9, 15, 0, 15)), 26.0},
                                              {unix(zeit(2005, 9, 17, 0, 0)), 27.0},
                                              {unix(zeit(2005, 9, 17, 0, 15)), 28.0},
                                              {danach, 9.0}}));
    // B's main index is 2: its record 2 goes into its file of index 2.
    EXPECT_EQ(werte(151, 2), (QList<RB6_Satz>{{unix(zeit(2005, 9, 15, 0, 0, 4)), 35.0},
                                              {unix(zeit(2005, 9, 15, 0, 15, 4)), 36.0},
                                              {unix(zeit(2005, 9, 17, 0, 0, 4)), 37.0},
                                              {unix(zeit(2005, 9, 17, 0, 15, 4)), 38.0}}));
    EXPECT_FALSE(QFile::exists(wertdatei(151, 1)));
    EXPECT_EQ(dateiBytes(wertdatei(152, 1)), cVorher);
    EXPECT_EQ(dateiBytes(wertdatei(999, 1)), fremdVorher);
    EXPECT_EQ(QDir(OrdnerVon(wertdatei(150, 1))).entryList(QDir::Files).size(), 4);
    EXPECT_EQ(import.bilanz().werte, 8);
    EXPECT_EQ(import.bilanz().dateien, 2);
}

TEST_F(LogImportTest, rangesWithoutUsableReadingsLeaveEveryFileAlone)
{
    zaehler(150, 3, 1, 3);
    wertdateiFuellen(150, 1, {{unix(zeit(2005, 9, 1)), 1.0}});
    const QByteArray vorher = dateiBytes(wertdatei(150, 1));
    masterLiest(zeit(2005, 9, 15), kB, {1, 2});            // no meter row for address 4
    schreiben(QStringLiteral("MBusLog/010102mb.log"), {}); // an empty log
    const struct
    {
        const char* von;
        const char* bis;
        bool gestartet;
    } faelle[] = {
        {"15.9.2005", "15.9.2005", true},
        {"17.9.2005", "15.9.2005", false}, // last day before the first
        {"1.1.2001", "3.1.2001", true},    // no logs at all
        {"15.9.2005", "kein Datum", false},
    };
    for (const auto& fall : faelle) {
        LogImport import = neuerImport();
        EXPECT_EQ(
            import.importieren(QString::fromUtf8(fall.von), QString::fromUtf8(fall.bis), m_grid),
            fall.gestartet);
        EXPECT_EQ(dateiBytes(wertdatei(150, 1)), vorher) << fall.von << " " << fall.bis;
    }
    EXPECT_EQ(QDir(OrdnerVon(wertdatei(150, 1))).entryList(QDir::Files).size(), 1);
}

TEST_F(LogImportTest, theSameTimeTwiceKeepsTheSecondValue)
{
    zaehler(150, 3, 1, 3);
    masterLiest(zeit(2005, 9, 15, 0, 0), kA, {10});
    masterLiest(zeit(2005, 9, 15, 0, 0), kA, {11});
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{unix(zeit(2005, 9, 15)), 11.0}}));
}

TEST_F(LogImportTest, simpleLayoutWithGermanNumberStoresAtTheNaiveTime)
{
    zaehler(150, 3, 1, QVariant());
    masterLogZeile(zeit(2005, 9, 15, 0, 0, 5), QStringLiteral("3;1;1234,5"));
    ASSERT_TRUE(dateiBytes(PfadAufloesen(LogImport::logDatei(QDate(2005, 9, 15))))
                    .contains("15.09.05 00:00:05 ;3;1;1234,5"));
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
    // 2005-09-15 00:00:05 counted as if UTC: 13041 days and 5 seconds.
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{1126742405, 1234.5}}));
}

TEST_F(LogImportTest, errorHeaderAndOtherMasterLinesAreNotImported)
{
    // The rows the lax reading would have matched: address 3 with index 0 (error line) and
    // address 0 with index 0 (header line).
    zaehler(150, 3, 0, 3);
    zaehler(151, 0, 0, 3);
    masterLiest(zeit(2005, 9, 15, 0, 0), kB, {1}); // first line: the file gets the header
    masterLogZeile(zeit(2005, 9, 15, 0, 1), MasterLogLesefehler(QStringLiteral("3"), 2, -3));
    masterLogZeile(zeit(2005, 9, 15, 0, 2), QStringLiteral("Datenholen gestartet am 15.09.2005"));
    masterLogZeile(zeit(2005, 9, 15, 0, 3), QStringLiteral("Fehler : Öffne Datenbank"));
    ASSERT_TRUE(dateiBytes(PfadAufloesen(LogImport::logDatei(QDate(2005, 9, 15))))
                    .startsWith("Zeitstempel;"));
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
    EXPECT_FALSE(QDir(OrdnerVon(wertdatei(150, 0))).exists());
    EXPECT_EQ(import.bilanz().werte, 0);
    EXPECT_EQ(import.bilanz().zeilen, 5);
}

TEST_F(LogImportTest, anAddressOfSeveralMetersIsSkippedUnlessTheLineNamesItsPort)
{
    zaehler(150, 7, 1, 3);
    zaehler(151, 7, 1, 4);
    masterLogZeile(zeit(2005, 9, 15, 0, 0), QStringLiteral("7;1;5"));
    masterLiest(zeit(2005, 9, 15, 0, 1), {QStringLiteral("1"), QStringLiteral("X"), 4, 7}, {6});
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
    EXPECT_FALSE(QFile::exists(wertdatei(150, 1)));
    EXPECT_EQ(werte(151, 1), (QList<RB6_Satz>{{unix(zeit(2005, 9, 15, 0, 1)), 6.0}}));
    EXPECT_EQ(m_status.last(),
              QStringLiteral("Fertig (1 Zeile übersprungen (Adresse mehrfach vergeben))"));
}

TEST_F(LogImportTest, readingOneFileAppendsAndIfAppandKeepsTheGrid)
{
    zaehler(150, 3, 1, 3);
    masterLiest(zeit(2005, 9, 16, 0, 0), kA, {10, 1});
    masterLiest(zeit(2005, 9, 16, 0, 15), kA, {11, 1}); // header + 4 lines
    wertdateiFuellen(150, 1, {{unix(zeit(2005, 9, 15)), 1.0}});
    const QString log = QStringLiteral(".\\mbuslog\\050916mb.log");
    const struct
    {
        bool ifAppand;
        int zeilenVorher;
        int zeilenNachher;
        const char* fortschritt;
    } // The byte count leaves the line ends out, so a whole file shows a little under 100 %.
    faelle[] = {{false, 7, 0, "5  (96%)"}, {true, 7, 7, "12  (96%)"}};
    for (const auto& fall : faelle) {
        m_grid.setCols(3);
        m_grid.setRows(fall.zeilenVorher);
        LogImport import = neuerImport();
        import.Read_MBusLog(m_grid, log, false, QStringLiteral(";"), 1, fall.ifAppand);
        EXPECT_EQ(m_grid.Rows(), fall.zeilenNachher);
        EXPECT_EQ(m_fortschritt, QString::fromUtf8(fall.fortschritt));
    }
    // Appended after the older value; the second read changed nothing.
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{unix(zeit(2005, 9, 15)), 1.0},
                                              {unix(zeit(2005, 9, 16, 0, 0)), 10.0},
                                              {unix(zeit(2005, 9, 16, 0, 15)), 11.0}}));
    LogImport import = neuerImport();
    import.Read_MBusLog(m_grid, QStringLiteral(".\\mbuslog\\fehlt.log"), false, {}, 1);
    EXPECT_TRUE(m_status.last().startsWith(QStringLiteral("Datei nicht gelesen: ")))
        << qPrintable(m_status.last());
}

TEST_F(LogImportTest, dayReadingsTakeTheFirstRunOfTheAddress)
{
    const MasterZaehlerSatz a56{QStringLiteral("56"), QStringLiteral("Z"), 3, 56};
    const MasterZaehlerSatz a57{QStringLiteral("57"), QStringLiteral("Z"), 3, 57};
    masterLiest(zeit(2005, 9, 15, 0, 0), a56, {1, 2, 3, 4, 5, 6, 7, 8, 9}); // k 9: column 10
    masterLogZeile(zeit(2005, 9, 15, 0, 0, 1), QStringLiteral("Fehler beim speichern RB6 : x rc="));
    masterLiest(zeit(2005, 9, 15, 0, 0, 2), a57, {70});
    masterLiest(zeit(2005, 9, 15, 0, 15), a56, {11, 12});
    masterLiest(zeit(2005, 9, 17, 0, 0), a56, {31, 32});
    schreiben(QStringLiteral("MBusLog/050916mb.log"), {}); // an empty log is deleted

    LogImport import = neuerImport();
    ASSERT_TRUE(import.tageswerte(QStringLiteral("15.9.2005"), QStringLiteral("17.9.2005"),
                                  QStringLiteral("56"), m_grid));
    ASSERT_EQ(m_grid.Rows(), 4);
    ASSERT_EQ(m_grid.Cols(), 10);
    QStringList tag15;
    for (int spalte = 0; spalte < 10; ++spalte)
        tag15 << m_grid.TextMatrix(1, spalte);
    EXPECT_EQ(tag15, (QStringList{QStringLiteral("15.09.05 00:00:00 "),
                                  {},
                                  QStringLiteral("1"),
                                  QStringLiteral("2"),
                                  QStringLiteral("3"),
                                  QStringLiteral("4"),
                                  QStringLiteral("5"),
                                  QStringLiteral("6"),
                                  QStringLiteral("7"),
                                  QStringLiteral("8")}));
    EXPECT_EQ(m_grid.TextMatrix(2, 0), QString());
    EXPECT_EQ(m_grid.TextMatrix(3, 0), QStringLiteral("17.09.05 00:00:00 "));
    EXPECT_EQ(m_grid.TextMatrix(3, 3), QStringLiteral("32"));
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("MBusLog/050916mb.log"))));

    // One day: a first row and the day's. A range that ends before it starts reads nothing and
    // leaves the grid as it was.
    const struct
    {
        const char* von;
        const char* bis;
        int zeilen;
    } faelle[] = {{"15.9.2005", "15.9.2005", 2}, {"17.9.2005", "15.9.2005", 2}};
    for (const auto& fall : faelle) {
        import.tageswerte(QString::fromUtf8(fall.von), QString::fromUtf8(fall.bis),
                          QStringLiteral("56"), m_grid);
        EXPECT_EQ(m_grid.Rows(), fall.zeilen) << fall.von << " " << fall.bis;
    }
    EXPECT_EQ(m_grid.TextMatrix(0, 0), QString());
    EXPECT_EQ(m_grid.TextMatrix(1, 3), QStringLiteral("2"));
    EXPECT_EQ(m_status.last(), QStringLiteral("Keine Tageswerte gelesen: \"bis\" (15.09.2005) "
                                              "liegt vor \"Von\" (17.09.2005)"));
}

TEST_F(LogImportTest, importHoldsTheValueFolderLockAndWaitsForMasterCycles)
{
    zaehler(150, 3, 1, 3);
    masterLiest(zeit(2005, 9, 15), kA, {10});
    const QString ordnerSperre = Sperren::wertordnerDatei(DBPath, 1320);
    {
        Sperre zyklus(Sperren::zyklusDatei(1320, 5));
        ASSERT_TRUE(zyklus.holen());
        LogImport import = neuerImport();
        import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
        EXPECT_EQ(m_status.last(), QStringLiteral("Master-Zyklus läuft, bitte später importieren"));
        EXPECT_FALSE(QFile::exists(wertdatei(150, 1)));
        EXPECT_FALSE(Sperren::gehalten(ordnerSperre));
    }
    {
        // Another client's cycle does not matter.
        Sperre zyklus(Sperren::zyklusDatei(200, 5));
        ASSERT_TRUE(zyklus.holen());
        bool gehaltenWaehrend = false;
        bool zweiterLauf = true;
        LogImport import = neuerImport();
        m_beiStatus = [&](const QString&) {
            gehaltenWaehrend = Sperren::gehalten(ordnerSperre);
            if (import.laeuft())
                zweiterLauf = import.importieren(QStringLiteral("15.9.2005"),
                                                 QStringLiteral("15.9.2005"), m_grid);
        };
        import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
        EXPECT_TRUE(gehaltenWaehrend);
        EXPECT_FALSE(zweiterLauf);
        EXPECT_FALSE(Sperren::gehalten(ordnerSperre));
        EXPECT_EQ(werte(150, 1).size(), 1);
    }
}

TEST_F(LogImportTest, stoppingWhileReadingReplacesNothing)
{
    zaehler(150, 3, 1, 3);
    wertdateiFuellen(150, 1, {{unix(zeit(2005, 9, 1)), 1.0}});
    const QByteArray vorher = dateiBytes(wertdatei(150, 1));
    masterLiest(zeit(2005, 9, 15), kA, {10});
    masterLiest(zeit(2005, 9, 16), kA, {11});
    LogImport import = neuerImport();
    m_beiStatus = [&](const QString& text) {
        if (text == QStringLiteral(" Bearbeite 16.09.2005"))
            import.anhalten();
    };
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("16.9.2005"), m_grid);
    EXPECT_EQ(dateiBytes(wertdatei(150, 1)), vorher);
    EXPECT_EQ(m_status.last(),
              QStringLiteral("Fertig (abgebrochen, keine Datei halb geschrieben)"));
}

TEST_F(LogImportTest, aValueFileThatCannotBeTrustedIsNotReplaced)
{
    zaehler(150, 3, 1, 3);
    schreiben(QStringLiteral("Z1320/000150001.zep"), QByteArray(200, 'x'));
    masterLiest(zeit(2005, 9, 15), kA, {10});
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
    EXPECT_EQ(lesen(QStringLiteral("Z1320/000150001.zep")), QByteArray(200, 'x'));
    EXPECT_EQ(m_status.last(),
              QStringLiteral("Fertig (1 Wertdatei nicht ersetzt (siehe Programmlog))"));
}

} // namespace

namespace {

TEST_F(LogImportTest, withoutTheMeterDatabaseNothingIsTouched)
{
    wertdateiFuellen(150, 1, {{unix(zeit(2005, 9, 1)), 1.0}});
    const QByteArray vorher = dateiBytes(wertdatei(150, 1));
    masterLiest(zeit(2005, 9, 15), kA, {10});
    ASSERT_TRUE(QFile::remove(pfad(QStringLiteral("basis.mdb"))));
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("16.9.2005"), m_grid);
    EXPECT_TRUE(m_status.last().startsWith(QStringLiteral("Import nicht möglich, Datenbank: ")))
        << qPrintable(m_status.last());
    EXPECT_EQ(dateiBytes(wertdatei(150, 1)), vorher);
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("basis.mdb"))));
}

} // namespace

namespace {

TEST_F(LogImportTest, readingOneFileIntoAValueFolderThatCannotBeWrittenSaysSo)
{
    zaehler(150, 3, 1, 3);
    masterLiest(zeit(2005, 9, 16, 0, 0), kA, {10});
    masterLiest(zeit(2005, 9, 16, 0, 15), kA, {11});
    schreiben(QStringLiteral("Z1320"), "kein Ordner"); // the value folder cannot be made
    LogImport import = neuerImport();
    import.Read_MBusLog(m_grid, QStringLiteral(".\\mbuslog\\050916mb.log"), false, {}, 1);
    EXPECT_TRUE(m_status.last().startsWith(QStringLiteral("Fertig (2 Werte nicht geschrieben: ")))
        << qPrintable(m_status.last());
    EXPECT_EQ(import.bilanz().schreibFehler, 2);
}

} // namespace

namespace {

TEST_F(LogImportTest, aDayWithALogIsRebuiltFromItAloneADayWithoutKeepsItsValues)
{
    zaehler(150, 3, 1, 3);
    // The master stored a value on the 16th; that day's log is gone. The value at 00:10 on the
    // 15th lies between two logged readings and has no line of its own.
    const UnixZeit sechzehnter = unix(zeit(2005, 9, 16, 12, 0));
    wertdateiFuellen(150, 1, {{unix(zeit(2005, 9, 15, 0, 10)), 5.0}, {sechzehnter, 16.0}});
    masterLiest(zeit(2005, 9, 15, 0, 0), kA, {15});
    masterLiest(zeit(2005, 9, 15, 0, 20), kA, {15.5});
    masterLiest(zeit(2005, 9, 17, 0, 0), kA, {17});
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("17.9.2005"), m_grid);
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{unix(zeit(2005, 9, 15, 0, 0)), 15.0},
                                              {unix(zeit(2005, 9, 15, 0, 20)), 15.5},
                                              {sechzehnter, 16.0},
                                              {unix(zeit(2005, 9, 17, 0, 0)), 17.0}}));
}

TEST_F(LogImportTest, aDayWhoseLogHoldsNoReadingOfTheFileKeepsItsValues)
{
    zaehler(150, 3, 1, 3);
    zaehler(151, 4, 2, 3);
    // On the 16th the log holds only B and a read error of A; A's file holds a value of that day
    // (stored while the master wrote no log lines for it).
    const UnixZeit sechzehnter = unix(zeit(2005, 9, 16, 12, 0));
    wertdateiFuellen(150, 1, {{sechzehnter, 16.0}});
    masterLiest(zeit(2005, 9, 15, 0, 0), kA, {15});
    masterLiest(zeit(2005, 9, 16, 0, 0), kB, {1, 2});
    masterLogZeile(zeit(2005, 9, 16, 0, 5), MasterLogLesefehler(QStringLiteral("3"), 1, -1));
    masterLiest(zeit(2005, 9, 17, 0, 0), kA, {17});
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("17.9.2005"), m_grid);
    EXPECT_EQ(m_status.last(), QStringLiteral("Fertig"));
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{unix(zeit(2005, 9, 15, 0, 0)), 15.0},
                                              {sechzehnter, 16.0},
                                              {unix(zeit(2005, 9, 17, 0, 0)), 17.0}}));
}

TEST_F(LogImportTest, aReadingLoggedASecondAfterItWasStoredIsNotDoubled)
{
    zaehler(150, 3, 1, 3);
    wertdateiFuellen(150, 1, {{unix(zeit(2005, 9, 15, 0, 0, 0)), 10.0}});
    masterLiest(zeit(2005, 9, 15, 0, 0, 1), kA, {10});
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{unix(zeit(2005, 9, 15, 0, 0, 1)), 10.0}}));
}

// A reading of the day before, a minute before the day's first logged one and with the same
// value, is a reading of its own when the file holds the logged one at its time already.
TEST_F(LogImportTest, theSameValueAMinuteBeforeTheSpanIsKeptWhenTheSpanStartsWithItsOwn)
{
    zaehler(150, 3, 1, 3);
    const UnixZeit abends = unix(zeit(2005, 9, 14, 23, 59, 5));
    const UnixZeit morgens = unix(zeit(2005, 9, 15, 0, 0, 5));
    wertdateiFuellen(150, 1, {{abends, 10.0}, {morgens, 10.0}});
    masterLiest(zeit(2005, 9, 15, 0, 0, 5), kA, {10});
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{abends, 10.0}, {morgens, 10.0}}));
}

TEST_F(LogImportTest, valuesDatedAfterTheImportAreDroppedAndTheMasterAppendsAgain)
{
    zaehler(150, 3, 1, 3);
    // A clock fault left a value of March 2027 in the file; the master's appends are refused.
    const UnixZeit vorher = unix(zeit(2026, 11, 30));
    wertdateiFuellen(150, 1, {{vorher, 1.0}, {unix(zeit(2027, 3, 1)), 99.0}});
    QString name;
    ASSERT_EQ(RB6_WertSchreiben(DBPath, 150, unix(kJetzt), 2.0, 1, name), -2);
    masterLiest(zeit(2026, 12, 5, 12, 0), kA, {3});
    const QString log = QStringLiteral("MBusLog/261205mb.log");
    schreiben(log, lesen(log) + "01.03.27 00:00:00 ;3;1;98\r\n"); // a reading from the future
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("5.12.2026"), QStringLiteral("6.12.2026"), m_grid);
    EXPECT_EQ(m_status.last(), QStringLiteral("Fertig (1 Tag ohne Logdatei, 2 Werte mit Zeit in "
                                              "der Zukunft verworfen)"));
    EXPECT_EQ(werte(150, 1),
              (QList<RB6_Satz>{{vorher, 1.0}, {unix(zeit(2026, 12, 5, 12, 0)), 3.0}}));
    EXPECT_EQ(RB6_WertSchreiben(DBPath, 150, unix(kJetzt), 4.0, 1, name), 0)
        << qPrintable(FehlerText);
    EXPECT_TRUE(lesen(QStringLiteral("261206ed.log"))
                    .contains("Import Log Datei: 2 Werte mit Zeit nach dem 06.12.2026 10:00:00 "
                              "verworfen"));
}

} // namespace

namespace {

TEST_F(LogImportTest, aLockFolderThatCannotBeMadeIsNamedNotTakenForAnotherImport)
{
    zaehler(150, 3, 1, 3);
    masterLiest(zeit(2005, 9, 15), kA, {10});
    // The value-folder lock lies in the data folder, which here cannot be made.
    schreiben(QStringLiteral("keinOrdner"), "x");
    DBPath = pfad(QStringLiteral("keinOrdner/daten")) + u'/';
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("15.9.2005"), m_grid);
    EXPECT_TRUE(m_status.last().startsWith(QStringLiteral("Wertdateien nicht sperrbar: ")))
        << qPrintable(m_status.last());
    EXPECT_FALSE(QFile::exists(wertdatei(150, 1)));
}

} // namespace

namespace {

TEST_F(LogImportTest, daysWithoutLogGiveOneProgramLogLinePerImport)
{
    zaehler(150, 3, 1, 3);
    masterLiest(zeit(2005, 9, 15), kA, {10});
    m_uhr.stellen(zeit(2026, 12, 6, 10, 0));
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("19.9.2005"), m_grid);
    EXPECT_EQ(m_status.last(), QStringLiteral("Fertig (4 Tage ohne Logdatei)"));
    const QStringList zeilen = QString::fromLatin1(lesen(QStringLiteral("261206ed.log")))
                                   .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
                                   .filter(QStringLiteral("Import Log Datei"));
    ASSERT_EQ(zeilen.size(), 1) << qPrintable(zeilen.join(u'\n'));
    EXPECT_TRUE(zeilen[0].contains(
        QStringLiteral("Import Log Datei: 4 Tage ohne Logdatei (16.09.2005 bis 19.09.2005)")))
        << qPrintable(zeilen[0]);
}

} // namespace

namespace {

// A master ended during a write (or a full disk) leaves a line without its end; the next line is
// glued to it. A bare CR ends a line.
TEST_F(LogImportTest, aLineThatLostItsEndIsCutWhereTheNextLineStarts)
{
    zaehler(150, 1, 1, 1);
    const QByteArray kopf = TextZuCp1252(kMasterLogKopf) + "\r\n";
    schreiben(QStringLiteral("MBusLog/261205mb.log"),
              kopf +
                  // cut after "50" of 5012 kWh, the line of 12:00:01 glued to it
                  "05.12.26 09:00:01 ;12345678;LUG_1;1;1;1;50"
                  "05.12.26 12:00:01 ;12345678;LUG_1;1;1;1;5012;kWh;\r\n"
                  // a bare CR between two lines
                  "05.12.26 12:15:01 ;12345678;LUG_1;1;1;1;5013;kWh;\r"
                  "05.12.26 12:30:01 ;12345678;LUG_1;1;1;1;5014;kWh;\r\n"
                  // a ";" and a date in meter names
                  "05.12.26 12:45:01 ;12345678;LUG;1;1;1;1;5015;kWh;\r\n"
                  "05.12.26 13:00:01 ;12345678;Tausch 01.02.20 12:00;1;1;1;5016;kWh;\r\n"
                  // cut inside the time stamp
                  "05.12.26 13:1"
                  "05.12.26 13:30:01 ;12345678;LUG_1;1;1;1;5018;kWh;\r\n");
    LogImport import = neuerImport();
    ASSERT_TRUE(
        import.importieren(QStringLiteral("5.12.2026"), QStringLiteral("5.12.2026"), m_grid));
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{unix(zeit(2026, 12, 5, 12, 0, 1)), 5012.0},
                                              {unix(zeit(2026, 12, 5, 12, 15, 1)), 5013.0},
                                              {unix(zeit(2026, 12, 5, 12, 30, 1)), 5014.0},
                                              {unix(zeit(2026, 12, 5, 12, 45, 1)), 5015.0},
                                              {unix(zeit(2026, 12, 5, 13, 0, 1)), 5016.0},
                                              {unix(zeit(2026, 12, 5, 13, 30, 1)), 5018.0}}));
    EXPECT_EQ(m_status.last(), QStringLiteral("Fertig (2 Zeilen übersprungen (ohne Zeilenende))"));
    EXPECT_EQ(import.bilanz().zeilen, 9);
    EXPECT_EQ(import.bilanz().werte, 6);

    // The day readings take the first run of whole lines of the address.
    schreiben(QStringLiteral("MBusLog/261204mb.log"),
              kopf + "04.12.26 09:00:01 ;12345678;LUG_1;1;1;1;50"
                     "04.12.26 12:00:01 ;12345678;LUG_1;1;1;1;5012;kWh;\r\n"
                     "04.12.26 12:00:05 ;12345679;LUG_2;1;2;1;77;kWh;\r\n"
                     "04.12.26 12:15:01 ;12345678;LUG_1;1;1;1;5013;kWh;\r\n");
    ASSERT_TRUE(import.tageswerte(QStringLiteral("4.12.2026"), QStringLiteral("4.12.2026"),
                                  QStringLiteral("1"), m_grid));
    EXPECT_EQ(m_grid.TextMatrix(1, 0), QStringLiteral("04.12.26 12:00:01 "));
    EXPECT_EQ(m_grid.TextMatrix(1, 2), QStringLiteral("5012"));
}

TEST_F(LogImportTest, aRangeThatIsNoRangeIsNamedAndNothingIsRead)
{
    zaehler(150, 3, 1, 3);
    masterLiest(zeit(2005, 9, 15), kA, {10});
    wertdateiFuellen(150, 1, {{unix(zeit(2005, 9, 1)), 1.0}});
    const QByteArray vorher = dateiBytes(wertdatei(150, 1));
    const struct
    {
        const char* von;
        const char* bis;
        const char* meldung;
    } faelle[] = {
        {"1.1.1969", "15.9.2005", "\"Von\" liegt vor dem 01.01.1970: \"1.1.1969\""},
        {"31.12.69 23:59", "15.9.2005", "\"Von\" liegt vor dem 01.01.1970: \"31.12.69 23:59\""},
        {"15.9.2005", "kein Datum", "\"bis\" ist kein Datum (z.B. 15.9.2005): \"kein Datum\""},
        {"", "15.9.2005", "\"Von\" ist kein Datum (z.B. 15.9.2005): \"\""},
        {"15.9.2005", "1.1.2040", "\"bis\" liegt nach dem 19.01.2038: \"1.1.2040\""},
        {"15.9.2005", "  15.9.2005 und sehr viel mehr Text ",
         "\"bis\" ist kein Datum (z.B. 15.9.2005): \"15.9.2005 und sehr viel …\""},
        {"17.9.2005", "15.9.2005", "\"bis\" (15.09.2005) liegt vor \"Von\" (17.09.2005)"},
    };
    for (const auto& fall : faelle) {
        m_fortschritt = QStringLiteral("3  (100%)"); // the progress of an earlier run
        m_meldungen.texte.clear();
        LogImport import = neuerImport();
        const QString meldung =
            QStringLiteral("Nichts importiert: ") + QString::fromUtf8(fall.meldung);
        EXPECT_FALSE(
            import.importieren(QString::fromUtf8(fall.von), QString::fromUtf8(fall.bis), m_grid));
        EXPECT_EQ(m_status.value(m_status.size() - 1), meldung);
        EXPECT_EQ(m_meldungen.texte, QStringList{meldung});
        EXPECT_EQ(m_fortschritt, QString());
        EXPECT_EQ(import.bilanz().zeilen, 0);
        EXPECT_FALSE(import.laeuft());
        EXPECT_EQ(dateiBytes(wertdatei(150, 1)), vorher) << fall.von << " " << fall.bis;

        m_meldungen.texte.clear();
        EXPECT_FALSE(import.tageswerte(QString::fromUtf8(fall.von), QString::fromUtf8(fall.bis),
                                       QStringLiteral("3"), m_grid));
        EXPECT_EQ(m_status.value(m_status.size() - 1),
                  QStringLiteral("Keine Tageswerte gelesen: ") + QString::fromUtf8(fall.meldung));
        EXPECT_EQ(m_meldungen.texte.size(), 1);
    }

    // The first day the value files can hold is a day.
    LogImport import = neuerImport();
    EXPECT_TRUE(import.importieren(QStringLiteral("1.1.1970"), QStringLiteral("2.1.1970"), m_grid));
    EXPECT_EQ(m_status.value(m_status.size() - 1), QStringLiteral("Fertig (2 Tage ohne Logdatei)"));
}

// The M-Bus log was switched on at 10:00 and off after 14:00: the file keeps the master's values
// before and after.
TEST_F(LogImportTest, aDayWhoseLogStartsOrStopsPartWayKeepsTheValuesOutsideIt)
{
    zaehler(150, 3, 1, 3);
    auto um = [this](int tag, int stunde, int minute, int sekunde = 0) {
        return unix(zeit(2005, 9, tag, stunde, minute, sekunde));
    };
    wertdateiFuellen(150, 1,
                     {{um(15, 6, 0), 6.0},
                      {um(15, 9, 59, 30), 9.0},
                      {um(15, 10, 0), 10.0}, // stored a second before it was logged
                      {um(15, 11, 0), 11.0}, // its line is lost
                      {um(15, 12, 0), 12.0},
                      {um(15, 14, 0), 14.0},
                      {um(15, 18, 0), 18.0},
                      {um(16, 7, 59, 30), 7.5}, // another reading just before the log's first
                      {um(16, 9, 0), 9.0}});
    masterLiest(zeit(2005, 9, 15, 10, 0, 1), kA, {10});
    masterLiest(zeit(2005, 9, 15, 12, 0, 1), kA, {12.5});
    masterLiest(zeit(2005, 9, 15, 14, 0, 1), kA, {14});
    masterLiest(zeit(2005, 9, 16, 8, 0), kA, {8});
    masterLiest(zeit(2005, 9, 16, 8, 30), kA, {8.5});
    LogImport import = neuerImport();
    import.importieren(QStringLiteral("15.9.2005"), QStringLiteral("16.9.2005"), m_grid);
    EXPECT_EQ(m_status.last(), QStringLiteral("Fertig"));
    EXPECT_EQ(werte(150, 1), (QList<RB6_Satz>{{um(15, 6, 0), 6.0},
                                              {um(15, 9, 59, 30), 9.0},
                                              {um(15, 10, 0, 1), 10.0},
                                              {um(15, 12, 0, 1), 12.5},
                                              {um(15, 14, 0, 1), 14.0},
                                              {um(15, 18, 0), 18.0},
                                              {um(16, 7, 59, 30), 7.5},
                                              {um(16, 8, 0), 8.0},
                                              {um(16, 8, 30), 8.5},
                                              {um(16, 9, 0), 9.0}}));
}

} // namespace

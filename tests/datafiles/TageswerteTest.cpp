#include "DatendateiTest.h"

#include "datafiles/Tageswerte.h"
#include "grid/GridModell.h"

#include <cmath>
#include <ctime>

namespace {

const RB6_Zeile kUnberuehrt{-7, -7, -7, -7};
const qint64 kT0 = 1'796'428'800; // 05.12.2026 00:00

using TageswerteTest = DatendateiTest;

TEST_F(TageswerteTest, einVollerTagGibt97ZeilenMitZaehlerueberlauf)
{
    basisAnlegen();
    zeileEinfuegen("zaehler", {{"LZNR", 1234}, {"ZQUELLE", "M-Bus"}, {"ZStellen", 6}});
    // 100 a quarter hour; the six-digit counter rolls over at 04:00.
    werteSchreiben(kT0 - 7200, kT0 + 93600,
                   [](qint64 tm) { return std::fmod(998'400.0 + (tm - kT0) / 9, 1e6); });
    RB6_Tabelle tabelle(97, kUnberuehrt);
    ASSERT_EQ(RB6_ReadPeakDatenTG(1234, "05.12.2026", tabelle, 900, 1, 0), 0);
    ASSERT_EQ(tabelle.size(), 97);
    EXPECT_EQ(tabelle[0], kUnberuehrt);
    for (int r = 1; r <= 96; ++r)
        EXPECT_EQ(tabelle[r],
                  (RB6_Zeile{double(kT0 + 900 * r), 900, 100, std::fmod(998'400.0 + 100 * r, 1e6)}))
            << "row " << r;
}

TEST_F(TageswerteTest, sommerzeitTageHaben97UnverschobeneZeilen)
{
    const QByteArray vorher = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    for (const QDate tag : {QDate(2026, 3, 29), QDate(2026, 10, 25)}) {
        QFile::remove(pfad(Datei()));
        const qint64 t0 = QDate(1970, 1, 1).daysTo(tag) * 86400;
        werteSchreiben(t0 - 3600, t0 + 90000, [t0](qint64 tm) { return double(tm - t0); });
        RB6_Tabelle tabelle(97, kUnberuehrt);
        ASSERT_EQ(RB6_ReadPeakDatenTG(1234, tag.toString("dd.MM.yyyy"), tabelle, 900, 1, 0), 0);
        ASSERT_EQ(tabelle.size(), 97);
        EXPECT_EQ(tabelle[1], (RB6_Zeile{double(t0 + 900), 900, 900, 900}));
        EXPECT_EQ(tabelle[96], (RB6_Zeile{double(t0 + 86400), 900, 900, 86400}));
    }
    vorher.isNull() ? qunsetenv("TZ") : qputenv("TZ", vorher);
    tzset();
}

TEST_F(TageswerteTest, lueckenWerdenNurZwischenZeilenMitZeitGefuellt)
{
    const double t = kT0;
    // Input times (value = time / 1000) -> times of the rows (without the closing zero row).
    const std::pair<QList<double>, QList<double>> faelle[] = {
        {{t, t + 1800}, {t, t + 1800}},
        {{t, t + 2700}, {t, t + 900, t + 2700}},
        {{t, t + 900, t + 5400}, {t, t + 900, t + 1800, t + 2700, t + 3600, t + 5400}},
        {{0, t, t + 900}, {t, t + 900}}, // a zero row adds no two million rows
        {{t, 0, t + 2700}, {t, t + 900, t + 2700}},
    };
    for (const auto& [zeiten, erwartet] : faelle) {
        RB6_Tabelle zeilen;
        for (const double zeit : zeiten)
            zeilen << RB6_Zeile{zeit, zeit / 1000, 0, 0};
        qint32 intervall = 60;
        RB_RohDatenAuffuellenMitRecordset(zeilen, intervall);
        EXPECT_EQ(intervall, 900);
        RB6_Tabelle soll;
        double wert = 0;
        for (const double zeit : erwartet) {
            wert = zeiten.contains(zeit) ? zeit / 1000 : wert; // a filled row carries the last
            soll << RB6_Zeile{zeit, wert, zeit, wert};
        }
        EXPECT_EQ(zeilen, soll << RB6_Zeile{}) << zeiten.size() << " rows, then " << zeiten.last();
    }
    // With "AdminLog" the program log gets the start and the end.
    KommandozeileSetzen("-M200 AdminLog");
    RB6_Tabelle zeilen{{t, 1, 0, 0}};
    qint32 intervall = 60;
    RB_RohDatenAuffuellenMitRecordset(zeilen, intervall);
    const QByteArray log = lesen("db/261205ed.log");
    EXPECT_TRUE(log.contains(" Starte RB_RohDatenAuffuellenMitRecordset\r\n")) << log.data();
    EXPECT_TRUE(log.contains(" Fertig RB_RohDatenAuffuellenMitRecordset\r\n")) << log.data();
}

TEST_F(TageswerteTest, fehlerGebenIhrenStatusUndLassenDieTabelle)
{
    werteSchreiben(kT0, kT0 + 86400, [](qint64) { return 1.0; });
    const std::tuple<QString, QString, int> faelle[] = {
        {"300", "05.12.2026", -100}, // no value file
        {"1450", "05.12.2026", -600}, {"200", "31.02.2026", -1},
        {"200", "heute", -1},         {"200", "31.12.1969", -1},
    };
    for (const auto& [mandant, tag, status] : faelle) {
        Mandant = mandant;
        RB6_Tabelle tabelle(97, kUnberuehrt);
        EXPECT_EQ(RB6_ReadPeakDatenTG(1234, tag, tabelle, 900, 1, 0), status) << qPrintable(tag);
        EXPECT_EQ(tabelle, RB6_Tabelle(97, kUnberuehrt));
        EXPECT_FALSE(FehlerText.isEmpty());
    }
    EXPECT_FALSE(vorhanden("db/Z300"));
    // An empty value file has no header to read; it is deleted.
    Mandant = "200";
    schreiben(Datei(), {});
    RB6_Tabelle tabelle(97, kUnberuehrt);
    EXPECT_EQ(RB6_ReadPeakDatenTG(1234, "05.12.2026", tabelle, 900, 1, 0), -100);
    EXPECT_EQ(tabelle, RB6_Tabelle(97, kUnberuehrt));
    EXPECT_FALSE(vorhanden(Datei()));
}

TEST_F(TageswerteTest, temperaturWerteZeigenDenWertSelbst)
{
    basisAnlegen();
    zeileEinfuegen("zaehler", {{"LZNR", 1234}, {"ZQUELLE", "M-Bus"}});
    zeileEinfuegen("MB_IndexListe", {{"Lznr", 1234}, {"MBIndex", 2}, {"Einheit", "°C  "}});
    werteSchreiben(
        kT0, kT0 + 86400, [](qint64 tm) { return 20.0 - (tm - kT0) / 900; }, 2);
    RB6_Tabelle tabelle(97, kUnberuehrt);
    ASSERT_EQ(RB6_ReadPeakDatenTG(1234, "05.12.2026", tabelle, 900, 2, 0), 0);
    EXPECT_EQ(tabelle[1], (RB6_Zeile{double(kT0 + 900), 900, 19, -7}));
}

TEST_F(TageswerteTest, tagesTabelleImGrid)
{
    GridModell grid;
    RB6_TagesTabelleAnzeigen(grid, {{0, 0, 0, 0}, {double(kT0 + 900), 12.5, double(kT0), 10}});
    ASSERT_EQ(grid.Rows(), 3);
    ASSERT_EQ(grid.Cols(), 7);
    grid.setRow(0);
    grid.setCol(0);
    grid.setRowSel(2);
    grid.setColSel(6);
    EXPECT_EQ(grid.Clip(),
              "Nr\tDatum\tZ-Stand Neu\tDatum\tZ-Stand Alt\tDiff\tDiff Tm\r"
              "\t\t\t\t\t\t\r"
              "1\tSa  05.12.2026  00:15:00\t12,5\tSa  05.12.2026  00:00:00\t10\t2,5\t900");
}

} // namespace

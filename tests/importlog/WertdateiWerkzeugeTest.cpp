// The value-file viewer and test tools on real value files.

#include "ImportUmgebung.h"

#include "grid/GridModell.h"
#include "master/importlog/WertdateiWerkzeuge.h"

#include <QFile>

namespace {

using namespace WertdateiWerkzeuge;

class WertdateiWerkzeugeTest : public ImportUmgebung
{
protected:
    GridModell m_grid;
    GridModell m_peaks;
};

TEST_F(WertdateiWerkzeugeTest, fileNameFromTheMeterAndIndexBoxes)
{
    EXPECT_EQ(dateiName(QStringLiteral("150"), QStringLiteral("1")),
              DBPath + QStringLiteral("Z1320\\000150001.zep"));
    EXPECT_EQ(dateiName(QStringLiteral("149.6 x"), QStringLiteral(" 2")),
              DBPath + QStringLiteral("Z1320\\000150002.zep"));
    EXPECT_EQ(dateiName(QString(), QString()), DBPath + QStringLiteral("Z1320\\000000000.zep"));
}

TEST_F(WertdateiWerkzeugeTest, testFileOf400BlocksAndASecondClickChangesNothing)
{
    const WerkzeugErgebnis erstes =
        testdateiErzeugen(QStringLiteral("150"), QStringLiteral("1"), QStringLiteral("400"));
    EXPECT_EQ(erstes.rc, 0);
    EXPECT_TRUE(erstes.status.startsWith(QStringLiteral("rc= 0 in "))) << qPrintable(erstes.status);
    EXPECT_TRUE(erstes.status.endsWith(QStringLiteral(" Sec")));
    const QByteArray bytes = dateiBytes(wertdatei(150, 1));
    EXPECT_EQ(bytes.size(), 400 * 1212);

    wertdateiFuellen(150, 1, {{unix(zeit(2005, 9, 15)), 1.5}});
    const QByteArray gefuellt = dateiBytes(wertdatei(150, 1));
    const WerkzeugErgebnis zweites =
        testdateiErzeugen(QStringLiteral("150"), QStringLiteral("1"), QStringLiteral("400"));
    EXPECT_EQ(zweites.rc, 0);
    EXPECT_EQ(dateiBytes(wertdatei(150, 1)), gefuellt);

    EXPECT_LT(
        testdateiErzeugen(QStringLiteral("151"), QStringLiteral("1"), QStringLiteral("-5")).rc, 0);
    EXPECT_FALSE(QFile::exists(wertdatei(151, 1)));
}

TEST_F(WertdateiWerkzeugeTest, recordListsShowRecordsOrAnEmptyGridWithTheStatus)
{
    const UnixZeit t = unix(zeit(2005, 9, 15));
    wertdateiFuellen(150, 1, {{t, 1.5}, {t + 900, 2.5}, {t + 1800, 4.0}});
    struct Fall
    {
        const char* von;
        const char* bis;
        int rc;
        int zeilen;
    };
    const Fall faelle[] = {
        {"11", "12", 0, 3}, {"1", "10", 0, 11}, {"13", "11", -3, 2}, {"11", "x", -3, 2}};
    for (const Fall& fall : faelle) {
        const WerkzeugErgebnis e =
            WertdateiWerkzeuge::lesen(QStringLiteral("150"), QString::fromUtf8(fall.von),
                                      QString::fromUtf8(fall.bis), m_grid);
        EXPECT_EQ(e.rc, fall.rc) << fall.von << "-" << fall.bis;
        EXPECT_EQ(m_grid.Rows(), fall.zeilen) << fall.von << "-" << fall.bis;
        EXPECT_TRUE(e.status.startsWith(QStringLiteral("Lesen rc= ") + QString::number(fall.rc)));
    }
    EXPECT_EQ(WertdateiWerkzeuge::lesen(QStringLiteral("150"), QStringLiteral("11"),
                                        QStringLiteral("12"), m_grid)
                  .rc,
              0);
    EXPECT_EQ(m_grid.TextMatrix(1, 0), QStringLiteral("12"));
    EXPECT_EQ(m_grid.TextMatrix(1, 3), QStringLiteral("4"));
    EXPECT_EQ(m_grid.TextMatrix(1, 4), QStringLiteral("900"));

    // DatInfoLesen: the index box is the first record.
    EXPECT_EQ(datInfoLesen(QStringLiteral("150"), QStringLiteral("1"), m_grid).rc, 0);
    EXPECT_EQ(m_grid.Rows(), 11);
    EXPECT_EQ(m_grid.TextMatrix(9, 0), QStringLiteral("10"));
    EXPECT_EQ(m_grid.TextMatrix(9, 3), QStringLiteral("1,5"));
    EXPECT_EQ(datInfoLesen(QStringLiteral("150"), QStringLiteral("11"), m_grid).rc, -3);
    const WerkzeugErgebnis fehlt = datInfoLesen(QStringLiteral("151"), QStringLiteral("1"), m_grid);
    EXPECT_EQ(fehlt.rc, -1);
    EXPECT_TRUE(fehlt.status.startsWith(QStringLiteral("DatInfoLesen rc= -1: ")));
}

TEST_F(WertdateiWerkzeugeTest, periodSearchAndClient1450)
{
    const UnixZeit t = unix(zeit(2005, 9, 17, 19, 30));
    wertdateiFuellen(150, 1, {{t, 1.0}, {t + 600, 2.0}, {t + 1200, 3.0}, {t + 1800, 4.0}});
    EXPECT_EQ(suchePos(QStringLiteral("150"), QStringLiteral("1"),
                       QStringLiteral("17.9.2005 19:40"), QStringLiteral("17.9.2005 20:00"), m_grid)
                  .rc,
              0);
    EXPECT_GT(m_grid.Rows(), 2);
    EXPECT_EQ(m_grid.TextMatrix(0, 2), QStringLiteral("Z-Stand Neu"));

    Mandant = QStringLiteral("1450");
    wertdateiFuellen(150, 1, {{t, 1.0}});
    const WerkzeugErgebnis e =
        suchePos(QStringLiteral("150"), QStringLiteral("1"), QStringLiteral("17.9.2005 19:40"),
                 QStringLiteral("17.9.2005 20:00"), m_grid);
    EXPECT_EQ(e.rc, kRB6_StatusMandant1450);
    EXPECT_LE(m_grid.Rows(), 2);
    EXPECT_EQ(m_grid.TextMatrix(1, 1), QString());
}

TEST_F(WertdateiWerkzeugeTest, dayOnTheQuarterHourGridFromAFileTheMasterWrote)
{
    // The master stores record k of each read with the read time (here every 15 minutes).
    QList<RB6_Satz> saetze;
    for (int viertel = 0; viertel <= 96; ++viertel)
        saetze.append({unix(zeit(2005, 9, 15)) + viertel * 900, 1000.0 + viertel * 0.5});
    wertdateiFuellen(150, 1, saetze);

    const WerkzeugErgebnis e = leseTag(QStringLiteral("150"), QStringLiteral("1"),
                                       QStringLiteral("15.09.2005"), m_peaks, m_grid);
    ASSERT_EQ(e.rc, 0) << qPrintable(e.status);
    ASSERT_EQ(m_peaks.Rows(), 98);
    ASSERT_EQ(m_peaks.Cols(), 6);
    QStringList titel;
    for (int spalte = 0; spalte < 6; ++spalte)
        titel << m_peaks.TextMatrix(0, spalte);
    EXPECT_EQ(titel, kPeakTitel);
    UnixZeit mittag = unix(zeit(2005, 9, 15, 12, 0));
    EXPECT_EQ(m_peaks.TextMatrix(49, 0), QStringLiteral("48"));
    EXPECT_EQ(m_peaks.TextMatrix(49, 1), QString::number(mittag));
    EXPECT_EQ(m_peaks.TextMatrix(49, 2), UnixZeitAlsText(mittag));
    EXPECT_EQ(m_peaks.TextMatrix(49, 3), QStringLiteral("900"));
    EXPECT_EQ(m_peaks.TextMatrix(49, 4), QStringLiteral("0,5"));
    EXPECT_EQ(m_peaks.TextMatrix(49, 5), QStringLiteral("1024"));
    EXPECT_GT(m_grid.Rows(), 90); // the raw records of the day

    const struct
    {
        const char* meter;
        const char* tag;
    } fehler[] = {{"151", "15.09.2005"}, {"150", "kein Datum"}};
    for (const auto& fall : fehler) {
        const WerkzeugErgebnis f = leseTag(QString::fromUtf8(fall.meter), QStringLiteral("1"),
                                           QString::fromUtf8(fall.tag), m_peaks, m_grid);
        EXPECT_NE(f.rc, 0) << fall.meter << " " << fall.tag;
        EXPECT_EQ(m_peaks.Rows(), 1) << fall.meter << " " << fall.tag;
        EXPECT_EQ(m_peaks.TextMatrix(0, 0), QStringLiteral("Peak-Nr"));
    }
}

} // namespace

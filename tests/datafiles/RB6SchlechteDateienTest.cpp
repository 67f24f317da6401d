// Files that are no trustworthy value files: every service reports a status and FehlerText
// and not one byte of the file changes.

#include "WertdateiTest.h"

#include "grid/GridModell.h"

#include <QRandomGenerator>

#include <cmath>
#include <limits>

namespace {

struct SchlechteDatei
{
    const char* name;
    QByteArray (*bytes)();
};

QByteArray MitWerten(int anzahl)
{
    QByteArray datei = NeueDateiBytes(1);
    for (int i = 0; i < anzahl; ++i)
        SatzSetzen(datei, 10 + i, 1'700'000'000 + 60 * i, i);
    SatzSetzen(datei, 2, 1'700'000'000 + 60 * (anzahl - 1), 9.0 + anzahl);
    return datei;
}

QByteArray Zufall(qsizetype groesse)
{
    QRandomGenerator zufall(4711);
    QByteArray bytes(groesse, '\0');
    for (char& b : bytes)
        b = char(zufall.bounded(256));
    return bytes;
}

QByteArray MitKopfsatz2(qint32 tm, double letzter)
{
    QByteArray datei = MitWerten(5);
    SatzSetzen(datei, 2, tm, letzter);
    return datei;
}

const SchlechteDatei kFaelle[] = {
    // An interrupted creation of old: zero blocks written, header not yet.
    {"nullerKopf", [] { return QByteArray(1212 * 2, '\0'); }},
    {"nullerKopfMitWerten",
     [] {
         QByteArray d = MitWerten(5);
         d.replace(0, 108, QByteArray(108, '\0'));
         return d;
     }},
    {"kuerzerAlsDerKopf", [] { return NeueDateiBytes(1).left(50); }},
    {"einByte", [] { return QByteArray(1, '\x01'); }},
    {"abgeschnittenVorDemLetztenSatz", [] { return MitWerten(20).left(12 * 25); }},
    {"zufall", [] { return Zufall(5000); }},
    {"grosserZufall", [] { return Zufall(3 * 1024 * 1024); }},
    {"satz1Falsch",
     [] {
         QByteArray d = MitWerten(3);
         SatzSetzen(d, 1, 1, 2.0);
         return d;
     }},
    {"letzterSatzImKopf", [] { return MitKopfsatz2(1'700'000'000, 8.0); }},
    {"letzterSatzNull", [] { return MitKopfsatz2(1'700'000'000, 0.0); }},
    {"letzterSatzGebrochen", [] { return MitKopfsatz2(1'700'000'000, 12.5); }},
    {"letzterSatzNaN",
     [] { return MitKopfsatz2(1'700'000'000, std::numeric_limits<double>::quiet_NaN()); }},
    {"letzterSatzRiesig", [] { return MitKopfsatz2(1'700'000'000, 1e300); }},
    {"letzterSatzNegativ", [] { return MitKopfsatz2(1'700'000'000, -10.0); }},
    {"neuesteZeitNegativ", [] { return MitKopfsatz2(-5, 14.0); }},
};

} // namespace

class RB6SchlechteDateienTest : public WertdateiTest,
                                public ::testing::WithParamInterface<SchlechteDatei>
{
protected:
    void SetUp() override
    {
        WertdateiTest::SetUp();
        m_bytes = GetParam().bytes();
        schreiben(Datei(), m_bytes);
    }
    void pruefen(int status, int soll, const char* dienst)
    {
        EXPECT_EQ(status, soll) << dienst;
        EXPECT_FALSE(FehlerText.isEmpty()) << dienst;
        EXPECT_TRUE(GleicheBytes(lesen(Datei()), m_bytes)) << dienst;
    }

    QByteArray m_bytes;
};

TEST_P(RB6SchlechteDateienTest, anhaengenSchreibtNichts)
{
    for (const qint32 tm : {1'700'000'000, 1'700'000'000 + 60 * 4, 2'000'000'000, 1})
        pruefen(anhaengen(tm, 1.0), -2, "RB6_WertSchreiben");
}

TEST_P(RB6SchlechteDateienTest, kopfSchreibenSchreibtNichts)
{
    pruefen(RB6_KopfSchreiben(Datei(), RB6_NeuerKopf(1, 1, 1, 0, 0)), -2, "RB6_KopfSchreiben");
}

TEST_P(RB6SchlechteDateienTest, kopfLesenMeldetDenKopf)
{
    RB6_Kopf kopf;
    kopf.Tm3 = 33;
    pruefen(RB6_KopfLesen(Datei(), kopf), -2, "RB6_KopfLesen");
    EXPECT_EQ(kopf.Tm3, 33);
}

TEST_P(RB6SchlechteDateienTest, werteLesenMeldetDenKopf)
{
    RB6_Tabelle feld{{1, 2, 3, 4}};
    for (UnixZeit von : {0, 1'700'000'000}) {
        UnixZeit bis = 0;
        pruefen(RB6_WerteLesen(1234, von, bis, feld, 60, 1), -1, "RB6_WerteLesen");
    }
    EXPECT_EQ(feld, RB6_Tabelle({{1, 2, 3, 4}}));
}

TEST_P(RB6SchlechteDateienTest, anlegenLaesstDieDateiStehen)
{
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0), 0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), m_bytes));
}

TEST_P(RB6SchlechteDateienTest, listeZeigtDieRohenSaetzeOhneZuSchreiben)
{
    GridModell grid;
    const int status = RB6_DateiInGrid(1234, 1, 2000, grid, 1);
    if (m_bytes.size() >= 12) {
        EXPECT_EQ(status, 0);
        EXPECT_EQ(grid.Rows(), int(std::min<qint64>(2000, m_bytes.size() / 12)) + 1);
    } else {
        EXPECT_EQ(status, -3);
    }
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), m_bytes));
}

INSTANTIATE_TEST_SUITE_P(Faelle, RB6SchlechteDateienTest, ::testing::ValuesIn(kFaelle),
                         [](const auto& info) { return std::string(info.param.name); });

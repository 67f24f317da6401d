// Files that cannot be trusted, and files that are missing: every service reports a status and
// FehlerText, not one byte of a file changes, readers delete an empty file and create nothing.

#include "DatendateiTest.h"

#include "grid/GridModell.h"

#include <QRandomGenerator>

#include <functional>

namespace {

constexpr int kNeu = 1; // the service builds a new file here: not a case of this table

QByteArray Zufall(qsizetype groesse)
{
    QRandomGenerator zufall(4711);
    QByteArray bytes(groesse, '\0');
    for (char& b : bytes)
        b = char(zufall.bounded(256));
    return bytes;
}

// A 15-minute file with one row; a value file with five values.
QByteArray Intervall()
{
    QByteArray d = NeueIntervallBytes(96, 3, 0, Sekunden(2026, 12, 5), 0);
    SaetzeSetzen(d, Slot15p(1), {Sekunden(2026, 12, 5, 0, 15), 900, 1});
    SaetzeSetzen(d, 2, {1});
    return d;
}
QByteArray Werte()
{
    QByteArray d = NeueDateiBytes(1);
    for (int i = 0; i < 5; ++i)
        SatzSetzen(d, 10 + i, 1'700'000'000 + 60 * i, i);
    SatzSetzen(d, 2, 1'700'000'240, 14.0);
    return d;
}

struct SchlechteDatei
{
    const char* name;
    bool wertdatei;
    QByteArray bytes;
    // Interval file: RB_WerteSchreiben, RB_DateiZeitraum15p, RB_DateiAnlegen.
    // Value file: RB6_WertSchreiben, RB6_KopfSchreiben, RB6_KopfLesen, RB6_WerteLesen,
    // RB6_DateiAnlegen, RB6_DateiInGrid (which lists raw records).
    std::vector<int> status;
};

using SchlechteDateienTest = DatendateiTest;

TEST_F(SchlechteDateienTest, jederDienstMeldetUndAendertKeinByte)
{
    const SchlechteDatei faelle[] = {
        {"leer", false, {}, {-1, -1, kNeu}},
        {"abgeschnitten", false, Intervall().left(1000), {-1, -1, -5}},
        {"zuLang", false, Intervall() + QByteArray(12, '\0'), {-1, -1, -5}},
        {"zufall", false, Zufall(1216), {-1, -1, -5}},
        {"nullerKopf", false, QByteArray(64, '\0') + Intervall().mid(64), {-1, -1, -5}},
        {"leer", true, {}, {kNeu, -1, -1, -1, kNeu, -1}},
        {"nullerKopf", true, QByteArray(1212 * 2, '\0'), {-2, -2, -2, -1, 0, 0}},
        {"abgeschnitten", true, Werte().left(12 * 12), {-2, -2, -2, -1, 0, 0}},
        {"zufall", true, Zufall(5000), {-2, -2, -2, -1, 0, 0}},
        {"letzterSatzImKopf",
         true,
         Werte().replace(12, 12, SatzBytes(1, 8.0)),
         {-2, -2, -2, -1, 0, 0}},
    };
    const QString name = QStringLiteral("db\\00001234.15p");
    RB_Kopf kopf;
    RB6_Kopf wertKopf;
    UnixZeit a = 0, b = 0;
    RB6_Tabelle feld;
    GridModell grid;
    const std::vector<std::function<int()>> intervallDienste = {
        [&] {
            return RB_WerteSchreiben(name, {{2e9, 900, 2}}, false);
        },
        [&] { return RB_DateiZeitraum15p(name, kopf, a, b); },
        [&] { return RB_DateiAnlegen(name, m_start, 1, 0); },
    };
    const std::vector<std::function<int()>> wertDienste = {
        [&] { return anhaengen(2'000'000'000, 1.0); },
        [&] { return RB6_KopfSchreiben(Datei(), RB6_NeuerKopf(1, 1, 1, 0, 0)); },
        [&] { return RB6_KopfLesen(Datei(), wertKopf); },
        [&] { return RB6_WerteLesen(1234, a = 0, b = 0, feld, 60, 1); },
        [&] { return RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0); },
        [&] { return RB6_DateiInGrid(1234, 1, 2000, grid, 1); },
    };
    for (const SchlechteDatei& f : faelle) {
        const QString datei = f.wertdatei ? Datei() : QStringLiteral("db/00001234.15p");
        const auto& dienste = f.wertdatei ? wertDienste : intervallDienste;
        for (size_t i = 0; i < dienste.size(); ++i) {
            if (f.status[i] == kNeu)
                continue;
            schreiben(datei, f.bytes);
            FehlerText.clear();
            SCOPED_TRACE(std::string(f.name) + ", service " + std::to_string(i));
            EXPECT_EQ(dienste[i](), f.status[i]);
            // 0 and -5 (a file with content left untouched) are no errors.
            EXPECT_TRUE(f.status[i] == 0 || f.status[i] == -5 || !FehlerText.isEmpty());
            EXPECT_TRUE(GleicheBytes(lesen(datei), f.bytes));
            EXPECT_EQ(vorhanden(datei), !f.bytes.isEmpty()); // an empty file is deleted
        }
    }
}

TEST_F(SchlechteDateienTest, fehlendeDateienWerdenNieAngelegt)
{
    RB_Kopf kopf;
    UnixZeit a = 0, b = 0;
    EXPECT_EQ(RB_DateiZeitraum("", kopf, a, b), -1);
    EXPECT_EQ(RB_DateiZeitraum15p("db\\00001234.15p", kopf, a, b), -1);
    EXPECT_EQ(FehlerText, "Datei existiert nicht!");
    EXPECT_EQ(RB_DateiZeitraum("daten\\S0001\\z01a0015.dat", kopf, a, b), -1);
    EXPECT_EQ(FehlerText, "Datei nicht gefunden! daten\\S0001\\z01a0015.dat");
    EXPECT_EQ(m_meldungen.beeps, 0);
    EXPECT_EQ(RB_WerteSchreiben("db\\00001234.15p", {{double(m_start), 900, 1}}, false), -1);
    EXPECT_EQ(FehlerText, "Datei existiert nicht!");
    UnixZeit start = m_start;
    EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, 96, 0, 0, 0, 3, 0), -2);
    EXPECT_EQ(FehlerText, "File not found");

    RB6_Kopf wertKopf;
    EXPECT_EQ(RB6_KopfLesen(Datei(), wertKopf), -1);
    EXPECT_EQ(RB6_KopfSchreiben(Datei(), RB6_NeuerKopf(1, 1, 1, 0, 0)), -1);
    RB6_Tabelle feld;
    EXPECT_EQ(RB6_WerteLesen(1234, a, b, feld, 60, 1), -1);
    GridModell grid;
    EXPECT_EQ(RB6_DateiInGrid(1234, 10, 12, grid, 1), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(QDir(pfad("db")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    EXPECT_FALSE(vorhanden("daten"));
}

} // namespace

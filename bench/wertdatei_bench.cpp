// Value files: appending one value costs the same for a file with 1 value and with 500,000
// values (the header says where the next value goes, nothing is scanned; limit: a factor of 2),
// and finding a time in a full file (600,000 values) takes at most 25 record reads.

#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "platform/Global.h"
#include "platform/Pfad.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr qint32 kStart = 1'600'000'000;
constexpr qint32 kBloecke = 6000;
constexpr qint64 kVolleDatei = kBloecke * kRB6_KapazitaetJeBlock; // 600,000 values

double gAnhaengenNs[2] = {-1, -1};
qint64 gLesenJeAnhaengen = -1;
qint64 gMeisteSuchzugriffe = -1;
double gMittlereSuchzugriffe = -1;

// A file of kBloecke blocks holding the given number of values, one a minute; its path.
QString DateiMitWerten(qint32 lznr, qint64 anzahl)
{
    RB6_Kopf kopf = RB6_NeuerKopf(kBloecke, 1, 1, 0, 0);
    QByteArray bytes(qint64(kBloecke) * kRB6_Blocklaenge, '\0');
    for (qint64 i = 0; i < anzahl; ++i)
        bytes.replace(RB6_SatzOffset(kRB6_ErsterWertsatz + i), kRB6_Satzlaenge,
                      RB6_SatzBytes({qint32(kStart + 60 * i), double(i)}));
    if (anzahl > 0) {
        kopf.Tm2 = qint32(kStart + 60 * (anzahl - 1));
        kopf.Wert2 = double(kRB6_Kopfsaetze + anzahl);
    }
    bytes.replace(0, kRB6_Kopfsaetze * kRB6_Satzlaenge, RB6_KopfBytes(kopf));
    const QString name = PfadAufloesen(RB6_DateiName(DBPath, lznr, 1));
    QDir().mkpath(OrdnerVon(name));
    QFile datei(name);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        datei.write(bytes) != bytes.size())
        return {};
    return name;
}

// Sets record 2 (newest time, last record) back, so every append meets the same file.
void KopfZuruecksetzen(const QString& name, qint64 anzahl)
{
    QFile datei(name);
    datei.open(QIODevice::ReadWrite);
    datei.seek(RB6_SatzOffset(2));
    datei.write(
        RB6_SatzBytes({qint32(kStart + 60 * (anzahl - 1)), double(kRB6_Kopfsaetze + anzahl)}));
}

void Anhaengen(benchmark::State& state)
{
    const qint64 anzahl = state.range(0);
    const QString name = DateiMitWerten(qint32(anzahl), anzahl);
    if (name.isEmpty()) {
        state.SkipWithError("Datei nicht angelegt");
        return;
    }
    const qint32 neu = qint32(kStart + 60 * anzahl);
    double summeNs = 0;
    qint64 lesen = 0;
    for (auto _ : state) {
        QString datei = name;
        Wertdatei::zugriffeZuruecksetzen();
        const auto anfang = std::chrono::steady_clock::now();
        const int status = RB6_WertSchreiben(DBPath, qint32(anzahl), neu, 1.0, 1, datei);
        const auto ende = std::chrono::steady_clock::now();
        const double ns = std::chrono::duration<double, std::nano>(ende - anfang).count();
        state.SetIterationTime(ns / 1e9);
        summeNs += ns;
        lesen = Wertdatei::leseZugriffe();
        if (status != 0) {
            state.SkipWithError("RB6_WertSchreiben gab nicht 0");
            return;
        }
        KopfZuruecksetzen(name, anzahl);
    }
    // The value went where the header said: right after the values prepared.
    QFile pruefen(name);
    pruefen.open(QIODevice::ReadOnly);
    pruefen.seek(RB6_SatzOffset(kRB6_ErsterWertsatz + anzahl));
    const QByteArray satz = pruefen.read(kRB6_Satzlaenge);
    if (satz.size() != kRB6_Satzlaenge || RB6_SatzAusBytes(satz.constData()).Tm != neu) {
        state.SkipWithError("Wert nicht hinter den vorhandenen Werten");
        return;
    }
    gAnhaengenNs[anzahl == 1 ? 0 : 1] = summeNs / double(state.iterations());
    gLesenJeAnhaengen = lesen;
    state.counters["lesezugriffe"] = double(lesen);
    QFile::remove(name);
}
BENCHMARK(Anhaengen)->Arg(1)->Arg(500'000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void SuchenInVollerDatei(benchmark::State& state)
{
    const QString name = DateiMitWerten(7, kVolleDatei);
    Wertdatei datei(name);
    if (name.isEmpty() || !datei.oeffnenLesen()) {
        state.SkipWithError("Datei nicht angelegt");
        return;
    }
    const qint32 letzter = qint32(kRB6_Kopfsaetze + kVolleDatei);
    QRandomGenerator zufall(4711);
    qint64 meiste = 0;
    qint64 summe = 0;
    qint64 suchen = 0;
    for (auto _ : state) {
        // Any time in the file's range, on a value or between two.
        const qint32 gesucht = kStart + qint32(zufall.bounded(qint64(60) * kVolleDatei));
        Wertdatei::zugriffeZuruecksetzen();
        benchmark::DoNotOptimize(RB6_SatzSuchen(datei, 10, letzter, gesucht, -30));
        const qint64 zugriffe = Wertdatei::leseZugriffe();
        meiste = std::max(meiste, zugriffe);
        summe += zugriffe;
        ++suchen;
    }
    gMeisteSuchzugriffe = meiste;
    gMittlereSuchzugriffe = double(summe) / double(suchen);
    state.counters["meiste_lesezugriffe"] = double(meiste);
    state.counters["mittlere_lesezugriffe"] = gMittlereSuchzugriffe;
    datei.schliessen();
    QFile::remove(name);
}
BENCHMARK(SuchenInVollerDatei)->Iterations(20'000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir ordner;
    Mandant = QStringLiteral("200");
    DBPath = ordner.path() + QStringLiteral("/");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gAnhaengenNs[0] > 0 && gAnhaengenNs[1] > 0) {
        const double faktor = gAnhaengenNs[1] / gAnhaengenNs[0];
        std::printf("Anhaengen eines Wertes: %.1f us bei 1 Wert, %.1f us bei 500.000 Werten, "
                    "Faktor %.2f (Grenze 2), %lld Lesezugriff(e) je Anhaengen: %s\n",
                    gAnhaengenNs[0] / 1000, gAnhaengenNs[1] / 1000, faktor,
                    static_cast<long long>(gLesenJeAnhaengen),
                    faktor <= 2.0 && faktor >= 0.5 ? "eingehalten" : "UEBERSCHRITTEN");
    }
    if (gMeisteSuchzugriffe >= 0)
        std::printf("Suchen in voller Datei (600.000 Werte): hoechstens %lld, im Mittel %.1f "
                    "Lesezugriffe (Grenze 25): %s\n",
                    static_cast<long long>(gMeisteSuchzugriffe), gMittlereSuchzugriffe,
                    gMeisteSuchzugriffe <= 25 ? "eingehalten" : "UEBERSCHRITTEN");
    return 0;
}

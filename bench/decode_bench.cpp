// Telegrams decoded per second over the shared real telegrams: decoding alone, and decoding with
// every text a read-out shows (description, unit, value of each record).

#include "driver/decode/DekodierTexte.h"
#include "driver/decode/Telegramm.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

QList<QByteArray> GuteTelegramme()
{
    QList<QByteArray> rahmen;
    const QDir ordner(QStringLiteral(TELVARIN_TESTDATA "/telegrams/good"));
    for (const QString& name : ordner.entryList({QStringLiteral("*.hex")}, QDir::Files)) {
        QFile datei(ordner.filePath(name));
        if (datei.open(QIODevice::ReadOnly))
            rahmen << QByteArray::fromHex(datei.readAll().simplified().replace(' ', QByteArray()));
    }
    return rahmen;
}

const QList<QByteArray>& Telegramme()
{
    static const QList<QByteArray> telegramme = GuteTelegramme();
    return telegramme;
}

void Zaehlen(benchmark::State& state)
{
    const double anzahl = double(state.iterations()) * double(Telegramme().size());
    state.counters["Telegramme/s"] = benchmark::Counter(anzahl, benchmark::Counter::kIsRate);
    state.SetItemsProcessed(int64_t(anzahl));
}

void Dekodieren(benchmark::State& state)
{
    if (Telegramme().isEmpty()) {
        state.SkipWithError("no shared test telegrams found");
        return;
    }
    for (auto _ : state) {
        for (const QByteArray& rahmen : Telegramme())
            benchmark::DoNotOptimize(mbus::DekodiereTelegramm(rahmen));
    }
    Zaehlen(state);
}

void DekodierenMitTexten(benchmark::State& state)
{
    if (Telegramme().isEmpty()) {
        state.SkipWithError("no shared test telegrams found");
        return;
    }
    for (auto _ : state) {
        for (const QByteArray& rahmen : Telegramme()) {
            const auto ergebnis = mbus::DekodiereTelegramm(rahmen);
            const auto* telegramm = std::get_if<mbus::Telegramm>(&ergebnis);
            if (!telegramm)
                continue;
            for (const mbus::Datensatz& d : telegramm->datensaetze) {
                benchmark::DoNotOptimize(mbus::BeschreibungText(d, mbus::Sprache::Deutsch));
                benchmark::DoNotOptimize(mbus::EinheitText(d, mbus::Sprache::Deutsch));
                benchmark::DoNotOptimize(mbus::WertText(d));
            }
        }
    }
    Zaehlen(state);
}

} // namespace

BENCHMARK(Dekodieren);
BENCHMARK(DekodierenMitTexten);
BENCHMARK_MAIN();

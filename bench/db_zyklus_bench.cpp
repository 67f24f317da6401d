// Storing one master cycle into the meter database (an SQLite file), the way the master stores
// it: 250 meters, after each read 20 values into MBusWerte (one MB_MBusWertSpeichern each) and
// the meter reading into Zaehlerstaende (one MB_ZaehlerstandSpeichern). The time is set against
// the wire time of that cycle at 2400 baud; storing may take at most 1 % of it. For
// comparison the same rows with one transaction per meter around its values.

#include "database/MBConnection.h"
#include "database/Schema.h"
#include "database/Transaktion.h"
#include "database/WertTabellen.h"

#include "platform/Global.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>

namespace {

constexpr int kZaehler = 250;
constexpr int kWerteJeZaehler = 20;
constexpr int kBaud = 2400;
constexpr int kBitsJeZeichen = 11; // start bit, 8 data bits, even parity, stop bit

// Bytes on the wire per meter: the request REQ_UD2 (short frame, 5 bytes) and the answer
// RSP_UD: 68 L L 68, C, A, CI (7), the fixed header (12), 20 data records of DIF, VIF and four
// data bytes (120), checksum and 16 (2).
constexpr int kBytesJeZaehler = 5 + 7 + 12 + kWerteJeZaehler * 6 + 2;

double LeitungszeitSekunden()
{
    return double(kZaehler) * kBytesJeZaehler * kBitsJeZeichen / kBaud;
}

double gZyklusSekunden = -1;

// state.range(0): 0 every row on its own, as the master stores; 1 one transaction per meter.
void ZyklusSpeichern(benchmark::State& state)
{
    const bool jeZaehler = state.range(0) == 1;
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("basis.mdb"));
    if (!DatenbankAnlegen(datei)) {
        state.SkipWithError(qPrintable(FehlerText));
        return;
    }
    DBParameter = QStringList{QStringLiteral("1"), datei, {}, {}, {}, {}, {}};
    Recordset werte;
    Recordset staende;
    if (!MB_DatenbankVerbinden() || !MBIndexlisteOeffnen(werte) ||
        !MB_ZaehlerstaendeOeffnen(staende)) {
        state.SkipWithError(qPrintable(FehlerText));
        return;
    }

    UnixZeit tm = 1796475600; // 05.12.2026 12:20:00
    double summe = 0;
    int fehler = 0;
    for (auto _ : state) {
        QElapsedTimer uhr;
        uhr.start();
        for (int z = 1; z <= kZaehler; ++z) {
            std::optional<Transaktion> transaktion;
            if (jeZaehler)
                transaktion.emplace(*MB_Connection);
            for (int k = 1; k <= kWerteJeZaehler; ++k)
                fehler += MB_MBusWertSpeichern(werte, z, tm, k, z * 1000.0 + k + tm * 1e-6) != 0;
            fehler += MB_ZaehlerstandSpeichern(staende, z, tm, 1, z * 1000.0 + tm * 1e-6) != 0;
            if (transaktion && !transaktion->Commit())
                ++fehler;
        }
        summe += double(uhr.nsecsElapsed()) / 1e9;
        tm += 900; // the next cycle a quarter of an hour later
    }
    if (fehler != 0)
        state.SkipWithError("rows not stored");
    const double zyklus = summe / double(state.iterations());
    if (!jeZaehler)
        gZyklusSekunden = zyklus;
    state.counters["zyklus_s"] = zyklus;
    state.counters["anteil_prozent"] = 100.0 * zyklus / LeitungszeitSekunden();
    state.SetItemsProcessed(state.iterations() * kZaehler * (kWerteJeZaehler + 1));
    MB_ConnectionSchliessen();
}

BENCHMARK(ZyklusSpeichern)
    ->ArgName("transaktion_je_zaehler")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gZyklusSekunden >= 0) {
        const double anteil = 100.0 * gZyklusSekunden / LeitungszeitSekunden();
        std::printf("Zyklus speichern Zeile für Zeile (%d Zähler x %d Werte + %d Zählerstände): "
                    "%.1f ms; "
                    "Leitungszeit bei %d Baud %.1f s; Anteil %.3f %% (Grenze 1 %%, %.2f s): %s\n",
                    kZaehler, kWerteJeZaehler, kZaehler, gZyklusSekunden * 1000.0, kBaud,
                    LeitungszeitSekunden(), anteil, LeitungszeitSekunden() / 100.0,
                    anteil <= 1.0 ? "eingehalten" : "UEBERSCHRITTEN");
    }
    return 0;
}

// CPU time the process spends while V3CommReadMsg waits out its time-out on a silent line, as a
// share of the wall time. The wait sleeps in the event loop until a byte or the time-out comes,
// so the share must stay at most 0.5 %; a busy loop would show close to 100 %.

#include "serial/SerielleDienste.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

namespace {

double ProzessCpuSekunden()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double gLetzterAnteil = -1;

void WartenAufStilleLeitung(benchmark::State& state)
{
    QTemporaryDir ordner;
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(ordner.path());
    const int bus = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (bus < 0 || ::grantpt(bus) != 0 || ::unlockpt(bus) != 0) {
        state.SkipWithError("kein Pseudoterminal");
        return;
    }
    QFile ini(QStringLiteral("ZEP.INI"));
    ini.open(QIODevice::WriteOnly);
    ini.write(QByteArray("[COM]\r\nCOM3=") + ::ptsname(bus) + "\r\n");
    ini.close();

    SerielleSchnittstelle comm;
    QString baud = QStringLiteral("2400");
    if (ComPortOeffnen(comm, 3, baud) != 0) {
        state.SkipWithError("Port nicht geöffnet");
        ::close(bus);
        return;
    }

    double cpu = 0;
    double wand = 0;
    for (auto _ : state) {
        double zeitlimit = 0.8;
        QByteArray antwort;
        QElapsedTimer uhr;
        const double cpuVorher = ProzessCpuSekunden();
        uhr.start();
        const LeseErgebnis r = V3CommReadMsg(comm, 0x68, 0x16, zeitlimit, antwort, false);
        wand += static_cast<double>(uhr.nsecsElapsed()) / 1e9;
        cpu += ProzessCpuSekunden() - cpuVorher;
        if (!r.istZeitueberschreitung())
            state.SkipWithError("keine Zeitüberschreitung");
    }
    gLetzterAnteil = wand > 0 ? 100.0 * cpu / wand : -1;
    state.counters["cpu_anteil_prozent"] = gLetzterAnteil;

    comm.setPortOpen(false);
    ::close(bus);
    QDir::setCurrent(vorher);
}

BENCHMARK(WartenAufStilleLeitung)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gLetzterAnteil >= 0)
        std::printf(
            "CPU-Anteil beim Warten auf 0,8 s Stille: %.2f %% der Wandzeit (Grenze 0,5 %%): %s\n",
            gLetzterAnteil, gLetzterAnteil <= 0.5 ? "eingehalten" : "UEBERSCHRITTEN");
    return 0;
}

// How long the bus simulator takes to deliver a 100-byte RSP_UD at 2400 baud, against the time
// the frame takes on a real line: 100 characters of 11 bits, 458.3 ms. The frame counts from the
// start of its first character (its arrival minus one character time) to the arrival of its last.
// The program exits with 1 when the mean is more than 5 % off.

#include "BusSimulator.h"
#include "SimMBus.h"
#include "SimRahmen.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Uhr = std::chrono::steady_clock;

constexpr int Baud = 2400;
constexpr int RahmenBytes = 100;
constexpr double ErlaubteAbweichung = 0.05;
const double PhysikalischSekunden = RahmenBytes * SimMBus::ZeichenNs(Baud) / 1e9;

double gMittelSekunden = 0;

// One meter at 2400 baud whose RSP_UD is exactly 100 bytes long.
SimBus bus()
{
    // 4 (68 L L 68) + 3 (C A CI) + 12 (header) + 79 record bytes + 2 (CS 16) = 100.
    const QString satz = "satz 0D13 4C" + QString("00").repeated(0x4C);
    SimBus b;
    QString fehler;
    if (!BusSimulator::busTextLesen("bus takt=ja\nzaehler adresse=1 id=1 baud=2400\n" + satz, b,
                                    &fehler))
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
    return b;
}

int oeffnen(const QString& geraet)
{
    const int fd = ::open(qPrintable(geraet), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    t.c_cflag |= PARENB;
    cfsetspeed(&t, B2400);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Reads n bytes; the arrival times of the first and the last.
bool lesen(int fd, int n, Uhr::time_point* erstes, Uhr::time_point* letztes)
{
    int gelesen = 0;
    char puffer[256];
    while (gelesen < n) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 3000) <= 0)
            return false;
        const Uhr::time_point jetzt = Uhr::now();
        const ssize_t k = ::read(fd, puffer, sizeof puffer);
        if (k <= 0)
            continue;
        if (gelesen == 0)
            *erstes = jetzt;
        gelesen += static_cast<int>(k);
        *letztes = jetzt;
    }
    return gelesen == n;
}

void hundertByteRahmenBei2400Baud(benchmark::State& state)
{
    BusSimulator sim(bus());
    QString fehler;
    if (!sim.starten(&fehler)) {
        state.SkipWithError(qPrintable(fehler));
        return;
    }
    const int fd = oeffnen(sim.geraet());
    bool fcb = false;
    double summe = 0;
    int laeufe = 0;
    for (auto _ : state) {
        const QByteArray anfrage = SimRahmen::kurz(fcb ? 0x7B : 0x5B, 1);
        fcb = !fcb;
        [[maybe_unused]] const auto n = ::write(fd, anfrage.constData(), anfrage.size());
        Uhr::time_point erstes;
        Uhr::time_point letztes;
        if (!lesen(fd, RahmenBytes, &erstes, &letztes)) {
            state.SkipWithError("no complete answer");
            break;
        }
        const double sekunden = std::chrono::duration<double>(letztes - erstes).count() +
                                SimMBus::ZeichenNs(Baud) / 1e9;
        state.SetIterationTime(sekunden);
        summe += sekunden;
        ++laeufe;
    }
    ::close(fd);
    gMittelSekunden = laeufe ? summe / laeufe : 0;
    state.counters["physikalisch_ms"] = PhysikalischSekunden * 1000;
    state.counters["gemessen_ms"] = gMittelSekunden * 1000;
    state.counters["abweichung_%"] =
        100 * (gMittelSekunden - PhysikalischSekunden) / PhysikalischSekunden;
}

BENCHMARK(hundertByteRahmenBei2400Baud)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double abweichung = (gMittelSekunden - PhysikalischSekunden) / PhysikalischSekunden;
    const bool gut = gMittelSekunden > 0 && std::fabs(abweichung) <= ErlaubteAbweichung;
    std::printf("100 bytes at 2400 baud: %.1f ms delivered, %.1f ms on a real line, %+.2f %% "
                "(allowed: 5 %%) %s\n",
                gMittelSekunden * 1000, PhysikalischSekunden * 1000, abweichung * 100,
                gut ? "ok" : "OUT OF BOUNDS");
    return gut ? 0 : 1;
}

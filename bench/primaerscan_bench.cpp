// The primary scan of the test window (name-bound driver, default timing) against the bus
// simulator with line pacing on, at 2400 baud:
//   (a) addresses 0..250, no meter answering: wall time against the physical minimum, per
//       address the 5-byte request at 11 bits a character + the answer window of 330 bit
//       times + 50 ms + one character: the window bounds when an answer starts, and one that
//       starts at its end is complete a character later, so no master can tell a silent
//       address sooner (target 1.01);
//   (b) the same with 25 meters (every tenth address) each answering a 100-byte telegram: each
//       answering address costs the request, the simulator's answer delay (11 bit times + 3 ms),
//       the 100 characters and the silence of 4 characters (the driver's default COMTimeoutByte)
//       by which the link layer tells that the answer has ended, instead of the answer window
//       (target 1.01);
//   (c) CPU time of this process during each scan as a share of its wall time (target 0.5 %):
//       the waits sleep until a byte or a deadline comes.
// The simulator runs as its own process (mbus-sim), so that its work is not counted in (c).
//
//   primaerscan_bench            addresses 0..250 (about two minutes)
//   primaerscan_bench --schnell  addresses 0..20 with 2 meters (a few seconds)
//
// The program exits with 1 when a target is missed or the scan does not find every meter.

#include "bustest/PrimaerScan.h"
#include "SimMBus.h"
#include "SimulatorProzess.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/GridModell.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

constexpr int kPort = 1;
constexpr int kBaud = 2400;
constexpr int kAnfrageZeichen = 5;      // REQ_UD2: 10 C A CS 16
constexpr int kAntwortZeichen = 100;    // RSP_UD of every meter
constexpr double kFensterBits = 330;    // answer window: bit times ...
constexpr double kFensterMs = 50;       // ... + ms
constexpr double kAntwortBits = 11;     // simulator's answer delay: bit times ...
constexpr double kAntwortMs = 3;        // ... + ms
constexpr int kPauseZeichen = 4;        // silence that ends an answer (COMTimeoutByte)
constexpr int kZaehlerAbstand = 10;     // a meter at every tenth address
constexpr double kZielVerhaeltnis = 1.01;
constexpr double kZielCpuAnteil = 0.005;

double zeichenSekunden()
{
    return static_cast<double>(SimMBus::ZeichenNs(kBaud)) / 1e9;
}

double bitSekunden()
{
    return 1.0 / kBaud;
}

// An address nobody answers: request + answer window + the first character of an answer that
// would start at the window's end.
double stummSekunden()
{
    return (kAnfrageZeichen + 1) * zeichenSekunden() + kFensterBits * bitSekunden() +
           kFensterMs / 1000;
}

// An address whose meter answers: request + answer delay + the answer + the silence that ends
// it.
double antwortSekunden()
{
    return kAnfrageZeichen * zeichenSekunden() + kAntwortBits * bitSekunden() + kAntwortMs / 1000 +
           (kAntwortZeichen + kPauseZeichen) * zeichenSekunden();
}

// One meter whose RSP_UD is exactly 100 bytes long:
// 4 (68 L L 68) + 3 (C A CI) + 12 (header) + 79 record bytes + 2 (CS 16).
QString zaehler(int adresse)
{
    return QStringLiteral("zaehler adresse=%1 id=%2 baud=%3\nsatz 0D13 4C%4\n")
        .arg(adresse)
        .arg(70000000 + adresse)
        .arg(kBaud)
        .arg(QStringLiteral("00").repeated(0x4C));
}

struct Messung
{
    bool gelungen = false;
    int gefunden = 0;
    double wand = 0;
    double cpu = 0;
};

Messung scannen(const QString& busText, int bis)
{
    Messung messung;
    SimulatorProzess sim(kPort);
    if (!sim.starten(busText)) {
        std::fprintf(stderr, "mbus-sim did not start\n");
        return messung;
    }
    GridModell scanGrid;
    GridModell satzGrid;
    // The test window's scan grid has nine columns.
    scanGrid.setCols(9);
    PrimaerScan::ScanGridVorbereiten(scanGrid);
    PrimaerScan scan(scanGrid, satzGrid, {});
    MBusRacX4 treiber;

    const double cpuVorher = CpuSekunden();
    const auto start = std::chrono::steady_clock::now();
    const PrimaerScan::Ergebnis ergebnis = scan.ueberRac(treiber, kPort, kBaud, 0, bis);
    messung.wand = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    messung.cpu = CpuSekunden() - cpuVorher;
    messung.gefunden = ergebnis.gefunden;
    messung.gelungen = ergebnis.portOffen && !ergebnis.abgebrochen && ergebnis.fehler.isEmpty();
    if (!ergebnis.portOffen)
        std::fprintf(stderr, "the simulator's terminal did not open\n");
    if (!ergebnis.fehler.isEmpty())
        std::fprintf(stderr, "the scan stopped: %s\n", qPrintable(ergebnis.fehler));
    return messung;
}

// Prints one scan's figures; false when a target is missed.
bool bericht(const char* name, const Messung& messung, int erwartet, double minimum)
{
    const double verhaeltnis = messung.wand / minimum;
    const double cpuAnteil = messung.cpu / messung.wand;
    std::printf("%s\n", name);
    std::printf("  meters found    %d of %d\n", messung.gefunden, erwartet);
    std::printf("  wall time       %.3f s, physical minimum %.3f s\n", messung.wand, minimum);
    std::printf("  ratio           %.4f (target at most %.2f)\n", verhaeltnis, kZielVerhaeltnis);
    std::printf("  CPU time        %.3f s = %.2f %% of wall time (target at most %.1f %%)\n",
                messung.cpu, 100 * cpuAnteil, 100 * kZielCpuAnteil);
    return messung.gelungen && messung.gefunden == erwartet && verhaeltnis <= kZielVerhaeltnis &&
           cpuAnteil <= kZielCpuAnteil;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool schnell = app.arguments().contains(QStringLiteral("--schnell"));
    const int bis = schnell ? 20 : 250;

    QTemporaryDir ordner;
    if (!ordner.isValid() || !QDir::setCurrent(ordner.path())) {
        std::fprintf(stderr, "no working folder\n");
        return 1;
    }

    const int adressen = bis + 1;
    std::printf("primary scan 0..%d at %d baud, line pacing on, default timing\n", bis, kBaud);
    std::printf("per address: silent %.1f ms, answering %.1f ms (physical minimum)\n\n",
                1000 * stummSekunden(), 1000 * antwortSekunden());

    bool gut = true;
    // (a) nobody answers.
    const Messung stumm = scannen(QStringLiteral("bus takt=ja\n"), bis);
    gut &= bericht("(a) no meter answering", stumm, 0, adressen * stummSekunden());

    // (b) a 100-byte answer at every tenth address.
    QString bus = QStringLiteral("bus takt=ja antwort_bits=%1 antwort_ms=%2\n")
                      .arg(kAntwortBits)
                      .arg(kAntwortMs);
    int zaehlerAnzahl = 0;
    for (int adresse = kZaehlerAbstand; adresse <= bis; adresse += kZaehlerAbstand) {
        bus += zaehler(adresse);
        ++zaehlerAnzahl;
    }
    const Messung mitZaehlern = scannen(bus, bis);
    std::printf("\n");
    gut &= bericht(qPrintable(QStringLiteral("(b) %1 meters answering 100 bytes each")
                                  .arg(zaehlerAnzahl)),
                   mitZaehlern, zaehlerAnzahl,
                   (adressen - zaehlerAnzahl) * stummSekunden() +
                       zaehlerAnzahl * antwortSekunden());

    std::printf("\n%s\n", gut ? "all targets met" : "TARGET MISSED");
    return gut ? 0 : 1;
}

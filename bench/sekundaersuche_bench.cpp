// The secondary search of the test window (name-bound driver, default timing) against the bus
// simulator with line pacing on, at 9600 baud: 50 meters with random identification numbers
// (fixed seed, all different), searched from the all-wildcard mask at level 8.
//   - every meter must be found, none twice;
//   - the probe count and the collisions are printed, and the wall time against a reference:
//     every collision costs one level of ten probes more, so the search takes about
//     10 x (1 + collisions) probes, each the 17-byte select at 11 bits a character + the answer
//     window of 330 bit times + 50 ms + the one character by which an answer starting at the
//     window's end is complete;
//   - the CPU time of this process during the search as a share of its wall time (target 0.5 %):
//     the waits sleep until a byte or a deadline comes.
// The simulator runs as its own process (mbus-sim), so that its work is not counted.
//
//   sekundaersuche_bench            50 meters (about a minute)
//   sekundaersuche_bench --schnell  10 meters
//
// The program exits with 1 when a meter is missed or found twice, or the CPU target is missed.

#include "bustest/SekundaerSuche.h"
#include "SimMBus.h"
#include "SimulatorProzess.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/GridModell.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <random>

namespace {

constexpr int kPort = 1;
constexpr int kBaud = 9600;
constexpr int kSelectZeichen = 17;   // SND_UD to 253, CI 52: 68 0B 0B 68 53 FD 52 + 8 + CS 16
constexpr double kFensterBits = 330; // answer window: bit times ...
constexpr double kFensterMs = 50;    // ... + ms
constexpr int kProbenJeEbene = 10;   // digits 9 down to 0
constexpr unsigned kSaat = 20240613; // fixed seed: every run searches the same bus
constexpr int kSpalteId = 1;
constexpr int kSpalteBaud = 6;
constexpr double kZielCpuAnteil = 0.005;

// One probe nobody answers: the select + the answer window + one character.
double probeSekunden()
{
    return (kSelectZeichen + 1) * static_cast<double>(SimMBus::ZeichenNs(kBaud)) / 1e9 +
           kFensterBits / kBaud + kFensterMs / 1000;
}

// Distinct random eight-digit numbers (leading zeros included).
QList<qint64> zufallsNummern(int anzahl)
{
    std::mt19937 zufall(kSaat);
    std::uniform_int_distribution<qint64> verteilung(0, 99999999);
    QList<qint64> nummern;
    QSet<qint64> schonDa;
    while (nummern.size() < anzahl) {
        const qint64 nummer = verteilung(zufall);
        if (schonDa.contains(nummer))
            continue;
        schonDa.insert(nummer);
        nummern << nummer;
    }
    return nummern;
}

QString busText(const QList<qint64>& nummern)
{
    QString text = QStringLiteral("bus takt=ja\n");
    for (const qint64 nummer : nummern)
        text += QStringLiteral("zaehler adresse=0 id=%1 hersteller=LUG version=07 medium=04 "
                               "baud=%2\nsatz 0C13 45230100\n")
                    .arg(nummer, 8, 10, QLatin1Char('0'))
                    .arg(kBaud);
    return text;
}

struct Messung
{
    bool gelungen = false;
    int gefunden = 0;      // meters of the bus in the list
    int doppelt = 0;       // entries beyond the first of one meter (rows or rates)
    int fremd = 0;         // rows whose number is not on the bus
    int proben = 0;
    int kollisionen = 0;
    double wand = 0;
    double cpu = 0;
};

Messung suchen(const QList<qint64>& nummern)
{
    Messung messung;
    SimulatorProzess sim(kPort);
    if (!sim.starten(busText(nummern))) {
        std::fprintf(stderr, "mbus-sim did not start\n");
        return messung;
    }
    // The test window's meter list: header row, nine columns.
    GridModell liste;
    liste.setCols(9);
    liste.setRows(1);
    SekundaerSuche suche(liste, SekundaerSuche::Anzeige{});
    MBusRacX4 treiber;

    treiber.APPInitCom(kPort, kBaud);
    if (treiber.APPIsComOpen() != 0) {
        std::fprintf(stderr, "the simulator's terminal did not open\n");
        treiber.APPCloseCom();
        return messung;
    }
    const double cpuVorher = CpuSekunden();
    const auto start = std::chrono::steady_clock::now();
    const bool durch = suche.sucheAlle(treiber, SekundaerSuche::kAlleMaske,
                                       SekundaerSuche::kStellen, kBaud);
    messung.wand = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    messung.cpu = CpuSekunden() - cpuVorher;
    treiber.APPCloseCom();
    if (!durch)
        std::fprintf(stderr, "the search stopped: %s\n", qPrintable(suche.fehler()));
    messung.gelungen = durch && !suche.gestoppt();
    messung.proben = suche.proben();
    messung.kollisionen = suche.kollisionen();

    // The list keys on the number; a meter found again shows as a second rate in its row.
    const QSet<qint64> aufDemBus(nummern.begin(), nummern.end());
    QHash<qint64, int> eintraege;
    for (int zeile = 1; zeile < liste.Rows(); ++zeile) {
        bool zahl = false;
        const qint64 nummer = liste.TextMatrix(zeile, kSpalteId).toLongLong(&zahl);
        if (!zahl || !aufDemBus.contains(nummer)) {
            ++messung.fremd;
            continue;
        }
        eintraege[nummer] += static_cast<int>(
            liste.TextMatrix(zeile, kSpalteBaud).split(QLatin1Char(';'), Qt::SkipEmptyParts).size());
    }
    for (auto it = eintraege.cbegin(); it != eintraege.cend(); ++it) {
        ++messung.gefunden;
        messung.doppelt += it.value() - 1;
    }
    return messung;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool schnell = app.arguments().contains(QStringLiteral("--schnell"));
    const int anzahl = schnell ? 10 : 50;

    QTemporaryDir ordner;
    if (!ordner.isValid() || !QDir::setCurrent(ordner.path())) {
        std::fprintf(stderr, "no working folder\n");
        return 1;
    }

    std::printf("secondary search of %d meters with random numbers at %d baud, line pacing on, "
                "default timing\n",
                anzahl, kBaud);
    std::printf("per probe: select + answer window + one character %.1f ms\n\n",
                1000 * probeSekunden());

    const Messung messung = suchen(zufallsNummern(anzahl));
    const double referenz = kProbenJeEbene * (1 + messung.kollisionen) * probeSekunden();
    const double verhaeltnis = referenz > 0 ? messung.wand / referenz : 0;
    std::printf("  meters found    %d of %d\n", messung.gefunden, anzahl);
    std::printf("  found twice     %d\n", messung.doppelt);
    std::printf("  not on the bus  %d\n", messung.fremd);
    std::printf("  probes          %d (10 x (1 + collisions) = %d)\n", messung.proben,
                kProbenJeEbene * (1 + messung.kollisionen));
    std::printf("  collisions      %d\n", messung.kollisionen);
    std::printf("  wall time       %.3f s, reference %.3f s\n", messung.wand, referenz);
    std::printf("  ratio           %.4f\n", verhaeltnis);
    const double cpuAnteil = messung.wand > 0 ? messung.cpu / messung.wand : 0;
    std::printf("  CPU time        %.3f s = %.2f %% of wall time (target at most %.1f %%)\n",
                messung.cpu, 100 * cpuAnteil, 100 * kZielCpuAnteil);

    const bool gut = messung.gelungen && messung.gefunden == anzahl && messung.doppelt == 0 &&
                     messung.fremd == 0;
    const bool cpuGut = cpuAnteil <= kZielCpuAnteil;
    std::printf("\n%s%s\n", gut ? "every meter found once" : "METER MISSED OR FOUND TWICE",
                cpuGut ? "" : ", CPU TARGET MISSED");
    return gut && cpuGut ? 0 : 1;
}

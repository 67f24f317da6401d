// mbus-sim BUSFILE: plays the bus of the bus file on a new pseudo-terminal, prints the
// terminal's path and runs until it is stopped (Ctrl+C, SIGTERM).
// mbus-sim --tcp PORT BUSFILE: offers the bus on 127.0.0.1:PORT as a serial device server does
// and prints "127.0.0.1:<port>".

#include "BusSimulator.h"
#include "SimBusDatei.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <csignal>
#include <cstdio>

// The bus file with every meter's address and rate as they are now, written to ziel.
static bool BusZurueckschreiben(const QString& quelle, const SimBus& bus, const BusSimulator& sim,
                                const QString& ziel)
{
    QFile ein(quelle);
    if (!ein.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(quelle), qPrintable(ein.errorString()));
        return false;
    }
    QList<QPair<int, int>> stand;
    for (int i = 0; i < sim.zaehlerAnzahl(); ++i)
        stand.append({sim.zaehlerStand(i).primaerAdresse, sim.zaehlerStand(i).baud});
    const QString text =
        SimBusDatei::standEintragen(QString::fromUtf8(ein.readAll()), bus.zaehler, stand);
    QSaveFile aus(ziel);
    if (!aus.open(QIODevice::WriteOnly) || aus.write(text.toUtf8()) < 0 || !aus.commit()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(ziel), qPrintable(aus.errorString()));
        return false;
    }
    return true;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("mbus-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription("Simulated M-Bus with meters on a pseudo-terminal.");
    parser.addHelpOption();
    parser.addPositionalArgument("busdatei", "Bus file that describes the meters (README.md).");
    const QCommandLineOption ohneTakt("ohne-takt",
                                      "Send bytes at once instead of at the pace of the line.");
    const QCommandLineOption protokoll({"p", "protokoll"},
                                       "Print every frame received and every answer sent.");
    const QCommandLineOption link("link", "Also reach the terminal through a symbolic link.",
                                  "pfad");
    const QCommandLineOption tcp("tcp",
                                 "Offer the bus on this TCP port of 127.0.0.1 (0: a free one) "
                                 "instead of a terminal.",
                                 "port");
    const QCommandLineOption baud("baud", "Line speed behind the TCP port (default 2400).", "baud",
                                  "2400");
    const QCommandLineOption geraeteserver(
        "geraeteserver", "Also answer the device server's UDP reset exchange on this port.",
        "port");
    const QCommandLineOption geraeteAntwort(
        "geraeteserver-antwort", "Reply of the device server to \"L\" (default A; \"\": none).",
        "text");
    
    const QCommandLineOption speichern(
        "save",
        "At the end, write the bus file back to this path with every meter's current "
        "primary address and baud rate.",
        "pfad");
    parser.addOptions({ohneTakt, protokoll, link, tcp, baud, geraeteserver, geraeteAntwort, speichern});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    bool tcpOk = true;
    bool baudOk = true;
    const uint tcpPort = parser.isSet(tcp) ? parser.value(tcp).toUInt(&tcpOk) : 0;
    const int tcpBaud = parser.value(baud).toInt(&baudOk);
    if (!tcpOk || tcpPort > 65535 || !baudOk || tcpBaud <= 0 ||
        (parser.isSet(tcp) && parser.isSet(link))) {
        std::fprintf(stderr, "--tcp takes a port 0 to 65535, --baud a positive rate; "
                             "--link only goes with a terminal\n");
        return 2;
    }

    SimBus bus;
    QString fehler;
    if (!BusSimulator::busDateiLesen(parser.positionalArguments().first(), bus, &fehler)) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        return 1;
    }
    if (parser.isSet(ohneTakt))
        bus.takt = false;
    if (parser.isSet(geraeteserver)) {
        bus.geraeteserver.vorhanden = true;
        bus.geraeteserver.port = parser.value(geraeteserver).toInt();
    }
    if (parser.isSet(geraeteAntwort)) {
        bus.geraeteserver.antwort = parser.value(geraeteAntwort).toLatin1();
        bus.geraeteserver.stumm = bus.geraeteserver.antwort.isEmpty();
    }

    // Signals are taken by sigwait below, never by a handler: block them before any thread starts.
    sigset_t signale;
    sigemptyset(&signale);
    sigaddset(&signale, SIGINT);
    sigaddset(&signale, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signale, nullptr);

    BusSimulator sim(bus);
    if (parser.isSet(protokoll))
        sim.protokollSetzen([](const QString& zeile) {
            std::fprintf(stdout, "%s\n", qPrintable(zeile));
            std::fflush(stdout);
        });
    const bool gestartet = parser.isSet(tcp)
                               ? sim.startenTcp(static_cast<quint16>(tcpPort), tcpBaud, &fehler)
                               : sim.starten(&fehler);
    if (!gestartet) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        return 1;
    }
    const QString linkPfad = parser.value(link);
    if (!linkPfad.isEmpty()) {
        QFile::remove(linkPfad);
        if (!QFile::link(sim.geraet(), linkPfad)) {
            std::fprintf(stderr, "%s: link failed\n", qPrintable(linkPfad));
            return 1;
        }
    }
    std::fprintf(stdout, "%s\n", qPrintable(sim.geraet()));
    std::fflush(stdout);

    int signal = 0;
    sigwait(&signale, &signal);
    sim.stoppen();
    if (parser.isSet(speichern) && !BusZurueckschreiben(parser.positionalArguments().first(), bus,
                                                        sim, parser.value(speichern)))
        return 1;
    if (!linkPfad.isEmpty())
        QFile::remove(linkPfad);
    return 0;
}

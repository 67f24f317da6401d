#pragma once
// Starts the master process of one COM port for the overview: "pollex Auto -M<client> -C<port>"
// detached, in the current working folder, never a second one for a port.
//
// A port counts as running when a live process holds its master lock (exact port number, see
// MasterPortSperre.h), or when this overview started its master and that process still lives
// (it may not have taken its lock yet). A port whose master has ended starts again. CPortListe
// lists the ports started by this process (";CPort1;CPort2;"); a port enters it only once its
// start succeeded. A failed start leaves the port free for the next try: FehlerText holds the
// error and the command line, and the program log gets one line. Every start gets one line in
// the program log too.

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class MasterStarter
{
public:
    enum class Ergebnis {
        Gestartet,
        KeinPort,    // port 0
        LaeuftSchon, // a master runs (or starts) for the port
        Fehler,      // the program did not start (FehlerText)
    };

    // Starts the program detached; true with the process number, or false with the reason.
    using Start = std::function<bool(const QString& programm, const QStringList& argumente,
                                     qint64& pid, QString& fehler)>;
    // Whether a master runs for the port (its lock is held).
    using LaeuftPruefung = std::function<bool(int port)>;
    // Whether the process still lives.
    using ProzessPruefung = std::function<bool(qint64 pid)>;

    // Empty functions take the real ones: QProcess::startDetached in the current folder, the
    // port lock, the process table. The program defaults to "pollex" beside this program.
    explicit MasterStarter(Start start = {}, LaeuftPruefung laeuft = {}, ProzessPruefung lebt = {});

    void programmSetzen(const QString& programm) { m_programm = programm; }
    const QString& programm() const { return m_programm; }

    // The arguments of the port's master: "Auto", "-M" & client (left out when Mandant is
    // empty), "-C" & port.
    static QStringList argumente(int port);

    Ergebnis starten(int port);

private:
    static QString Eintrag(int port);

    Start m_start;
    LaeuftPruefung m_laeuft;
    ProzessPruefung m_lebt;
    QString m_programm;
    QHash<int, qint64> m_prozesse; // port -> process started by this overview
};

#pragma once
// One master per COM port: a master holds the lock file of its port for as long as it runs.
// "A master runs for port n" means "the lock of port n is held by a live process"; the lock
// of a process that ended is taken over, also one of another user.
//
// The file of port n is "master-com<n>.lock" in the machine-wide lock folder (Sperren.h).
// A running master looks at its file every few seconds: when the file is gone (the folder was
// deleted), it takes the lock again, so that the overview and a second master still see it.
// A lock that cannot be made (the folder cannot be created) keeps no master from running: the
// master runs without it and says so in one program-log line.

#include <QString>
#include <QTimer>

#include <memory>

class Sperre;

QString MasterSperrDatei(int port);

class MasterPortSperre
{
public:
    explicit MasterPortSperre(int port);
    ~MasterPortSperre();
    MasterPortSperre(const MasterPortSperre&) = delete;
    MasterPortSperre& operator=(const MasterPortSperre&) = delete;

    // Takes the lock without waiting. False only when a live process holds it (FehlerText then
    // says so); when the lock cannot be made, true, and the master runs without it.
    bool holen();
    bool gehalten() const;
    // The process that holds the lock (0 when none is known).
    qint64 halter() const;

    // How often a running master looks at its lock file (ms).
    static constexpr int kPruefIntervallMs = 2000;

private:
    void pruefen();

    int m_port;
    std::unique_ptr<Sperre> m_sperre;
    QTimer m_pruefung;
    // The last program-log line written about this lock (not repeated while it stays true).
    QString m_gemeldet;
};

// True when a live process holds the lock of the port (this process's own lock counts too).
bool MasterLaeuftFuerPort(int port);

// What a second master for a port does: the line "Master für Com<port> läuft bereits (Prozess
// <pid>), dieser Start endet" to mb.log and to the program log, and unless still is set the same
// text in a box. DBPath must be set.
void ZweiterMasterMelden(int port, qint64 halter, bool still);

#pragma once
// One master per COM port: a master holds the lock file of its port for as long as it runs.
// "A master runs for port n" means "the lock of port n is held by a live process"; the lock
// of a process that ended is taken over.
//
// The locks lie in a runtime folder: the folder in the environment variable TELVARIN_SPERREN
// when set (tests, several processes started together), else $XDG_RUNTIME_DIR/telvarin-sperren,
// else <temp>/telvarin-sperren-<uid>. The file of port n is "master-com<n>.lock".

#include <QString>

#include <memory>

class QLockFile;

QString SperrOrdner();
QString MasterSperrDatei(int port);

class MasterPortSperre
{
public:
    explicit MasterPortSperre(int port);
    ~MasterPortSperre();
    MasterPortSperre(const MasterPortSperre&) = delete;
    MasterPortSperre& operator=(const MasterPortSperre&) = delete;

    // Takes the lock without waiting. False when a live process holds it (or the folder cannot
    // be made); FehlerText then says so.
    bool holen();
    bool gehalten() const;
    // The process that holds the lock (0 when none is known).
    qint64 halter() const;

private:
    int m_port;
    std::unique_ptr<QLockFile> m_datei;
};

// True when a live process holds the lock of the port (this process's own lock counts too).
bool MasterLaeuftFuerPort(int port);

// What a second master for a port does: the line "Master für Com<port> läuft bereits (Prozess
// <pid>), dieser Start endet" to mb.log and to the program log, and unless still is set the same
// text in a box. DBPath must be set.
void ZweiterMasterMelden(int port, qint64 halter, bool still);

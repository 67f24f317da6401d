#pragma once
// Lock files shared by the master processes and the log-file import.
//
// Every lock is a QLockFile in one runtime folder: the folder in the environment variable
// TELVARIN_SPERREN when set (tests, several processes started together), else
// $XDG_RUNTIME_DIR/telvarin-sperren, else <temp>/telvarin-sperren-<uid>. A lock counts as held
// while a live process holds it; the lock of a process that ended is taken over.
//
//   master-com<port>.lock              a master runs for the COM port (one per port)
//   zyklus-m<client>-com<port>.lock    that master's cycle is reading and storing right now
//   werte-<hash of the folder>.lock    the log-file import is rebuilding the value folder
//                                      DBPath & "Z" & client number; a cycle that finds it held
//                                      sets its value-file entries aside until it is free
//
// <client> is the client number's numeric value, as in the value-file folder ("Z1320").

#include <QString>

#include <memory>

class QLockFile;

class Sperren
{
public:
    static QString ordner();
    // Tests: uses this folder; "" goes back to the default.
    static void ordnerSetzen(const QString& ordner);

    static QString masterDatei(int port);
    static QString zyklusDatei(qint64 mandant, int port);
    // The lock of the value folder dbPath & "Z" & mandant (dbPath as the settings give it).
    static QString wertordnerDatei(const QString& dbPath, qint64 mandant);

    // True when a live process holds the lock (this process's own lock counts too).
    static bool gehalten(const QString& datei);
    // True when the cycle lock of any port of the client is held.
    static bool zyklusLaeuft(qint64 mandant);
};

// One lock held by this process; released when destroyed.
class Sperre
{
public:
    explicit Sperre(QString datei);
    ~Sperre();
    Sperre(const Sperre&) = delete;
    Sperre& operator=(const Sperre&) = delete;

    // Takes the lock without waiting. False when a live process holds it or the folder cannot
    // be made; FehlerText then says so.
    bool holen();
    void freigeben();
    bool gehalten() const;
    // The process that holds the lock (0 when none is known).
    qint64 halter() const;
    const QString& datei() const { return m_datei; }

private:
    QString m_datei;
    std::unique_ptr<QLockFile> m_sperre;
};

#pragma once
// Lock files shared by the master processes and the log-file import.
//
// Every lock is a QLockFile (Sperrdatei.h: the lock of a process that ended is taken over, by
// every user). A lock that guards something shared lies where every user and every process of
// the machine meets it for as long as the machine runs:
//
//   in the machine-wide lock folder (ordner()):
//   master-com<port>.lock              a master runs for the COM port (one per port)
//   zyklus-m<client>-com<port>.lock    that master's cycle is reading and storing right now
//
//   beside the value folder DBPath & "Z" & client number, in the data folder (masters of
//   several machines that share one data folder meet it too):
//   Z<client>.lock                     the log-file import is rebuilding the value folder; a
//                                      cycle that finds it held sets its value-file entries
//                                      aside until it is free
//
// The machine-wide folder is /run/lock/telvarin (where there is no /run/lock: /var/lock, else
// the temporary folder), or the folder in the environment variable TELVARIN_SPERREN when set
// (tests, several processes started together). The program makes it when missing, writable for
// all users and not sticky, so that the lock of another user's ended process can be taken over.
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

    // Takes the lock without waiting (a lock whose holder ended is taken over). False when a
    // live process holds it or the lock cannot be made; FehlerText then says which.
    bool holen();
    // After holen() failed: true when the lock could not be made at all (its folder or file
    // cannot be created), false when a live process holds it.
    bool nichtAnlegbar() const { return m_nichtAnlegbar; }
    void freigeben();
    bool gehalten() const;
    // Whether this process holds the lock and its file still stands (a lock whose folder was
    // deleted is held by no one as far as other processes can see).
    bool dateiSteht() const;
    // Lets go of a lock whose file is gone (dateiSteht() false) without removing the file that
    // may stand under its name now, another process's lock.
    void aufgeben();
    // The process that holds the lock (0 when none is known).
    qint64 halter() const;
    const QString& datei() const { return m_datei; }

private:
    QString m_datei;
    std::unique_ptr<QLockFile> m_sperre;
    bool m_nichtAnlegbar = false;
};

#pragma once
// The serial-to-Ethernet device server in front of a bus, as far as the master's reset exchange
// reaches it: a UDP peer on 127.0.0.1 that answers the datagram "L" with its answer (or stays
// silent) and takes every other datagram ("E") without a reply. It records every datagram
// received. Runs in a thread of its own; the inspection functions may be called from any thread.

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct SimGeraeteserverEinstellung
{
    bool vorhanden = false;
    int port = 65535;                     // UDP port on 127.0.0.1; 0: any free port
    QByteArray antwort = QByteArray("A"); // reply to "L"
    bool stumm = false;                   // no reply at all
};

class SimGeraeteserver
{
public:
    explicit SimGeraeteserver(SimGeraeteserverEinstellung einstellung);
    ~SimGeraeteserver();
    SimGeraeteserver(const SimGeraeteserver&) = delete;
    SimGeraeteserver& operator=(const SimGeraeteserver&) = delete;

    bool starten(QString* fehler = nullptr);
    void stoppen();
    // The port bound (the one chosen when 0 was asked for); 0 while stopped.
    int port() const { return m_port; }
    QList<QByteArray> empfangen() const;
    // Waits until at least anzahl datagrams have come (false when msMax ran out first).
    bool warteAufDatagramme(int anzahl, int msMax) const;

private:
    void lauf();

    const SimGeraeteserverEinstellung m_einstellung;
    int m_fd = -1;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stopp{false};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_neu;
    QList<QByteArray> m_empfangen;
};

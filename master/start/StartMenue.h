#pragma once
// What the start menu "MBus Start" does, without widgets: it shows the one instance of the bus
// test window, of the master window and of the customer raw-telegram window, each created on
// first use and only brought forward afterwards, with the hourglass meanwhile.
//
// The master window opened here is a master like a pollex process: it takes the lock of the
// port on this program's command line ("-C<port>") first, and holds it while this menu lives. A
// port whose lock a live process holds opens no master window; the line "Master für Com<port>
// läuft bereits ..." goes to mb.log, the program log and a box.

#include "platform/Einzelinstanz.h"

#include <QObject>

#include <functional>
#include <memory>

class MasterPortSperre;

class StartMenue
{
public:
    using Fabrik = std::function<QObject*()>;
    // Shows an instance (shown already: brings it forward).
    using Zeigen = std::function<void(QObject*)>;

    StartMenue(Fabrik testfenster, Fabrik master, Fabrik felsquell, Zeigen zeigen);
    ~StartMenue();

    // Each gives the instance shown (nullptr when none could be opened).
    QObject* testfensterZeigen();
    QObject* masterZeigen();
    QObject* felsquellZeigen();
    // The pointer only, for the "MBus Edit" entry, which opens nothing.
    void nurZeiger();

    Einzelinstanz<QObject>& testfenster() { return m_test; }
    Einzelinstanz<QObject>& master() { return m_master; }
    Einzelinstanz<QObject>& felsquell() { return m_felsquell; }

private:
    QObject* zeigen(Einzelinstanz<QObject>& instanz);
    bool masterSperreHolen();

    Zeigen m_zeigen;
    std::unique_ptr<MasterPortSperre> m_sperre;
    // The windows go before the lock their master holds.
    Einzelinstanz<QObject> m_test;
    Einzelinstanz<QObject> m_master;
    Einzelinstanz<QObject> m_felsquell;
};

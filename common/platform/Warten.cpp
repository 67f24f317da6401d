#include "Warten.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>

namespace {

std::atomic<bool> gEndet{false};

bool ImHauptthread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

bool DoEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !gEndet.load();
}

bool Warten(int ms)
{
    Warteschleife warte;
    return warte.warten(ms);
}

Warteschleife::Warteschleife()
{
    m_frist.setSingleShot(true);
    m_frist.setTimerType(Qt::PreciseTimer);
}

bool Warteschleife::warten(int ms)
{
    if (ms <= 0 || gEndet.load())
        return DoEvents();
    if (!ImHauptthread()) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return !gEndet.load();
    }
    m_geweckt = false;
    m_frist.start(ms);
    // Each pass sleeps until events come and handles them; the deadline's own timer ends the
    // last pass. A wait nested in one of the events (another window's loop) runs to its end
    // first, as with any yield; what came meanwhile ends this one then.
    while (!m_geweckt && m_frist.isActive() && !gEndet.load())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_frist.stop();
    return !gEndet.load();
}

void ProgrammEndeMelden()
{
    // Called from an event handler: the wait that handed that event on sees the flag next.
    gEndet.store(true);
}

bool ProgrammEndet()
{
    return gEndet.load();
}

void ProgrammEndeZuruecksetzen()
{
    gEndet.store(false);
}

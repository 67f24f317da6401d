#include "Warten.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>

namespace {
std::atomic<bool> gEndet{false};
}

bool DoEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !gEndet.load();
}

bool Warten(int ms)
{
    DoEvents();
    if (ms > 0 && !gEndet.load())
        QThread::msleep(static_cast<unsigned long>(ms));
    return !gEndet.load();
}

void ProgrammEndeMelden()
{
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

#include "Warten.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>
#include <QList>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace {

std::atomic<bool> gEndet{false};

// The waits that run (nested ones too), so that the end of the program can end them.
QList<QEventLoop*>& LaufendeWarteschleifen()
{
    static QList<QEventLoop*> schleifen;
    return schleifen;
}

class Anmeldung
{
public:
    explicit Anmeldung(QEventLoop& schleife) : m_schleife(schleife)
    {
        LaufendeWarteschleifen().append(&m_schleife);
    }
    ~Anmeldung() { LaufendeWarteschleifen().removeOne(&m_schleife); }
    Anmeldung(const Anmeldung&) = delete;
    Anmeldung& operator=(const Anmeldung&) = delete;

private:
    QEventLoop& m_schleife;
};

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
    return WartenAufGeraet(nullptr, ms);
}

bool WartenAufGeraet(QIODevice* geraet, int ms)
{
    if (geraet && geraet->bytesAvailable() > 0)
        return DoEvents();
    Warteschleife warte;
    warte.weckenBei(geraet, &QIODevice::readyRead);
    warte.weckenBei(geraet, &QIODevice::bytesWritten);
    warte.weckenBei(geraet, &QIODevice::aboutToClose);
    return warte.warten(ms);
}

bool Warteschleife::warten(int ms)
{
    if (ms <= 0 || gEndet.load())
        return DoEvents();
    if (!ImHauptthread()) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return !gEndet.load();
    }
    QTimer frist;
    frist.setSingleShot(true);
    frist.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frist, &QTimer::timeout, &m_schleife, &QEventLoop::quit);
    const Anmeldung anmeldung(m_schleife);
    frist.start(ms);
    m_schleife.exec();
    return !gEndet.load();
}

void ProgrammEndeMelden()
{
    gEndet.store(true);
    if (ImHauptthread()) {
        for (QEventLoop* schleife : LaufendeWarteschleifen())
            schleife->quit();
    }
}

bool ProgrammEndet()
{
    return gEndet.load();
}

void ProgrammEndeZuruecksetzen()
{
    gEndet.store(false);
}

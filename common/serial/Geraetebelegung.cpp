#include "Geraetebelegung.h"

#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

namespace {

QMutex gSperre;
QSet<QString> gBelegt;

// The device's real path, so that links and their target count as one device.
QString Schluessel(const QString& geraet)
{
    const QFileInfo info(geraet);
    const QString echt = info.canonicalFilePath();
    return echt.isEmpty() ? info.absoluteFilePath() : echt;
}

} // namespace

Geraetebelegung::Geraetebelegung(const QString& geraet)
{
    if (geraet.isEmpty())
        return;
    const QString schluessel = Schluessel(geraet);
    QMutexLocker sperre(&gSperre);
    if (gBelegt.contains(schluessel))
        return;
    gBelegt.insert(schluessel);
    m_schluessel = schluessel;
}

Geraetebelegung::~Geraetebelegung()
{
    if (m_schluessel.isEmpty())
        return;
    QMutexLocker sperre(&gSperre);
    gBelegt.remove(m_schluessel);
}

bool Geraetebelegung::belegt(const QString& geraet)
{
    if (geraet.isEmpty())
        return false;
    const QString schluessel = Schluessel(geraet);
    QMutexLocker sperre(&gSperre);
    return gBelegt.contains(schluessel);
}

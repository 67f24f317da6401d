#include "datafiles/IntervallSperre.h"

#include <QFileInfo>
#include <QHash>

namespace {

// The one GUI thread runs every service, so no mutex is needed.
QHash<QString, IntervallSperre::Art>& Belegte()
{
    static QHash<QString, IntervallSperre::Art> belegte;
    return belegte;
}

QString Schluessel(const QString& pfad)
{
    return QFileInfo(pfad).absoluteFilePath();
}

} // namespace

IntervallSperre::IntervallSperre(const QString& pfad, Art art) : m_schluessel(Schluessel(pfad))
{
    if (Belegte().contains(m_schluessel))
        return;
    Belegte().insert(m_schluessel, art);
    m_gehalten = true;
}

IntervallSperre::~IntervallSperre()
{
    if (m_gehalten)
        Belegte().remove(m_schluessel);
}

bool IntervallSperre::wirdAngelegt(const QString& pfad)
{
    const auto it = Belegte().constFind(Schluessel(pfad));
    return it != Belegte().constEnd() && *it == Art::Anlegen;
}

#include "Feldwert.h"

#include "platform/Uhr.h"
#include "text/Texte.h"

#include <cmath>

namespace {

bool IstGleitkomma(const QVariant& wert)
{
    const int typ = wert.typeId();
    return typ == QMetaType::Double || typ == QMetaType::Float;
}

bool IstText(const QVariant& wert)
{
    return wert.typeId() == QMetaType::QString || wert.typeId() == QMetaType::QByteArray;
}

} // namespace

Feldwert::Feldwert(QVariant wert, bool vorhanden) : m_wert(std::move(wert)), m_vorhanden(vorhanden)
{
}

bool Feldwert::istNull() const
{
    return !m_vorhanden || !m_wert.isValid() || m_wert.isNull();
}

QString Feldwert::text() const
{
    if (istNull())
        return {};
    if (IstGleitkomma(m_wert))
        return ZahlAlsText(m_wert.toDouble());
    if (m_wert.typeId() == QMetaType::Bool)
        return m_wert.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return m_wert.toString();
}

double Feldwert::zahl() const
{
    if (istNull())
        return 0.0;
    if (IstText(m_wert))
        return MB_TextZuDouble(m_wert.toString());
    return m_wert.toDouble();
}

qint64 Feldwert::ganz() const
{
    if (istNull())
        return 0;
    const int typ = m_wert.typeId();
    if (typ == QMetaType::LongLong || typ == QMetaType::Int || typ == QMetaType::UInt ||
        typ == QMetaType::ULongLong || typ == QMetaType::Short || typ == QMetaType::UShort)
        return m_wert.toLongLong();
    const double wert = zahl();
    if (!std::isfinite(wert))
        return 0;
    return static_cast<qint64>(std::nearbyint(wert));
}

bool Feldwert::jaNein() const
{
    if (istNull())
        return false;
    if (m_wert.typeId() == QMetaType::Bool)
        return m_wert.toBool();
    if (IstText(m_wert)) {
        const QString text = m_wert.toString().trimmed().toLower();
        if (text == u"true" || text == u"wahr")
            return true;
        if (text == u"false" || text == u"falsch" || text.isEmpty())
            return false;
    }
    return zahl() != 0.0;
}

QDateTime Feldwert::datum() const
{
    if (istNull())
        return {};
    switch (m_wert.typeId()) {
    case QMetaType::QDateTime: {
        // date() and time() are the fields even of a local time the clock skips
        const QDateTime zeit = m_wert.toDateTime();
        return Wandzeit(zeit.date(), zeit.time());
    }
    case QMetaType::QDate:
        return Wandzeit(m_wert.toDate(), QTime(0, 0));
    default:
        break;
    }
    // date and time parsed apart, so that no local time zone gets a say
    const QString text = m_wert.toString().trimmed();
    const QDate tag = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!tag.isValid())
        return {};
    const QString uhrzeit = text.mid(11).trimmed();
    if (text.size() == 10)
        return Wandzeit(tag, QTime(0, 0));
    if (text[10] != u' ' && text[10] != u'T')
        return {};
    for (const QString& format :
         {QStringLiteral("hh:mm:ss.zzz"), QStringLiteral("hh:mm:ss"), QStringLiteral("hh:mm")}) {
        const QTime zeit = QTime::fromString(uhrzeit, format);
        if (zeit.isValid())
            return Wandzeit(tag, zeit);
    }
    return {};
}

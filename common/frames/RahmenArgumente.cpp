#include "RahmenArgumente.h"

#include "text/Texte.h"

#include <QMetaType>

#include <cmath>

namespace {

bool IstText(const QVariant& wert)
{
    const int typ = wert.typeId();
    return typ == QMetaType::QString || typ == QMetaType::QByteArray;
}

bool IstGanzzahl(const QVariant& wert)
{
    switch (wert.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool IstGleitkomma(const QVariant& wert)
{
    const int typ = wert.typeId();
    return typ == QMetaType::Double || typ == QMetaType::Float;
}

} // namespace

std::optional<QString> ZiffernText(const QVariant& wert)
{
    if (IstGanzzahl(wert)) {
        if (wert.typeId() == QMetaType::ULongLong || wert.typeId() == QMetaType::ULong)
            return QString::number(wert.toULongLong());
        const qlonglong zahl = wert.toLongLong();
        if (zahl < 0)
            return std::nullopt;
        return QString::number(zahl);
    }
    if (IstGleitkomma(wert)) {
        const double zahl = wert.toDouble();
        // Up to 2^53 every whole double is exact; larger values have no trustworthy digits.
        if (!std::isfinite(zahl) || zahl < 0 || zahl != std::floor(zahl) || zahl > 9.0e15)
            return std::nullopt;
        return QString::number(static_cast<qulonglong>(zahl));
    }
    if (!IstText(wert))
        return std::nullopt;

    const QString text = BlanksTrimmen(wert.toString());
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar zeichen : text) {
        if (zeichen < u'0' || zeichen > u'9')
            return std::nullopt;
    }
    return text;
}

std::optional<double> ZahlWert(const QVariant& wert)
{
    if (IstGanzzahl(wert) || IstGleitkomma(wert)) {
        const double zahl = wert.toDouble();
        return std::isfinite(zahl) ? std::optional<double>(zahl) : std::nullopt;
    }
    if (!IstText(wert))
        return std::nullopt;

    QString text = BlanksTrimmen(wert.toString());
    if (text.isEmpty())
        return std::nullopt;
    text.replace(u',', u'.');
    bool ok = false;
    const double zahl = text.toDouble(&ok);
    if (!ok || !std::isfinite(zahl))
        return std::nullopt;
    return zahl;
}

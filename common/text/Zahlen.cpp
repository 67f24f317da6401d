#include "Texte.h"

#include <QRegularExpression>

#include "platform/Global.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace {

bool IstZiffer(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads [sign] digits [decimal sign digits] [E [sign] digits], with "," or "." as the decimal
// sign and at least one digit before the exponent. Anything else, group separators included,
// is no number.
std::optional<double> ZahlLesen(const QString& text)
{
    QString zahl;
    zahl.reserve(text.size());
    qsizetype i = 0;
    const auto zeichen = [&](qsizetype k) { return k < text.size() ? text[k] : QChar(); };

    if (zeichen(i) == u'+' || zeichen(i) == u'-')
        zahl.append(text[i++]);
    int ziffern = 0;
    while (IstZiffer(zeichen(i))) {
        zahl.append(text[i++]);
        ++ziffern;
    }
    if (zeichen(i) == u',' || zeichen(i) == u'.') {
        zahl.append(u'.');
        ++i;
        while (IstZiffer(zeichen(i))) {
            zahl.append(text[i++]);
            ++ziffern;
        }
    }
    if (ziffern == 0)
        return std::nullopt;
    if (zeichen(i) == u'e' || zeichen(i) == u'E') {
        zahl.append(u'e');
        ++i;
        if (zeichen(i) == u'+' || zeichen(i) == u'-')
            zahl.append(text[i++]);
        if (!IstZiffer(zeichen(i)))
            return std::nullopt;
        while (IstZiffer(zeichen(i)))
            zahl.append(text[i++]);
    }
    if (i != text.size())
        return std::nullopt;

    bool ok = false;
    const double wert = zahl.toDouble(&ok); // always the C convention, whatever the locale
    if (!ok || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

bool IstZahlTyp(const QVariant& wert)
{
    switch (wert.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

} // namespace

double MB_TextZuDouble(const QVariant& wert)
{
    if (IstZahlTyp(wert))
        return wert.toDouble();
    if (wert.typeId() == QMetaType::Bool)
        return wert.toBool() ? -1.0 : 0.0; // True is -1 as a number

    const QString text = wert.toString().trimmed();
    if (text.isEmpty())
        return 0.0;
    if (const std::optional<double> zahl = ZahlLesen(text))
        return *zahl;
    FehlerText = QStringLiteral("Der Wert \"%1\" ist keine Zahl.").arg(wert.toString());
    return 0.0;
}

QString ZahlAlsText(double wert)
{
    // The files hold finite numbers only.
    if (!std::isfinite(wert) || wert == 0.0)
        return QStringLiteral("0");

    // 15 significant digits, trailing zeros dropped; exponent form ("1E+15", "1,5E-05") from
    // 1E+15 on and below 0,0001, the form the files shared with other programs hold.
    char puffer[40];
    const auto [ende, fehler] =
        std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::general, 15);
    if (fehler != std::errc())
        return QStringLiteral("0");
    QString text = QString::fromLatin1(puffer, ende - puffer);
    text.replace(u'.', u',');
    text.replace(u'e', u'E');
    return text;
}

double Val(const QString& text)
{
    static const QRegularExpression zahl(
        QStringLiteral("^\\s*([+-]?\\s*(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?)"));
    const QRegularExpressionMatch treffer = zahl.match(text);
    if (!treffer.hasMatch())
        return 0;
    QString zahlText = treffer.captured(1);
    zahlText.remove(QLatin1Char(' '));
    const double wert = zahlText.toDouble();
    return std::isfinite(wert) ? wert : 0;
}

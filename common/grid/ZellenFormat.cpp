#include "ZellenFormat.h"

#include "platform/Uhr.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace {

std::optional<QString> ZahlFormatieren(const QString& text, const QRegularExpressionMatch& m)
{
    bool ok = false;
    const double wert = QString(text).replace(u',', u'.').toDouble(&ok);
    if (!ok || !std::isfinite(wert))
        return std::nullopt;
    const QString ganzMuster = m.captured(1);
    const QString bruchMuster = m.captured(3);
    const auto stellen = static_cast<int>(bruchMuster.size());

    // Round the value's 15-digit decimal text, not its binary value, so 1.005 rounds up.
    const QString e = QString::number(std::fabs(wert), 'e', 14);
    const qsizetype ePos = e.indexOf(u'e');
    const int exponent = e.mid(ePos + 1).toInt() + stellen;
    const double skaliert =
        std::round((e.left(ePos) + u'e' + QString::number(exponent)).toDouble());
    QString ziffern = QString::number(skaliert, 'f', 0);
    if (ziffern.size() <= stellen)
        ziffern.prepend(QString(stellen + 1 - ziffern.size(), u'0'));
    QString ganz = ziffern.left(ziffern.size() - stellen);
    QString bruch = ziffern.right(stellen);

    const auto mindestBruch = static_cast<qsizetype>(bruchMuster.lastIndexOf(u'0') + 1);
    while (bruch.size() > mindestBruch && bruch.endsWith(u'0'))
        bruch.chop(1);
    while (ganz.startsWith(u'0'))
        ganz.remove(0, 1);
    const qsizetype mindestGanz = ganzMuster.count(u'0');
    if (ganz.size() < mindestGanz)
        ganz.prepend(QString(mindestGanz - ganz.size(), u'0'));

    const bool negativ = wert < 0 && skaliert != 0;
    QString ergebnis = (negativ ? QStringLiteral("-") : QString()) + ganz;
    if (!m.captured(2).isEmpty())
        ergebnis += u',' + bruch;
    return ergebnis + m.captured(4);
}

std::optional<QDateTime> DatumLesen(const QString& text)
{
    static const QRegularExpression kDatum(QStringLiteral(
        R"(^(?:(\d{1,2})\.(\d{1,2})\.(\d{4}|\d{2}))?\s*(?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    const QRegularExpressionMatch m = kDatum.match(text.trimmed());
    if (!m.hasMatch() || (m.captured(3).isEmpty() && m.captured(4).isEmpty()))
        return std::nullopt;
    QDate datum(1899, 12, 30); // the day a time without date belongs to
    if (!m.captured(3).isEmpty()) {
        int jahr = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            jahr += jahr < 30 ? 2000 : 1900;
        datum = QDate(jahr, m.captured(2).toInt(), m.captured(1).toInt());
    }
    const QTime zeit(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!datum.isValid() || !zeit.isValid())
        return std::nullopt;
    return Wandzeit(datum, zeit);
}

const QRegularExpression kDatumsbuchstabe(QStringLiteral("[dmyhns]"),
                                          QRegularExpression::CaseInsensitiveOption);

std::optional<QString> DatumFormatieren(const QDateTime& datum, const QString& muster)
{
    const QDate d = datum.date();
    const QTime t = datum.time();
    const QString klein = muster.toLower();
    QString text;
    QChar vorher; // the date letter before this one
    for (qsizetype i = 0; i < klein.size();) {
        const QChar z = klein[i];
        if (!kDatumsbuchstabe.match(QString(z)).hasMatch()) {
            text += muster[i++];
            continue;
        }
        qsizetype n = 1;
        while (i + n < klein.size() && klein[i + n] == z)
            ++n;
        if (z == u'y' ? (n != 2 && n != 4) : n > 2)
            return std::nullopt;
        const qsizetype naechster = klein.indexOf(kDatumsbuchstabe, i + n);
        const bool minute = vorher == u'h' || (naechster >= 0 && klein[naechster] == u's');
        const int wert = z == u'd'   ? d.day()
                         : z == u'm' ? (minute ? t.minute() : d.month())
                         : z == u'y' ? (n == 2 ? d.year() % 100 : d.year())
                         : z == u'h' ? t.hour()
                         : z == u'n' ? t.minute()
                                     : t.second();
        text += n == 1 ? QString::number(wert)
                       : QStringLiteral("%1").arg(wert, int(n), 10, QChar(u'0'));
        vorher = z;
        i += n;
    }
    return text;
}

} // namespace

QString ZelleFormatieren(const QString& text, const QString& muster)
{
    static const QRegularExpression kZahl(QStringLiteral(R"(^([#0]*)(\.([#0]*))?([^#0.]*)$)"));
    const QRegularExpressionMatch zahl = kZahl.match(muster);
    if (zahl.hasMatch() && (zahl.capturedLength(1) + zahl.capturedLength(3)) > 0)
        return ZahlFormatieren(text, zahl).value_or(text);
    if (!muster.contains(kDatumsbuchstabe))
        return text;
    const std::optional<QDateTime> datum = DatumLesen(text);
    return datum ? DatumFormatieren(*datum, muster).value_or(text) : text;
}

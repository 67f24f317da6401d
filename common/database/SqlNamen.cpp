#include "SqlNamen.h"

#include <QSet>

namespace {

bool IstBuchstabe(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool IstZiffer(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Words that SQLite or PostgreSQL do not take as a bare column name in every position.
const QSet<QString>& ReservierteWoerter()
{
    static const QSet<QString> woerter{
        QStringLiteral("all"),        QStringLiteral("and"),         QStringLiteral("as"),
        QStringLiteral("asc"),        QStringLiteral("between"),     QStringLiteral("by"),
        QStringLiteral("case"),       QStringLiteral("check"),       QStringLiteral("collate"),
        QStringLiteral("column"),     QStringLiteral("constraint"),  QStringLiteral("create"),
        QStringLiteral("cross"),      QStringLiteral("default"),     QStringLiteral("delete"),
        QStringLiteral("desc"),       QStringLiteral("distinct"),    QStringLiteral("drop"),
        QStringLiteral("else"),       QStringLiteral("end"),         QStringLiteral("escape"),
        QStringLiteral("except"),     QStringLiteral("exists"),      QStringLiteral("foreign"),
        QStringLiteral("from"),       QStringLiteral("group"),       QStringLiteral("having"),
        QStringLiteral("in"),         QStringLiteral("index"),       QStringLiteral("inner"),
        QStringLiteral("insert"),     QStringLiteral("intersect"),   QStringLiteral("into"),
        QStringLiteral("is"),         QStringLiteral("join"),        QStringLiteral("key"),
        QStringLiteral("left"),       QStringLiteral("like"),        QStringLiteral("limit"),
        QStringLiteral("natural"),    QStringLiteral("not"),         QStringLiteral("null"),
        QStringLiteral("offset"),     QStringLiteral("on"),          QStringLiteral("or"),
        QStringLiteral("order"),      QStringLiteral("outer"),       QStringLiteral("primary"),
        QStringLiteral("references"), QStringLiteral("right"),       QStringLiteral("select"),
        QStringLiteral("set"),        QStringLiteral("table"),       QStringLiteral("then"),
        QStringLiteral("to"),         QStringLiteral("transaction"), QStringLiteral("union"),
        QStringLiteral("unique"),     QStringLiteral("update"),      QStringLiteral("user"),
        QStringLiteral("using"),      QStringLiteral("values"),      QStringLiteral("when"),
        QStringLiteral("where"),
    };
    return woerter;
}

} // namespace

bool IstSqlName(const QString& name)
{
    if (name.isEmpty() || !IstBuchstabe(name.front()))
        return false;
    for (const QChar c : name) {
        if (!IstBuchstabe(c) && !IstZiffer(c))
            return false;
    }
    return true;
}

QString SqlName(const QString& name)
{
    const QString klein = name.toLower();
    if (ReservierteWoerter().contains(klein))
        return u'"' + klein + u'"';
    return name;
}

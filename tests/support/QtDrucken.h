#pragma once
// Readable failure output for Qt values in GoogleTest messages.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Bytes that are not plain text are shown as %XX.
inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toPercentEncoding(" []=;:\\$\"'.,-_()/").toStdString() << '"';
}

inline void PrintTo(const QStringList& liste, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < liste.size(); ++i) {
        if (i)
            *os << ", ";
        PrintTo(liste[i], os);
    }
    *os << '}';
}

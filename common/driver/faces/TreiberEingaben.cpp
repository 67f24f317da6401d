#include "TreiberEingaben.h"

#include "serial/ComZuordnung.h"

#include <array>

namespace {

constexpr std::array kMBusBaudraten{300, 600, 1200, 2400, 4800, 9600, 19200, 38400};

std::optional<long long> GanzeZahl(const QVariant& wert)
{
    bool ok = false;
    long long zahl = 0;
    if (wert.typeId() == QMetaType::QString || wert.typeId() == QMetaType::QByteArray)
        zahl = wert.toString().trimmed().toLongLong(&ok);
    else if (wert.isValid())
        zahl = wert.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return zahl;
}

bool IstHexZiffer(QChar zeichen)
{
    const char16_t c = zeichen.unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

} // namespace

std::optional<int> TreiberPortNummer(const QVariant& port)
{
    QVariant zahl = port;
    if (port.typeId() == QMetaType::QString) {
        QString text = port.toString().trimmed();
        if (text.startsWith(QStringLiteral("com"), Qt::CaseInsensitive))
            text = text.mid(3).trimmed();
        zahl = text;
    }
    const std::optional<long long> nummer = GanzeZahl(zahl);
    if (!nummer || *nummer < kErsterComPort || *nummer > kLetzterComPort)
        return std::nullopt;
    return static_cast<int>(*nummer);
}

std::optional<int> TreiberBaud(const QVariant& baud)
{
    const std::optional<long long> zahl = GanzeZahl(baud);
    if (!zahl)
        return std::nullopt;
    for (const int rate : kMBusBaudraten) {
        if (*zahl == rate)
            return rate;
    }
    return std::nullopt;
}

std::optional<QByteArray> TreiberHexBytes(const QString& text)
{
    const QString hex = text.trimmed();
    if (hex.isEmpty() || hex.size() % 2 != 0)
        return std::nullopt;
    for (const QChar zeichen : hex) {
        if (!IstHexZiffer(zeichen))
            return std::nullopt;
    }
    return QByteArray::fromHex(hex.toLatin1());
}

std::optional<int> TreiberHexByte(const QString& text)
{
    const QString hex = text.trimmed();
    if (hex.isEmpty() || hex.size() > 2)
        return std::nullopt;
    for (const QChar zeichen : hex) {
        if (!IstHexZiffer(zeichen))
            return std::nullopt;
    }
    return hex.toInt(nullptr, 16);
}

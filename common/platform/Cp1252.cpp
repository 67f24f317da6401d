#include "Cp1252.h"

#include <array>

namespace {

// 0x80..0x9F; the five undefined codes keep their own value.
constexpr std::array<char16_t, 32> kOberhalb80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QChar Chr(int code)
{
    code &= 0xFF;
    if (code >= 0x80 && code <= 0x9F)
        return QChar(kOberhalb80[code - 0x80]);
    return QChar(static_cast<char16_t>(code));
}

int Asc(QChar zeichen)
{
    const char16_t u = zeichen.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kOberhalb80[i] == u)
            return 0x80 + i;
    return '?';
}

QString Cp1252ZuText(const QByteArray& bytes)
{
    QString text;
    text.resize(bytes.size());
    QChar* ziel = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        ziel[i] = Chr(static_cast<unsigned char>(bytes[i]));
    return text;
}

QByteArray TextZuCp1252(const QString& text)
{
    QByteArray bytes;
    bytes.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[i] = static_cast<char>(Asc(text[i]));
    return bytes;
}

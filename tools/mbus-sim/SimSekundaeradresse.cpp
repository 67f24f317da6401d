#include "SimSekundaeradresse.h"

SimSekundaeradresse::SimSekundaeradresse(quint32 id, quint16 hersteller, quint8 version,
                                         quint8 medium)
    : m_id(id), m_hersteller(hersteller), m_version(version), m_medium(medium)
{
}

QByteArray SimSekundaeradresse::bcd(quint32 zahl, int bytes)
{
    QByteArray r;
    for (int i = 0; i < bytes; ++i) {
        const int niedrig = zahl % 10;
        zahl /= 10;
        const int hoch = zahl % 10;
        zahl /= 10;
        r.append(char(hoch << 4 | niedrig));
    }
    return r;
}

quint16 SimSekundaeradresse::herstellerCode(const QString& buchstaben)
{
    quint16 code = 0;
    for (const QChar c : buchstaben.left(3))
        code = static_cast<quint16>(code * 32 + (c.toUpper().unicode() - 64) % 32);
    return code;
}

QByteArray SimSekundaeradresse::bytes() const
{
    QByteArray r = bcd(m_id, 4);
    r.append(char(m_hersteller & 0xFF));
    r.append(char(m_hersteller >> 8));
    r.append(char(m_version));
    r.append(char(m_medium));
    return r;
}

bool SimSekundaeradresse::passt(const QByteArray& maske) const
{
    if (maske.size() < 8)
        return false;
    const QByteArray eigen = bytes();
    const auto byte = [](const QByteArray& b, int i) { return static_cast<quint8>(b[i]); };
    for (int i = 0; i < 4; ++i) {
        for (int schub : {0, 4}) {
            const int m = byte(maske, i) >> schub & 0x0F;
            if (m != 0x0F && m != (byte(eigen, i) >> schub & 0x0F))
                return false;
        }
    }
    const bool jederHersteller = byte(maske, 4) == 0xFF && byte(maske, 5) == 0xFF;
    if (!jederHersteller && (byte(maske, 4) != byte(eigen, 4) || byte(maske, 5) != byte(eigen, 5)))
        return false;
    for (int i : {6, 7})
        if (byte(maske, i) != 0xFF && byte(maske, i) != byte(eigen, i))
            return false;
    return true;
}

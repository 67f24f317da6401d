#pragma once
// The secondary address of a meter (identification number, manufacturer, version, medium) in
// the 8-byte form of the selection frame and of the RSP_UD header, and the wildcard match of a
// selection mask against it.

#include <QByteArray>
#include <QString>

class SimSekundaeradresse
{
public:
    SimSekundaeradresse(quint32 id, quint16 hersteller, quint8 version, quint8 medium);

    // ID as 4 BCD bytes least significant first, manufacturer little-endian, version, medium.
    QByteArray bytes() const;

    // True when the 8-byte mask selects this address: an F nibble in the ID matches any digit,
    // FF FF any manufacturer, FF any version, FF any medium. Shorter masks never match.
    bool passt(const QByteArray& maske) const;

    // Three letters A to Z packed 5 bits each: (c1-64)*1024 + (c2-64)*32 + (c3-64).
    static quint16 herstellerCode(const QString& buchstaben);
    static QByteArray bcd(quint32 zahl, int bytes);

private:
    quint32 m_id = 0;
    quint16 m_hersteller = 0;
    quint8 m_version = 0;
    quint8 m_medium = 0;
};

#include "datafiles/RB6Satz.h"

#include <QtEndian>

#include <bit>

QByteArray RB6_SatzBytes(const RB6_Satz& satz)
{
    QByteArray bytes(kRB6_Satzlaenge, '\0');
    qToLittleEndian<qint32>(satz.Tm, bytes.data());
    qToLittleEndian<quint64>(std::bit_cast<quint64>(satz.Wert), bytes.data() + 4);
    return bytes;
}

RB6_Satz RB6_SatzAusBytes(const char* daten)
{
    RB6_Satz satz;
    satz.Tm = qFromLittleEndian<qint32>(daten);
    satz.Wert = std::bit_cast<double>(qFromLittleEndian<quint64>(daten + 4));
    return satz;
}

#pragma once
// Answer telegrams of a heat meter (address 5, 12345678) built byte by byte, for feeding the
// name-bound driver with APPInterpretTelegramHex.

#include <QByteArray>
#include <QString>

namespace lesentest {

// RSP_UD long frame: the 12-byte header and the records given (DIF VIF data ...).
inline QByteArray Antwort(const QByteArray& saetze)
{
    QByteArray inhalt = QByteArray::fromHex("080572785634122440010713000000") + saetze;
    char summe = 0;
    for (char b : inhalt)
        summe = char(summe + b);
    const char laenge = char(inhalt.size());
    return QByteArray("\x68", 1) + laenge + laenge + "\x68" + inhalt + summe + "\x16";
}

inline QString AlsHex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex()).toUpper();
}

// Energy in kWh (32-bit integer) and flow temperature in °C (16-bit integer).
inline QByteArray EnergieUndVorlauf(quint32 kwh, quint16 grad)
{
    QByteArray saetze = QByteArray::fromHex("0406");
    for (int i = 0; i < 4; ++i)
        saetze += char((kwh >> (8 * i)) & 0xFF);
    saetze += QByteArray::fromHex("025B");
    saetze += char(grad & 0xFF);
    saetze += char(grad >> 8);
    return saetze;
}

} // namespace lesentest

#include "SimRahmen.h"

#include "SimMBus.h"

quint8 SimRahmen::pruefsumme(const QByteArray& bytes)
{
    quint8 summe = 0;
    for (char b : bytes)
        summe = static_cast<quint8>(summe + static_cast<quint8>(b));
    return summe;
}

QByteArray SimRahmen::kurz(quint8 c, quint8 a)
{
    QByteArray r;
    r.append(char(SimMBus::StartKurz));
    r.append(char(c));
    r.append(char(a));
    r.append(char(static_cast<quint8>(c + a)));
    r.append(char(SimMBus::Stopp));
    return r;
}

QByteArray SimRahmen::lang(quint8 c, quint8 a, quint8 ci, const QByteArray& daten)
{
    QByteArray nutz;
    nutz.append(char(c));
    nutz.append(char(a));
    nutz.append(char(ci));
    nutz.append(daten);
    const char l = char(static_cast<quint8>(nutz.size()));
    QByteArray r;
    r.append(char(SimMBus::StartLang));
    r.append(l);
    r.append(l);
    r.append(char(SimMBus::StartLang));
    r.append(nutz);
    r.append(char(pruefsumme(nutz)));
    r.append(char(SimMBus::Stopp));
    return r;
}

QString SimRahmen::hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

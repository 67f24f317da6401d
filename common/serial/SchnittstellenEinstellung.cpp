#include "SchnittstellenEinstellung.h"

#include <QStringList>

namespace {

constexpr qint32 kHoechsteBaud = 4000000;

std::optional<qint32> BaudLesen(const QString& feld)
{
    if (feld.isEmpty() || feld.size() > 7)
        return std::nullopt;
    for (QChar z : feld) {
        if (z < u'0' || z > u'9')
            return std::nullopt;
    }
    const qint32 baud = feld.toInt();
    if (baud < 1 || baud > kHoechsteBaud)
        return std::nullopt;
    return baud;
}

std::optional<QSerialPort::Parity> ParitaetLesen(const QString& feld)
{
    if (feld.size() != 1)
        return std::nullopt;
    switch (feld[0].toUpper().unicode()) {
    case u'N':
        return QSerialPort::NoParity;
    case u'E':
        return QSerialPort::EvenParity;
    case u'O':
        return QSerialPort::OddParity;
    case u'M':
        return QSerialPort::MarkParity;
    case u'S':
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

std::optional<QSerialPort::DataBits> DatenbitsLesen(const QString& feld)
{
    if (feld == u"5")
        return QSerialPort::Data5;
    if (feld == u"6")
        return QSerialPort::Data6;
    if (feld == u"7")
        return QSerialPort::Data7;
    if (feld == u"8")
        return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> StoppbitsLesen(const QString& feld)
{
    if (feld == u"1")
        return QSerialPort::OneStop;
    if (feld == u"1.5")
        return QSerialPort::OneAndHalfStop;
    if (feld == u"2")
        return QSerialPort::TwoStop;
    return std::nullopt;
}

} // namespace

std::optional<SchnittstellenEinstellung> SchnittstellenEinstellung::lesen(const QString& text)
{
    const QStringList felder = text.split(u',');
    if (felder.size() != 4)
        return std::nullopt;
    const auto baud = BaudLesen(felder[0].trimmed());
    const auto paritaet = ParitaetLesen(felder[1].trimmed());
    const auto datenbits = DatenbitsLesen(felder[2].trimmed());
    const auto stoppbits = StoppbitsLesen(felder[3].trimmed());
    if (!baud || !paritaet || !datenbits || !stoppbits)
        return std::nullopt;
    return SchnittstellenEinstellung{*baud, *paritaet, *datenbits, *stoppbits};
}

#pragma once
// The "Settings" text of the serial control: baud rate, parity, data bits and stop bits,
// separated by commas ("9600,E,8,1").

#include <QSerialPort>
#include <QString>

#include <optional>

struct SchnittstellenEinstellung
{
    qint32 baud = 9600;
    QSerialPort::Parity paritaet = QSerialPort::NoParity;
    QSerialPort::DataBits datenbits = QSerialPort::Data8;
    QSerialPort::StopBits stoppbits = QSerialPort::OneStop;

    // Reads "<baud>,<parity>,<data bits>,<stop bits>": the baud a whole number from 1 to
    // 4000000, the parity one of N, E, O, M, S (either case), 5 to 8 data bits, 1, 1.5 or 2
    // stop bits; blanks around a field are allowed. Anything else gives nothing.
    static std::optional<SchnittstellenEinstellung> lesen(const QString& text);
};

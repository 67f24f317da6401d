// A second program that holds a serial port: opens the device named as its argument through
// QSerialPort (which takes the port's lock file), writes "offen" and keeps it open until a line
// or the end comes on its input. Exit code 1 when the open failed.

#include <QCoreApplication>
#include <QSerialPort>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QSerialPort port;
    port.setPortName(QString::fromLocal8Bit(argv[1]));
    if (!port.open(QIODevice::ReadWrite)) {
        std::cout << "fehler " << port.errorString().toStdString() << std::endl;
        return 1;
    }
    std::cout << "offen" << std::endl;
    std::string zeile;
    std::getline(std::cin, zeile);
    port.close();
    return 0;
}

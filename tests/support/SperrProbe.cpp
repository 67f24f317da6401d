// A second process for the lock tests, started by a test (as another user where the test can):
//   sperr_probe sperre <file>  takes the lock (Sperren.h) and writes "gehalten", then holds it
//                              until a line or the end comes on its input; or writes
//                              "abgewiesen <reason>"
//   sperr_probe port <n>       opens COM<n> (ZEP.INI of the working folder) through the serial
//                              control and writes "offen", or "fehler <number> <text>"

#include "platform/Global.h"
#include "platform/Sperren.h"
#include "serial/SerielleSchnittstelle.h"

#include <QCoreApplication>

#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString art = QString::fromLocal8Bit(argv[1]);
    const QString ziel = QString::fromLocal8Bit(argv[2]);
    if (art == QStringLiteral("sperre")) {
        Sperre sperre(ziel);
        if (!sperre.holen()) {
            std::cout << "abgewiesen " << FehlerText.toStdString() << std::endl;
            return 0;
        }
        std::cout << "gehalten" << std::endl;
        std::string zeile;
        std::getline(std::cin, zeile);
        return 0;
    }
    if (art == QStringLiteral("port")) {
        SerielleSchnittstelle comm;
        if (comm.setCommPort(ziel.toInt()) == 0 && comm.setPortOpen(true) == 0) {
            std::cout << "offen" << std::endl;
            return 0;
        }
        std::cout << "fehler " << comm.fehlerNummer() << ' '
                  << comm.fehlerBeschreibung().toStdString() << std::endl;
        return 0;
    }
    return 2;
}

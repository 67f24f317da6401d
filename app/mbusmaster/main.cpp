// mbusmaster: the master overview of the metering PC; with "Auto" it starts one master process
// (pollex, beside this program) for every COM port of the meter database.

#include "master/uebersicht/frmMbusmasterV4Alle.h"
#include "ui/UiSinks.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("ZEP MBus-Master"));

    frmMbusmasterV4Alle fenster;
    if (fenster.beendet())
        return 0;
    fenster.show();
    return app.exec();
}

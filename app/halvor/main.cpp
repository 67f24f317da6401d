#include "master/halvor/frmHalvorMBus.h"
#include "ui/UiSinks.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("Halvor MBus"));

    frmHalvorMBus fenster;
    fenster.show();
    return app.exec();
}

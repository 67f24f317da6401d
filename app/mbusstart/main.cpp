#include "master/start/frmMBusStart.h"
#include "ui/UiSinks.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("MBus Start"));

    frmMBusStart fenster;
    fenster.show();
    return app.exec();
}

#include "bustest/tcp/frmTCPMBus.h"
#include "ui/UiSinks.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("tcpmbus"));

    frmTCPMBus fenster;
    fenster.show();
    return app.exec();
}

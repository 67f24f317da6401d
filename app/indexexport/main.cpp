#include "indexexport/frmMBusEditIndexExport.h"
#include "ui/UiSinks.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("MBus Indexexport"));

    // The window shows itself at the end of its loading step.
    frmMBusEditIndexExport fenster;
    return app.exec();
}

#include "bustest/frmMBustest.h"
#include "ui/UiSinks.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("Telvarin"));

    // The window shows itself at the end of its loading step.
    frmMBustest fenster;
    return app.exec();
}

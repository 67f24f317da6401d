#include "master/importlog/frmImportLogFile.h"
#include "ui/UiSinks.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("Import Log Datei"));

    frmImportLogFile fenster;
    fenster.show();
    return app.exec();
}

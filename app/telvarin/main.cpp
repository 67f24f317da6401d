#include "ui/UiSinks.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("Telvarin"));

    QMainWindow fenster;
    fenster.setWindowTitle(QStringLiteral("Telvarin"));
    fenster.resize(800, 600);
    fenster.show();
    return app.exec();
}

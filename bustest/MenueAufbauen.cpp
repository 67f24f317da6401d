#include "TestfensterAufbau.h"

#include "TestfensterRegeln.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

void MenueAufbauen(TestfensterElemente& e, QMainWindow& fenster)
{
    QMenuBar* leiste = fenster.menuBar();
    e.mnuDatei = leiste->addMenu(QStringLiteral("&Datei"));
    e.mnuEnde = e.mnuDatei->addAction(QStringLiteral("&Ende [Alt F4]"));
    e.mnuZaehlerLesen = leiste->addAction(kAnsichtBus);
    e.mnueMail = leiste->addAction(QStringLiteral("eMail-Formular"));
    // The mail form was never built: the entry stays in its place, greyed.
    e.mnueMail->setEnabled(false);
    e.mnuImportIni = leiste->addAction(QStringLiteral("I&mport INI"));
    e.mnu_help = leiste->addMenu(QStringLiteral("&?"));
    e.mnu_openhelp = e.mnu_help->addAction(QStringLiteral("&Hilfe"));
    e.mnu_about = e.mnu_help->addAction(QStringLiteral("Ü&ber Telvarin"));
}

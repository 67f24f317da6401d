// pollex: the cyclic M-Bus master of one COM port ("pollex Auto -M<client> -C<port>").

#include "master/dienste/MasterAufruf.h"
#include "master/dienste/MasterMeldungen.h"
#include "master/dienste/MasterPortSperre.h"
#include "master/frmMbusMasterV4.h"
#include "platform/Global.h"
#include "settings/Einstellungen.h"
#include "ui/UiSinks.h"
#include "zugang/UserConfig.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OberflaecheEinrichten(QStringLiteral("Pollex"));

    // One master per port: the lock stays held until the process ends.
    const MasterAufruf aufruf = MasterAufrufLesen(Kommandozeile());
    MasterPortSperre sperre(aufruf.comPort);
    if (!sperre.holen()) {
        // The log lines go where this master would have written its own.
        DBPath = QDir(Programmordner()).absolutePath() + QLatin1Char('/');
        KommandozeileAuswerten();
        ZEPIniLesen(QStringLiteral(".\\zep.ini"));
        ZweiterMasterMelden(aufruf.comPort, sperre.halter(), aufruf.autoStart);
        return 1;
    }

    // Started unattended: no box may stop the start-up or a cycle; each goes to the logs.
    UnbeaufsichtigteMeldungen ohneBediener(AktuelleMeldungSink());
    if (aufruf.autoStart)
        MeldungSinkSetzen(&ohneBediener);

    frmMbusMasterV4 fenster;
    return app.exec();
}

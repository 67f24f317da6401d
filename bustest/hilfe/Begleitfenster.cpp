#include "Begleitfenster.h"

#include "FrmHilfe.h"
#include "FrmInfo.h"
#include "FrmMBusLog.h"

#include <QPointer>

namespace {

// The help window exists once and is shown again on the next request.
QPointer<frm_help> g_hilfe;

void nachVorn(QWidget* fenster)
{
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
}

} // namespace

void MBusLogZeigen(QWidget* besitzer)
{
    nachVorn(MBusLogFenster(besitzer));
}

void HilfeZeigen(const QString& caption)
{
    if (g_hilfe) {
        // The view may have changed since the window was opened.
        g_hilfe->BildWaehlen(caption);
    } else {
        g_hilfe = new frm_help(caption);
        g_hilfe->setAttribute(Qt::WA_DeleteOnClose);
    }
    nachVorn(g_hilfe);
}

void InfoZeigen(QWidget* besitzer)
{
    frm_about fenster(besitzer);
    fenster.exec();
}

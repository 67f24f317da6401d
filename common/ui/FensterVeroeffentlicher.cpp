#include "FensterVeroeffentlicher.h"

#include "platform/FensterRegister.h"

#include <QApplication>
#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char kHandleEigenschaft[] = "telvarinFensterHandle";

// Windows a user sees as windows of the program; menus, tool tips and splash screens are not.
bool Veroeffentlichbar(const QWidget* w)
{
    if (!w->isWindow())
        return false;
    switch (w->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Tool:
    case Qt::Sheet:
    case Qt::Drawer:
        return true;
    default:
        return false;
    }
}

// The title as the frame shows it: the "[*]" placeholder becomes "*" for a modified window.
QString AngezeigterTitel(const QWidget* w)
{
    QString titel = w->windowTitle();
    titel.replace(QStringLiteral("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
    return titel;
}

bool IstFensterereignis(QEvent::Type typ)
{
    switch (typ) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowTitleChange:
    case QEvent::ModifiedChange:
    case QEvent::Destroy:
        return true;
    default:
        return false;
    }
}

} // namespace

FensterVeroeffentlicher::FensterVeroeffentlicher(QObject* parent) : QObject(parent)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
    veroeffentlichen();
}

FensterVeroeffentlicher::~FensterVeroeffentlicher()
{
    FensterAbmelden();
}

FensterVeroeffentlicher* FensterVeroeffentlicher::einrichten()
{
    return new FensterVeroeffentlicher(QCoreApplication::instance());
}

qint64 FensterVeroeffentlicher::handleVon(QWidget* fenster)
{
    if (!fenster)
        return 0;
    const QVariant vorhanden = fenster->property(kHandleEigenschaft);
    if (vorhanden.isValid())
        return vorhanden.toLongLong();
    const qint64 handle = NeuerFensterHandle();
    fenster->setProperty(kHandleEigenschaft, handle);
    return handle;
}

void FensterVeroeffentlicher::veroeffentlichen()
{
    m_eingeplant = false;
    QList<RegistriertesFenster> liste;
    const QWidgetList fenster = QApplication::topLevelWidgets();
    for (QWidget* w : fenster) {
        if (!Veroeffentlichbar(w))
            continue;
        RegistriertesFenster eintrag;
        eintrag.handle = handleVon(w);
        eintrag.titel = AngezeigterTitel(w);
        eintrag.sichtbar = w->isVisible();
        eintrag.mitRahmen = !w->windowFlags().testFlag(Qt::FramelessWindowHint);
        liste << eintrag;
    }
    FensterVeroeffentlichen(liste);
}

bool FensterVeroeffentlicher::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (IstFensterereignis(ereignis->type()) && objekt->isWidgetType() &&
        Veroeffentlichbar(static_cast<QWidget*>(objekt)))
        einplanen();
    return QObject::eventFilter(objekt, ereignis);
}

void FensterVeroeffentlicher::einplanen()
{
    if (m_eingeplant)
        return;
    m_eingeplant = true;
    QMetaObject::invokeMethod(this, &FensterVeroeffentlicher::veroeffentlichen,
                              Qt::QueuedConnection);
}

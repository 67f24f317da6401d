#include "Bildschirmplatz.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

const char* const kBereichName = "Bildschirmplatz";

// Puts the window's contents into a scroll area, so that the window can become smaller than
// their minimum. A main window's central widget goes into it; in any other window, its layout
// with the widgets it holds.
void InScrollbereichLegen(QWidget& fenster)
{
    if (fenster.findChild<QScrollArea*>(QLatin1String(kBereichName), Qt::FindDirectChildrenOnly))
        return;
    auto* bereich = new QScrollArea;
    bereich->setObjectName(QLatin1String(kBereichName));
    bereich->setWidgetResizable(true);
    bereich->setFrameShape(QFrame::NoFrame);
    if (auto* haupt = qobject_cast<QMainWindow*>(&fenster)) {
        QWidget* mitte = haupt->takeCentralWidget();
        if (!mitte) {
            delete bereich;
            return;
        }
        bereich->setWidget(mitte);
        haupt->setCentralWidget(bereich);
    } else if (QLayout* inhalt = fenster.layout()) {
        auto* innen = new QWidget;
        innen->setLayout(inhalt); // takes the layout from the window with the widgets it holds
        bereich->setWidget(innen);
        auto* neu = new QVBoxLayout(&fenster);
        neu->setContentsMargins(0, 0, 0, 0);
        neu->addWidget(bereich);
    } else {
        delete bereich;
        return;
    }
    bereich->show();
}

QSize Mindestgroesse(QWidget& fenster)
{
    if (QLayout* inhalt = fenster.layout())
        inhalt->activate();
    return fenster.minimumSize().expandedTo(fenster.minimumSizeHint());
}

int Einschraenken(int wert, int kleinster, int groesster)
{
    return std::max(kleinster, std::min(wert, groesster));
}

// Fits the window when it is shown, and once more when the window manager has reported its
// frame after the window appeared.
class Einpasser : public QObject
{
public:
    explicit Einpasser(QWidget& fenster) : QObject(&fenster), m_fenster(fenster) {}

    bool eventFilter(QObject* objekt, QEvent* ereignis) override
    {
        if (objekt != &m_fenster)
            return false;
        switch (ereignis->type()) {
        case QEvent::Show:
            ImBildschirmEinpassen(m_fenster);
            m_rahmenErwartet = true;
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (m_rahmenErwartet && m_fenster.isVisible() && m_fenster.windowHandle() &&
                !m_fenster.windowHandle()->frameMargins().isNull()) {
                m_rahmenErwartet = false;
                const QScreen* schirm = m_fenster.screen();
                if (schirm && !schirm->availableGeometry().contains(Rahmenlage(m_fenster)))
                    ImBildschirmEinpassen(m_fenster);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget& m_fenster;
    bool m_rahmenErwartet = false;
};

} // namespace

QMargins Fensterrahmen(const QWidget& fenster)
{
    QMargins gemeldet;
    if (const QWindow* fensterGriff = fenster.windowHandle())
        gemeldet = fensterGriff->frameMargins();
    return {std::max(gemeldet.left(), kAngenommenerRahmen.left()),
            std::max(gemeldet.top(), kAngenommenerRahmen.top()),
            std::max(gemeldet.right(), kAngenommenerRahmen.right()),
            std::max(gemeldet.bottom(), kAngenommenerRahmen.bottom())};
}

QRect Rahmenlage(const QWidget& fenster)
{
    return fenster.geometry().marginsAdded(Fensterrahmen(fenster));
}

void ImBildschirmEinpassen(QWidget& fenster)
{
    if (!fenster.isWindow() ||
        (fenster.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QScreen* schirm = fenster.screen();
    if (!schirm)
        return;
    const QRect platz = schirm->availableGeometry();
    const QMargins rahmen = Fensterrahmen(fenster);
    const QSize innen = platz.size().shrunkBy(rahmen);

    QSize minimum = Mindestgroesse(fenster);
    if (minimum.width() > innen.width() || minimum.height() > innen.height()) {
        InScrollbereichLegen(fenster);
        minimum = Mindestgroesse(fenster);
    }
    const QSize groesse = fenster.size().boundedTo(innen).expandedTo(minimum);

    QRect lage(fenster.geometry().topLeft() - QPoint(rahmen.left(), rahmen.top()),
               groesse.grownBy(rahmen));
    if (platz.contains(lage)) {
        if (groesse != fenster.size())
            fenster.resize(groesse);
        return;
    }
    if (fenster.testAttribute(Qt::WA_Moved)) {
        // placed by the program: as near to its place as the area allows
        lage.moveLeft(Einschraenken(lage.left(), platz.left(), platz.right() + 1 - lage.width()));
        lage.moveTop(Einschraenken(lage.top(), platz.top(), platz.bottom() + 1 - lage.height()));
    } else {
        lage.moveCenter(platz.center());
        lage.moveLeft(std::max(lage.left(), platz.left()));
        lage.moveTop(std::max(lage.top(), platz.top()));
    }
    fenster.setGeometry(lage.marginsRemoved(rahmen));
}

void BeimZeigenEinpassen(QWidget& fenster)
{
    fenster.installEventFilter(new Einpasser(fenster));
}

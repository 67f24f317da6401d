#include "Zelleneditor.h"

#include "ui/FlexGridWidget.h"

#include <QKeyEvent>

#include <optional>

namespace {

std::optional<EditorTaste> Taste(int taste)
{
    switch (taste) {
    case Qt::Key_Right:
        return EditorTaste::Rechts;
    case Qt::Key_Left:
        return EditorTaste::Links;
    case Qt::Key_Up:
        return EditorTaste::Hoch;
    case Qt::Key_Down:
        return EditorTaste::Runter;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EditorTaste::Eingabe;
    case Qt::Key_Tab:
        return EditorTaste::Tab;
    default:
        return std::nullopt;
    }
}

} // namespace

Zelleneditor::Zelleneditor(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(1, 0, 0, 0);
    hide();
}

void Zelleneditor::ueberZelleLegen(const FlexGridWidget& grid)
{
    setFont(grid.font());
    // the grid lines at the cell's right and bottom stay visible
    QRect rechteck = grid.zellenRechteck().adjusted(0, 0, -1, -1);
    const int rechterRand = grid.viewport()->geometry().right();
    if (rechteck.right() > rechterRand)
        rechteck.setRight(rechterRand);
    setGeometry(rechteck);
}

// Tab would move the focus before a key handler saw it: every key of the table is taken here.
bool Zelleneditor::event(QEvent* ereignis)
{
    if (ereignis->type() == QEvent::KeyPress) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->modifiers() == Qt::NoModifier || taste->modifiers() == Qt::KeypadModifier) {
            if (const std::optional<EditorTaste> bewegung = Taste(taste->key())) {
                emit tasteGedrueckt(*bewegung);
                return true;
            }
        }
    }
    return QLineEdit::event(ereignis);
}

void Zelleneditor::focusOutEvent(QFocusEvent* ereignis)
{
    QLineEdit::focusOutEvent(ereignis);
    // another window or a menu taking the focus for a while does not end the editing
    if (ereignis->reason() != Qt::ActiveWindowFocusReason &&
        ereignis->reason() != Qt::PopupFocusReason)
        emit verlassen();
}

#pragma once
// Small helpers for building the test window's controls.

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QStyle>
#include <QStyleOptionFrame>

namespace aufbau {

inline QPushButton* Knopf(const QString& text, QWidget* eltern, const QString& tipp = {})
{
    auto* knopf = new QPushButton(text, eltern);
    if (!tipp.isEmpty())
        knopf->setToolTip(tipp);
    return knopf;
}

// Width a text box needs to show the text whole, without scrolling: the text, the margins the box
// keeps on either side of it, the cursor and the frame.
inline int FeldBreite(const QLineEdit& feld, const QString& text)
{
    constexpr int kRandJeSeite = 2; // the line edit's own space left and right of its text
    const QFontMetrics fm = feld.fontMetrics();
    const QMargins textRand = feld.textMargins();
    const QMargins rand = feld.contentsMargins();
    const int cursor = feld.style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, &feld);
    const QSize inhalt(fm.horizontalAdvance(text) + 1 + cursor + 2 * kRandJeSeite +
                           textRand.left() + textRand.right() + rand.left() + rand.right(),
                       fm.height());
    QStyleOptionFrame option;
    option.initFrom(&feld);
    option.rect = feld.rect();
    option.lineWidth = feld.hasFrame()
                           ? feld.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &feld)
                           : 0;
    return feld.style()->sizeFromContents(QStyle::CT_LineEdit, &option, inhalt, &feld).width();
}

// A text box with its design text. It is always wide enough for that text; with platz, the
// widest text it is meant to hold, it keeps exactly the width for the wider of the two.
inline QLineEdit* Feld(const QString& text, QWidget* eltern, const QString& platz = {},
                       const QString& tipp = {})
{
    auto* feld = new QLineEdit(text, eltern);
    // Never narrower than the box itself allows (the room for its widest character).
    const int breite = qMax(FeldBreite(*feld, text), feld->minimumSizeHint().width());
    if (platz.isEmpty())
        feld->setMinimumWidth(breite);
    else
        feld->setFixedWidth(qMax(breite, FeldBreite(*feld, platz)));
    if (!tipp.isEmpty())
        feld->setToolTip(tipp);
    return feld;
}

inline QLabel* Beschriftung(const QString& text, QWidget* eltern)
{
    return new QLabel(text, eltern);
}

// A label whose text changes while the window runs: it keeps the width of platz, the widest
// text it shows, so that the controls beside it stay where they are.
inline QLabel* Anzeige(const QString& text, QWidget* eltern, const QString& platz)
{
    auto* anzeige = new QLabel(text, eltern);
    anzeige->setMinimumWidth(anzeige->fontMetrics().horizontalAdvance(platz) +
                             anzeige->contentsMargins().left() +
                             anzeige->contentsMargins().right() + 2 * anzeige->margin());
    return anzeige;
}

inline QGroupBox* Rahmen(const QString& titel, QWidget* eltern)
{
    return new QGroupBox(titel, eltern);
}

} // namespace aufbau

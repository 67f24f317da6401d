#pragma once
// Small helpers for building the test window's controls.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QString>

namespace aufbau {

inline QPushButton* Knopf(const QString& text, QWidget* eltern, const QString& tipp = {})
{
    auto* knopf = new QPushButton(text, eltern);
    if (!tipp.isEmpty())
        knopf->setToolTip(tipp);
    return knopf;
}

inline QLineEdit* Feld(const QString& text, QWidget* eltern, int breite = 0,
                       const QString& tipp = {})
{
    auto* feld = new QLineEdit(text, eltern);
    if (breite > 0)
        feld->setMaximumWidth(breite);
    if (!tipp.isEmpty())
        feld->setToolTip(tipp);
    return feld;
}

inline QLabel* Beschriftung(const QString& text, QWidget* eltern)
{
    return new QLabel(text, eltern);
}

inline QGroupBox* Rahmen(const QString& titel, QWidget* eltern)
{
    return new QGroupBox(titel, eltern);
}

} // namespace aufbau

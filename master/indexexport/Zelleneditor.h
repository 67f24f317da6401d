#pragma once
// The text box that lies over the current cell of a grid and edits it: the arrow keys, Enter
// and Tab move it (reported as keys, the box never handles them itself), and losing the focus
// to another control of the window is reported.

#include "IndexExportRaster.h"

#include <QLineEdit>

class FlexGridWidget;

class Zelleneditor : public QLineEdit
{
    Q_OBJECT

public:
    explicit Zelleneditor(QWidget* parent = nullptr);

    // Lays the box over the grid's current cell, never past the right edge of the grid's
    // visible area; its font is the grid's.
    void ueberZelleLegen(const FlexGridWidget& grid);

signals:
    void tasteGedrueckt(EditorTaste taste);
    void verlassen();

protected:
    bool event(QEvent* ereignis) override;
    void focusOutEvent(QFocusEvent* ereignis) override;
};

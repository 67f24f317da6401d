#pragma once
// Keeps top-level windows inside the free area of their screen (QScreen::availableGeometry, the
// screen less panels and docks).
//
// A window is measured with its frame: under a window manager the title bar and the borders lie
// outside the client area, so a window whose client area is as large as the screen has its
// bottom row below the screen. Before a window is mapped (and on platforms without a window
// manager) the platform reports no frame; then the frame is taken as kAngenommenerRahmen, which
// is as large as the frames of the common window managers or larger. Where the platform reports
// a frame, each side counts with the larger of the two.
//
// A window larger than the free area is shrunk to it; where even its minimum size is larger, its
// contents go into a scroll area so that the window can shrink. A window outside the area is
// moved into it; a window that fits where it is stays where it is.

#include <QMargins>
#include <QRect>

class QWidget;

// Title bar 38 pixels, borders 6 pixels.
inline constexpr QMargins kAngenommenerRahmen(6, 38, 6, 6);

// The frame counted around a top-level window.
QMargins Fensterrahmen(const QWidget& fenster);

// The window's frame rectangle, counted as Fensterrahmen.
QRect Rahmenlage(const QWidget& fenster);

// Fits the window with its frame into the free area of its screen now.
void ImBildschirmEinpassen(QWidget& fenster);

// Fits the window into its screen every time it is shown (before it appears) and once more when
// the window manager has told its real frame.
void BeimZeigenEinpassen(QWidget& fenster);

// Where the program's windows go on the screen. The rules are pure functions of rectangles, so
// that they can be checked against any screen; the rest applies them to real windows.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <QList>

#include <optional>

class QWidget;

namespace placement {

// The top-left corner of a sheet's frame of `sheet` size shown beside the main window's frame
// `main`, within the screen's `available` area. Its first place is to the right of the main window,
// tops level; when it does not fit there, to the left of the main window; when it fits on neither
// side, as far right as the screen allows. Its top is moved up or down only as far as needed to keep
// it on the screen, and a window larger than the screen keeps its top-left corner on it.
QPoint SheetPosition(const QRect& main, const QSize& sheet, const QRect& available);

// Where the main window's frame of `frame` size starts, given the available areas of the screens
// (the first is the primary one). A `remembered` top-left corner is kept when the middle of the
// title bar is on a screen, moved only as far as needed to bring the whole window onto that
// screen; otherwise, and the first time, the window starts at the primary screen's top-left.
QPoint MainWindowPosition(const QSize& frame, const std::optional<QPoint>& remembered,
                          const QList<QRect>& screens);

// The size of the window decorations round `window`: its own once it has been shown, else those of
// `shown` (a window of the program already on the screen), else none.
QMargins Decorations(const QWidget& window, const QWidget* shown);

// The available area of the screen that `window` is on (or would be on, before it is shown).
QRect AvailableArea(const QWidget& window);

}  // namespace placement

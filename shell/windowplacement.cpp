#include "windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace placement {

namespace {

// Moves a frame of `size` at `topLeft` no further than needed to lie on `area`; a frame larger
// than the area keeps its top-left corner on it.
QPoint KeepOn(QPoint topLeft, const QSize& size, const QRect& area) {
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    topLeft.setX(std::max(std::min(topLeft.x(), right - size.width()), area.x()));
    topLeft.setY(std::max(std::min(topLeft.y(), bottom - size.height()), area.y()));
    return topLeft;
}

}  // namespace

QPoint SheetPosition(const QRect& main, const QSize& sheet, const QRect& available) {
    const int right = available.x() + available.width();
    const int besideRight = main.x() + main.width();
    const int besideLeft = main.x() - sheet.width();
    int x;
    if (besideRight + sheet.width() <= right)
        x = besideRight;
    else if (besideLeft >= available.x())
        x = besideLeft;
    else
        x = right - sheet.width();
    return KeepOn(QPoint(x, main.y()), sheet, available);
}

QPoint MainWindowPosition(const QSize& frame, const std::optional<QPoint>& remembered,
                          const QList<QRect>& screens) {
    if (screens.isEmpty()) return remembered.value_or(QPoint(0, 0));
    if (remembered) {
        const QPoint titleMiddle = *remembered + QPoint(frame.width() / 2, 0);
        for (const QRect& area : screens)
            if (area.contains(titleMiddle)) return KeepOn(*remembered, frame, area);
    }
    return screens.first().topLeft();
}

QMargins Decorations(const QWidget& window, const QWidget* shown) {
    const QWidget* from = window.isVisible() ? &window : shown;
    if (!from || !from->isVisible()) return {};
    const QRect frame = from->frameGeometry();
    const QRect inner = from->geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

QRect AvailableArea(const QWidget& window) {
    QScreen* screen = window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace placement

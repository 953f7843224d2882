#include "placementbox.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>

#include "numbers.h"

PlacementBox::PlacementBox(QWidget* parent) : QWidget(parent) {
    setObjectName("PlacementBox");
    setFixedSize(kSide, kSide);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

int PlacementBox::DigitCount(double m) {
    m = std::fabs(m);
    if (!std::isfinite(m)) return kMaxExponent + 1;
    // The shown form ("1500", "12.5", "1E-05", "1.5E+20") split into its significant digits and
    // the place of the decimal point among them.
    const std::string text = numbers::FormatReal(m);
    const std::size_t e = text.find_first_of("eE");
    const std::string mantissa = text.substr(0, e);
    const long exponent = e == std::string::npos ? 0 : std::stol(text.substr(e + 1));
    const std::size_t point = mantissa.find('.');
    std::string digits = mantissa;
    long pointAt = static_cast<long>(mantissa.size());
    if (point != std::string::npos) {
        digits.erase(point, 1);
        pointAt = static_cast<long>(point);
    }
    pointAt += exponent;
    // No leading zeros ("0.5" is written ".5") and no trailing zeros after the point.
    const std::size_t lead = digits.find_first_not_of('0');
    if (lead == std::string::npos) return 1;  // zero is written "0"
    digits.erase(0, lead);
    pointAt -= static_cast<long>(lead);
    const long n = static_cast<long>(digits.size());
    if (pointAt >= n) return static_cast<int>(std::min<long>(pointAt, 1000));  // whole number
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    const long kept = static_cast<long>(digits.size());
    if (pointAt <= 0) return static_cast<int>(std::min<long>(1 - pointAt + kept, 1000));
    return static_cast<int>(kept + 1);
}

std::int32_t PlacementBox::ScaleFor(double x, double y, int* exponent) {
    const double m = std::max(std::fabs(x), std::fabs(y));
    const int k = std::min(DigitCount(m), kMaxExponent);
    if (exponent) *exponent = k;
    std::int32_t scale = 1;
    for (int i = 0; i < k; ++i) scale *= 10;
    return scale;
}

void PlacementBox::SetScale(std::int32_t scale) {
    scale_ = std::max<std::int32_t>(scale, 1);
    update();
}

void PlacementBox::Clear() {
    marker_.reset();
    update();
}

void PlacementBox::DrawMarker(QPointF boxPoint) {
    if (!std::isfinite(boxPoint.x()) || !std::isfinite(boxPoint.y())) {
        marker_.reset();  // nothing sensible to draw
    } else {
        marker_ = boxPoint;
    }
    update();
}

QPointF PlacementBox::ToBox(QPointF widgetPoint) const {
    const double span = 2.0 * scale_;
    return {-scale_ + widgetPoint.x() * span / width(), -scale_ + widgetPoint.y() * span / height()};
}

QPointF PlacementBox::ToWidget(QPointF boxPoint) const {
    const double span = 2.0 * scale_;
    return {(boxPoint.x() + scale_) * width() / span, (boxPoint.y() + scale_) * height() / span};
}

void PlacementBox::PlaceAt(QPointF boxPoint) {
    const double x = numbers::RoundHalfEven(boxPoint.x());
    const double y = numbers::RoundHalfEven(boxPoint.y());
    Clear();
    DrawMarker({x, y});
    emit Placed(x, y);
}

void PlacementBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF area = rect();
    painter.fillRect(area, isEnabled() ? Qt::white : palette().color(QPalette::Window));

    const QColor lines = isEnabled() ? QColor(128, 128, 128) : QColor(180, 180, 180);
    painter.setPen(QPen(lines, 1));
    const QPointF centre = ToWidget({0, 0});
    painter.drawLine(QPointF(centre.x(), 0), QPointF(centre.x(), height()));
    painter.drawLine(QPointF(0, centre.y()), QPointF(width(), centre.y()));
    painter.drawRect(area.adjusted(0, 0, -1, -1));

    if (marker_) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(255, 0, 0), 2));
        painter.setBrush(Qt::NoBrush);
        const QPointF at = ToWidget(*marker_);
        const double rx = MarkerRadius() * width() / (2.0 * scale_);
        const double ry = MarkerRadius() * height() / (2.0 * scale_);
        painter.drawEllipse(at, rx, ry);
    }
}

void PlacementBox::mousePressEvent(QMouseEvent* event) { Track(event); }

void PlacementBox::mouseMoveEvent(QMouseEvent* event) { Track(event); }

void PlacementBox::Track(QMouseEvent* event) {
    // Exactly the left button: a second button held as well means the user is doing something
    // else, and the marker stays put.
    if (event->buttons() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    const QPointF at = event->position();
    if (!QRectF(rect()).contains(at)) return;  // dragged out of the box
    PlaceAt(ToBox(at));
}

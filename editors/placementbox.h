// PlacementBox: the salvage editor's square view of a chunk's X/Y position. Its coordinate
// system runs from -scale to +scale both across (left to right) and down (top to bottom); a red
// circle of radius scale / 10 marks the chunk. Pressing or dragging with exactly the left button
// held moves the marker to the pointer, rounded to whole numbers, and reports the point.
#pragma once

#include <QPointF>
#include <QWidget>

#include <cstdint>
#include <optional>

class PlacementBox : public QWidget {
    Q_OBJECT
public:
    // Largest power of ten the box scales to, and the side of the box in pixels.
    static constexpr int kMaxExponent = 9;
    static constexpr int kSide = 200;

    explicit PlacementBox(QWidget* parent = nullptr);

    // The number of characters of m written in plain decimal form without sign, without a leading
    // zero before the decimal point and without trailing zeros: 0 and 7 give 1, 150 gives 3,
    // 1500 gives 4, 12.5 gives 4, 0.5 gives 2. Reals are taken with at most 15 significant digits,
    // as they are shown.
    static int DigitCount(double m);

    // The scale for a chunk at (x, y): 10 to the power of the digit count of the larger of |x| and
    // |y|, at most 10 to the power kMaxExponent. exponent receives the power used.
    static std::int32_t ScaleFor(double x, double y, int* exponent = nullptr);

    void SetScale(std::int32_t scale);
    std::int32_t Scale() const { return scale_; }

    void Clear();
    void DrawMarker(QPointF boxPoint);  // in box coordinates: (X, -Y) for a chunk at X, Y
    std::optional<QPointF> Marker() const { return marker_; }
    double MarkerRadius() const { return scale_ / 10.0; }  // scale width / 20

    // Between widget pixels and box coordinates.
    QPointF ToBox(QPointF widgetPoint) const;
    QPointF ToWidget(QPointF boxPoint) const;

    // Places the marker at boxPoint rounded to whole numbers, halves to even, and reports it.
    void PlaceAt(QPointF boxPoint);

    QSize sizeHint() const override { return {kSide, kSide}; }

signals:
    // The rounded box point the user placed the marker at (y counts downwards).
    void Placed(double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Track(QMouseEvent* event);

    std::int32_t scale_ = 10;
    std::optional<QPointF> marker_;
};

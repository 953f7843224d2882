#include "appinfo.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#ifndef TARVISK_VERSION_MAJOR
#error "TARVISK_VERSION_MAJOR, _MINOR and _PATCH come from the CMake project version"
#endif

namespace appinfo {

QString ProgramName() { return QStringLiteral("Tarvisk"); }

QString VersionText() {
    // QString::number writes plain digits: no leading blank, no leading zeros.
    return QString::number(TARVISK_VERSION_MAJOR) + '.' + QString::number(TARVISK_VERSION_MINOR) +
           '.' + QString::number(TARVISK_VERSION_PATCH);
}

QString WindowTitle() { return ProgramName() + ' ' + VersionText() + " [Beta]"; }

// A ship's silhouette seen from above on a dark disc, at one size. packaging/linux/tarvisk.svg is
// the same drawing for the desktop; change both together.
QImage IconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 32, 64));
    p.drawEllipse(QRectF(2, 2, 60, 60));
    QPainterPath hull;
    hull.moveTo(32, 8);
    hull.lineTo(44, 46);
    hull.lineTo(32, 40);
    hull.lineTo(20, 46);
    hull.closeSubpath();
    p.setBrush(QColor(210, 220, 235));
    p.drawPath(hull);
    p.setBrush(QColor(255, 150, 40));
    p.drawEllipse(QRectF(28, 44, 8, 10));
    p.end();
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(IconImage(size)));
    return icon;
}

}  // namespace appinfo

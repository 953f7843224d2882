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

namespace {

// A ship's silhouette seen from above on a dark disc, at one size.
QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
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
    return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(DrawIcon(size));
    return icon;
}

}  // namespace appinfo

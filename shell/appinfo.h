// The program's identity: its name, the version the build was made from, and its icon.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace appinfo {

// "Tarvisk": the title of every message box and of the About box.
QString ProgramName();

// Major, minor and revision joined by "." in plain decimal digits: "2.5.2".
QString VersionText();

// The main window's title: "Tarvisk 2.5.2 [Beta]".
QString WindowTitle();

// The program's icon, drawn rather than loaded so that the program needs no resource files.
QIcon ProgramIcon();

// The icon drawn at size x size pixels; needs no QGuiApplication (the build draws the desktop's
// PNG icon with it).
QImage IconImage(int size);

}  // namespace appinfo

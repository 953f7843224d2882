// The document keeps its text as bytes in the system's code page, as the scripts are written;
// the windows hold QStrings. These two conversions are the only crossing between them.
#pragma once

#include <QString>

#include <string>

inline std::string ToLocal(const QString& text) { return text.toLocal8Bit().toStdString(); }
inline QString FromLocal(const std::string& text) { return QString::fromLocal8Bit(text); }

// The per-user settings store: where it lives, its keys and their defaults. Every value is kept as
// text, as the settings dialogs write it.
#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QSettings;

namespace appsettings {

// Section "Directories" and "Preferences" of the application "TARVISK".
inline constexpr const char* kDataDir = "Directories/Decompiled_Data";
inline constexpr const char* kLoadDefaultWeapons = "Preferences/LoadDefaultWeapons";
inline constexpr const char* kLoadDefaultFamilies = "Preferences/LoadDefaultFamilies";

// Section "MainWindow": where the main window was when the program last ended.
inline constexpr const char* kMainWindowLeft = "MainWindow/Left";
inline constexpr const char* kMainWindowTop = "MainWindow/Top";

// The game's usual install location, used when nothing has been stored or it does not exist.
QString DefaultDataDir();

// The user's own store for the application "TARVISK" (registry on Windows, a .conf file elsewhere).
std::unique_ptr<QSettings> OpenUserStore();

QString ReadDataDir(QSettings& store);
void WriteDataDir(QSettings& store, const QString& path);

// A preference is 1 (on) or 0 (off). A stored text that is not a 16-bit number gives the
// default 1 and a warning in the log, so a hand-edited store cannot stop the program starting.
std::int16_t ReadPreference(QSettings& store, const char* key);
void WritePreference(QSettings& store, const char* key, std::int16_t value);

// The main window's remembered frame position; nothing when none is stored or a value is no number.
std::optional<QPoint> ReadMainWindowPosition(QSettings& store);
void WriteMainWindowPosition(QSettings& store, const QPoint& topLeft);

}  // namespace appsettings

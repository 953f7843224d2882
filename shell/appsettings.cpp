#include "appsettings.h"

#include <QSettings>
#include <QtDebug>

#include "numbers.h"
#include "textconv.h"

namespace appsettings {

QString DefaultDataDir() { return QStringLiteral("C:\\Program Files\\Meridane\\Starreach 2\\Data"); }

std::unique_ptr<QSettings> OpenUserStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("TARVISK"));
}

QString ReadDataDir(QSettings& store) { return store.value(kDataDir, DefaultDataDir()).toString(); }

void WriteDataDir(QSettings& store, const QString& path) {
    store.setValue(kDataDir, path);
    store.sync();
}

std::int16_t ReadPreference(QSettings& store, const char* key) {
    const QString text = store.value(key, QStringLiteral("1")).toString();
    std::string error;
    if (auto value = numbers::ParseInt16(ToLocal(text), &error)) return *value;
    qWarning().noquote() << "Setting" << key << "=" << text << error.c_str()
                         << "- using 1 instead.";
    return 1;
}

void WritePreference(QSettings& store, const char* key, std::int16_t value) {
    store.setValue(key, FromLocal(numbers::FormatInteger(value)));
    store.sync();
}

std::optional<QPoint> ReadMainWindowPosition(QSettings& store) {
    const auto left = numbers::ParseInt32(ToLocal(store.value(kMainWindowLeft).toString()));
    const auto top = numbers::ParseInt32(ToLocal(store.value(kMainWindowTop).toString()));
    if (!left || !top) return std::nullopt;
    return QPoint(*left, *top);
}

void WriteMainWindowPosition(QSettings& store, const QPoint& topLeft) {
    store.setValue(kMainWindowLeft, FromLocal(numbers::FormatInteger(topLeft.x())));
    store.setValue(kMainWindowTop, FromLocal(numbers::FormatInteger(topLeft.y())));
    store.sync();
}

}  // namespace appsettings

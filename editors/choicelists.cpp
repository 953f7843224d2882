#include "choicelists.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "customfso.h"
#include "textconv.h"

namespace choicelists {

namespace {

// Windows keeps read-only and archive flags; a name file there counts when it carries either.
// Elsewhere there are no such flags, and every plain file counts.
bool CarriesFlag(const QFileInfo& file) {
#ifdef Q_OS_WIN
    const std::wstring path = QDir::toNativeSeparators(file.absoluteFilePath()).toStdWString();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE)) != 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

}  // namespace

QStringList FolderEntries(const QString& folder, Files files) {
    QStringList names;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) return names;
    // Hidden and system entries are not listed unless asked for; neither is asked for here.
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() || files == Files::All || CarriesFlag(entry))
            names << entry.fileName();
    }
    return names;
}

void OfferChoice(QComboBox* box, const QString& name, Qt::CaseSensitivity cs) {
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).compare(name, cs) == 0) return;
    // Adding the first choice would select it and replace the typed text.
    const QString typed = box->currentText();
    box->addItem(name);
    box->setEditText(typed);
}

void ShowChoice(QComboBox* box, const QString& name) {
    int index = box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        box->addItem(name);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

}  // namespace choicelists

// Choice lists of the list editors: the entries of a data-directory folder (merged behind a
// built-in table with datadir::MergeNames), and the small rules for offering and showing names in combo boxes.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QFileInfo;

namespace choicelists {

// Which plain files of a folder count as names (folders always count).
enum class Files { All, FlaggedOnly };

// The names of the entries of folder, sub-folders included, hidden and system entries left out,
// "." and ".." skipped, in name order. With FlaggedOnly a plain file counts only when it carries
// a read-only or archive flag; on file systems that have no such flags every plain file counts.
// A missing or unreadable folder gives no names.
QStringList FolderEntries(const QString& folder, Files files);

// Offers name as a further choice of an editable box unless a choice equal under cs is there.
// The text standing in the box is kept.
void OfferChoice(QComboBox* box, const QString& name, Qt::CaseSensitivity cs);

// Shows name in a closed drop-down list. A name that is none of its choices (exactly) becomes
// its last choice, so a stored name is always shown and never lost.
void ShowChoice(QComboBox* box, const QString& name);

}  // namespace choicelists

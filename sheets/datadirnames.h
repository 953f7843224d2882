// Names that the game's extracted data directory adds to the sheets' choice lists: the formation
// scripts, and the "name = " lines of the family and manoeuvre scripts. Every list starts from its
// built-in table; a name found in the data directory is appended unless an entry already equals it
// when both are lower-cased.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class frmFrontend;

namespace datadir {

// The data directory followed by a tail such as "\scripts\formations\", with the platform's
// separators.
QString Path(const frmFrontend& main, const char* tail);

// Appends each of found, in order, that equals no entry of into after lower-casing both.
void MergeNames(QStringList& into, const QStringList& found);

// The 26 formations the game always has, in the order the formation boxes offer them.
const QStringList& BuiltInFormations();

// The formation a file of the formations folder names: the file name without its ".lua" ending
// (in any letter case); nothing for any other file.
std::optional<QString> FormationName(const QString& fileName);

// The formations of the plain, visible files of folder, in name order; none when it is missing.
QStringList FormationsInFolder(const QString& folder);

// The built-in formations merged with those of the data directory's formations folder.
QStringList FormationChoices(const frmFrontend& main);

// A text file read as bytes, one character per byte, split into lines at CR LF, LF or CR.
struct TextLines {
    bool ok = false;
    QStringList lines;
    QString error;  // why it could not be read, when !ok
};
TextLines ReadTextLines(const QString& path);

// The message for a data file that exists but cannot be read.
QString UnreadableMessage(const QString& path, const QString& error);

// True when line holds "name = " in any letter case.
bool IsNameLine(const QString& line);

// The text between the first and the second double quote of line; nothing when it has fewer than
// two, so that such a line adds no name.
std::optional<QString> QuotedName(const QString& line);

}  // namespace datadir

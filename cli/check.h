// tarvisk-cli check: reads every script of a mod as the editor's Open does, without writing its
// logs, and reports the lines it could not read and, given the game's data directory, the
// weapon, salvage chunk, formation, family and manoeuvre names that the game does not know.
// For continuous integration it leaves out findings silenced by comments or known from a
// baseline (suppression.h) and prints SARIF or GitHub workflow commands (findings.h).
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "findings.h"  // JsonEscape, for the tests

// Runs the check on the arguments after "check". Writes the report to out and problems with
// the command itself or with a file to err. Returns 0 when nothing was found, 3 when a file had
// findings (lines that could not be read, unknown names; notes alone do not count), 1 when a path
// does not exist, 2 for any other failure (a file or folder that cannot be read, wrong use).
int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage line of the check command.
extern const char* const kCheckUsage;

// The scripts a path names: the file itself, or every *.ship file under a folder (in path order,
// as path joined with what was found). Every folder under it that cannot be searched is reported
// on err with the system's reason, raises worst to 2, and is added to unsearched (its path and
// that reason) when given; the folders that can be searched are searched all the same.
struct Unsearched {
    std::string path;
    std::string reason;
};
std::vector<std::string> Scripts(const std::string& path, std::ostream& err, int& worst,
                                 std::vector<Unsearched>* unsearched = nullptr);

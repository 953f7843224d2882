// Findings a mod has decided to live with: silenced in the script by a comment, or recorded in a
// baseline file so that a CI job fails only on new ones.
//
//   NewShipType.AttackFamily = "OtherModFamily" -- tarvisk: ignore    silences that line
//   -- tarvisk: ignore-file                                            (a line of its own) the file
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "findings.h"

// Whether a script holds the words of either comment anywhere: a script that does not (nearly
// every one) need not be asked line by line.
bool MayIgnore(std::string_view script);
// Whether a line ends in the comment that silences it.
bool IgnoresLine(std::string_view line);
// Whether a line is the comment that silences its whole file.
bool IgnoresFile(std::string_view line);

// Findings known by the script's path relative to the folder checked, the rule, the name and the
// text of the line (without its indentation and trailing blanks): not by line number, so lines
// added above a finding leave it known. A finding that occurs twice is known twice.
//
// The file holds a comment line and then one finding per line, its four parts separated by tabs,
// with tabs, line breaks and backslashes in them written as \t, \n, \r and \\; sorted, so that
// its changes read well in version control.
class Baseline {
public:
    static std::string Key(const std::string& relativePath, const Finding& f);

    void Add(const std::string& key) { ++counts_[key]; }
    // Whether key is known, and if so uses up one occurrence of it.
    bool Take(const std::string& key);

    // Reads the file at path (UTF-8); false with why set when it does not exist (missing true)
    // or cannot be read.
    bool Read(const std::string& path, std::string& why, bool& missing);
    // The file's contents.
    std::string Text() const;

private:
    std::map<std::string, int> counts_;
};

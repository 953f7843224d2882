// Opening a script from the command line, with the tool's messages on standard error: the same
// words for every command that reads one.
#pragma once

#include <string>

#include "sr2shipfile.h"

// path (UTF-8) made absolute: the file dialog hands Open an absolute path, and a relative one
// would name the shared model wrongly. Its ".." and links are left for the system to resolve.
std::string AbsolutePath(const std::string& path);

// Says why reading path gave rc (1: it does not exist, 2: it could not be read) and returns rc;
// 0 passes without a word.
int ReportRead(int rc, const SR2ShipFile& doc, const std::string& path);

// When lines of path could not be read: how many, where they are listed, and what becomes of
// them (fate, e.g. "are kept as they are").
void ReportErrorLines(const SR2ShipFile& doc, const std::string& path, const char* fate);

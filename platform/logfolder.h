// Where a program keeps the reader's logs: beside itself, as the editor always has.
#pragma once

#include <string>

// The log folder for a program in programFolder (UTF-8): that folder, except under /usr on a
// Unix system. What a package manager installs there is the system's, not a place for a user's
// files, even for root who could write it (the logs would outlive the package's removal): then
// the per-user folder of UserStateFolder(). A folder the user cannot write falls
// back to that folder too, when the logs are opened.
std::string LogFolderFor(const std::string& programFolder);

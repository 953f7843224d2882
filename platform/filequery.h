// File-system queries made before touching a file or folder, on paths as UTF-8 strings that may
// use "\" or "/" as separators. The main window's CustomFSO and the core both ask these.
#pragma once

#include <string>

namespace filequery {

// The last piece of Path after splitting at every Delimiter; the empty string when Path holds no
// delimiter at all. Without a delimiter both "\" and "/" count as separators, so Windows and
// native paths give their file name alike.
std::string FileName(const std::string& Path, const std::string& Delimiter = {});

// True for an existing ordinary file (false for folders). Never throws: any error gives false.
bool FileExists(const std::string& Path);

// True for an existing folder, with or without a trailing separator; an empty path names the
// current folder. Never throws.
bool FolderExists(const std::string& Path);

// Path with every "\" and "/" turned into the platform's separator.
std::string NativePath(const std::string& Path);

}  // namespace filequery

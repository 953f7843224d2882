// The main window's file-system queries, made before touching a file or folder. Standard C++: the
// workings are the platform library's filequery, which the core uses directly.
#pragma once

#include <string>

class CustomFSO {
public:
    // The last piece of Path after splitting at every Delimiter; the empty string when Path holds
    // no delimiter at all. Without a delimiter both "\" and "/" count as separators, so Windows and
    // native paths give their file name alike.
    std::string GetFileName(const std::string& Path, const std::string& Delimiter = {}) const;

    // Paths are UTF-8 strings.
    // True for an existing ordinary file (false for folders). "\" separators are accepted on
    // every platform. Never throws: any error gives false.
    bool FileExists(const std::string& Path) const;

    // True for an existing folder, with or without a trailing separator. Never throws.
    bool FolderExists(const std::string& Path) const;

    // Path with every "\" and "/" turned into the platform's separator.
    static std::string NativePath(const std::string& Path);
};

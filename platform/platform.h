// The little the programs ask of the operating system about themselves and their user, in one
// place: platform_posix.cpp or platform_windows.cpp, whichever CMake picks.
#pragma once

#include <string>
#include <vector>

// The command-line arguments as UTF-8. On Windows they are taken from the wide command line, so
// names that the ANSI code page cannot hold arrive intact even where the program's UTF-8
// manifest is not honoured (Windows before 10 1903).
class Utf8Arguments {
public:
    Utf8Arguments(int argc, char** argv);
    int argc() const { return static_cast<int>(args_.size()); }
    char** argv() { return pointers_.data(); }

private:
    std::vector<std::string> args_;
    std::vector<char*> pointers_;  // into args_, ending in a null pointer as argv does
};

// The folder of the running program (UTF-8), found from the system rather than argv[0], which
// names no folder when the program was found on the PATH. argv0 is the last resort.
std::string ProgramFolder(const char* argv0);

// The per-user folder for a program's own state, such as the reader's logs (UTF-8): on Windows
// %LOCALAPPDATA%\Tarvisk, elsewhere $XDG_STATE_HOME/tarvisk or ~/.local/state/tarvisk. Empty when
// the environment names no such place; never the shared temporary folder, where anyone could
// have put a folder or a link first.
std::string UserStateFolder();

// Whether folder (UTF-8) is where the system's package manager installs programs (/usr on a Unix
// system; nothing on Windows).
bool IsSystemProgramFolder(const std::string& folder);

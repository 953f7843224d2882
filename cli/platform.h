// The little the command-line tool asks of the operating system, in one place.
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

#include "platform.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "u8path.h"

#include <windows.h>
#include <shellapi.h>

namespace fs = std::filesystem;

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) args_.push_back(U8String(fs::path(wide[i])));
        LocalFree(wide);
    }
    if (args_.empty())
        args_.assign(argv, argv + argc);
    for (std::string& a : args_) pointers_.push_back(a.data());
    pointers_.push_back(nullptr);
}

std::string ProgramFolder(const char* argv0) {
    std::error_code ec;
    fs::path self;
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) break;
        if (n < buffer.size()) {
            self = fs::path(buffer.substr(0, n));
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    if (self.empty()) {
        self = fs::canonical(U8Path(argv0), ec);
        if (ec) self = fs::absolute(U8Path(argv0), ec);
    }
    return U8String(self.parent_path());
}

std::string UserStateFolder() {
    // The wide environment: a profile such as C:\Users\Jürgen reaches the narrow one in the ANSI
    // code page, which is not UTF-8 where the program's manifest is not honoured.
    const wchar_t* v = _wgetenv(L"LOCALAPPDATA");
    if (!v || !*v) return {};
    return U8String(fs::path(v) / "Tarvisk");
}

bool IsSystemProgramFolder(const std::string&) { return false; }

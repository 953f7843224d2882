#include "platform.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "u8path.h"

namespace fs = std::filesystem;

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
    args_.assign(argv, argv + argc);
    for (std::string& a : args_) pointers_.push_back(a.data());
    pointers_.push_back(nullptr);
}

std::string ProgramFolder(const char* argv0) {
    std::error_code ec;
    fs::path self;
    self = fs::read_symlink("/proc/self/exe", ec);
    if (self.empty()) {
        self = fs::canonical(U8Path(argv0), ec);
        if (ec) self = fs::absolute(U8Path(argv0), ec);
    }
    return U8String(self.parent_path());
}

std::string UserStateFolder() {
    auto env = [](const char* name) -> fs::path {
        const char* v = std::getenv(name);
        return v ? U8Path(v) : fs::path();
    };
    const fs::path state = env("XDG_STATE_HOME");
    if (!state.empty()) return U8String(state / "tarvisk");
    const fs::path home = env("HOME");
    if (!home.empty()) return U8String(home / ".local" / "state" / "tarvisk");
    return {};
}

bool IsSystemProgramFolder(const std::string& folder) {
    return folder == "/usr" || folder.rfind("/usr/", 0) == 0;
}

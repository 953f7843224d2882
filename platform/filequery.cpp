#include "filequery.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "u8path.h"

namespace fs = std::filesystem;

namespace filequery {

namespace {

std::vector<std::string> Split(const std::string& s, const std::string& delimiter) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = s.find(delimiter, start);
        if (at == std::string::npos) break;
        pieces.push_back(s.substr(start, at - start));
        start = at + delimiter.size();
    }
    pieces.push_back(s.substr(start));
    return pieces;
}

fs::path ToPath(const std::string& p) {
    return U8Path(NativePath(p));
}

}  // namespace

std::string FileName(const std::string& Path, const std::string& Delimiter) {
    if (!Delimiter.empty()) {
        auto pieces = Split(Path, Delimiter);
        return pieces.size() >= 2 ? pieces.back() : std::string();
    }
    std::size_t at = Path.find_last_of("\\/");
    return at == std::string::npos ? std::string() : Path.substr(at + 1);
}

std::string NativePath(const std::string& Path) {
    std::string out = Path;
    const char native = static_cast<char>(fs::path::preferred_separator);
    for (char& c : out)
        if (c == '\\' || c == '/') c = native;
    return out;
}

bool FileExists(const std::string& Path) {
    if (Path.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(ToPath(Path), ec);
}

bool FolderExists(const std::string& Path) {
    // An empty path names the current folder, as the original device test did.
    std::error_code ec;
    return fs::is_directory(Path.empty() ? fs::path(".") : ToPath(Path), ec);
}

}  // namespace filequery

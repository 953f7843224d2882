// Helpers shared by the document tests: temporary folders, byte-exact file access, and reading a
// script given as text the way the editor's Open does.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "sr2shipfile.h"
#include "u8path.h"

namespace docsupport {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() /
                ("tarvisk-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        // Read-only files left by a test must not keep the folder alive.
        for (const auto& e : fs::recursive_directory_iterator(path_, ec))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return U8String(path_ / U8Path(name)); }

private:
    fs::path path_;
};

inline void WriteBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The same for the document's own UTF-8 path strings.
inline void WriteBytes(const std::string& p, const std::string& bytes) { WriteBytes(U8Path(p), bytes); }
inline std::string ReadBytes(const std::string& p) { return ReadBytes(U8Path(p)); }

// The lines of a text, without their CR LF or LF ends.
inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        std::size_t end = nl;
        if (end > start && text[end - 1] == '\r') --end;
        lines.push_back(text.substr(start, end - start));
        start = nl + 1;
    }
    return lines;
}

// Lines joined with CR LF, as scripts are stored.
inline std::string Crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

inline bool HasLine(const std::string& text, const std::string& line) {
    for (const auto& l : SplitLines(text))
        if (l == line) return true;
    return false;
}

inline int LineIndex(const std::string& text, const std::string& line) {
    auto lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line) return static_cast<int>(i);
    return -1;
}

// One script read from a temporary file, with its logs in the same folder.
struct Read {
    TempDir dir;
    SR2ShipFile doc;
    int rc = -1;
    std::string path;

    explicit Read(const std::string& bytes, const std::string& name = "test.ship") {
        path = dir / name;
        WriteBytes(path, bytes);
        doc.SetLogFolder(U8String(dir.path()));
        rc = doc.OpenShipFile(path);
    }
    static Read Lines(const std::vector<std::string>& lines) { return Read(Crlf(lines)); }
    std::string Debug() const { return ReadBytes(dir.path() / "debug.txt"); }
    std::string Errors() const { return ReadBytes(dir.path() / "errors.txt"); }
    std::string Written() const { return doc.ScriptText(); }
};

// What normalizing the bytes gives (read, then written), checking on the way that normalizing the
// result again gives the same bytes.
inline std::string Normalize(const std::string& bytes) {
    const std::string once = Read(bytes).Written();
    const std::string twice = Read(once).Written();
    EXPECT_EQ(once, twice) << "normalizing is not idempotent";
    return once;
}

}  // namespace docsupport

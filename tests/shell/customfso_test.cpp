// CustomFSO: the file name of a path, and whether a file or a folder exists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "customfso.h"
#include "u8path.h"

namespace fs = std::filesystem;

namespace {

class Folder {
public:
    Folder() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("tarvisk-fso-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_ / "sub dir");
        std::ofstream(path_ / "sub dir" / "scout.ship") << "x";
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string Native() const { return U8String(path_); }
    // The same path written with backslashes, as the data-directory tails are.
    std::string Backslashed() const {
        std::string s = U8String(path_);
        for (char& c : s)
            if (c == '/') c = '\\';
        return s;
    }

private:
    fs::path path_;
};

}  // namespace

TEST(GetFileName, TheLastPieceAfterTheDelimiter) {
    const CustomFSO fso;
    const std::pair<const char*, const char*> cases[] = {
        {"a\\b\\c.ship", "c.ship"}, {"C:\\Ships\\scout.ship", "scout.ship"}, {"c.ship", ""},
        {"a\\b\\", ""}, {"", ""}, {"\\", ""}, {"/", ""}, {"x/y", "y"}, {"/home/u/s.ship", "s.ship"},
        {"a/b\\c", "c"}, {"a\\b/c", "c"}, {"dir/", ""}, {"\\\\server\\share\\f", "f"},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(fso.GetFileName(path), name) << path;
}

TEST(GetFileName, AGivenDelimiterIsTheOnlySeparatorAndMatchedExactly) {
    const CustomFSO fso;
    EXPECT_EQ(fso.GetFileName("x/y", "/"), "y");
    EXPECT_EQ(fso.GetFileName("a\\b/c", "/"), "c");
    EXPECT_EQ(fso.GetFileName("a/b\\c", "/"), "b\\c");
    EXPECT_EQ(fso.GetFileName("a/b", "\\"), "");
    EXPECT_EQ(fso.GetFileName("a::b::c", "::"), "c");
    EXPECT_EQ(fso.GetFileName("aXbxc", "x"), "c");
    EXPECT_EQ(fso.GetFileName("aXbxc", "X"), "bxc");
    EXPECT_EQ(fso.GetFileName("a,", ","), "");
    EXPECT_EQ(fso.GetFileName("abc", ","), "");
}

TEST(FileAndFolder, ExistenceTests) {
    const CustomFSO fso;
    Folder f;
    const char sep = static_cast<char>(fs::path::preferred_separator);
    const std::string folder = f.Native() + sep + "sub dir";
    const std::string file = folder + sep + "scout.ship";
    EXPECT_TRUE(fso.FolderExists(folder));
    EXPECT_TRUE(fso.FolderExists(folder + sep));
    EXPECT_TRUE(fso.FolderExists(f.Backslashed() + "\\sub dir"));
    EXPECT_TRUE(fso.FolderExists(f.Backslashed() + "\\sub dir\\"));
    EXPECT_TRUE(fso.FolderExists(f.Native() + "/sub dir/"));
    EXPECT_FALSE(fso.FolderExists(folder + sep + "missing"));
    EXPECT_FALSE(fso.FolderExists(folder + sep + "missing" + sep));
    EXPECT_FALSE(fso.FolderExists(file));

    EXPECT_TRUE(fso.FileExists(file));
    EXPECT_TRUE(fso.FileExists(f.Backslashed() + "\\sub dir\\scout.ship"));
    EXPECT_FALSE(fso.FileExists(folder));
    EXPECT_FALSE(fso.FileExists(folder + sep));
    EXPECT_FALSE(fso.FileExists(folder + sep + "other.ship"));
    EXPECT_FALSE(fso.FileExists(""));
    EXPECT_FALSE(fso.FileExists(std::string("bad\0name", 8)));  // never throws
    EXPECT_FALSE(fso.FolderExists(std::string("bad\0name", 8)));
}

TEST(FileAndFolder, NativePathTurnsBothSeparators) {
    const char sep = static_cast<char>(fs::path::preferred_separator);
    EXPECT_EQ(CustomFSO::NativePath("a\\b/c"), std::string("a") + sep + "b" + sep + "c");
    EXPECT_EQ(CustomFSO::NativePath("plain"), "plain");
}

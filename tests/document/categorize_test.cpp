// Reading a script: which lines each category takes, what the logs say, and the result codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "docsupport.h"
#include "logfolder.h"
#include "u8path.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARVISK_HAS_ASAN 1
#endif
#endif
#ifndef TARVISK_HAS_ASAN
#define TARVISK_HAS_ASAN 0
#endif

using namespace docsupport;

namespace {

using Lines = std::vector<std::string>;

// Sets an environment variable for the life of the object.
class EnvOverride {
public:
    EnvOverride(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        Set(value);
    }
    ~EnvOverride() { Set(old_); }

private:
    void Set(const std::string& v) {
#ifdef _WIN32
        _putenv_s(name_.c_str(), v.c_str());
#else
        setenv(name_.c_str(), v.c_str(), 1);
#endif
    }
    std::string name_, old_;
};

// Points the per-user log folder at a test folder for the life of the object.
class UserFolderOverride {
public:
    explicit UserFolderOverride(const std::string& folder) {
#ifdef _WIN32
        const char* name = "LOCALAPPDATA";
#else
        const char* name = "XDG_STATE_HOME";
#endif
        name_ = name;
        if (const char* old = std::getenv(name)) old_ = old;
        Set(folder);
    }
    ~UserFolderOverride() { Set(old_); }

private:
    void Set(const std::string& v) {
#ifdef _WIN32
        // The wide environment, where Windows keeps a profile's name whatever the code page.
        _wputenv_s(U8Path(name_).wstring().c_str(), U8Path(v).wstring().c_str());
#else
        setenv(name_.c_str(), v.c_str(), 1);
#endif
    }
    std::string name_, old_;
};

}  // namespace

TEST(Categorize, EachLineGoesToItsCategoryAndOnlyUnknownLinesAreKept) {
    Read r = Read::Lines({
        "NewShipType = StartShipConfig()",
        "-- a comment",
        "",
        "    NewShipType.buildCost = 5",      // indented: read as Lua reads it
        "\tNewShipType.buildTime = 5",
        "loadModel(NewShipType, \"x\")",      // consumed, the writer has its own line for it
        "x = 1 -- not a comment",
        "--",
        "ne",                                 // shorter than every prefix
        "NEWSHIPTYPE.BUILDCOST = 7",          // prefixes in any case
        "LOADSHAREDMODEL(NewShipType, \"Big\")",
        "STARTSHIPWEAPONCONFIG(NewShipType, \"w\", \"h\", \"f\")",
        "SPAWNSALVAGEONDEATH(NewShipType, \"c\", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)",
        "LoadShipPatchList(NewShipType, \"d\", 1, \"e\", \"m\")",
        "ADDABILITY(NewShipType, \"CanLaunch\")",
        "setSupplyValue(NewShipType, \"Scout\", 1)",
    });
    ASSERT_EQ(r.rc, 0);
    EXPECT_EQ(r.doc.UnrecognizedLines(),
              (Lines{"x = 1 -- not a comment", "ne", "setSupplyValue(NewShipType, \"Scout\", 1)"}));
    EXPECT_EQ(r.doc.iBuildCost, 7);
    EXPECT_EQ(r.doc.iBuildTime, 5);
    EXPECT_EQ(r.doc.sLoadSharedModel, "Big");
    EXPECT_EQ(r.doc.SSWC_Num, 0);
    EXPECT_EQ(r.doc.SSOD_Num, 0);
    EXPECT_EQ(r.doc.LSPL_Num, 0);
    EXPECT_EQ(r.doc.LSPL_Directory, "d");
    EXPECT_TRUE(r.doc.bCanLaunch);
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    EXPECT_EQ(r.Errors(), "");
    const std::string written = r.Written();
    EXPECT_FALSE(HasLine(written, "-- a comment"));
    EXPECT_EQ(written.find("loadModel"), std::string::npos);
}

TEST(Categorize, TheSharedModelNameComesFromTheFileNameUntilALineSetsIt) {
    const std::pair<const char*, const char*> names[] = {
        {"MyShip.ship", "MyShip"}, {"a.ship.ship", "a"}, {"Scout.SHIP", "Scout.SHIP"}, {"noext", "noext"}};
    for (const auto& [file, model] : names) {
        Read r("NewShipType.buildCost = 1\r\n", file);
        EXPECT_EQ(r.doc.sLoadSharedModel, model) << file;
        EXPECT_TRUE(HasLine(r.Written(), std::string("LoadSharedModel(NewShipType,\"") + model + "\")"));
    }
    Read r("LoadSharedModel(NewShipType, \"Other\")\r\n", "MyShip.ship");
    EXPECT_EQ(r.doc.sLoadSharedModel, "Other");
}

TEST(Categorize, ListsStartEmptyOnEveryRead) {
    Read r = Read::Lines({"NewShipType.buildCost = 1"});
    EXPECT_EQ(r.doc.SSWC_Num, -1);
    EXPECT_EQ(r.doc.SSOD_Num, -1);
    EXPECT_EQ(r.doc.MAM_Num, -1);
    EXPECT_EQ(r.doc.MBM_Num, -1);
    EXPECT_EQ(r.doc.LSPL_Num, -1);
    EXPECT_EQ(r.doc.CanAttack_AttackFamilyCount, -1);
    EXPECT_EQ(r.doc.CanBuildShips_DisplayFamilyCount, -1);

    // Reading into a document that held lists replaces them.
    SR2ShipFile& d = r.doc;
    d.SSWC_AddItem("old", "", "");
    d.MAM_AddValue("old");
    WriteBytes(r.path, Crlf({"StartShipWeaponConfig(NewShipType, \"new\", \"h\", \"f\")"}));
    ASSERT_EQ(d.OpenShipFile(r.path), 0);
    EXPECT_EQ(d.SSWC_Num, 0);
    d.SSWC_LoadValues(0);
    EXPECT_EQ(d.SSWC_WeaponName, "new");
    EXPECT_EQ(d.MAM_Num, -1);
}

TEST(Logs, DebugLogTellsTheStepsAndTheUnrecognisedLines) {
    Read r = Read::Lines({"NewShipType = StartShipConfig()", "odd line", "NewShipType.madeUp=5"});
    EXPECT_EQ(SplitLines(r.Debug()),
              (Lines{"Opening '" + r.path + "' for input...", "Finished opening ship file.",
                     "Beginning categorization.", "", "Array dimensioning complete.", "",
                     "UBound(strLines) = 2", "odd line", "NewShipType.madeUp = 5", "",
                     "Categorization completed."}));
    EXPECT_EQ(r.Errors(), "");
    EXPECT_EQ(r.doc.DebugLogPath(), r.dir / "debug.txt");
    EXPECT_EQ(r.doc.ErrorLogPath(), r.dir / "errors.txt");
}

TEST(Logs, ErrorsAreLoggedCountedAndSortingGoesOn) {
    Read r = Read::Lines({
        "NewShipType.mass = heavy",
        "StartShipWeaponConfig(NewShipType, \"only one\")",
        "NewShipType.buildCost = 9",
        "addAbility(NewShipType, \"CanDock\", 1)",
        "odd",
    });
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(SplitLines(r.Errors()),
              (Lines{"ERROR: NewShipType.mass = heavy",
                     "Error on line 1: StartShipWeaponConfig(NewShipType, \"only one\")",
                     "Error on line 3: addAbility(NewShipType, \"CanDock\", 1)"}));
    EXPECT_EQ(r.doc.ErrorCount(), 3);
    EXPECT_EQ(r.doc.iBuildCost, 9);  // lines after a failure still take effect
    EXPECT_FALSE(r.doc.bCanDock);    // a failed ability line sets nothing
    EXPECT_EQ(r.doc.SSWC_Num, -1);
    const auto debug = SplitLines(r.Debug());
    ASSERT_GE(debug.size(), 2u);
    EXPECT_EQ(debug.back(), "Categorization completed.");

    // Every Open recreates both logs.
    WriteBytes(r.path, "NewShipType.buildCost = 1\r\n");
    ASSERT_EQ(r.doc.OpenShipFile(r.path), 0);
    EXPECT_EQ(r.Errors(), "");
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    EXPECT_EQ(r.Debug().find("odd"), std::string::npos);
}

TEST(Logs, MissingFileGivesOneAndLeavesTheDocumentAlone) {
    TempDir dir;
    SR2ShipFile d;
    d.Initialize();
    d.iBuildCost = 12;
    d.SetLogFolder(U8String(dir.path()));
    const std::string path = dir / "nothing.ship";
    EXPECT_EQ(d.OpenShipFile(path), 1);
    EXPECT_EQ(SplitLines(ReadBytes(dir.path() / "debug.txt")), (Lines{"ERROR: '" + path + "' does not exist."}));
    EXPECT_TRUE(fs::exists(dir.path() / "errors.txt"));
    EXPECT_EQ(ReadBytes(dir.path() / "errors.txt"), "");
    EXPECT_EQ(d.iBuildCost, 12);
    EXPECT_EQ(d.LSPL_Num, 0);
    EXPECT_EQ(d.sLoadSharedModel, "");
    // A folder is no script, and says so.
    EXPECT_EQ(d.OpenShipFile(U8String(dir.path())), 2);
    EXPECT_EQ(d.OpenFailure(), "it is a folder");
}

TEST(Logs, UnreadableFileGivesTwo) {
    TempDir dir;
    const std::string path = dir / "locked.ship";
    WriteBytes(path, "NewShipType.buildCost = 5\r\n");
    fs::permissions(U8Path(path), fs::perms::none);
    // The system decides whether this user may read it (an administrator may).
    const bool readable = static_cast<bool>(std::ifstream(U8Path(path)));
    SR2ShipFile d;
    d.SetLogFolder(U8String(dir.path()));
    EXPECT_EQ(d.OpenShipFile(path), readable ? 0 : 2);
    EXPECT_EQ(d.iBuildCost, readable ? 5 : 0);
    EXPECT_EQ(d.OpenFailure(), readable ? "" : "it cannot be opened (Permission denied)");
}

// Refused before a byte is read: the file is sparse, so it costs no disc space.
TEST(Input, AFileOver256MiBIsRefusedUnread) {
    TempDir dir;
    const std::string path = dir / "huge.ship";
    WriteBytes(path, "NewShipType.buildCost = 5\r\n");
    fs::resize_file(U8Path(path), (std::uintmax_t{256} << 20) + 1);
    SR2ShipFile d;
    d.SetLogFolder(U8String(dir.path()));
    EXPECT_EQ(d.OpenShipFile(path), 2);
    EXPECT_EQ(d.OpenFailure(), "it is larger than 256 MiB");
    EXPECT_EQ(d.iBuildCost, 0);
    EXPECT_TRUE(HasLine(ReadBytes(dir.path() / "debug.txt"),
                        "ERROR: '" + path + "' could not be read: it is larger than 256 MiB."));
}

// A file of very many short lines would take many times its size in records: past 100,000 lines
// it is refused, whatever its line ends; a long script of real lines is read.
TEST(Input, AFileOfMoreThanAHundredThousandLinesIsRefused) {
    TempDir dir;
    for (const char* end : {"\n", "\r"}) {
        std::string bytes;
        for (int i = 0; i <= 100'000; ++i) (bytes += 'x') += end;
        WriteBytes(dir / "many.ship", bytes);
        SR2ShipFile d;
        d.SetWriteLogs(false);
        EXPECT_EQ(d.OpenShipFile(dir / "many.ship"), 2);
        EXPECT_EQ(d.OpenFailure(), "it has more than 100,000 lines");
        EXPECT_EQ(d.KeptLineCount(), 0);
    }
    std::string script = "NewShipType = StartShipConfig()\r\n";
    for (int i = 1; i < 100'000; ++i) script += "NewShipType.buildCost = " + std::to_string(i) + "\r\n";
    WriteBytes(dir / "long.ship", script);
    SR2ShipFile d;
    d.SetWriteLogs(false);
    EXPECT_EQ(d.OpenShipFile(dir / "long.ship"), 0);
    EXPECT_EQ(d.iBuildCost, 99'999);
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !TARVISK_HAS_ASAN
// With its address space limited, the program that reads a big file runs out of memory: the read
// fails with a reason, and the program lives on.
TEST(Input, RunningOutOfMemoryFailsTheReadAndNothingElse) {
    TempDir dir;
    const std::string path = dir / "big.ship";
    WriteBytes(path, "NewShipType.buildCost = 5\r\n");
    fs::resize_file(path, std::uintmax_t{200} << 20);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::ifstream statm("/proc/self/statm");
        unsigned long pages = 0;
        statm >> pages;
        const rlim_t limit = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20);
        struct rlimit rl{limit, limit};
        setrlimit(RLIMIT_AS, &rl);
        SR2ShipFile d;
        d.SetLogFolder(dir.path().string());
        const int rc = d.OpenShipFile(path);
        _exit(rc == 2 && d.OpenFailure() == "it is too large for the memory available" ? 0 : 10 + rc);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the reader died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

TEST(Logs, ALogFolderThatCannotBeWrittenFallsBackAndTheReadSucceeds) {
    TempDir dir;
    // A profile such as C:\Users\Jürgen: the logs must land in it, not in a garbled twin.
    const std::string profile = dir / "Jürgen Œ€ Жук";
    UserFolderOverride user(profile);
    const std::string script = dir / "s.ship";
    WriteBytes(script, "NewShipType.buildCost = 5\r\nodd\r\n");
    WriteBytes(dir / "plainfile", "x");
    for (const std::string& folder : {dir / "plainfile", dir / "missing/deeper"}) {
        SR2ShipFile d;
        d.SetLogFolder(folder);
        ASSERT_EQ(d.OpenShipFile(script), 0) << folder;
        EXPECT_EQ(d.iBuildCost, 5);
        EXPECT_EQ(d.UnrecognizedLines(), (Lines{"odd"}));
        ASSERT_FALSE(d.DebugLogPath().empty());
        EXPECT_EQ(U8Path(d.DebugLogPath()).parent_path(), U8Path(SR2ShipFile::FallbackLogFolder()));
        EXPECT_EQ(U8Path(SR2ShipFile::FallbackLogFolder()).parent_path(), U8Path(profile));
        EXPECT_TRUE(HasLine(ReadBytes(d.DebugLogPath()), "odd"));
        EXPECT_TRUE(fs::exists(U8Path(d.ErrorLogPath())));
    }
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(U8String(e.path().filename()));
    EXPECT_EQ(std::count(names.begin(), names.end(), "Jürgen Œ€ Жук"), 1) << testing::PrintToString(names);
}

// Names beyond ASCII (once read as Latin-1 on Windows: reported missing, or written as
// "\u008Cuvre.ship") for the script, its folder, the logs and the file written.
TEST(Logs, NamesBeyondAsciiAreReadWrittenAndLogged) {
    TempDir dir;
    const fs::path folder = dir.path() / u8"Über € Жук";
    fs::create_directories(folder);
    const std::string script = U8String(folder / u8"Œuvre.ship");
    WriteBytes(script, "NewShipType.buildCost = 5\r\nNewShipType.mass = heavy\r\n");
    SR2ShipFile d;
    d.SetLogFolder(U8String(folder));
    ASSERT_EQ(d.OpenShipFile(script), 0);
    EXPECT_EQ(d.iBuildCost, 5);
    EXPECT_EQ(d.sLoadSharedModel, "Œuvre");
    EXPECT_EQ(U8Path(d.DebugLogPath()), folder / "debug.txt");
    EXPECT_TRUE(HasLine(ReadBytes(folder / "debug.txt"), "Opening '" + script + "' for input..."));
    EXPECT_TRUE(HasLine(ReadBytes(folder / "errors.txt"), "ERROR: NewShipType.mass = heavy"));

    ASSERT_TRUE(d.WriteShipFile(U8String(folder / u8"Выход €.ship")));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(U8String(e.path().filename()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Lines{"debug.txt", "errors.txt", "Œuvre.ship", "Выход €.ship"}));
    EXPECT_EQ(d.OpenShipFile(U8String(folder / u8"Выход €.ship")), 0);
    EXPECT_EQ(d.iBuildCost, 5);
}

TEST(Logs, AProgramInstalledUnderUsrLogsInTheUserFolderElseBesideItself) {
#ifndef _WIN32
    for (const char* system : {"/usr/bin", "/usr/local/bin", "/usr"})
        EXPECT_EQ(LogFolderFor(system), SR2ShipFile::FallbackLogFolder()) << system;
#endif
    for (const char* own : {"/usrx/bin", "/opt/tarvisk/bin", "/home/u/tarvisk/build/bin", "C:\\usr\\bin"})
        EXPECT_EQ(LogFolderFor(own), own);
}

TEST(Logs, WhenOnlyOneLogOpensBothGoToTheUserFolder) {
    for (const char* blocked : {"debug.txt", "errors.txt"}) {
        TempDir dir;
        UserFolderOverride user(dir / "user");
        fs::create_directories(dir.path() / "logs" / blocked);  // a folder where the log would go
        Read r("NewShipType.mass = heavy\r\n");
        SR2ShipFile& d = r.doc;
        d.SetLogFolder(dir / "logs");
        ASSERT_EQ(d.OpenShipFile(r.path), 0);
        const fs::path fallback(SR2ShipFile::FallbackLogFolder());
        EXPECT_EQ(fs::path(d.DebugLogPath()), fallback / "debug.txt") << blocked;
        EXPECT_EQ(fs::path(d.ErrorLogPath()), fallback / "errors.txt") << blocked;
        EXPECT_EQ(ReadBytes(d.ErrorLogPath()), "ERROR: NewShipType.mass = heavy\n");
        EXPECT_TRUE(HasLine(ReadBytes(d.DebugLogPath()), "Finished opening ship file."));
    }
}

TEST(Logs, WithNoLogAnywhereTheReadStillSucceeds) {
    TempDir dir;
    // No per-user folder at all: there is no fallback, not even in the shared temporary folder.
    EnvOverride state("XDG_STATE_HOME", ""), home("HOME", ""), local("LOCALAPPDATA", "");
    EXPECT_EQ(SR2ShipFile::FallbackLogFolder(), "");
    WriteBytes(dir / "plainfile", "x");
    Read r("NewShipType.mass = heavy\r\nNewShipType.buildCost = 5\r\n");
    r.doc.SetLogFolder(dir / "plainfile");
    ASSERT_EQ(r.doc.OpenShipFile(r.path), 0);
    EXPECT_EQ(r.doc.iBuildCost, 5);
    EXPECT_EQ(r.doc.ErrorCount(), 1);
    EXPECT_EQ(r.doc.DebugLogPath(), "");
    EXPECT_EQ(r.doc.ErrorLogPath(), "");
}

#ifndef _WIN32
TEST(Logs, ALogIsNeverOpenedThroughALinkOrIntoAnotherUsersFile) {
    TempDir dir;
    UserFolderOverride user(dir / "user");
    WriteBytes(dir / "victim", "keep me");
    const std::string script = dir / "s.ship";
    WriteBytes(script, "odd\r\nNewShipType.mass = heavy\r\n");
    for (const char* planted : {"debug.txt", "errors.txt"}) {
        const fs::path logs = dir.path() / (std::string("logs-") + planted);
        fs::create_directories(logs);
        fs::create_symlink(dir.path() / "victim", logs / planted);
        SR2ShipFile d;
        d.SetLogFolder(logs.string());
        ASSERT_EQ(d.OpenShipFile(script), 0);
        EXPECT_EQ(ReadBytes(dir.path() / "victim"), "keep me") << planted;
        EXPECT_TRUE(fs::is_symlink(logs / planted));
        EXPECT_EQ(fs::path(d.ErrorLogPath()).parent_path(), fs::path(SR2ShipFile::FallbackLogFolder()));
    }
    // A FIFO in a log's place neither holds the reader up nor takes the log.
    ASSERT_EQ(mkfifo((dir.path() / "debug.txt").c_str(), 0600), 0);
    SR2ShipFile d;
    d.SetLogFolder(dir.path().string());
    ASSERT_EQ(d.OpenShipFile(script), 0);
    EXPECT_EQ(fs::path(d.DebugLogPath()).parent_path(), fs::path(SR2ShipFile::FallbackLogFolder()));
    // Nor does a FIFO named as the script: it is no script, and opening it waits for no writer.
    ASSERT_EQ(mkfifo((dir.path() / "pipe.ship").c_str(), 0600), 0);
    EXPECT_EQ(d.OpenShipFile(dir / "pipe.ship"), 2);
    EXPECT_EQ(d.OpenFailure(), "it is a FIFO");
}

TEST(Logs, TheUserFolderIsPrivateAndNeverALinkOrSomeoneElses) {
    TempDir dir;
    WriteBytes(dir / "plainfile", "x");
    const std::string script = dir / "s.ship";
    WriteBytes(script, "NewShipType.buildCost = 5\r\n");
    auto readWithFallback = [&](const std::string& userFolder) {
        UserFolderOverride user(userFolder);
        SR2ShipFile d;
        d.SetLogFolder(dir / "plainfile");  // never writable: the fallback is tried
        EXPECT_EQ(d.OpenShipFile(script), 0);
        EXPECT_EQ(d.iBuildCost, 5);
        return d.DebugLogPath();
    };
    auto mode = [](const fs::path& p) {
        struct stat st;
        return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 01;
    };
    // Made private, and an existing folder of this user's that is open to others is closed.
    const fs::path made = dir.path() / "a" / "tarvisk";
    EXPECT_EQ(fs::path(readWithFallback(dir / "a")).parent_path(), made);
    EXPECT_EQ(mode(made), 0700u);
    ASSERT_EQ(chmod(made.c_str(), 0755), 0);
    EXPECT_FALSE(readWithFallback(dir / "a").empty());
    EXPECT_EQ(mode(made), 0700u);

    // A link in the folder's place is not used, nor is the folder it leads to.
    fs::create_directories(dir.path() / "elsewhere");
    fs::create_directories(dir.path() / "b");
    fs::create_symlink(dir.path() / "elsewhere", dir.path() / "b" / "tarvisk");
    EXPECT_EQ(readWithFallback(dir / "b"), "");
    EXPECT_TRUE(fs::is_empty(dir.path() / "elsewhere"));

    // A folder owned by another user is not used. Only an administrator can make one to try.
    fs::create_directories(dir.path() / "c" / "tarvisk");
    const uid_t other = geteuid() == 65534 ? 65533 : 65534;
    if (chown((dir.path() / "c" / "tarvisk").c_str(), other, other) == 0) {
        EXPECT_EQ(readWithFallback(dir / "c"), "");
        EXPECT_TRUE(fs::is_empty(dir.path() / "c" / "tarvisk"));
    }
}
#endif

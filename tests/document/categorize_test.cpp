// Reading a script: which lines each category takes, what the logs say, and the result codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "docsupport.h"
#include "logfolder.h"
#include "u8path.h"

using namespace docsupport;

namespace {

using Lines = std::vector<std::string>;

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
        "    NewShipType.buildCost = 5",      // indented: never recognised
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
              (Lines{"    NewShipType.buildCost = 5", "\tNewShipType.buildTime = 5", "x = 1 -- not a comment",
                     "ne", "setSupplyValue(NewShipType, \"Scout\", 1)"}));
    EXPECT_EQ(r.doc.iBuildCost, 7);
    EXPECT_EQ(r.doc.iBuildTime, 0);
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
    EXPECT_EQ(d.OpenShipFile(U8String(dir.path())), 1);  // a folder is no script
}

TEST(Logs, UnreadableFileGivesTwo) {
    TempDir dir;
    const std::string path = dir / "locked.ship";
    WriteBytes(path, "NewShipType.buildCost = 5\r\n");
    fs::permissions(U8Path(path), fs::perms::none);
    if (std::ifstream(U8Path(path))) GTEST_SKIP() << "this user can read any file (administrator)";
    SR2ShipFile d;
    d.SetLogFolder(U8String(dir.path()));
    EXPECT_EQ(d.OpenShipFile(path), 2);
    EXPECT_EQ(d.iBuildCost, 0);
}

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

// Nothing read is silently changed: lines the document cannot store exactly come back as read
// until their value is changed, and the bytes of a script come back as they were.
#include <gtest/gtest.h>

#include "docsupport.h"
#include "statements.h"
#include "u8path.h"

using namespace docsupport;
using Lines = std::vector<std::string>;

TEST(KeptLines, AFractionInAnIntegerFieldIsKeptUntilTheFieldChanges) {
    Read r = Read::Lines({"NewShipType.mass = 2.5", "NewShipType.maxhealth = 10"});
    EXPECT_EQ(r.doc.iMass, 2);
    std::string w = r.Written();
    EXPECT_EQ(LineIndex(w, "NewShipType.mass = 2.5") + 1, LineIndex(w, "NewShipType.maxhealth = 10"));
    EXPECT_FALSE(HasLine(w, "NewShipType.mass = 2"));
    EXPECT_EQ(r.doc.KeptLineCount(), 1);
    EXPECT_EQ(Normalize(w), w);

    ASSERT_TRUE(r.doc.SetFieldText("iMass", "7"));
    w = r.Written();
    EXPECT_TRUE(HasLine(w, "NewShipType.mass = 7"));
    EXPECT_EQ(w.find("2.5"), std::string::npos);
    EXPECT_EQ(r.doc.KeptLineCount(), 0);
}

TEST(KeptLines, AbilityArgumentsThatCannotBeStoredExactly) {
    const std::string cloak = "addAbility(NewShipType, \"CloakAbility\", 1, 3.1, 100, 0, 0, 0, 0, 0)";
    const std::string capture = "addAbility(NewShipType, \"CanBeCaptured\", 45, 0.5)";
    const std::string extra = "addAbility(NewShipType, \"CanLaunch\", 1)";
    Read r = Read::Lines({cloak, capture, extra});
    EXPECT_EQ(r.doc.CloakAbility_CloakStrength, 3);
    EXPECT_FALSE(r.doc.CanBeCaptured_IsActive);
    EXPECT_TRUE(r.doc.bCanLaunch);
    std::string w = r.Written();
    for (const auto& l : {cloak, capture, extra}) EXPECT_TRUE(HasLine(w, l)) << l;
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    EXPECT_EQ(Normalize(w), w);

    r.doc.CloakAbility_CloakStrength = 4;
    r.doc.CanBeCaptured_IsActive = true;
    w = r.Written();
    EXPECT_TRUE(HasLine(w, "addAbility(NewShipType, \"CloakAbility\", 1, 4, 100, 0, 0, 0, 0, 0)"));
    EXPECT_TRUE(HasLine(w, "addAbility(NewShipType, \"CanBeCaptured\", 1, 0.5)"));
    EXPECT_TRUE(HasLine(w, extra));
    r.doc.bCanLaunch = false;  // removing the ability removes its line
    EXPECT_EQ(r.Written().find("CanLaunch"), std::string::npos);
}

TEST(KeptLines, ExpressionsCommentsAndSemicolonsComeBackAsRead) {
    const Lines script = {"NewShipType.buildCost = 100; -- cheap", "NewShipType.TOScale = 1.0",
                          "NewShipType.sobDieTime = 2 -- seconds"};
    Read r = Read::Lines(script);
    const std::string w = r.Written();
    EXPECT_TRUE(HasLine(w, "NewShipType.buildCost = 100; -- cheap"));
    EXPECT_TRUE(HasLine(w, "NewShipType.TOScale = 1"));  // the same value: the canonical form
    EXPECT_TRUE(HasLine(w, "NewShipType.sobDieTime = 2 -- seconds"));
    // The values are read; the lines stand in place of the writer's, as read.
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    EXPECT_EQ(r.doc.iBuildCost, 100);
    EXPECT_EQ(r.doc.fSobDieTime, 2);
    EXPECT_TRUE(r.doc.UnrecognizedLines().empty());
    EXPECT_EQ(Normalize(w), w);
}

TEST(KeptLines, ALaterLineOfTheSameFieldDropsTheEarlierKeptLine) {
    Read r = Read::Lines({"NewShipType.mass = 2.5", "NewShipType.mass = heavy", "NewShipType.mass = 5",
                          "NewShipType.maxhealth = strong", "NewShipType.maxhealth = 1.5"});
    EXPECT_EQ(r.doc.iMass, 5);
    EXPECT_EQ(r.doc.iMaxhealth, 2);
    const std::string w = r.Written();
    EXPECT_TRUE(HasLine(w, "NewShipType.mass = 5"));
    EXPECT_EQ(w.find("2.5"), std::string::npos);
    EXPECT_EQ(w.find("heavy"), std::string::npos);
    EXPECT_EQ(w.find("strong"), std::string::npos);
    EXPECT_TRUE(HasLine(w, "NewShipType.maxhealth = 1.5"));
    EXPECT_TRUE(r.doc.UnrecognizedLines().empty());

    // The other way round: the value that converted stays, the later one is kept after it.
    Read s = Read::Lines({"NewShipType.mass = 5", "NewShipType.mass = heavy"});
    EXPECT_EQ(s.doc.iMass, 5);
    EXPECT_TRUE(HasLine(s.Written(), "NewShipType.mass = 5"));
    EXPECT_EQ(s.doc.UnrecognizedLines(), Lines{"NewShipType.mass = heavy"});
}

TEST(KeptLines, AnUnconvertibleValueIsKeptAmongTheUnrecognisedLinesInFileOrder) {
    Read r = Read::Lines({"local heavy = 40", "NewShipType.madeUp = 1", "NewShipType.mass=heavy", "after()"});
    EXPECT_EQ(r.doc.UnrecognizedLines(),
              (Lines{"local heavy = 40", "NewShipType.madeUp = 1", "NewShipType.mass = heavy", "after()"}));
    EXPECT_TRUE(HasLine(r.Written(), "NewShipType.mass = 0"));
    ASSERT_TRUE(r.doc.SetFieldText("iMass", "12"));  // the user's value replaces the kept line
    EXPECT_EQ(r.doc.UnrecognizedLines(), (Lines{"local heavy = 40", "NewShipType.madeUp = 1", "after()"}));
    EXPECT_EQ(r.Written().find("heavy\r\n"), std::string::npos);
}

TEST(KeptLines, CallLinesKeepTheirTextWhileUnchangedAndWhenTheyMove) {
    const std::string extra = "StartShipWeaponConfig(NewShipType, \"c\", \"hp\", \"fx\", 1)";
    const std::string odd = "StartShipWeaponConfig(NewShipType,\"b\",\"hp\",\"fx\") -- spare";
    Read r = Read::Lines({"StartShipWeaponConfig(NewShipType, \"a\", \"hp\", \"fx\")", odd, extra});
    ASSERT_EQ(r.doc.SSWC_Num, 2);
    EXPECT_EQ(r.doc.KeptLineCount(), 1);  // an argument beyond the three names is carried, not kept
    r.doc.SSWC_RemoveItem(0);
    std::string w = r.Written();
    const int banner = LineIndex(w, "--      WEAPONRY");
    EXPECT_EQ(LineIndex(w, odd), banner + 3);
    EXPECT_EQ(LineIndex(w, extra), banner + 4);

    // Cancel in the weapons editor: the whole-list copy brings the kept text back too.
    const auto saved = r.doc.SSWC_GetList();
    r.doc.SSWC_LoadValues(1);
    r.doc.SSWC_WeaponName = "changed";
    r.doc.SSWC_SaveValues(1);
    w = r.Written();
    EXPECT_TRUE(HasLine(w, "StartShipWeaponConfig(NewShipType, \"changed\", \"hp\", \"fx\", 1)"));
    EXPECT_FALSE(HasLine(w, extra));
    r.doc.SSWC_SetList(saved);
    EXPECT_TRUE(HasLine(r.Written(), extra));

    const std::string salvage =
        "SpawnSalvageOnDeath(NewShipType, \"s\", 2.5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)";
    Read s = Read::Lines({salvage});
    EXPECT_TRUE(HasLine(s.Written(), salvage));
    const auto list = s.doc.SSOD_GetList();
    s.doc.SSOD_LoadValues(0);
    s.doc.SSOD_PositionX = 1;
    s.doc.SSOD_SaveValues(0);
    EXPECT_FALSE(HasLine(s.Written(), salvage));
    s.doc.SSOD_SetList(list);
    EXPECT_TRUE(HasLine(s.Written(), salvage));

    const std::string patch = "loadShipPatchList(NewShipType, \"d/\", 1.5, \"e\", \"m\")";
    Read p = Read::Lines({patch});
    EXPECT_TRUE(HasLine(p.Written(), patch));
    p.doc.LSPL_Directory = "other/";
    EXPECT_TRUE(HasLine(p.Written(), "loadShipPatchList(NewShipType, \"other/\", 2, \"e\", \"m\")"));
}

TEST(KeptLines, LinesWithMoreThanOneEqualsSignAreKeptAsRead) {
    const Lines script = {"NewShipType.madeUp==3", "NewShipType.flag = a == b", "if NewShipType.x==1 then end",
                          "NewShipType.buildCost = 5 = 6"};
    Read r = Read::Lines(script);
    EXPECT_EQ(r.doc.UnrecognizedLines(), (Lines{script[0], script[1], script[2]}));
    EXPECT_EQ(r.doc.iBuildCost, 5);
    EXPECT_TRUE(HasLine(r.Written(), script[3]));
    const std::string mass = "NewShipType.mass = a == b";
    Read m = Read::Lines({mass});
    EXPECT_EQ(m.doc.UnrecognizedLines(), Lines{mass});
    EXPECT_EQ(m.doc.ErrorCount(), 1);
}

TEST(KeptLines, TextIsBytes) {
    std::string high;
    for (int c = 128; c < 256; ++c) high += static_cast<char>(c);
    // LF, CR LF and a lone CR each end a line, as they do for Lua.
    const std::string bytes = "NewShipType.displayedName = \"Sch\xf6n\"\r\n" + high + "\r\nodd line" +
                              "\nlone\rcarriage\r\ncr twice\r\r\nlast line without end";
    Read r(bytes);
    EXPECT_EQ(r.doc.sDisplayedName, "Sch\xf6n");
    EXPECT_EQ(r.doc.UnrecognizedLines(),
              (Lines{high, "odd line", "lone", "carriage", "cr twice", "last line without end"}));
    const std::string w = r.Written();
    EXPECT_NE(w.find("NewShipType.displayedName = \"Sch\xf6n\"\r\n"), std::string::npos);
    EXPECT_NE(w.find("\r\n" + high + "\r\nodd line\r\nlone\r\ncarriage\r\ncr twice\r\nlast line without end\r\n"),
              std::string::npos);
    EXPECT_EQ(Normalize(w), w);

    // LF and CR LF ends read alike.
    EXPECT_EQ(Read("a()\nNewShipType.mass = 3\n").Written(), Read("a()\r\nNewShipType.mass = 3\r\n").Written());

    // The split itself, where a line end ends the file or follows another.
    using Views = std::vector<std::string_view>;
    EXPECT_EQ(statements::Lines(""), Views{""});
    EXPECT_EQ(statements::Lines("a\r"), Views{"a"});
    EXPECT_EQ(statements::Lines("a\r\r"), (Views{"a", ""}));
    EXPECT_EQ(statements::Lines("\r\n\n\rb\r\n"), (Views{"", "", "", "b"}));
}

TEST(KeptLines, AnEmptyFileIsOneEmptyLine) {
    Read r("");
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    EXPECT_TRUE(r.doc.UnrecognizedLines().empty());
    EXPECT_TRUE(HasLine(r.Debug(), "UBound(strLines) = 0"));
    EXPECT_TRUE(HasLine(r.Written(), "LoadSharedModel(NewShipType,\"test\")"));
}

TEST(KeptLines, TheSampleScriptComesBackWithNothingLost) {
    const std::string sample = ReadBytes(U8Path(TARVISK_EXAMPLES_DIR) / "tvk_scout.ship");
    ASSERT_FALSE(sample.empty());
    Read r(sample, "tvk_scout.ship");
    EXPECT_EQ(r.doc.ErrorCount(), 0);
    const std::string w = Normalize(sample);
    for (const auto& line : SplitLines(sample)) {
        if (line.empty() || line.rfind("--", 0) == 0) continue;
        const bool evenedOut = line == "NewShipType.mass=14" || line.rfind("LoadSharedModel", 0) == 0;
        EXPECT_TRUE(evenedOut || HasLine(w, line)) << line;
    }
    EXPECT_TRUE(HasLine(w, "NewShipType.mass = 14"));
    EXPECT_TRUE(HasLine(w, "LoadSharedModel(NewShipType,\"Tvk_Pathfinder\")"));
}

// A later line whose value does not convert changes nothing, so the earlier line stays as read.
TEST(KeptLines, ALaterLineThatDoesNotConvertLeavesTheEarlierLineAlone) {
    Read r = Read::Lines({"NewShipType.mass = 2.5", "NewShipType.mass = heavy",
                          "NewShipType.displayedName = \"A\" .. \"B\"", "NewShipType.displayedName = nothing"});
    EXPECT_EQ(r.doc.iMass, 2);
    EXPECT_EQ(r.doc.sDisplayedName, "A");
    const std::string w = r.Written();
    EXPECT_TRUE(HasLine(w, "NewShipType.mass = 2.5"));
    EXPECT_FALSE(HasLine(w, "NewShipType.mass = 2"));
    EXPECT_TRUE(HasLine(w, "NewShipType.displayedName = \"A\" .. \"B\""));
    EXPECT_EQ(r.doc.UnrecognizedLines(), (Lines{"NewShipType.mass = heavy", "NewShipType.displayedName = nothing"}));
    EXPECT_EQ(Normalize(w), w);
    // Two lines that fail and then one that converts: the last one decides, nothing else is kept.
    Read s = Read::Lines({"NewShipType.mass = a", "NewShipType.mass = b", "NewShipType.mass = 4"});
    EXPECT_TRUE(s.doc.UnrecognizedLines().empty());
    EXPECT_EQ(s.doc.iMass, 4);
}

// Removing the first or the last item moves every kept text with its own item.
TEST(KeptLines, KeptTextsStayWithTheirItemsWhenTheFirstOrLastIsRemoved) {
    const Lines weapons = {"StartShipWeaponConfig(NewShipType,\"a\",\"h\",\"f\") -- one",
                           "StartShipWeaponConfig(NewShipType,\"b\",\"h\",\"f\") -- two",
                           "StartShipWeaponConfig(NewShipType,\"c\",\"h\",\"f\") -- three"};
    auto weaponLines = [](const std::string& w) {
        Lines out;
        for (const auto& l : SplitLines(w))
            if (l.rfind("StartShipWeaponConfig", 0) == 0) out.push_back(l);
        return out;
    };
    Read first = Read::Lines(weapons);
    first.doc.SSWC_RemoveItem(0);
    EXPECT_EQ(weaponLines(first.Written()), (Lines{weapons[1], weapons[2]}));
    Read last = Read::Lines(weapons);
    last.doc.SSWC_RemoveItem(2);
    EXPECT_EQ(weaponLines(last.Written()), (Lines{weapons[0], weapons[1]}));
    EXPECT_EQ(last.doc.KeptLineCount(), 2);

    auto salvage = [](const char* name) {
        return std::string("SpawnSalvageOnDeath(NewShipType,\"") + name +
               "\",2.5,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0)";
    };
    Read s = Read::Lines({salvage("x"), salvage("y"), salvage("z")});
    s.doc.SSOD_RemoveItem(0);
    s.doc.SSOD_RemoveItem(1);
    const std::string w = s.Written();
    EXPECT_TRUE(HasLine(w, salvage("y")));
    EXPECT_FALSE(HasLine(w, salvage("x")));
    EXPECT_FALSE(HasLine(w, salvage("z")));
}

// Of two lines for one ability the later decides, and only its text can be kept.
TEST(KeptLines, RepeatedAbilityLines) {
    const std::string odd = "addAbility(NewShipType,\"CanDock\",1,0) -- by hand";
    const std::string canonical = "addAbility(NewShipType, \"CanDock\", 1, 1)";
    // The game makes both calls and keeps the last: both come back in their order, the last one
    // read into the document.
    Read oddFirst = Read::Lines({odd, canonical});
    std::string w = oddFirst.Written();
    EXPECT_LT(w.find(odd), w.find(canonical));
    EXPECT_TRUE(oddFirst.doc.CanDock_ByPlayer);
    Read oddLast = Read::Lines({canonical, odd});
    w = oddLast.Written();
    EXPECT_LT(w.find(canonical), w.find(odd));
    EXPECT_NE(w.find(canonical), std::string::npos);
    EXPECT_FALSE(oddLast.doc.CanDock_ByPlayer);
    // The earlier call keeps its place among the kept lines, before those that came after it.
    w = Normalize(Crlf({odd, "first()", canonical, "second()"}));
    EXPECT_LT(w.find(odd), w.find("first()"));
    EXPECT_LT(w.find("first()"), w.find(canonical));
    EXPECT_LT(w.find(canonical), w.find("second()"));
}

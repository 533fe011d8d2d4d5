#include "app/RecentFiles.h"

#include "FakePrompts.h"

#include <gtest/gtest.h>

namespace {

using Files = std::vector<std::string>;

TEST(RecentFiles, KeepsFourMostRecentFirstAndMovesAnEqualEntryUp) {
    MemorySettings settings;
    RecentFiles recent(settings);
    for (const char* path : {"/p/a.vkp", "/p/b.vkp", "/p/c.vkp", "/p/d.vkp", "/p/e.vkp"})
        recent.Add(path);
    EXPECT_EQ(recent.Files(), (Files{"/p/e.vkp", "/p/d.vkp", "/p/c.vkp", "/p/b.vkp"}));
    recent.Add("/p/x/../c.vkp");
    EXPECT_EQ(recent.Files(), (Files{"/p/c.vkp", "/p/e.vkp", "/p/d.vkp", "/p/b.vkp"}));
    EXPECT_EQ(settings.values.at("Recent File List/File1"), "/p/c.vkp");
    EXPECT_EQ(settings.values.at("Recent File List/File4"), "/p/b.vkp");

    recent.Remove("/p/e.vkp");
    EXPECT_EQ(settings.values.count("Recent File List/File4"), 0U);
    RecentFiles reread(settings);
    reread.Load();
    EXPECT_EQ(reread.Files(), (Files{"/p/c.vkp", "/p/d.vkp", "/p/b.vkp"}));
}

TEST(RecentFiles, LoadSkipsEmptyAndRepeatedValues) {
    MemorySettings settings;
    settings.values = {{"Recent File List/File1", "/a.vkp"},
                       {"Recent File List/File2", ""},
                       {"Recent File List/File3", "/a.vkp"},
                       {"Recent File List/File4", "/b.vkp"}};
    RecentFiles recent(settings);
    recent.Load();
    EXPECT_EQ(recent.Files(), (Files{"/a.vkp", "/b.vkp"}));
}

TEST(RecentFiles, DisplayNameIsRelativeOnlyBelowTheFolder) {
    EXPECT_EQ(RecentFiles::DisplayName("/w/p/A.vkp", "/w"), "p/A.vkp");
    EXPECT_EQ(RecentFiles::DisplayName("/w/A.vkp", "/w/p"), "/w/A.vkp");
    EXPECT_EQ(RecentFiles::DisplayName("/other/A.vkp", "/w"), "/other/A.vkp");
}

} // namespace

TEST(RecentFiles, CarryOverCopiesTheFourEntriesOfTheOldPlaceOnly) {
    MemorySettings old, fresh;
    old.values = {{"Recent File List/File1", "/old/a.vkp"},
                  {"Recent File List/File3", "/old/c.vkp"},
                  {"Recent File List/File5", "/old/e.vkp"},
                  {"Settings/Other", "x"}};
    EXPECT_EQ(CarryOverRecentFiles(old, fresh), 2);
    EXPECT_EQ(fresh.values,
              (std::map<std::string, std::string>{{"Recent File List/File1", "/old/a.vkp"},
                                                  {"Recent File List/File3", "/old/c.vkp"}}));
    RecentFiles recent(fresh);
    recent.Load();
    EXPECT_EQ(recent.Files(), (Files{"/old/a.vkp", "/old/c.vkp"}));
    MemorySettings none, untouched;
    EXPECT_EQ(CarryOverRecentFiles(none, untouched), 0);
    EXPECT_TRUE(untouched.values.empty());
}

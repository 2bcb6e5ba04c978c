#include "../loader/TestWad.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace {

// --maps lists a WAD's maps, finds a bare name in DOOMWADDIR, and refuses a
// damaged file or a name found nowhere with one line and status 2.
TEST(WadMapsTool, ListsTheMapsOrRefusesWithOneLine) {
    const std::filesystem::path scratch = toolScratch();
    const std::filesystem::path folder = scratch / "wads";
    std::filesystem::create_directories(folder);
    WadMap second = wad_bytes::squareRoom("MAP02");
    second.things.push_back({10, 10, 0, 3004, 7});
    TestWad().map(wad_bytes::squareRoom("MAP01")).map(second).write((folder / "good.wad").string());
    second.linedefs[1].start = 7;
    TestWad().map(second).write((folder / "bad.wad").string());
    ASSERT_EQ(setenv("DOOMWADDIR", folder.string().c_str(), 1), 0);
    unsetenv("DOOMWADPATH");

    struct Case {
        const char* arguments;
        int status;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"--maps wads/good.wad", 0,
         "MAP01 sectors 1 lines 4 things 1\nMAP02 sectors 1 lines 4 things 2\n", ""},
        {"--maps good.wad", 0,
         "MAP01 sectors 1 lines 4 things 1\nMAP02 sectors 1 lines 4 things 2\n", ""},
        {"--maps wads/bad.wad", 2, "",
         "duskhall-render: wads/bad.wad: MAP02 LINEDEFS: linedef 1 names vertex 7 (the map has "
         "4)\n"},
        {"--maps nosuch.wad", 2, "",
         "duskhall-render: nosuch.wad: not found in the working folder, " + folder.string() +
             ", /usr/share/games/doom, /usr/local/share/games/doom, /usr/share/doom, "
             "/usr/local/share/doom (Debian's freedoom package installs freedoom1.wad and "
             "freedoom2.wad)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
    unsetenv("DOOMWADDIR");
}

// Debian's freedoom WADs by name, from a folder that does not hold them.
TEST(WadMapsTool, FindsAndListsTheFreedoomWadsByName) {
    if (!std::filesystem::exists("/usr/share/games/doom/freedoom1.wad") ||
        !std::filesystem::exists("/usr/share/games/doom/freedoom2.wad")) {
        GTEST_SKIP() << "the freedoom package is not installed (/usr/share/games/doom)";
    }
    unsetenv("DOOMWADDIR");
    unsetenv("DOOMWADPATH");
    for (const auto& [name, maps, first] : {std::tuple{"freedoom1.wad", 36, "E1M1 sectors "},
                                            std::tuple{"freedoom2.wad", 32, "MAP01 sectors "}}) {
        const ToolRun run = runTool(std::string("--maps ") + name);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), maps) << name;
        EXPECT_EQ(run.out.rfind(first, 0), 0u) << run.out;
    }
}

} // namespace

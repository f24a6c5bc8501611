// Where the game reads and writes: the ready-to-run folder for both, or the
// installed data folder and the player folder under XDG_DATA_HOME.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "fakes/TestFolder.h"
#include "platform/Folders.h"

namespace fs = std::filesystem;

namespace {

struct XdgCase {
    std::string name;
    const char* xdgDataHome;   // nullptr: unset
    const char* xdgCacheHome;  // nullptr: unset
    std::string player;        // expected, "~" standing for the home folder
    std::string cache;
};

void PrintTo(const XdgCase& c, std::ostream* os) { *os << c.name; }

class InstalledGame : public ::testing::TestWithParam<XdgCase> {};

TEST_P(InstalledGame, ReadsBesideTheExecutableAndWritesInThePlayersHome) {
    ScratchFolder root;
    fs::create_directories(root.File("usr/games"));
    const Folders f = ChooseFolders(root.File("usr/games/"), "../share/games/vesk", GetParam().xdgDataHome,
                                    "/home/ann", GetParam().xdgCacheHome);
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.data, root.File("usr/share/games/vesk"));
    const auto home = [](std::string expected) {
        return expected.rfind("~", 0) == 0 ? "/home/ann" + expected.substr(1) : expected;
    };
    EXPECT_EQ(f.player, home(GetParam().player));
    EXPECT_EQ(f.cache, home(GetParam().cache));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, InstalledGame,
    ::testing::Values(XdgCase{"XdgUnset", nullptr, nullptr, "~/.local/share/vesk", "~/.cache/vesk"},
                      XdgCase{"XdgEmpty", "", "", "~/.local/share/vesk", "~/.cache/vesk"},
                      XdgCase{"XdgRelativeIsIgnored", "data/here", "cache", "~/.local/share/vesk", "~/.cache/vesk"},
                      XdgCase{"XdgSet", "/srv/ann/data", "/srv/ann/cache", "/srv/ann/data/vesk", "/srv/ann/cache/vesk"},
                      XdgCase{"XdgSetWithTrailingSlash", "/srv/ann/data/", "/var/cache/ann/", "/srv/ann/data/vesk",
                              "/var/cache/ann/vesk"}),
    [](const auto& info) { return info.param.name; });

TEST(Folders, TheReadyToRunFolderIsBothHomesWhateverTheEnvironment) {
    TestFolder game;
    const Folders f = ChooseFolders(game.Path(), "../share/games/vesk", "/srv/ann/data", "/home/ann");
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.data, game.Path());
    EXPECT_EQ(f.player, game.Path());
    EXPECT_EQ(f.cache, (fs::path(game.Path()) / "cache").string());
}

TEST(Folders, AFolderWithoutThePicturesIsNotReadyToRunOneWithoutTheDealsIs) {
    TestFolder game;
    EXPECT_TRUE(IsReadyToRunFolder(game.Path()));
    // Without its deals the folder still plays (random 2x2 deals).
    game.Remove("Shuffle.txt");
    EXPECT_TRUE(IsReadyToRunFolder(game.Path()));
    EXPECT_FALSE(ChooseFolders(game.Path(), "../share/games/vesk", nullptr, "/home/ann").installed);
    game.WriteText("Shuffle.txt", "0 1 1 1 1 0 0 0\n");
    fs::remove_all(game.File("Tex"));
    game.WriteText("Tex", "a file, not a folder");
    EXPECT_FALSE(IsReadyToRunFolder(game.Path()));
    EXPECT_TRUE(ChooseFolders(game.Path(), "../share/games/vesk", nullptr, "/home/ann").installed);
}

TEST(Folders, NoHomeAndNoUsableXdgGivesNoPlayerFolder) {
    EXPECT_EQ(InstalledPlayerFolder("relative", nullptr), "");
    EXPECT_EQ(InstalledPlayerFolder(nullptr, ""), "");
}

TEST(Folders, AnUnknownExecutableFolderMeansTheWorkingDirectory) {
    const Folders f = ChooseFolders("", "../share/games/vesk", nullptr, "/home/ann");
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.data, "");
    EXPECT_EQ(f.player, "");
}

TEST(Folders, ThePlayerFolderIsMadeWithPrivateParents) {
    ScratchFolder home;
    const std::string player = home.File(".local/share/vesk");
    ASSERT_TRUE(MakePrivateFolder(player));
    for (const std::string& made : {home.File(".local"), home.File(".local/share"), player}) {
        struct stat st {};
        ASSERT_EQ(stat(made.c_str(), &st), 0) << made;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
    }
    EXPECT_TRUE(MakePrivateFolder(player));  // there already
    std::ofstream(home.File("file")) << "x";
    EXPECT_FALSE(MakePrivateFolder(home.File("file/vesk")));
    EXPECT_FALSE(MakePrivateFolder(home.File("file")));
}

}  // namespace

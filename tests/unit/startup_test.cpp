// Every way the start-up can fail: the message, what is released, the exit
// status, and that no window is shown and no frame runs.
#include <gtest/gtest.h>

#include <memory>

#include "app/FrameLoop.h"
#include "app/Game.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "fakes/TestFolder.h"

namespace {

// Notes what the game holds when a message is shown, and what it holds when
// the process ends.
class StartPlatform : public FakePlatform {
public:
    std::vector<std::weak_ptr<Surface>> heldAtMessage;
    bool imagesHeldAtExit = true;
    int framesWaited = 0;

    void ShowMessage(const std::string& text, const std::string& caption) override {
        FakePlatform::ShowMessage(text, caption);
        if (!gameInstance) return;
        Game& g = *gameInstance;
        for (const SurfacePtr* image : {&g.pictureFull[0], &g.pictureFull[1], &g.pictureFull[2], &g.menuShuffle,
                                        &g.menuHelp, &g.menuExit, &g.backgroundImage, &g.tileImage[0][0]}) {
            if (*image) heldAtMessage.push_back(*image);
        }
    }
    void ExitProcess(int status, bool runExitHandlers) override {
        if (gameInstance) {
            Game& g = *gameInstance;
            imagesHeldAtExit = g.pictureFull[0] || g.menuShuffle || g.menuHelp || g.primarySurface ||
                               g.backSurface;
        }
        FakePlatform::ExitProcess(status, runExitHandlers);
    }
    void WaitUntil(uint32_t start, uint32_t ms) override {
        if (++framesWaited > 100) throw std::runtime_error("the loop ran");
        FakePlatform::WaitUntil(start, ms);
    }
};

class StartUp : public ::testing::Test {
protected:
    ProcessExit RunToExit() {
        try {
            VeskMain(platform, audio);
        } catch (const ProcessExit& e) {
            return e;
        }
        ADD_FAILURE() << "the start-up did not end the process";
        return {};
    }
    bool Called(const std::string& call) const {
        return std::find(platform.calls.begin(), platform.calls.end(), call) != platform.calls.end();
    }
    // Nothing was shown to the player and no frame ran.
    void ExpectNoWindowNoFrame() const {
        EXPECT_FALSE(Called("ShowMainWindow"));
        EXPECT_EQ(platform.presentCount, 0);
        EXPECT_EQ(platform.framesWaited, 0);
    }

    TestFolder folder;
    StartPlatform platform;
    FakeAudio audio;
};

TEST_F(StartUp, EachDisplayStepHasItsMessageAndEndsWithMinus1) {
    const std::pair<DisplayStep, const char*> steps[] = {
        {DisplayStep::Create, "DirectDraw create failed"},
        {DisplayStep::QueryInterface, "Querry interface failed"},
        {DisplayStep::Cooperative, "Set cooperative level failed"},
        {DisplayStep::DisplayMode, "Can't set suitable display mode"},
        {DisplayStep::FrontSurface, "Create Front Surface failed"},
        {DisplayStep::BackSurface, "Create Back Surface failed"},
    };
    for (const auto& [step, text] : steps) {
        StartPlatform machine;
        FakeAudio sound;
        machine.displayFailure = step;
        try {
            VeskMain(machine, sound);
            ADD_FAILURE() << text << ": no exit";
        } catch (const ProcessExit& e) {
            EXPECT_EQ(e.status, -1) << text;
            EXPECT_FALSE(e.ranExitHandlers) << text;
        }
        ASSERT_EQ(machine.shownMessages.size(), 1u) << text;
        EXPECT_EQ(machine.shownMessages[0].text, text);
        EXPECT_EQ(machine.shownMessages[0].caption, "InitDirectDraw failed");
        EXPECT_FALSE(std::count(machine.calls.begin(), machine.calls.end(), "ShowMainWindow")) << text;
        EXPECT_FALSE(std::count(machine.calls.begin(), machine.calls.end(), "OpenKeyboard")) << text;
        EXPECT_EQ(machine.presentCount, 0) << text;
        EXPECT_TRUE(sound.calls.empty()) << text;  // no sound was started
    }
}

TEST_F(StartUp, AMissingImageEndsWithMinus1AfterReleasingTheImagesBefore) {
    folder.Remove("Tex/Menu/Exit.Tex");
    const ProcessExit exit = RunToExit();
    EXPECT_EQ(exit.status, -1);
    EXPECT_FALSE(exit.ranExitHandlers);
    ASSERT_EQ(platform.shownMessages.size(), 1u);
    EXPECT_EQ(platform.shownMessages[0].text, "Can't Load Tex\\Menu\\Exit.Tex! Game is Exiting!!");
    EXPECT_EQ(platform.shownMessages[0].caption, "DirectDraw");
    // The pictures and the menu images before Exit.Tex had been loaded...
    EXPECT_EQ(platform.heldAtMessage.size(), 5u);
    // ...and were let go by the teardown, display included, before the end.
    EXPECT_FALSE(platform.imagesHeldAtExit);
    for (const auto& image : platform.heldAtMessage) EXPECT_TRUE(image.expired());
    EXPECT_TRUE(Called("CloseDisplay"));
    ExpectNoWindowNoFrame();
}

TEST_F(StartUp, AnImageThatIsNoBitmapIsTreatedAsMissing) {
    folder.WriteText("Tex/Background.Tex", "not a bitmap");
    const ProcessExit exit = RunToExit();
    EXPECT_EQ(exit.status, -1);
    ASSERT_EQ(platform.shownMessages.size(), 1u);
    EXPECT_EQ(platform.shownMessages[0].text, "Can't Load Tex\\Background.Tex! Game is Exiting!!");
    EXPECT_EQ(platform.shownMessages[0].caption, "DirectDraw");
    ExpectNoWindowNoFrame();
}

TEST_F(StartUp, NoMusicEndsQuietlyWith0WithoutAFrame) {
    audio.missing = {"BkGnd.mus"};
    EXPECT_EQ(VeskMain(platform, audio), 0);
    ASSERT_EQ(platform.shownMessages.size(), 1u);
    EXPECT_EQ(platform.shownMessages[0].text, "BkGnd.mus not found,  Program will now quit");
    EXPECT_EQ(platform.shownMessages[0].caption, "BkGnd Music");
    EXPECT_EQ(std::count(audio.calls.begin(), audio.calls.end(), "LoadEffect Button.aud"), 0);
    EXPECT_FALSE(Called("OpenKeyboard"));
    ExpectNoWindowNoFrame();
    EXPECT_EQ(gameInstance, nullptr);
}

TEST_F(StartUp, AMissingEffectEndsWith0AndLoadsNothingAfterIt) {
    for (const char* missing : {"Button.aud", "Tile.aud", "Success.aud"}) {
        StartPlatform machine;
        FakeAudio sound;
        sound.missing = {missing};
        EXPECT_EQ(VeskMain(machine, sound), 0) << missing;
        ASSERT_EQ(machine.shownMessages.size(), 1u) << missing;
        EXPECT_EQ(machine.shownMessages[0].text, "Media not found, sample will now quit");
        EXPECT_EQ(machine.shownMessages[0].caption, "Game");
        // The effects are tried in order, up to the one that failed.
        std::vector<std::string> tried;
        for (const std::string& call : sound.calls) {
            if (call.rfind("LoadEffect ", 0) == 0) tried.push_back(call.substr(11));
        }
        EXPECT_EQ(tried.back(), missing);
        EXPECT_FALSE(std::count(machine.calls.begin(), machine.calls.end(), "OpenKeyboard")) << missing;
        EXPECT_FALSE(std::count(machine.calls.begin(), machine.calls.end(), "ShowMainWindow")) << missing;
        EXPECT_EQ(machine.presentCount, 0) << missing;
    }
}

TEST_F(StartUp, AKeyboardThatCannotBeHadEndsQuietlyWith0) {
    platform.openKeyboardStatus = kErrFail;
    EXPECT_EQ(VeskMain(platform, audio), 0);
    EXPECT_TRUE(platform.shownMessages.empty());
    ExpectNoWindowNoFrame();
    // Nothing is released on this path.
    EXPECT_FALSE(Called("CloseDisplay"));
}

TEST_F(StartUp, AKeyboardNotImplementedIsAlsoQuiet) {
    platform.openKeyboardStatus = kErrNotImpl;
    EXPECT_EQ(VeskMain(platform, audio), 0);
    EXPECT_TRUE(platform.shownMessages.empty());
    ExpectNoWindowNoFrame();
}

TEST_F(StartUp, AllThereRunsFramesUntilQuit) {
    platform.messages = {Message::Destroy};
    EXPECT_EQ(VeskMain(platform, audio), 0);
    EXPECT_TRUE(platform.shownMessages.empty());
    EXPECT_TRUE(Called("ShowMainWindow"));
    EXPECT_EQ(platform.framesWaited, 2);
}

}  // namespace

// The player's photos prepared in the background: the cache (a damaged or
// stale entry is prepared again, a second start prepares nothing), the first
// frames before any photo is ready, the wait for a photo chosen early, and
// an ending in the middle of a slow read.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/FrameLoop.h"
#include "fakes/FakePictureReader.h"
#include "fakes/GameHarness.h"
#include "pictures/PhotoCache.h"
#include "platform/Paths.h"

namespace {

namespace fs = std::filesystem;
using testart::To565;
using SteadyClock = std::chrono::steady_clock;

constexpr uint16_t kFirstColour = 0x1234;
constexpr uint16_t kSecondColour = 0xC618;

// Photo files: the fake reads none of their bytes, the cache keys on them.
void WritePhotos(const TestFolder& folder, int count) {
    fs::create_directories(folder.File("Pictures"));
    for (int k = 0; k < count; ++k) {
        folder.WriteText("Pictures/photo" + std::to_string(k) + ".jpg", "photo " + std::to_string(k) + "\n");
    }
}

std::string PhotoPath(const TestFolder& folder, int k) {
    return fs::absolute(folder.File("Pictures/photo" + std::to_string(k) + ".jpg")).lexically_normal().string();
}

std::string EntryOf(const TestFolder& folder, int k) { return PhotoEntryPath(CacheFolder(), PhotoPath(folder, k)); }

bool AllOf(const SurfacePtr& image, uint16_t colour) {
    if (!image) return false;
    for (int y = 0; y < image->Height(); ++y) {
        for (int x = 0; x < image->Width(); ++x) {
            if (image->Pixel(x, y) != colour) return false;
        }
    }
    return true;
}

// A later start of the game on the same folders, with a reader of its own.
struct NextStart {
    explicit NextStart(std::shared_ptr<FakePictureReader> r) : reader(std::move(r)), game(platform, audio) {
        game.pictureReader = reader;
        game.photoWaitMs = 10000;
        game.LoadResources();
        EXPECT_TRUE(game.photoShelf.WaitDone(20000));
        game.TakePhotoNews();
    }
    std::shared_ptr<FakePictureReader> reader;
    FakePlatform platform;
    FakeAudio audio;
    Game game;
};

void FlipByte(const std::string& path, std::streamoff at) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekg(at);
    const char c = static_cast<char>(f.get() ^ 0x5A);
    f.seekp(at);
    f.put(c);
}

struct Spoiling {
    const char* name;
    std::function<void(const std::string& entry, const std::string& photo)> spoil;
    bool thumbAgain;  // the thumbnail is made again too (else only the whole picture)
};

void PrintTo(const Spoiling& s, std::ostream* out) { *out << s.name; }

class SpoiltEntry : public ::testing::TestWithParam<Spoiling> {};

TEST_P(SpoiltEntry, IsPreparedAgainAndNeverShown) {
    GameHarness h(false);
    auto first = std::make_shared<FakePictureReader>();
    first->colour = kFirstColour;
    h.game.pictureReader = first;
    WritePhotos(h.folder, 1);
    h.game.LoadResources();
    h.WaitForPhotos();
    ASSERT_EQ(first->reads, 1);
    ASSERT_TRUE(fs::exists(EntryOf(h.folder, 0)));
    GetParam().spoil(EntryOf(h.folder, 0), PhotoPath(h.folder, 0));

    auto second = std::make_shared<FakePictureReader>();
    second->colour = kSecondColour;
    NextStart next(second);
    ASSERT_EQ(next.game.PictureCount(), 4);
    EXPECT_EQ(second->reads, GetParam().thumbAgain ? 1 : 0);
    EXPECT_TRUE(AllOf(next.game.pictureThumb[3], GetParam().thumbAgain ? kSecondColour : kFirstColour));
    next.game.ChoosePicture(3);
    EXPECT_EQ(next.game.pictureIndex, 3);
    EXPECT_EQ(second->reads, 1);
    EXPECT_TRUE(AllOf(next.game.currentPicture, kSecondColour));
    // The entry is whole again: a third start reads nothing.
    NextStart third(std::make_shared<FakePictureReader>());
    EXPECT_EQ(third.reader->reads, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cache, SpoiltEntry,
    ::testing::Values(
        Spoiling{"ThumbnailByte",
                 [](const std::string& entry, const std::string&) {
                     FlipByte(entry, static_cast<std::streamoff>(fs::file_size(entry)) - 4 - 500 * 500 * 2 - 4 - 99);
                 },
                 true},
        Spoiling{"PictureByte",
                 [](const std::string& entry, const std::string&) {
                     FlipByte(entry, static_cast<std::streamoff>(fs::file_size(entry)) - 1001);
                 },
                 false},
        Spoiling{"HeaderByte", [](const std::string& entry, const std::string&) { FlipByte(entry, 9); }, true},
        Spoiling{"CutShort",
                 [](const std::string& entry, const std::string&) { fs::resize_file(entry, fs::file_size(entry) - 1); },
                 true},
        Spoiling{"PhotoRewritten",
                 [](const std::string&, const std::string& photo) {
                     std::ofstream(photo, std::ios::binary) << "another photo, longer than the first\n";
                 },
                 true},
        Spoiling{"PhotoTouched",
                 [](const std::string&, const std::string& photo) {
                     fs::last_write_time(photo, fs::last_write_time(photo) + std::chrono::seconds(3));
                 },
                 true}),
    [](const ::testing::TestParamInfo<Spoiling>& info) { return std::string(info.param.name); });

TEST(Photos, TheSecondStartPreparesNothingAndTheCacheForgetsPhotosGone) {
    GameHarness h(false);
    auto first = std::make_shared<FakePictureReader>();
    first->colour = kFirstColour;
    h.game.pictureReader = first;
    WritePhotos(h.folder, 3);
    h.game.LoadResources();
    h.WaitForPhotos();
    EXPECT_EQ(first->reads, 3);
    const std::string goneEntry = EntryOf(h.folder, 1);
    ASSERT_TRUE(fs::exists(goneEntry));
    h.folder.Remove("Pictures/photo1.jpg");

    NextStart next(std::make_shared<FakePictureReader>());
    EXPECT_EQ(next.reader->reads, 0);
    EXPECT_EQ(next.reader->probes, 0);
    ASSERT_EQ(next.game.PictureCount(), 5);
    for (int k : {3, 4}) EXPECT_TRUE(AllOf(next.game.pictureThumb[k], kFirstColour)) << k;
    next.game.ChoosePicture(3);
    next.game.ChoosePicture(4);
    EXPECT_TRUE(AllOf(next.game.currentPicture, kFirstColour));
    EXPECT_EQ(next.reader->reads, 0);
    // Only the chosen photo's whole picture is held by the game.
    EXPECT_FALSE(next.game.pictureFull[3]);
    EXPECT_FALSE(fs::exists(goneEntry));
    EXPECT_TRUE(fs::exists(EntryOf(h.folder, 0)));
}

TEST(Photos, ThePreviewShowsBeforeAnyIsPreparedAndAPhotoChosenEarlyIsWaitedForWithThePointerMoving) {
    GameHarness h(false);
    auto reader = std::make_shared<FakePictureReader>();
    reader->slow = true;
    h.game.pictureReader = reader;
    h.game.photoWaitMs = 0;
    WritePhotos(h.folder, 5);
    h.game.LoadResources();
    ASSERT_EQ(h.game.PictureCount(), 8);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenPreview);
    EXPECT_EQ(h.Shown(50 + 120, 50 + 80), To565(testart::PicturePixel(0, 120, 80)));
    ASSERT_TRUE(reader->WaitForRead(5000));
    EXPECT_FALSE(h.game.pictureThumb[3]);

    h.game.screen = ScreenOptions;
    h.game.ChoosePicture(5);
    EXPECT_EQ(h.game.screen, ScreenPreparing);
    for (Point at : {Point{120, 100}, Point{400, 160}}) {
        h.platform.cursor = at;
        h.Frame();
        EXPECT_EQ(h.Shown(300, 300), To565(testart::kPreparing));
        EXPECT_EQ(h.Shown(at.x + 2, at.y + 2) >> 11, To565(testart::kPointer) >> 11) << at.x;
    }
    // S deals nothing while there is no picture to deal.
    h.platform.Press(KeyPress::Shuffle);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenPreparing);

    reader->slow = false;
    const auto deadline = SteadyClock::now() + std::chrono::seconds(10);
    while (h.game.screen == ScreenPreparing && SteadyClock::now() < deadline) h.Frame();
    EXPECT_EQ(h.game.screen, ScreenOptions);
    EXPECT_EQ(h.game.pictureIndex, 5);
    EXPECT_TRUE(AllOf(h.game.currentPicture, reader->colour));
}

// The machine of a run that ends, in one of the ways a player ends it, as
// soon as the (slow) reader has begun a photo.
class EndingPlatform : public FakePlatform {
public:
    std::shared_ptr<FakePictureReader> reader = std::make_shared<FakePictureReader>();
    std::function<bool(FakePlatform&, Message&)> ending;
    SteadyClock::time_point endedAt{};
    int frames = 0;

    bool CreateMainWindow() override {
        reader->slow = true;
        gameInstance->pictureReader = reader;
        return FakePlatform::CreateMainWindow();
    }
    bool PeekMessage(Message& out) override {
        if (++frames == 2) {
            EXPECT_TRUE(reader->WaitForRead(5000));
            endedAt = SteadyClock::now();
            if (ending(*this, out)) return true;
        }
        if (frames > 1000) throw std::runtime_error("the run did not end");
        return FakePlatform::PeekMessage(out);
    }
};

struct Ending {
    const char* name;
    std::function<bool(FakePlatform&, Message&)> end;
};

void PrintTo(const Ending& e, std::ostream* out) { *out << e.name; }

class EndDuringARead : public ::testing::TestWithParam<Ending> {};

TEST_P(EndDuringARead, EndsTheGameWithinASecondAndTheReadGivesUp) {
    TestFolder folder;
    WritePhotos(folder, 3);
    EndingPlatform platform;
    platform.ending = GetParam().end;
    FakeAudio audio;
    try {
        VeskMain(platform, audio);
    } catch (const ProcessExit&) {
    }
    const auto took = SteadyClock::now() - platform.endedAt;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 1000);
    // Given up, not left running: no photo was prepared.
    EXPECT_EQ(platform.reader->stopped, 1);
    EXPECT_EQ(platform.reader->reads, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, EndDuringARead,
    ::testing::Values(
        // SIGTERM, SIGINT and the window closed all come as Destroy.
        Ending{"SignalOrWindowClosed",
               [](FakePlatform&, Message& out) {
                   out = Message::Destroy;
                   return true;
               }},
        Ending{"Escape",
               [](FakePlatform& p, Message&) {
                   p.Press(KeyPress::Escape);
                   return false;
               }},
        Ending{"SwitchedAway",
               [](FakePlatform&, Message& out) {
                   out = Message::KillFocus;
                   return true;
               }}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

}  // namespace

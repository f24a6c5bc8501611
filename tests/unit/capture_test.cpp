// Screen captures: the bytes of the file, the numbering that never
// overwrites, the writer's accepted formats and result codes, and a capture
// that cannot be written leaving nothing behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>

#include "capture/Capture.h"
#include "fakes/TestFolder.h"
#include "gfx/Surface.h"
#include "platform/Paths.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

// Blue, green, red of frame pixel (x, y) in a capture file of 800 x 600.
std::array<uint8_t, 3> FilePixel(const std::vector<uint8_t>& file, int x, int y) {
    const size_t at = 54 + static_cast<size_t>(599 - y) * 2400 + 3 * static_cast<size_t>(x);
    return {file[at], file[at + 1], file[at + 2]};
}

// A frame whose pixels say where they are, with a few marked spots.
Surface KnownFrame() {
    Surface frame(800, 600);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) frame.SetPixel(x, y, static_cast<uint16_t>((x * 7 + y * 131) & 0xFFFF));
    }
    frame.SetPixel(0, 0, 0xF800);      // pure red, top left
    frame.SetPixel(799, 0, 0x07E0);    // pure green, top right
    frame.SetPixel(0, 599, 0x001F);    // pure blue, bottom left
    frame.SetPixel(799, 599, 0xFFFF);  // white, bottom right
    frame.SetPixel(400, 300, Rgb565(0x80, 0x40, 0x20));
    return frame;
}

namespace fs = std::filesystem;

// The GAME<n>.bmp files of the folder, and the temporary files of captures.
std::vector<std::string> Captures(const TestFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("GAME", 0) == 0 && name.size() > 8 && name.substr(name.size() - 4) == ".bmp") names.push_back(name);
    }
    return names;
}
int PartFiles(const TestFolder& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder.Path())) count += entry.path().extension() == ".part";
    return count;
}

class Capture : public ::testing::Test {
protected:
    void SetUp() override { ResetCaptureCounter(); }
    TestFolder folder;
};

TEST_F(Capture, FileHeaderAndBitmapHeaderAreTheBitmapLayout) {
    CaptureScreen(KnownFrame());
    const std::vector<uint8_t> file = ReadFile(folder.File("GAME0.bmp"));
    ASSERT_EQ(file.size(), 1440054u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), 1440054u);  // bfSize
    EXPECT_EQ(U16(file, 6), 0);         // reserved
    EXPECT_EQ(U16(file, 8), 0);
    EXPECT_EQ(U32(file, 10), 54u);      // bfOffBits
    EXPECT_EQ(U32(file, 14), 40u);      // biSize
    EXPECT_EQ(U32(file, 18), 800u);     // biWidth
    EXPECT_EQ(U32(file, 22), 600u);     // biHeight, positive: bottom-up
    EXPECT_EQ(U16(file, 26), 1);        // biPlanes
    EXPECT_EQ(U16(file, 28), 24);       // biBitCount
    EXPECT_EQ(U32(file, 30), 0u);       // BI_RGB
    EXPECT_EQ(U32(file, 34), 1440000u); // biSizeImage
    for (size_t at : {38u, 42u, 46u, 50u}) EXPECT_EQ(U32(file, at), 0u) << at;
}

TEST_F(Capture, RowsAreStoredBottomFirstAsBlueGreenRed) {
    const Surface frame = KnownFrame();
    CaptureScreen(frame);
    const std::vector<uint8_t> file = ReadFile(folder.File("GAME0.bmp"));
    ASSERT_EQ(file.size(), 1440054u);
    using P = std::array<uint8_t, 3>;
    EXPECT_EQ(FilePixel(file, 0, 0), (P{0x00, 0x00, 0xFF}));
    EXPECT_EQ(FilePixel(file, 799, 0), (P{0x00, 0xFF, 0x00}));
    EXPECT_EQ(FilePixel(file, 0, 599), (P{0xFF, 0x00, 0x00}));
    EXPECT_EQ(FilePixel(file, 799, 599), (P{0xFF, 0xFF, 0xFF}));
    // 5-6-5 (16, 16, 4) widened to 8 bits each.
    EXPECT_EQ(FilePixel(file, 400, 300), (P{0x21, 0x41, 0x84}));
    // The very first pixel bytes of the file are the bottom-left pixel.
    EXPECT_EQ(file[54], 0xFF);
    EXPECT_EQ(file[55], 0x00);
    EXPECT_EQ(file[56], 0x00);
    // Every pixel, against the widening rule.
    int wrong = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const uint16_t p = frame.Pixel(x, y);
            const uint8_t r5 = p >> 11, g6 = (p >> 5) & 0x3F, b5 = p & 0x1F;
            const P want{static_cast<uint8_t>(b5 << 3 | b5 >> 2), static_cast<uint8_t>(g6 << 2 | g6 >> 4),
                         static_cast<uint8_t>(r5 << 3 | r5 >> 2)};
            if (FilePixel(file, x, y) != want) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Capture, NumbersFollowOnFromZero) {
    const Surface frame = KnownFrame();
    EXPECT_EQ(CaptureCounter(), 0);
    CaptureScreen(frame);
    CaptureScreen(frame);
    CaptureScreen(frame);
    EXPECT_TRUE(folder.Exists("GAME0.bmp"));
    EXPECT_TRUE(folder.Exists("GAME1.bmp"));
    EXPECT_TRUE(folder.Exists("GAME2.bmp"));
    EXPECT_FALSE(folder.Exists("GAME3.bmp"));
    EXPECT_EQ(CaptureCounter(), 3);
}

TEST_F(Capture, AnEarlierCaptureIsNeverOverwritten) {
    folder.WriteText("GAME0.bmp", "a capture of an earlier run");
    folder.WriteText("GAME1.bmp", "another one");
    folder.WriteText("GAME3.bmp", "and one more");
    const Surface frame = KnownFrame();
    CaptureScreen(frame);
    CaptureScreen(frame);
    EXPECT_EQ(folder.ReadText("GAME0.bmp"), "a capture of an earlier run");
    EXPECT_EQ(folder.ReadText("GAME1.bmp"), "another one");
    EXPECT_EQ(folder.ReadText("GAME3.bmp"), "and one more");
    EXPECT_EQ(ReadFile(folder.File("GAME2.bmp")).size(), 1440054u);
    EXPECT_EQ(ReadFile(folder.File("GAME4.bmp")).size(), 1440054u);
    EXPECT_EQ(CaptureCounter(), 5);
}

TEST_F(Capture, GoesToThePlayerFolderAndSaysWhereOnStdout) {
    ScratchFolder player;
    SetPlayerFolder(player.Path());
    testing::internal::CaptureStdout();
    CaptureScreen(KnownFrame());
    const std::string said = testing::internal::GetCapturedStdout();
    SetPlayerFolder(folder.Path());
    EXPECT_EQ(ReadFile(player.File("GAME0.bmp")).size(), 1440054u);
    EXPECT_FALSE(folder.Exists("GAME0.bmp"));
    EXPECT_EQ(said, "Saved " + player.File("GAME0.bmp") + "\n");
}

TEST_F(Capture, AFolderThatCannotBeWrittenCostsTheNumberAndNothingElse) {
    const std::string gone = folder.File("no-such-folder");
    SetGameFolder(gone);
    CaptureScreen(KnownFrame());
    SetGameFolder(folder.Path());
    EXPECT_EQ(CaptureCounter(), 1);
    EXPECT_FALSE(folder.Exists("no-such-folder"));
    CaptureScreen(KnownFrame());
    EXPECT_TRUE(folder.Exists("GAME1.bmp"));
}

TEST_F(Capture, AWriteCutShortLeavesNoPartialFile) {
    // Files may grow to 100000 bytes only: the write of the pixels fails.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    CaptureScreen(KnownFrame());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(folder.Exists("GAME0.bmp"));
    EXPECT_EQ(CaptureCounter(), 1);
    EXPECT_TRUE(Captures(folder).empty());
    EXPECT_EQ(PartFiles(folder), 0);
}

TEST_F(Capture, ACaptureKilledMidWriteNeverShowsAsACapture) {
    const Surface frame = KnownFrame();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (;;) CaptureScreen(frame);
    }
    // Killed while a capture is on its way to the disk.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (PartFiles(folder) == 0 && std::chrono::steady_clock::now() < deadline) {
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_GT(PartFiles(folder), 0) << "no capture was under way in 20 s";
    for (const std::string& name : Captures(folder)) {
        EXPECT_EQ(ReadFile(folder.File(name)).size(), 1440054u) << name;
    }
    // The next run's capture is whole, and the stale temporary is not taken for one.
    const size_t before = Captures(folder).size();
    CaptureScreen(frame);
    EXPECT_EQ(Captures(folder).size(), before + 1);
    for (const std::string& name : Captures(folder)) {
        EXPECT_EQ(ReadFile(folder.File(name)).size(), 1440054u) << name;
    }
}

TEST(DibFormat, AcceptedBitCountsAndCompressions) {
    struct Row {
        uint16_t bits;
        uint32_t compression;
        bool accepted;
        uint16_t bitsUsed;
        uint32_t compressionUsed;
    };
    const Row table[] = {
        {0, kBiRle4, true, 4, kBiRle4}, {0, kBiRle8, true, 8, kBiRle8}, {0, kBiRgb, false, 0, 0},
        {1, kBiRgb, true, 1, kBiRgb},   {1, kBiRle8, false, 0, 0},      {1, kBiRle4, false, 0, 0},
        {4, kBiRgb, true, 4, kBiRgb},   {4, kBiRle4, true, 4, kBiRle4}, {4, kBiRle8, false, 0, 0},
        {8, kBiRgb, true, 8, kBiRgb},   {8, kBiRle8, true, 8, kBiRle8}, {8, kBiRle4, false, 0, 0},
        {24, kBiRgb, true, 24, kBiRgb}, {24, kBiRle8, false, 0, 0},     {24, kBiRle4, false, 0, 0},
        {16, kBiRgb, false, 0, 0},      {32, kBiRgb, false, 0, 0},      {2, kBiRgb, false, 0, 0},
        {24, 3, false, 0, 0},
    };
    for (const Row& row : table) {
        const auto settled = SettleDibFormat(row.bits, row.compression);
        ASSERT_EQ(settled.has_value(), row.accepted) << row.bits << "/" << row.compression;
        if (!settled) continue;
        EXPECT_EQ(settled->bitCount, row.bitsUsed) << row.bits << "/" << row.compression;
        EXPECT_EQ(settled->compression, row.compressionUsed) << row.bits << "/" << row.compression;
    }
}

TEST(DibFormat, ConvertRefusesWhatTheWriterDoesNotMake) {
    const Surface frame(800, 600, 0x1234);
    EXPECT_FALSE(ConvertToDib(frame, 16, kBiRgb));
    EXPECT_FALSE(ConvertToDib(frame, 32, kBiRgb));
    EXPECT_FALSE(ConvertToDib(frame, 24, kBiRle8));
    const auto dib = ConvertToDib(frame, 24, kBiRgb);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->size(), 40u + 1440000u);
}

TEST(DibFormat, OddWidthsArePaddedToWholeWords) {
    Surface frame(3, 2, 0xFFFF);
    const auto dib = ConvertToDib(frame, 24, kBiRgb);
    ASSERT_TRUE(dib);
    // 3 pixels are 9 bytes, padded to 12, two rows.
    ASSERT_EQ(dib->size(), 40u + 24u);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 9; ++i) EXPECT_EQ((*dib)[40 + row * 12 + i], 0xFF);
        for (int i = 9; i < 12; ++i) EXPECT_EQ((*dib)[40 + row * 12 + i], 0x00);
    }
}

class BitmapWriter : public ::testing::Test {
protected:
    // A 24-bit DIB of 2 x 2 with its image size left at 0.
    PackedDib SmallDib() {
        PackedDib dib(40 + 16, 0);
        dib[0] = 40;
        dib[4] = 2;
        dib[8] = 2;
        dib[12] = 1;
        dib[14] = 24;
        for (int i = 40; i < 56; ++i) dib[i] = static_cast<uint8_t>(i);
        return dib;
    }
    TestFolder folder;
};

TEST_F(BitmapWriter, WritesHeaderThenTheBitmapAndSaysSo) {
    const PackedDib dib = SmallDib();
    ASSERT_EQ(WriteBitmapFile(&dib, folder.File("a.bmp")), kWriteOk);
    const std::vector<uint8_t> file = ReadFile(folder.File("a.bmp"));
    ASSERT_EQ(file.size(), 14u + 56u);
    EXPECT_EQ(U32(file, 2), 70u);
    EXPECT_EQ(U32(file, 10), 54u);
    // The header written records the image size (2 rows of 8 bytes).
    EXPECT_EQ(U32(file, 14 + 20), 16u);
    for (int i = 40; i < 56; ++i) EXPECT_EQ(file[14 + i], i);
}

TEST_F(BitmapWriter, NoBitmapIs20AndTouchesNoFile) {
    EXPECT_EQ(WriteBitmapFile(nullptr, folder.File("none.bmp")), kWriteNoDib);
    EXPECT_FALSE(folder.Exists("none.bmp"));
}

TEST_F(BitmapWriter, AFileThatCannotBeMadeIs4) {
    const PackedDib dib = SmallDib();
    EXPECT_EQ(WriteBitmapFile(&dib, folder.File("missing/a.bmp")), kWriteFailed);
}

TEST_F(BitmapWriter, AnExistingFileIsLeftAloneAnd4) {
    folder.WriteText("a.bmp", "keep me");
    const PackedDib dib = SmallDib();
    EXPECT_EQ(WriteBitmapFile(&dib, folder.File("a.bmp")), kWriteFailed);
    EXPECT_EQ(folder.ReadText("a.bmp"), "keep me");
}

TEST_F(BitmapWriter, ABitmapShorterThanItsHeaderSaysIs3AndWritesNothing) {
    PackedDib dib = SmallDib();
    dib.resize(50);
    EXPECT_EQ(WriteBitmapFile(&dib, folder.File("a.bmp")), kWriteNoLock);
    EXPECT_FALSE(folder.Exists("a.bmp"));
    PackedDib stub(20, 0);
    EXPECT_EQ(WriteBitmapFile(&stub, folder.File("b.bmp")), kWriteNoLock);
    EXPECT_FALSE(folder.Exists("b.bmp"));
}

TEST_F(BitmapWriter, AHeaderOfAnotherSizeWritesNothing) {
    PackedDib dib = SmallDib();
    dib[0] = 12;
    EXPECT_EQ(WriteBitmapFile(&dib, folder.File("a.bmp")), kWriteFailed);
    EXPECT_FALSE(folder.Exists("a.bmp"));
}

TEST_F(BitmapWriter, RunLengthBitmapsKeepTheirOwnImageSizeAndColourTable) {
    // 8-bit RLE: a 256-entry table and 10 bytes of runs, as the header says.
    PackedDib dib(40 + 1024 + 10, 0);
    dib[0] = 40;
    dib[4] = 100;
    dib[8] = 100;
    dib[12] = 1;
    dib[14] = 8;
    dib[16] = kBiRle8;
    dib[20] = 10;
    ASSERT_EQ(WriteBitmapFile(&dib, folder.File("rle.bmp")), kWriteOk);
    const std::vector<uint8_t> file = ReadFile(folder.File("rle.bmp"));
    EXPECT_EQ(file.size(), 14u + 40u + 1024u + 10u);
    EXPECT_EQ(U32(file, 2), 14u + 40u + 1024u + 10u);
    EXPECT_EQ(U32(file, 10), 14u + 40u + 1024u);
    EXPECT_EQ(U32(file, 14 + 20), 10u);
}

TEST_F(BitmapWriter, AnUsedColourCountSizesTheTable) {
    // 8 bits with 2 colours used: an 8-byte table, then 4 rows of 4 bytes.
    PackedDib dib(40 + 8 + 16, 0);
    dib[0] = 40;
    dib[4] = 3;
    dib[8] = 4;
    dib[12] = 1;
    dib[14] = 8;
    dib[32] = 2;
    ASSERT_EQ(WriteBitmapFile(&dib, folder.File("pal.bmp")), kWriteOk);
    const std::vector<uint8_t> file = ReadFile(folder.File("pal.bmp"));
    EXPECT_EQ(file.size(), 14u + 40u + 8u + 16u);
    EXPECT_EQ(U32(file, 10), 14u + 40u + 8u);
}

}  // namespace

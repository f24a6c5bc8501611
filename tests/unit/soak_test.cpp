// A long soak of the whole game on the fakes: random clicks, pointer moves,
// keys (arrows, undo, redo, the numbers, hints and the game's solving too)
// and time steps from a printed seed, across every screen, and now and then a board of each grid size
// solved through the game's own moves, and runs ended every way a run ends
// (Escape, Exit, the window closed, the focus lost), each followed by a new
// run that resumes the game in progress with its board, clock and moves as
// they were. After every frame: the board holds each tile exactly once, a
// dealt board is never already solved, ScoreFile.txt is five well-formed
// records, FewestMoves.txt holds only good ones, and the frame changed only
// where the flip said it might.
//
//   VESK_SOAK_SEED=<n>    repeats a run (the seed is printed)
//   VESK_SOAK_FRAMES=<n>  sets its length
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <queue>
#include <random>
#include <set>

#include "app/FrameLoop.h"
#include "app/Game.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "fakes/TestFolder.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultFrames = 2500;  // the sanitizers make each frame many times slower
constexpr int kRandomStretch = 150;  // random frames between two solves
#else
constexpr int kDefaultFrames = 28000;
constexpr int kRandomStretch = 500;
#endif

// The clicks (board cells, row-major in the game's own order) that bring a
// board home. The board is turned half round so the blank's home is the
// bottom-right cell; then the top rows and left columns are filled one tile
// at a time (the last two of a line together), each by a breadth-first
// search that leaves placed tiles alone, and the last 2 x 2 by turning the
// blank round it.
class Solver {
public:
    explicit Solver(const Game& game) : n_(game.gridSize), cells_(n_ * n_), board_(cells_), locked_(cells_) {
        for (int q = 0; q < cells_; ++q) board_[cells_ - 1 - q] = cells_ - 1 - game.boardTile[q / n_][q % n_];
        blank_ = static_cast<int>(std::find(board_.begin(), board_.end(), cells_ - 1) - board_.begin());
    }

    bool Solve() {
        for (int k = 0; k + 2 < n_; ++k) {
            for (int c = k; c + 2 < n_; ++c) {
                if (!Place({Cell(k, c)})) return false;
            }
            if (!Place({Cell(k, n_ - 2), Cell(k, n_ - 1)})) return false;
            for (int r = k + 1; r + 2 < n_; ++r) {
                if (!Place({Cell(r, k)})) return false;
            }
            if (!Place({Cell(n_ - 2, k), Cell(n_ - 1, k)})) return false;
        }
        const int cycle[4] = {Cell(n_ - 2, n_ - 2), Cell(n_ - 2, n_ - 1), Cell(n_ - 1, n_ - 1), Cell(n_ - 1, n_ - 2)};
        for (int step = 0; step < 12 && !Solved(); ++step) {
            const int at = static_cast<int>(std::find(cycle, cycle + 4, blank_) - cycle);
            if (at == 4) return false;
            Move(cycle[(at + 1) % 4]);
        }
        return Solved();
    }

    // Cells of the game's board to click, in order.
    const std::vector<int>& Clicks() const { return clicks_; }

private:
    int Cell(int row, int col) const { return row * n_ + col; }
    bool Solved() const {
        for (int p = 0; p < cells_; ++p) {
            if (board_[p] != p) return false;
        }
        return true;
    }
    std::vector<int> Neighbours(int p) const {
        std::vector<int> out;
        const int row = p / n_, col = p % n_;
        if (row > 0) out.push_back(p - n_);
        if (row + 1 < n_) out.push_back(p + n_);
        if (col > 0) out.push_back(p - 1);
        if (col + 1 < n_) out.push_back(p + 1);
        return out;
    }
    // The blank changes place with the tile in cell p: a click on p.
    void Move(int p) {
        std::swap(board_[blank_], board_[p]);
        blank_ = p;
        clicks_.push_back(cells_ - 1 - p);
    }

    // Takes the tiles that belong in the cells `targets` (one or two) there
    // together, then locks them: a breadth-first search over the positions of
    // the tiles and the blank that never moves a locked tile.
    bool Place(const std::vector<int>& targets) {
        const size_t count = targets.size();
        std::vector<int> from;
        for (int value : targets) {
            from.push_back(static_cast<int>(std::find(board_.begin(), board_.end(), value) - board_.begin()));
        }
        // state = blank + cells * (tile 0 + cells * tile 1)
        const auto encode = [&](int blank, const std::vector<int>& tiles) {
            int state = 0;
            for (size_t i = count; i-- > 0;) state = state * cells_ + tiles[i];
            return state * cells_ + blank;
        };
        int states = cells_;
        for (size_t i = 0; i < count; ++i) states *= cells_;
        std::vector<int> parent(states, -1), via(states, -1);
        const int start = encode(blank_, from);
        std::queue<int> queue;
        queue.push(start);
        parent[start] = start;
        int found = -1;
        while (!queue.empty()) {
            const int state = queue.front();
            queue.pop();
            const int blank = state % cells_;
            std::vector<int> tiles(count);
            int rest = state / cells_;
            for (size_t i = 0; i < count; ++i, rest /= cells_) tiles[i] = rest % cells_;
            if (tiles == targets) {
                found = state;
                break;
            }
            for (int next : Neighbours(blank)) {
                if (locked_[next]) continue;
                std::vector<int> moved = tiles;
                for (int& tile : moved) {
                    if (tile == next) tile = blank;
                }
                const int nextState = encode(next, moved);
                if (parent[nextState] >= 0) continue;
                parent[nextState] = state;
                via[nextState] = next;
                queue.push(nextState);
            }
        }
        if (found < 0) return false;
        std::vector<int> path;
        for (int state = found; state != start; state = parent[state]) path.push_back(via[state]);
        for (auto it = path.rbegin(); it != path.rend(); ++it) Move(*it);
        for (int target : targets) locked_[target] = true;
        return true;
    }

    int n_;
    int cells_;
    std::vector<int> board_;
    std::vector<bool> locked_;
    int blank_ = 0;
    std::vector<int> clicks_;
};

int EnvOr(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text ? static_cast<int>(std::strtoul(text, nullptr, 10)) : static_cast<int>(fallback);
}

// ScoreFile.txt as the game writes it: " 2  <time> \n" ... " 6  <time> \n".
bool FiveGoodRecords(const std::string& text, std::string& why) {
    size_t at = 0;
    for (int size = 2; size <= 6; ++size) {
        const size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
        const std::string head = " " + std::to_string(size) + "  ";
        const std::string digits = line.size() > head.size() + 2 ? line.substr(head.size(), line.size() - head.size() - 2) : "";
        const bool ok = line.compare(0, head.size(), head) == 0 && !digits.empty() && digits.size() <= 6 &&
                        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                        (digits == "0" || digits[0] != '0') && line.substr(line.size() - 2) == " \n" &&
                        std::stol(digits) <= kNoTimeYet;
        if (!ok) {
            why = "record " + std::to_string(size) + " is \"" + line + "\"";
            return false;
        }
        at = end + 1;
    }
    if (at != text.size()) why = "bytes after the fifth record";
    return at == text.size();
}

// FewestMoves.txt as the game writes it: " <size>  <moves> \n" for some of
// the sizes 2..6 in order, each count at least one.
bool GoodMoveRecords(const std::string& text, std::string& why) {
    std::string expected;
    int size = 0;
    long moves = 0;
    int read = 0;
    for (const char* at = text.c_str(); *at; at += read) {
        const int lastSize = size;
        if (std::sscanf(at, " %d  %ld \n%n", &size, &moves, &read) != 2 || size <= lastSize || size < 2 || size > 6 || moves < 1) {
            why = "a fewest-moves record is \"" + std::string(at).substr(0, 20) + "\"";
            return false;
        }
        expected += " " + std::to_string(size) + "  " + std::to_string(moves) + " \n";
    }
    if (expected != text) why = "the fewest-moves file is not as the game writes it";
    return expected == text;
}

class Soak {
public:
    explicit Soak(uint32_t seed) : random_(seed) {
        platform_.keepFrames = false;
        Start();
    }
    ~Soak() { gameInstance = nullptr; }

    // One frame as the frame loop runs it; an end of the run (Escape, the
    // Exit button, the focus lost, the quit message) starts a new one.
    void Frame() {
        const Screen before = game_->screen;
        seenScreens_.insert(before);
        try {
            Message m;
            bool quit = false;
            if (platform_.PeekMessage(m)) {
                if (m == Message::LButtonDown) game_->clicked = true;
                quit = m == Message::Quit;
                WindowProc(platform_, m);
            }
            game_->RunFrame();
            if (quit) {
                // The loop's end: the game kept, everything released.
                game_->SaveGameAtEnd();
                game_->ReleaseAll();
                ++restarts_;
                Start();
            }
        } catch (const ProcessExit& exit) {
            ASSERT_EQ(exit.status, 1);
            ++restarts_;
            platform_.keys.fill(0);
            Start();
        }
        platform_.now += kFrameMs;
        ++frames_;
        if (before != ScreenSolved && game_->screen == ScreenSolved) ++solved_[game_->gridSize];
        Check(before == ScreenShuffle);
    }

    // Random clicks, pointer moves, keys and time steps.
    void RandomFrames(int count) {
        for (int i = 0; i < count && !::testing::Test::HasFatalFailure(); ++i) {
            platform_.keys.fill(0);
            if (Chance(0.3)) platform_.cursor = Chance(0.5) ? AControl() : Point{Uniform(0, 799), Uniform(0, 599)};
            if (Chance(0.15) && !OnExitButton()) platform_.Click();
            // The keys of the game, at capped rates: held ones, and presses of
            // the arrows, undo, redo, the numbers, H and G (now and then
            // several in one frame).
            const std::pair<int, double> keys[] = {{kKeyT, 0.02}, {kKeyS, 0.004}};
            for (auto [key, chance] : keys) {
                if (Chance(chance)) platform_.Hold(key);
            }
            for (int press = 0; press < 3 && Chance(0.08); ++press) {
                constexpr KeyPress kPresses[] = {KeyPress::Left, KeyPress::Right, KeyPress::Up,   KeyPress::Down,
                                                 KeyPress::Undo, KeyPress::Redo,  KeyPress::Numbers,
                                                 KeyPress::Hint, KeyPress::Solve};
                platform_.Press(kPresses[Uniform(0, static_cast<int>(std::size(kPresses)) - 1)]);
            }
            // The focus keys and a controller's buttons (Y deals, as rarely as
            // S; Enter or A on Exit as rarely as a click on it).
            if (Chance(0.03)) {
                const KeyPress focusKeys[] = {KeyPress::FocusNext, KeyPress::FocusPrevious, KeyPress::Activate};
                const KeyPress key = focusKeys[Uniform(0, 2)];
                if (key != KeyPress::Activate || !OnExitFocus()) platform_.Press(key);
            }
            if (Chance(0.02)) {
                const auto button = static_cast<PadButton>(Uniform(0, static_cast<int>(PadButton::Back)));
                if ((button != PadButton::Y || Chance(0.2)) && (button != PadButton::A || !OnExitFocus())) {
                    platform_.PressPad(button);
                }
            }
            if (frames_ - lastCapture_ > 2000 && Chance(0.01)) {
                platform_.Hold(kKeyF9);
                lastCapture_ = frames_;
            }
            // Escape off the options page ends the game and a new one starts:
            // only at 2 x 2, so that every size is still reached.
            if (game_->screen == ScreenOptions ? Chance(0.05) : game_->gridSize == 2 && Chance(0.0005)) {
                platform_.Hold(kKeyEscape);
            }
            if (Chance(0.01)) platform_.now += static_cast<uint32_t>(Uniform(0, 600000));
            if (Chance(0.001)) platform_.now += static_cast<uint32_t>(Uniform(0, 2000000000));
            Frame();
            if (game_->screen != ScreenShuffle && game_->screen != ScreenOptions &&
                (game_->HasGameToKeep() ? Chance(0.004) : game_->gridSize == 2 && Chance(0.0005))) {
                EndTheRun();
            }
        }
        platform_.keys.fill(0);
    }

    // Ends the run one of the ways a run ends, with nothing else going on;
    // the next run must resume the game in progress as it was.
    void EndTheRun() {
        // A hint on its way or the game solving the board would move a tile
        // in the ending's frames: such a moment is not one with nothing else
        // going on.
        if (game_->hintPending || game_->autoSolving) return;
        platform_.keys.fill(0);
        platform_.keyPresses.clear();
        platform_.messages.clear();
        const Game& g = *game_;
        ending_ = {true, g.HasGameToKeep(), BoardOf(g), g.moveCount, g.gridSize, g.pictureIndex};
        const int before = restarts_;
        const bool sidebar = g.screen != ScreenHighScores && g.screen != ScreenHelp;
        switch (Uniform(0, 3)) {
            case 0:
                platform_.Hold(kKeyEscape);
                break;
            case 1:
                if (sidebar) {
                    platform_.cursor = {690, 508};  // Exit
                    Frame();
                    platform_.Click();
                } else {
                    platform_.Hold(kKeyEscape);
                }
                break;
            case 2:
                platform_.messages.push_back(Message::Destroy);
                break;
            default:
                platform_.messages.push_back(Message::KillFocus);
                break;
        }
        for (int i = 0; i < 3 && restarts_ == before && !::testing::Test::HasFatalFailure(); ++i) Frame();
        ASSERT_GT(restarts_, before) << "frame " << frames_ << ": the run did not end";
        ++endings_;
    }

    // A new deal, solved through the game's own moves, then the next level.
    void SolveABoard() {
        platform_.Hold(kKeyS);
        Frame();
        platform_.Release(kKeyS);
        Frame();
        ASSERT_EQ(game_->screen, ScreenPlaying);
        const int n = game_->gridSize;
        Solver solver(*game_);
        std::string board;
        for (int q = 0; q < n * n; ++q) board += std::to_string(game_->boardTile[q / n][q % n]) + " ";
        ASSERT_TRUE(solver.Solve()) << "a dealt board of " << n << " x " << n << " cannot be brought home: " << board;
        const std::vector<int>& clicks = solver.Clicks();
        Frame();
        for (size_t i = 0; i < clicks.size(); ++i) {
            ASSERT_EQ(game_->screen, ScreenPlaying) << "move " << i << " of " << clicks.size();
            // A click on the tile, or the arrow that slides it into the blank.
            if (Chance(0.3)) {
                platform_.Press(ArrowFor(clicks[i]));
            } else {
                // Made on the tile; by the frame the pointer is on its way to the next.
                platform_.Click(Centre(clicks[i]));
            }
            if (i + 1 < clicks.size()) platform_.cursor = Centre(clicks[i + 1]);
            Frame();
            ASSERT_EQ(game_->blankRow * n + game_->blankCol, clicks[i]) << "move " << i << " of " << clicks.size();
        }
        std::string after;
        for (int q = 0; q < n * n; ++q) after += " " + std::to_string(game_->boardTile[q / n][q % n]);
        ASSERT_EQ(game_->screen, ScreenSolved) << n << " x " << n << ":" << after << " clicks " << clicks.size();
        moves_ += static_cast<long>(clicks.size());
        if (n == 6) {
            // Back to the start: Escape ends the game, a new one begins at 2 x 2.
            platform_.Hold(kKeyEscape);
            Frame();
            platform_.Release(kKeyEscape);
            return;
        }
        platform_.cursor = {400, 520};  // Next Level
        Frame();
        platform_.Click();
        Frame();
        EXPECT_EQ(game_->gridSize, n + 1);
    }

    int frames_ = 0;
    int restarts_ = 0;
    int endings_ = 0;  // runs this soak ended, with a game to resume
    int resumes_ = 0;
    long moves_ = 0;
    int solved_[7] = {};
    std::set<int> seenScreens_;
    TestFolder folder_;

private:
    void Start() {
        // The 2 x 2 deals of this game: canned records with the solved order
        // among them, the solved order alone, or none (random deals).
        switch (Uniform(0, 2)) {
            case 0:
                folder_.WriteText("Shuffle.txt", "0 0 0 1 1 0 1 1\n0 1 1 1 1 0 0 0\n0 0 0 1 1 0 1 1\n1 1 1 0 0 1 0 0\n");
                break;
            case 1:
                folder_.WriteText("Shuffle.txt", "0 0 0 1 1 0 1 1\n");
                break;
            default:
                folder_.Remove("Shuffle.txt");
                break;
        }
        const Ending ending = std::exchange(ending_, {});
        const uint32_t clockMs = ending.known ? game_->GameElapsedMs(platform_.now) : 0;
        game_.reset();
        game_ = std::make_unique<Game>(platform_, audio_);
        gameInstance = game_.get();
        ASSERT_EQ(game_->LoadResources(), 0);
        game_->ResumeSavedGame();
        if (!ending.known) return;
        Game& g = *game_;
        const bool resumed = g.screen == ScreenTileView && g.gameInProgress;
        ASSERT_EQ(resumed, ending.kept) << "frame " << frames_;
        if (!resumed) return;
        ++resumes_;
        ASSERT_EQ(BoardOf(g), ending.board) << "frame " << frames_;
        ASSERT_EQ(g.moveCount, ending.moves);
        ASSERT_EQ(g.gridSize, ending.gridSize);
        ASSERT_EQ(g.pictureIndex, ending.picture);
        // Time away, and on the tile view, does not count; Resume goes on from there.
        platform_.now += static_cast<uint32_t>(Uniform(0, 3600000));
        g.RunFrame();
        ASSERT_EQ(static_cast<uint32_t>(g.elapsedSeconds), clockMs / 1000) << "frame " << frames_;
        platform_.now += kFrameMs;
        platform_.Hold(kKeyT);
        g.RunFrame();
        platform_.Release(kKeyT);
        ASSERT_EQ(g.screen, ScreenPlaying);
        g.RunFrame();
        ASSERT_EQ(static_cast<uint32_t>(g.elapsedSeconds), clockMs / 1000) << "frame " << frames_;
    }
    static std::vector<int32_t> BoardOf(const Game& g) {
        std::vector<int32_t> cells;
        for (int q = 0; q < g.gridSize * g.gridSize; ++q) cells.push_back(g.boardTile[q / g.gridSize][q % g.gridSize]);
        return cells;
    }
    struct Ending {
        bool known = false;  // the soak ended the run itself
        bool kept = false;   // with a game in progress
        std::vector<int32_t> board;
        int32_t moves = 0, gridSize = 0, picture = 0;
    };
    Ending ending_;
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    // Somewhere on a button or a control of one of the screens, so that
    // every screen is reached in a short run too.
    Point AControl() {
        static const Point controls[] = {{690, 120}, {685, 200}, {690, 355}, {700, 270}, {680, 430},  // sidebar
                                         {210, 520}, {400, 520},                                       // solved page
                                         {400, 480}, {267, 165}, {267, 270},                           // Back, switches
                                         {387, 360}, {477, 360}, {567, 360}};                          // pictures
        const Point p = controls[Uniform(0, static_cast<int>(std::size(controls)) - 1)];
        return {p.x + Uniform(-8, 8), p.y + Uniform(-6, 6)};
    }
    // The Exit button ends the game: a click on it is let through only
    // rarely, and only at 2 x 2.
    bool OnExitButton() {
        const Point p = platform_.cursor;
        const bool on = 630 < p.x && p.x < 753 && 495 < p.y && p.y < 522;
        return on && (game_->gridSize != 2 || !Chance(0.2));
    }
    bool OnExitFocus() {
        return game_->focus.control == Control::Exit && (game_->gridSize != 2 || !Chance(0.2));
    }
    // The arrow that slides the tile in `cell`, beside the blank, into it.
    KeyPress ArrowFor(int cell) const {
        const int n = game_->gridSize;
        const int row = cell / n, col = cell % n;
        if (row == game_->blankRow) return col > game_->blankCol ? KeyPress::Left : KeyPress::Right;
        return row > game_->blankRow ? KeyPress::Up : KeyPress::Down;
    }
    Point Centre(int cell) const {
        const int n = game_->gridSize, t = game_->tileSize;
        return {52 + (cell % n) * t + t / 2, 52 + (cell / n) * t + t / 2};
    }

    void Check(bool justDealt) {
        const Game& g = *game_;
        if (g.boardDealt) {
            const int n = g.gridSize;
            std::vector<int32_t> cells;
            for (int row = 0; row < n; ++row) {
                for (int col = 0; col < n; ++col) cells.push_back(g.boardTile[row][col]);
            }
            const bool ended = std::all_of(cells.begin(), cells.end(), [](int32_t c) { return c == -1; });
            if (!ended) {
                std::vector<int32_t> sorted = cells;
                std::sort(sorted.begin(), sorted.end());
                for (int h = 0; h < n * n; ++h) {
                    ASSERT_EQ(sorted[h], h) << "frame " << frames_ << ": a tile missing or twice on the board";
                }
                ASSERT_EQ(g.boardTile[g.blankRow][g.blankCol], 0) << "frame " << frames_;
            }
            if (justDealt) {
                ASSERT_FALSE(ended) << "frame " << frames_;
                ASSERT_FALSE(g.BoardSolved()) << "frame " << frames_ << ": a board dealt solved";
            }
        }
        std::string why;
        ASSERT_TRUE(FiveGoodRecords(folder_.ReadText("ScoreFile.txt"), why)) << "frame " << frames_ << ": " << why;
        ASSERT_TRUE(GoodMoveRecords(folder_.ReadText("FewestMoves.txt"), why)) << "frame " << frames_ << ": " << why;
        ASSERT_EQ(platform_.unannouncedChanges, 0) << "frame " << frames_ << ": the screen changed where the flip said it had not";
    }

    std::mt19937 random_;
    FakePlatform platform_;
    FakeAudio audio_;
    std::unique_ptr<Game> game_;
    int lastCapture_ = -100000;
};

TEST(Soak, RandomPlayAcrossEveryScreenAndGridSizeKeepsTheBoardAndTheBestTimesWhole) {
    const uint32_t seed = static_cast<uint32_t>(EnvOr("VESK_SOAK_SEED", static_cast<long>(std::random_device{}())));
    const int frames = EnvOr("VESK_SOAK_FRAMES", kDefaultFrames);
    std::printf("soak: seed %u, %d frames (VESK_SOAK_SEED=%u repeats it)\n", seed, frames, seed);
    std::fflush(stdout);
    RecordProperty("seed", std::to_string(seed));

    Soak soak(seed);
    // The frames asked for, and on until every size has been solved, every
    // screen shown and a game resumed.
    const auto everything = [&soak] {
        return std::all_of(soak.solved_ + 2, soak.solved_ + 7, [](int s) { return s > 0; }) &&
               soak.seenScreens_.size() == 8 && soak.resumes_ > 0;
    };
    while ((soak.frames_ < frames || !everything()) && soak.frames_ < 4 * frames && !HasFatalFailure()) {
        soak.RandomFrames(kRandomStretch);
        if (!HasFatalFailure()) soak.SolveABoard();
    }
    std::printf("soak: %d frames, %d restarts (%d runs ended, %d games resumed), %ld moves solving, solved 2..6: "
                "%d %d %d %d %d\n",
                soak.frames_, soak.restarts_, soak.endings_, soak.resumes_, soak.moves_, soak.solved_[2], soak.solved_[3], soak.solved_[4], soak.solved_[5],
                soak.solved_[6]);
    for (int n = 2; n <= 6; ++n) EXPECT_GT(soak.solved_[n], 0) << n;
    EXPECT_GT(soak.resumes_, 0);
    for (int screen = ScreenPreview; screen <= ScreenSolved; ++screen) {
        EXPECT_TRUE(soak.seenScreens_.count(screen)) << "screen " << screen << " never shown";
    }
    // Captures were written whole, and no temporary file was left behind.
    for (const auto& entry : std::filesystem::directory_iterator(soak.folder_.Path())) {
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();
        if (entry.path().extension() == ".bmp") {
            EXPECT_EQ(std::filesystem::file_size(entry.path()), 1440054u) << entry.path();
        }
    }
}

}  // namespace

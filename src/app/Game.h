// The one object that knows everything the game knows. Its operations are
// spread over the files of the subsystem that owns each of them:
//   app/      RunFrame, ReleaseAll, the game kept between runs
//   puzzle/   ChoosePicture, CutTiles, DealBoard, PlayFrame, moves, clock,
//             levels, best times
//   gfx/      display, drawing, image loading
//   pictures/ LoadResources, the player's own pictures
//   screens/  sidebar, options page, pages, numbers, pointer
//   input/    keyboard, focus, game controllers
//   audio/    music and effects
#pragma once

#include <array>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Screen.h"
#include "gfx/BackBuffer.h"
#include "pictures/ImagesAhead.h"
#include "pictures/PhotoShelf.h"
#include "pictures/PictureReader.h"
#include "gfx/Surface.h"
#include "input/Focus.h"
#include "platform/AudioEngine.h"
#include "platform/Platform.h"
#include "puzzle/MoveHistory.h"
#include "puzzle/Random.h"
#include "puzzle/SlideBoard.h"
#include "puzzle/TileSlide.h"

class SolveRunner;

constexpr int kMaxGrid = 6;
constexpr int kFrameMs = 33;
constexpr int32_t kNoTimeYet = 359999;  // 99-59-59
constexpr int32_t kNoMovesYet = 0;      // no grid size is solved in no move
// The width of a time, and of a count of moves, in the digit images.
constexpr int32_t kTimeWidth = 176;
constexpr int32_t kMovesWidth = 92;

// The animated pointer.
struct PointerSprite {
    int32_t hidden = 0;
    int32_t frameCount = 0;
    int32_t frame = 0;
    int32_t frameDelay = 0;
    int32_t delayCounter = 0;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
};

// One sound effect, as loaded into the audio engine (-1: not loaded).
struct SoundEffect {
    int32_t handle = -1;
};

enum SidebarButtonId : int32_t {
    ButtonShuffle = 0,
    ButtonTile = 1,
    ButtonOptions = 2,
    ButtonHighScores = 3,
    ButtonHelp = 4,
    ButtonExit = 5,
    ButtonShuffleAgain = 6,
    ButtonNextLevel = 7,
};

enum OptionControlId : int32_t {
    OptionBack = 0,
    OptionMusic = 1,
    OptionSound = 2,
    OptionPicture = 3,
};

class Game {
public:
    Game(Platform& platform, AudioEngine& audio);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // ---- app/ ------------------------------------------------------------
    void RunFrame();
    void ReleaseAll();
    // A start-up or capture failure: the message box, the teardown (when
    // asked), then the end of the process with status -1 and no exit handlers.
    [[noreturn]] void FailAndExit(const std::string& text, const std::string& caption, bool teardown);

    // ---- gfx/: display and drawing (Display.cpp) ---------------------------
    bool InitDirectDraw();
    int32_t ClearBackBuffer(uint32_t fill);
    // One copy onto the back buffer; a null image or a refused copy draws nothing.
    bool DrawImage(int32_t x, int32_t y, const SurfacePtr& image, const Rect* source, BlitMode mode);
    void Flip();
    uint32_t MatchColor(uint32_t colorref);
    void ReleaseDisplay();

    // ---- gfx/ and pictures/: image loading (ImageLoad.cpp, Resources.cpp) --
    SurfacePtr LoadTex(const std::string& path);
    SurfacePtr LoadTexThumb(const std::string& path);
    SurfacePtr LoadTexTile(const std::string& path, int32_t row, int32_t col);
    // Reads the file as a tile cut does; one that fails, or is smaller than
    // minSide either way, ends the game as a file that cannot be loaded.
    void RequireTexSize(const std::string& path, int32_t minSide);
    int32_t LoadResources();
    // The player's pictures, after the game's three (pictures/OwnPictures.cpp).
    void AddOwnPictures();
    // The Pictures folder looked through (names, cached thumbnails, headers)
    // on a thread of its own while the display comes up; AddOwnPictures
    // takes what it found.
    void FindOwnPictures();
    void CutOwnPicture(int32_t index);
    // The player's photos prepared in the background (pictures/OwnPhotos.cpp):
    // what the shelf made since the last frame taken in (thumbnails shown,
    // refused photos named on stderr and left out); whether a photo's whole
    // picture is at hand (asking for it when not); the frame shown while the
    // chosen photo is being prepared, which goes on to it once it is.
    void TakePhotoNews();
    // `waitMs`: how long the shelf may take to hand it over (a cached
    // photo's picture is read within a frame; one being decoded is not).
    bool OwnPictureReady(int32_t index, int waitMs = 0);
    void WaitForOwnPicture(int32_t index);
    void PreparingFrame();
    int32_t PictureCount() const { return static_cast<int32_t>(pictureFull.size()); }

    // ---- screens/: sidebar, options page, pages, numbers, pointer ----------
    void DrawSidebar();
    // A two-frame control drawn keyed at its box, the hovered frame while it
    // looks hovered (LooksHovered); true when the cursor lies strictly inside.
    bool DrawControl(const SurfacePtr& image, const Rect& box, Control control);
    // The same, drawn at `drawn` (its frames as large), answering at `box`.
    bool DrawControl(const SurfacePtr& image, const Rect& box, const Rect& drawn, Control control);
    // The grid size being played, under the board (GridSize.cpp).
    void DrawGridSize();
    void SidebarButton(int32_t index);
    void OptionControl(int32_t index);
    // The arrows that page the options page's row of thumbnails (PictureRow.cpp).
    void PictureRowArrows();
    // The row can move by `step` pictures (an arrow is shown for it).
    bool PictureRowCanMove(int32_t step) const;
    void MarkChosenPicture();
    void KeepChosenPictureInRow();
    void DrawPage(int32_t x, int32_t y, const SurfacePtr& image);
    // The help's page on show, the switch to the other one and Back (HelpPages.cpp).
    void DrawHelpPage();
    // Glyphs `pitch` pixels apart (the clock's: 26).
    void DrawNumber(int32_t value, int32_t x, int32_t y, int32_t digits, int32_t pitch = 26);
    void DrawTime(int32_t seconds, int32_t x, int32_t y);
    // Moves in the digit images, four of them a little closer than the
    // clock's (MoveCount.cpp); the counter under the board; a dash centred in
    // a field `width` wide for a record not made yet.
    void DrawMoves(int32_t moves, int32_t x, int32_t y);
    void DrawMoveCounter();
    void DrawNoneYet(int32_t x, int32_t y, int32_t width);
    // The solved page's par line, "shortest 22" or "best known 180", under
    // the player's moves (ParLine.cpp); nothing until the par has come.
    void DrawParLine();
    // The board in play (Board.cpp): every cell, the last move's tile on its
    // way, the numbers when shown.
    void DrawBoard();
    // F9: the frame on show saved, a tile caught sliding put in its cell first.
    void CaptureShownFrame();
    // The tiles' numbers (TileNumbers.cpp): one tile's, by its home index, at
    // the tile's top-left corner; every tile's on the board as it lies; N
    // presses of the frame; the options page's row.
    void DrawTileNumber(int32_t home, int32_t x, int32_t y);
    void DrawTileNumbers();
    void TakeNumbersPresses();
    void NumbersOption();
    void InitPointer(PointerSprite& sprite, int32_t hidden, int32_t frameCount, int32_t frameDelay,
                     int32_t frameWidth, int32_t frameHeight);
    void DrawPointer(PointerSprite& sprite, int32_t x, int32_t y);
    // The sprite's current frame at (x, y), without an animation step.
    void DrawPointerFrame(const PointerSprite& sprite, int32_t x, int32_t y);
    void ReadCursor();

    // ---- puzzle/: picture, tiles and dealing (Deal.cpp) --------------------
    void ChoosePicture(int32_t index);
    // At start-up: every picture and blank-tile file is whole and large
    // enough for every cut taken from it.
    void CheckPictureFiles();
    void CutTiles(const std::string& pictureFile);
    void DealBoard();
    // The two kinds of deal, without the repair that makes a board solvable.
    void CannedDeal(DealRandom& random);
    void RandomDeal(DealRandom& random);
    // Swaps two tiles when the board in play cannot be brought home.
    void MakeSolvable();
    // Deals (and repairs) until the board is not already solved (UnsolvedDeal.cpp).
    void DealUnsolved(DealRandom& random);
    void PlaceTile(int32_t row, int32_t col, int32_t homeRow, int32_t homeCol);

    // ---- puzzle/: moves, solving, clock, levels (Play.cpp) -----------------
    void PlayFrame();
    void MoveTileAtCursor();
    // (row, col) is left of, right of, above or below the blank's cell.
    bool BesideBlank(int32_t row, int32_t col) const;
    // The tile in (row, col), beside the blank, slides into it; the move is
    // kept for undo.
    void SlideTile(int32_t row, int32_t col);
    // The tile in (row, col) and the blank change places: one move more on
    // the counter, the tile drawn sliding across.
    void SwapWithBlank(int32_t row, int32_t col);
    bool BoardSolved() const;
    void CheckSolved();
    // Overwrites the board's home indices with -1: it can no longer be found solved.
    void EndBoard();
    void UpdateClock();
    void DrawTileView();
    void ApplyLevelChoice();
    // The middle of a board cell, in frame pixels.
    Point CellCentre(int32_t row, int32_t col) const;

    // ---- puzzle/: arrow keys and undo (KeyMoves.cpp) -----------------------
    // The frame's key presses, one move each, until the picture is finished.
    void PlayKeyPresses();
    // The tile beside the blank on the far side from the arrow slides into it.
    void SlideToward(KeyPress arrow);
    // The last move since the deal taken back.
    void UndoMove();
    // H, or the board in play pressed from the keys (Hint.cpp): the next
    // move of a shortest (or best known) solution from the board as it
    // stands, made as a click's move once the solver has it.
    void Hint();
    // A hint asked for is made once it is worked out (in a later frame).
    void PlayPendingHint();
    // The tile at `tile` slides as a key's move, sound and all; false when it
    // is not beside the blank.
    bool SlideSolverMove(Cell tile);
    // The board in play as the solver sees it (nothing for an ended board).
    std::optional<SlideBoard> BoardNow() const;
    // The last move taken back made again, until a new move is made.
    void RedoMove();
    // A tile the history names moves only when it lies beside the blank;
    // else the history is not this board's and is forgotten.
    bool HistoryTileMoves(Cell tile);

    // ---- puzzle/: the deal's par, worked out on a thread (Par.cpp) ----------
    // The solver's runner, made on first use.
    SolveRunner& Solving();
    // A new deal (or a resumed one): its par is worked out from `deal`;
    // nothing (no par) when there is no such board.
    void StartPar(const std::optional<SlideBoard>& deal);
    // The par, once it has come (parMoves set).
    void TakePar();
    // The run ends: the solver's thread is stopped and gone.
    void EndSolving();

    // ---- puzzle/: the game solving the board itself (AutoSolve.cpp) ------
    // G: the whole solution played, a move every kAutoSolveMs.
    void StartAutoSolve();
    void AutoSolveFrame();
    // Any key or click of this frame stops it; the press is taken by that.
    void StopAutoSolveOnInput();

    // ---- puzzle/: best-times file (BestTimes.cpp) --------------------------
    void ReadBestTimes();
    void RecordBestTime();

    // ---- puzzle/: fewest-moves file (FewestMoves.cpp) ----------------------
    void ReadFewestMoves();
    void RecordFewestMoves();

    // ---- app/: the player's settings file (Settings.cpp) -------------------
    void ReadSettings();
    void WriteSettings();
    // ---- app/: the game in progress kept between runs (KeptGame.cpp) --------
    // At start-up: the game left at the end of the last run, if any, on its
    // tile view with Resume, its clock held until then.
    void ResumeSavedGame();
    // At every ending: a game in progress is written to the player folder,
    // or a game of this run that has ended leaves nothing behind. Once a run.
    void SaveGameAtEnd();
    // A new deal or a solve: the kept game is gone.
    void DropSavedGame();
    // A dealt board, unsolved, that the screen shown leads back to.
    bool HasGameToKeep() const;
    // The clock of the game, in milliseconds, at tick `now`.
    uint32_t GameElapsedMs(uint32_t now) const;
    // While a resumed game waits for Resume its clock does not run.
    void HoldClockForResume();

    // ---- input/: keyboard (Keyboard.cpp) -----------------------------------
    int32_t InitKeyboard();
    void PollKeyboard();
    void ReleaseInput();

    // ---- input/: focus and game controllers (Focus.cpp, Controller.cpp) ----
    // The frame's focus keys, before anything is drawn.
    void FocusFrame();
    // A control's hover frame shows: the focus is on it, or (while the mouse
    // has the look) the pointer is inside it.
    bool LooksHovered(Control control, bool pointerInside) const;
    // The control is pressed in this frame: clicked inside, or pressed from
    // the keys. Plays the click sound (at the pointer, or at the control's
    // box for a key) and takes the click or the press.
    bool ControlPressed(Control control, bool pointerInside, const Rect& box);
    // The control is on the screen now (the picture row's arrows come and go).
    bool ControlShown(Control control) const;
    // The controllers' presses of this frame, as keys or as control presses.
    void PadPresses();

    // ---- audio/: music and effects (Sound.cpp) -----------------------------
    int32_t StartMusic();
    int32_t LoadSoundEffect(const std::string& path, SoundEffect& effect);
    void PlaySoundEffect(SoundEffect& effect);
    // The effect placed at a point of the frame rather than at the pointer.
    void PlaySoundEffectAt(SoundEffect& effect, Point at);
    void ReleaseSoundEffect(SoundEffect& effect);
    void ShutdownAudio();
    void MusicOff();
    void MusicOn();

    // The outside world.
    Platform& platform;
    AudioEngine& audio;

    // ---- the fields ----------------------------------------------------------
    bool window = false;
    bool directDraw = false;
    SurfacePtr primarySurface;
    std::shared_ptr<BackBuffer> backSurface;
    bool musicLoader = false;
    bool performance = false;
    bool backgroundMusic = false;
    // Tiger, Bird, Flower, then the player's own pictures.
    std::vector<SurfacePtr> pictureFull = std::vector<SurfacePtr>(3);
    ImagesAhead imagesAhead;  // the start-up's whole images, read while the display comes up
    SurfacePtr menuExit, menuHighScores, menuHelp, menuShuffle, menuTile, menuResume, menuOptions,
        menuBack, menuPicture, menuMusic, menuSound, menuButton;
    SurfacePtr backgroundImage;
    SurfacePtr backgroundOptionsImage;
    SurfacePtr currentPicture;  // borrowed: one of pictureFull
    SurfacePtr blankTile;
    std::vector<SurfacePtr> pictureThumb = std::vector<SurfacePtr>(3);
    SurfacePtr mousePtrImage;
    SurfacePtr borderImage;
    SurfacePtr menuShuffleAgain, menuNextLevel;
    SurfacePtr menuPictureLeft, menuPictureRight;
    SurfacePtr gridSizeImage;  // a row for each grid size, 2 to 6
    SurfacePtr tileImage[kMaxGrid][kMaxGrid];
    SurfacePtr boardImage[kMaxGrid][kMaxGrid];  // shared: keeps an earlier cut alive while shown
    SurfacePtr wonImage, helpPageImage, highScoreImage, hyphenImage, digitImage;
    SurfacePtr numberImage, dashImage, menuNumbers;
    SurfacePtr parImage;  // the par line's two slots: "shortest" and "best known"
    // The help's second page, the keys and the controller, and the switch
    // between the pages as each page shows it.
    SurfacePtr helpKeysPageImage, menuHelpKeys, menuHelpRules;
    bool directInput = false;
    bool keyboard = false;
    int32_t gridSize = 2;
    int32_t tileSize = 0;
    Screen screen = ScreenPreview;
    Screen returnScreen = ScreenPreview;
    int32_t pictureIndex = 0;
    int32_t blankRow = 0;
    int32_t blankCol = 0;
    int32_t boardTile[kMaxGrid][kMaxGrid] = {};
    bool cellTaken[kMaxGrid][kMaxGrid] = {};
    bool clicked = false;
    bool gameInProgress = false;
    bool musicOn = true;
    bool soundOn = true;
    int32_t levelChoice = 0;
    int32_t bestTime[5] = {};  // by grid size 2..6
    // The best of this run by grid size (INT32_MAX: none yet), kept whether
    // or not the file took it.
    int32_t runBestTime[5] = {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX};
    int32_t currentTime = 0;
    Point cursor;
    bool pointerAway = false;  // the player's pointer is off the window (ReadCursor)
    PointerSprite pointerSprite;
    uint32_t startTick = 0;
    uint32_t nowTick = 0;
    int32_t elapsedSeconds = 0;
    SoundEffect soundButton, soundTile, soundSuccess;
    // A board has been dealt in this run (before that the clock shows zero).
    bool boardDealt = false;
    // The picture in the options page's first thumbnail slot.
    int32_t pictureRowFirst = 0;
    // The key presses of this frame: the board's on ScreenPlaying, the
    // focus keys before the drawing, T, S, F9 and Escape at the frame's end;
    // dropped at the frame's end like an untaken click.
    std::vector<KeyPress> keyPresses;
    Focus focus;
    MoveHistory moveHistory;
    // Tiles moved since the deal, each undo and redo one more.
    int32_t moveCount = 0;
    // Fewest moves by grid size 2..6 (kNoMovesYet: none), the file's and this run's.
    int32_t fewestMoves[5] = {};
    // The last move's tile on its way; whether the frame on show caught it so.
    TileSlide slide;
    bool slideShown = false;
    // Each tile's number drawn on it (N), kept between runs.
    bool showNumbers = false;
    // The help's page on show: 0 how to play, 1 the keys and the controller.
    int32_t helpPage = 0;
    // The file names of the player's pictures, from picture 3 on.
    std::vector<std::string> ownPictureFiles;
    // How the player's photos are read (tests put a fake in its place before
    // loading), the thread that prepares them, and each own picture's photo
    // on the shelf.
    std::shared_ptr<PictureReader> pictureReader = MakeFileReader();
    PhotoShelf photoShelf;
    std::vector<size_t> ownPictureShelf;
    std::future<FoundPhotos> foundPhotos;
    // The picture waited for on ScreenPreparing, and the screen it goes back to.
    int32_t preparingPicture = -1;
    Screen preparingReturn = ScreenPreview;
    SurfacePtr preparingImage;  // the caption that says so
    // How long a choice waits for a photo before showing ScreenPreparing.
    int photoWaitMs = 30;
    // A resumed game's clock, held at heldMs until the board is shown again.
    bool clockHeld = false;
    uint32_t heldMs = 0;
    bool savedAtEnd = false;
    // The solver on its thread (made at the first deal), and the deal's par:
    // its solution's length (-1: not come yet, or none), shortest or best known.
    std::unique_ptr<SolveRunner> solver;
    bool parWanted = false;
    int32_t parMoves = -1;
    bool parShortest = false;
    // A hint asked for and not yet made.
    bool hintPending = false;
    // The game is solving the board (G), its last move made at autoSolveTick.
    bool autoSolving = false;
    uint32_t autoSolveTick = 0;
    // The game made moves of this board for the player (G): solved, it
    // records no best time and no fewest moves.
    bool solvedByGame = false;
};

// The game's own pace when it solves a board: one move this often.
constexpr uint32_t kAutoSolveMs = 250;

// The one Game of the process; set right after it is built.
extern Game* gameInstance;

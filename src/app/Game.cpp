// The Game object: construction, the frame dispatcher, the teardown.
#include "app/Game.h"

#include "puzzle/SolveRunner.h"

Game* gameInstance = nullptr;

Game::Game(Platform& p, AudioEngine& a) : platform(p), audio(a) {}

Game::~Game() = default;

void Game::RunFrame() {
    // This frame's presses, behind any key command a lost keyboard put off.
    for (KeyPress press : platform.TakeKeyPresses()) keyPresses.push_back(press);
    PadPresses();
    StopAutoSolveOnInput();
    TakeNumbersPresses();
    slideShown = false;
    // A click acts where the button went down.
    if (clicked) ReadCursor();
    FocusFrame();
    ClearBackBuffer(0);
    TakePhotoNews();

    switch (screen) {
        case ScreenPreview:
            DrawSidebar();
            DrawPage(50, 50, currentPicture);
            break;
        case ScreenTileView:
            DrawSidebar();
            DrawTileView();
            break;
        case ScreenOptions:
            DrawImage(0, 0, backgroundOptionsImage, nullptr, BlitMode::Opaque);
            NumbersOption();
            OptionControl(OptionBack);
            OptionControl(OptionMusic);
            OptionControl(OptionSound);
            OptionControl(OptionPicture);
            Flip();
            break;
        case ScreenHighScores:
        case ScreenHelp:
            DrawPage(50, 50, currentPicture);
            break;
        case ScreenShuffle:
            DrawSidebar();
            DealBoard();
            screen = ScreenPlaying;
            break;
        case ScreenPlaying:
            DrawSidebar();
            PlayFrame();
            CheckSolved();
            break;
        case ScreenSolved:
            DrawSidebar();
            DrawPage(50, 50, currentPicture);
            ApplyLevelChoice();
            break;
        case ScreenPreparing:
            PreparingFrame();
            break;
        default:
            break;
    }

    clicked = false;
    focus.pressed = Control::None;
    PollKeyboard();
}

void Game::ReleaseAll() {
    photoShelf.Stop();
    for (auto& picture : pictureFull) picture.reset();
    currentPicture.reset();
    for (SurfacePtr* image : {&backgroundImage, &blankTile, &borderImage, &mousePtrImage, &wonImage,
                              &helpPageImage, &highScoreImage}) {
        image->reset();
    }
    for (auto& thumb : pictureThumb) thumb.reset();
    preparingImage.reset();
    for (SurfacePtr* image : {&menuHelp, &menuExit, &menuHighScores, &menuMusic, &menuSound, &menuButton,
                              &menuPicture, &menuBack, &backgroundOptionsImage, &menuTile, &menuOptions,
                              &menuResume, &menuShuffle, &menuShuffleAgain, &menuNextLevel, &hyphenImage,
                              &digitImage, &menuPictureLeft, &menuPictureRight, &numberImage, &dashImage,
                              &menuNumbers, &gridSizeImage, &parImage, &helpKeysPageImage, &menuHelpKeys,
                              &menuHelpRules}) {
        image->reset();
    }
    for (int row = 0; row < kMaxGrid; ++row) {
        for (int col = 0; col < kMaxGrid; ++col) {
            tileImage[row][col].reset();
            boardImage[row][col].reset();
        }
    }
    ReleaseDisplay();
    ShutdownAudio();
    ReleaseInput();
}

void Game::FailAndExit(const std::string& text, const std::string& caption, bool teardown) {
    platform.ShowMessage(text, caption);
    if (teardown) ReleaseAll();
    platform.Exit(-1, false);
}

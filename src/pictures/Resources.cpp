// Start-up: the display, every image in its fixed order, the first picture,
// the colour key, the pointer, the sound and the keyboard.
#include "app/Game.h"
#include "platform/Paths.h"

namespace {

// The images below, in the order they are loaded, read ahead while the
// display comes up: whole, or wide for a thumbnail.
struct AheadOfTime {
    const char* name;
    bool wide;
};
const AheadOfTime kReadAhead[] = {
    {"Tex\\Tiger.Tex", false}, {"Tex\\Bird.Tex", false}, {"Tex\\Flower.Tex", false},
    {"Tex\\Menu\\Shuffle.Tex", false}, {"Tex\\Menu\\Tile.Tex", false}, {"Tex\\Menu\\HighScores.Tex", false},
    {"Tex\\Menu\\Options.Tex", false}, {"Tex\\Menu\\Resume.Tex", false}, {"Tex\\Menu\\Music.Tex", false},
    {"Tex\\Menu\\Sound.Tex", false}, {"Tex\\Menu\\Button.Tex", false}, {"Tex\\Menu\\Back.Tex", false},
    {"Tex\\Menu\\Picture.Tex", false}, {"Tex\\Menu\\Help.Tex", false}, {"Tex\\Menu\\Exit.Tex", false},
    {"Tex\\Menu\\ShuffleAgain.Tex", false}, {"Tex\\Menu\\NextLevel.Tex", false},
    {"Tex\\Menu\\PictureLeft.Tex", false}, {"Tex\\Menu\\PictureRight.Tex", false},
    {"Tex\\Background.Tex", false}, {"Tex\\BackgroundOptions.Tex", false}, {"Tex\\Border.Tex", false},
    {"Tex\\Won.Tex", false}, {"Tex\\HelpPage.Tex", false}, {"Tex\\HighScore.Tex", false},
    {"Tex\\Tiger.Tex", true}, {"Tex\\Bird.Tex", true}, {"Tex\\Flower.Tex", true},
    {"Tex\\MousePtr.Tex", false}, {"Tex\\Digit.Tex", false}, {"Tex\\Hyphen.Tex", false},
    {"Tex\\Numbers.Tex", false}, {"Tex\\Dash.Tex", false}, {"Tex\\Menu\\Numbers.Tex", false},
    {"Tex\\GridSize.Tex", false}, {"Tex\\Par.Tex", false}, {"Tex\\HelpKeysPage.Tex", false},
    {"Tex\\Menu\\HelpKeys.Tex", false}, {"Tex\\Menu\\HelpRules.Tex", false}, {"Tex\\Preparing.Tex", false}};

}  // namespace

int32_t Game::LoadResources() {
    std::vector<ImagesAhead::File> ahead;
    for (const AheadOfTime& image : kReadAhead) ahead.push_back({image.name, HostPath(image.name), image.wide});
    imagesAhead.Start(std::move(ahead));
    FindOwnPictures();
    InitDirectDraw();

    pictureFull[0] = LoadTex("Tex\\Tiger.Tex");
    pictureFull[1] = LoadTex("Tex\\Bird.Tex");
    pictureFull[2] = LoadTex("Tex\\Flower.Tex");
    menuShuffle = LoadTex("Tex\\Menu\\Shuffle.Tex");
    menuTile = LoadTex("Tex\\Menu\\Tile.Tex");
    menuHighScores = LoadTex("Tex\\Menu\\HighScores.Tex");
    menuOptions = LoadTex("Tex\\Menu\\Options.Tex");
    menuResume = LoadTex("Tex\\Menu\\Resume.Tex");
    menuMusic = LoadTex("Tex\\Menu\\Music.Tex");
    menuSound = LoadTex("Tex\\Menu\\Sound.Tex");
    menuButton = LoadTex("Tex\\Menu\\Button.Tex");
    menuBack = LoadTex("Tex\\Menu\\Back.Tex");
    menuPicture = LoadTex("Tex\\Menu\\Picture.Tex");
    menuHelp = LoadTex("Tex\\Menu\\Help.Tex");
    menuExit = LoadTex("Tex\\Menu\\Exit.Tex");
    menuShuffleAgain = LoadTex("Tex\\Menu\\ShuffleAgain.Tex");
    menuNextLevel = LoadTex("Tex\\Menu\\NextLevel.Tex");
    menuPictureLeft = LoadTex("Tex\\Menu\\PictureLeft.Tex");
    menuPictureRight = LoadTex("Tex\\Menu\\PictureRight.Tex");

    ChoosePicture(0);

    backgroundImage = LoadTex("Tex\\Background.Tex");
    backgroundOptionsImage = LoadTex("Tex\\BackgroundOptions.Tex");
    borderImage = LoadTex("Tex\\Border.Tex");
    wonImage = LoadTex("Tex\\Won.Tex");
    helpPageImage = LoadTex("Tex\\HelpPage.Tex");
    highScoreImage = LoadTex("Tex\\HighScore.Tex");
    pictureThumb[0] = LoadTexThumb("Tex\\Tiger.Tex");
    pictureThumb[1] = LoadTexThumb("Tex\\Bird.Tex");
    pictureThumb[2] = LoadTexThumb("Tex\\Flower.Tex");
    mousePtrImage = LoadTex("Tex\\MousePtr.Tex");
    digitImage = LoadTex("Tex\\Digit.Tex");
    hyphenImage = LoadTex("Tex\\Hyphen.Tex");
    numberImage = LoadTex("Tex\\Numbers.Tex");
    dashImage = LoadTex("Tex\\Dash.Tex");
    menuNumbers = LoadTex("Tex\\Menu\\Numbers.Tex");
    gridSizeImage = LoadTex("Tex\\GridSize.Tex");
    parImage = LoadTex("Tex\\Par.Tex");
    helpKeysPageImage = LoadTex("Tex\\HelpKeysPage.Tex");
    menuHelpKeys = LoadTex("Tex\\Menu\\HelpKeys.Tex");
    menuHelpRules = LoadTex("Tex\\Menu\\HelpRules.Tex");
    preparingImage = LoadTex("Tex\\Preparing.Tex");
    imagesAhead.Stop();
    AddOwnPictures();
    // The player's best-times file, made fresh with no times yet on the first run.
    ReadBestTimes();
    ReadSettings();

    // A damaged picture or blank-tile file ends the game now, not when the
    // player reaches that picture.
    CheckPictureFiles();

    // Pure green is see-through in every keyed image.
    constexpr uint32_t kPureGreen = 0x00FF00;
    // One value: the frame's format has a single pure green.
    const uint16_t key = static_cast<uint16_t>(MatchColor(kPureGreen));
    for (const SurfacePtr* keyed :
         {&mousePtrImage, &menuShuffle, &menuTile, &menuHighScores, &menuOptions, &menuMusic, &menuSound,
          &menuButton, &menuPicture, &menuBack, &menuResume, &menuHelp, &menuExit, &wonImage,
          &helpPageImage, &highScoreImage, &hyphenImage, &digitImage, &menuShuffleAgain, &menuNextLevel,
          &menuPictureLeft, &menuPictureRight, &numberImage, &dashImage, &menuNumbers, &gridSizeImage,
          &parImage, &helpKeysPageImage, &menuHelpKeys, &menuHelpRules, &preparingImage}) {
        if (*keyed) (*keyed)->SetColorKey(key);
    }

    InitPointer(pointerSprite, 0, 20, 3, 38, 27);

    int32_t result = StartMusic();
    if (result < 0) return result;
    result = LoadSoundEffect("Audio\\Button.aud", soundButton);
    if (result < 0) return result;
    result = LoadSoundEffect("Audio\\Tile.aud", soundTile);
    if (result < 0) return result;
    result = LoadSoundEffect("Audio\\Success.aud", soundSuccess);
    if (result < 0) return result;

    result = InitKeyboard();
    return result >= 0 ? 0 : result;
}

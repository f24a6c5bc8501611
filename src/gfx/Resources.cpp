// Start-up: the display, every image in its fixed order, the first picture,
// the colour key, the pointer, the sound and the keyboard.
#include "app/Game.h"
#include "platform/Paths.h"

namespace {

// The whole images below, in the order they are loaded: read ahead while the
// display comes up.
const char* const kWholeImages[] = {
    "Tex\\Tiger.Tex", "Tex\\Bird.Tex", "Tex\\Flower.Tex", "Tex\\Menu\\Shuffle.Tex", "Tex\\Menu\\Tile.Tex",
    "Tex\\Menu\\HighScores.Tex", "Tex\\Menu\\Options.Tex", "Tex\\Menu\\Resume.Tex", "Tex\\Menu\\Music.Tex",
    "Tex\\Menu\\Sound.Tex", "Tex\\Menu\\Button.Tex", "Tex\\Menu\\Back.Tex", "Tex\\Menu\\Picture.Tex",
    "Tex\\Menu\\Help.Tex", "Tex\\Menu\\Exit.Tex", "Tex\\Menu\\ShuffleAgain.Tex", "Tex\\Menu\\NextLevel.Tex",
    "Tex\\Menu\\PictureLeft.Tex", "Tex\\Menu\\PictureRight.Tex", "Tex\\Background.Tex",
    "Tex\\BackgroundOptions.Tex", "Tex\\Border.Tex", "Tex\\Won.Tex", "Tex\\HelpPage.Tex", "Tex\\HighScore.Tex",
    "Tex\\MousePtr.Tex", "Tex\\Digit.Tex", "Tex\\Hyphen.Tex"};

}  // namespace

int32_t Game::LoadResources() {
    std::vector<std::pair<std::string, std::string>> ahead;
    for (const char* name : kWholeImages) ahead.emplace_back(name, HostPath(name));
    imagesAhead.Start(std::move(ahead));
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
    imagesAhead.Stop();
    AddOwnPictures();
    // The player's best-times file, made fresh with no times yet on the first run.
    ReadBestTimes();

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
          &menuPictureLeft, &menuPictureRight}) {
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

// An image file as the game loads it, whole and as a thumbnail: a file whose
// headers do not fit is refused before SDL reads its pixels (run with a
// malloc limit, so that a large allocation is a failure too), and whatever
// is taken comes out at its declared size.
#include <SDL.h>

#include <algorithm>
#include <cstdint>

#include "app/Game.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "fuzz/FuzzFolder.h"
#include "gfx/BitmapCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::Instance();
    folder.Write("Tex/Fuzz.Tex", data, size);
    const bool fits = BitmapHeaderFits(data, std::min(size, kBitmapHeadBytes), size);

    FakePlatform platform;
    platform.keepFrames = false;
    FakeAudio audio;
    Game game(platform, audio);
    for (const bool thumb : {false, true}) {
        SurfacePtr image;
        bool refused = false;
        try {
            image = thumb ? game.LoadTexThumb("Tex\\Fuzz.Tex") : game.LoadTex("Tex\\Fuzz.Tex");
        } catch (const ProcessExit& e) {
            refused = true;
            FUZZ_RULE(e.status == -1 && !platform.shownMessages.empty() &&
                          platform.shownMessages.back().text == "Can't Load Tex\\Fuzz.Tex! Game is Exiting!!",
                      "a refused image did not end the game with its message");
        }
        FUZZ_RULE(fits || refused, "an image whose headers do not fit was taken");
        if (refused) continue;
        FUZZ_RULE(image, "no image and no refusal");
        if (thumb) {
            FUZZ_RULE(image->Width() == 60 && image->Height() == 60, "a thumbnail of %dx%d", image->Width(),
                      image->Height());
        } else {
            // Its pixels are in the file: at least one bit each.
            FUZZ_RULE(image->Width() <= kMaxBitmapSide && image->Height() <= kMaxBitmapSide &&
                          static_cast<uint64_t>(image->Width()) * image->Height() <= 8 * static_cast<uint64_t>(size),
                      "a %dx%d image from %zu bytes", image->Width(), image->Height(), size);
        }
    }
    return 0;
}

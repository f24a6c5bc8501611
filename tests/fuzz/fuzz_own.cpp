// One of the player's picture files as the game reads it: the header check
// and the whole read by the decoders (run with memory limits, so that a file
// costing more than its square is a failure). What the header refuses is
// never read; whatever is read comes out prepared at 500x500 and 60x60.
#include <cstdint>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "pictures/PhotoRead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::Instance();
    folder.Write("picture", data, size);
    const std::string path = folder.File("picture");
    std::string probed, why;
    const bool fits = ProbeOwnPicture(path, probed);
    const std::optional<OwnPicture> picture = ReadOwnPicture(path, why);
    FUZZ_RULE(fits || !picture, "a picture read whose header was refused (%s)", probed.c_str());
    FUZZ_RULE(picture || !why.empty(), "no picture and no reason");
    if (picture) {
        FUZZ_RULE(picture->full && picture->full->Width() == 500 && picture->full->Height() == 500,
                  "a full picture not 500x500");
        FUZZ_RULE(picture->thumb && picture->thumb->Width() == 60 && picture->thumb->Height() == 60,
                  "a thumbnail not 60x60");
    }
    return 0;
}

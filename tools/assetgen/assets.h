// The parts of the generator: each writes its files under the game folder.
#pragma once

#include "image.h"

#include <string>
#include <vector>

typedef struct _RsvgHandle RsvgHandle;

namespace assetgen {

// An SVG file read with librsvg; null, said on stderr, when it can't be.
RsvgHandle* loadSvg(const std::string& path);

struct Pictures {
    Image full[3];  // Tiger, Bird, Flower, 500x500
};

// Renders art/<name>.svg as facets, with its #detail group crisp on top.
Image renderPicture(const std::string& artDir, const std::string& name, uint64_t seed);
// The blank-tile image of a picture: a recessed slot at every tile size.
Image makeHollow(const Image& picture);

bool writePictures(const std::string& artDir, const std::string& out, Pictures& pics);
bool writeInterface(const std::string& out, const Pictures& pics);

// A caption as writeInterface drew it: the image it is on (its name under
// Tex/), its text, the font size and the heights of its capitals and of its
// small letters, in the image's pixels.
struct Lettering {
    std::string image;
    std::string text;
    double size;
    double capHeight;
    double xHeight;
};
const std::vector<Lettering>& Captions();
bool writeAudio(const std::string& out);
bool writeData(const std::string& out);
// The desktop's icons: vesk-48.png ... vesk-256.png and vesk.svg in `out`.
bool writeDesktopIcons(const std::string& artDir, const std::string& out);

}  // namespace assetgen

// assetgen OUTDIR: writes every image, sound and data file the game reads.
// assetgen --icons OUTDIR: writes the desktop's icons of the game.
// assetgen OUTDIR --captions: also lists every caption drawn, a line each:
// image, font size, capital height, small-letter height, text (tab apart).
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "assets.h"

#ifndef VESK_ART_DIR
#define VESK_ART_DIR "art"
#endif

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen OUTDIR [ARTDIR] [--only pictures|interface|audio|data]\n"
                             "       assetgen --icons OUTDIR [ARTDIR]\n");
        return 2;
    }
    using namespace assetgen;
    if (std::strcmp(argv[1], "--icons") == 0) {
        if (argc < 3) return 2;
        makeDirs(argv[2]);
        const bool ok = writeDesktopIcons(argc > 3 ? argv[3] : VESK_ART_DIR, argv[2]);
        cairo_debug_reset_static_data();
        FcFini();
        if (!ok) std::fprintf(stderr, "assetgen: could not write the icons under %s\n", argv[2]);
        return ok ? 0 : 1;
    }
    const std::string out = argv[1];
    std::string art = VESK_ART_DIR;
    std::string only;
    bool captions = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
        else if (std::strcmp(argv[i], "--captions") == 0)
            captions = true;
        else
            art = argv[i];
    }
    makeDirs(out + "/Tex/Menu");
    makeDirs(out + "/Audio");
    bool ok = true;
    Pictures pics;
    if (only.empty() || only == "pictures" || only == "interface") ok &= writePictures(art, out, pics);
    if (only.empty() || only == "interface") ok &= writeInterface(out, pics);
    if (captions) {
        for (const Lettering& l : Captions()) {
            std::printf("%s\t%.2f\t%.2f\t%.2f\t%s\n", l.image.c_str(), l.size, l.capHeight, l.xHeight, l.text.c_str());
        }
    }
    if (only.empty() || only == "audio") ok &= writeAudio(out);
    if (only.empty() || only == "data") ok &= writeData(out);
    // Let the font and drawing libraries drop their caches, so leak checkers
    // see only what is really lost.
    cairo_debug_reset_static_data();
    FcFini();
    if (!ok) {
        std::fprintf(stderr, "assetgen: could not write every file under %s\n", out.c_str());
        return 1;
    }
    return 0;
}

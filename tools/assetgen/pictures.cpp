#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "assets.h"
#include "pictures/HollowLook.h"
#include "lowpoly.h"

namespace assetgen {

RsvgHandle* loadSvg(const std::string& path) {
    GError* err = nullptr;
    RsvgHandle* h = rsvg_handle_new_from_file(path.c_str(), &err);
    if (!h) {
        std::fprintf(stderr, "assetgen: cannot read %s: %s\n", path.c_str(), err ? err->message : "?");
        if (err) g_error_free(err);
    }
    return h;
}

Image renderPicture(const std::string& artDir, const std::string& name, uint64_t seed) {
    const std::string path = artDir + "/" + name + ".svg";
    Image base2x;
    {
        RsvgHandle* h = loadSvg(path);
        if (!h) return Image();
        const char css[] = "#detail { display: none; }";
        rsvg_handle_set_stylesheet(h, reinterpret_cast<const guint8*>(css), sizeof css - 1, nullptr);
        Canvas c(1000, 1000);
        RsvgRectangle vp{0, 0, 1000, 1000};
        rsvg_handle_render_document(h, c.cr(), &vp, nullptr);
        base2x = c.toImage();
        g_object_unref(h);
    }
    MeshStyle style;
    style.seed = seed;
    style.rMin = 4.5;
    style.rMax = 17.0;
    style.shade = 0.24;
    Image mesh = lowPoly(base2x, 500, 500, style);

    RsvgHandle* h = loadSvg(path);
    if (!h) return Image();
    Canvas c(500, 500);
    c.put(mesh, 0, 0);
    RsvgRectangle vp{0, 0, 500, 500};
    if (rsvg_handle_has_sub(h, "#detail")) rsvg_handle_render_layer(h, c.cr(), "#detail", &vp, nullptr);
    g_object_unref(h);
    return c.toImage();
}

Image makeHollow(const Image& pic) {
    // The empty slot: the same look the game gives the blank tile of a
    // player's own picture.
    Image out(pic.w, pic.h);
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x) {
            const Rgb c = pic.at(x, y);
            const HollowRgb h = HollowPixel(c.r, c.g, c.b, x, y);
            out.at(x, y) = Rgb{h.r, h.g, h.b};
        }
    return out;
}

bool writePictures(const std::string& artDir, const std::string& out, Pictures& pics) {
    const char* names[3] = {"tiger", "bird", "flower"};
    const char* files[3] = {"Tiger", "Bird", "Flower"};
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        pics.full[i] = renderPicture(artDir, names[i], 1000 + uint64_t(i));
        if (pics.full[i].w != 500) return false;
        ok &= writeBmp(out + "/Tex/" + files[i] + ".Tex", pics.full[i]);
        ok &= writeBmp(out + "/Tex/" + files[i] + "Hollow.Tex", makeHollow(pics.full[i]));
    }
    return ok;
}

}  // namespace assetgen

// The desktop's icon of the game: the same design as the window icon (the
// Tiger as a 3 x 3 puzzle with its corner tile out, in a gold frame), drawn
// in vectors from the Tiger's art, so it is crisp at every size. Written as
// PNGs for the icon theme's fixed sizes and as a scalable SVG.
#include <cairo-svg.h>
#include <librsvg/rsvg.h>

#include <cmath>

#include "assets.h"

namespace assetgen {

namespace {

// Draws the icon on a 64 x 64 design grid scaled to `size` pixels.
bool drawIcon(cairo_t* cr, double size, RsvgHandle* tiger) {
    cairo_scale(cr, size / 64.0, size / 64.0);
    roundRect(cr, 0, 0, 64, 64, 7);
    cairo_set_source_rgb(cr, 150 / 255.0, 100 / 255.0, 32 / 255.0);
    cairo_fill(cr);
    roundRect(cr, 1, 1, 62, 62, 6);
    cairo_set_source_rgb(cr, 214 / 255.0, 158 / 255.0, 62 / 255.0);
    cairo_fill(cr);
    bool ok = true;
    for (int r = 0; r < 3; ++r) {
        for (int col = 0; col < 3; ++col) {
            const double x = 4 + col * 19, y = 4 + r * 19;
            cairo_save(cr);
            cairo_rectangle(cr, x, y, 18, 18);
            cairo_clip(cr);
            if (r == 0 && col == 0) {
                cairo_set_source_rgb(cr, 30 / 255.0, 24 / 255.0, 20 / 255.0);
                cairo_paint(cr);
            } else {
                // The whole picture over the 56 x 56 board, seen through this tile.
                const RsvgRectangle board{4, 4, 56, 56};
                ok &= rsvg_handle_render_document(tiger, cr, &board, nullptr) != 0;
            }
            cairo_restore(cr);
        }
    }
    return ok;
}

bool writePng(const std::string& path, int size, RsvgHandle* tiger) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    bool ok = drawIcon(cr, size, tiger);
    cairo_destroy(cr);
    ok &= cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

bool writeSvg(const std::string& path, RsvgHandle* tiger) {
    cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), 64, 64);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(surface);
    bool ok = drawIcon(cr, 64, tiger);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    ok &= cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

bool writeDesktopIcons(const std::string& artDir, const std::string& out) {
    RsvgHandle* tiger = loadSvg(artDir + "/tiger.svg");
    if (!tiger) return false;
    bool ok = true;
    for (int size : {48, 64, 128, 256}) ok &= writePng(out + "/vesk-" + std::to_string(size) + ".png", size, tiger);
    ok &= writeSvg(out + "/vesk.svg", tiger);
    g_object_unref(tiger);
    return ok;
}

}  // namespace assetgen

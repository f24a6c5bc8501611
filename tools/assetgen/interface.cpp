// The game's interface art: backgrounds, the picture frame, every control,
// the digits, the pages, the pointer and the window icon. One style throughout:
// faceted indigo plates with gold rims and cream lettering.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "assets.h"
#include "lowpoly.h"

namespace assetgen {

namespace {

constexpr const char* kFontBlack = "Lato Black";
constexpr const char* kFontBold = "Lato";

constexpr Rgb kCream{255, 242, 208};
constexpr Rgb kGold{240, 190, 80};
constexpr Rgb kGoldLight{255, 232, 150};
constexpr Rgb kGoldDark{138, 90, 26};
constexpr Rgb kInk{24, 16, 30};
constexpr Rgb kPanel{26, 36, 74};      // the sidebar panel, what its buttons sit on
constexpr Rgb kPage{22, 30, 62};       // the pages' backdrop around their controls

// Every caption drawn, by the image it is drawn on (Captions()).
std::vector<Lettering> gLettering;
std::string gDrawing;  // the image being drawn

void setRgb(cairo_t* cr, Rgb c, double a = 1.0) { cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, a); }

Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [&](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
    return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// A faceted fill: a vertical gradient with a soft diagonal sheen, re-rendered
// as triangles of about `size` pixels.
Image facets(int w, int h, Rgb top, Rgb bottom, uint64_t seed, double size, double shade = 0.22) {
    Canvas c(w * 2, h * 2);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h * 2);
    cairo_pattern_add_color_stop_rgb(g, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_set_source(c.cr(), g);
    cairo_paint(c.cr());
    cairo_pattern_destroy(g);
    cairo_pattern_t* s = cairo_pattern_create_linear(0, 0, w * 2, h * 2);
    cairo_pattern_add_color_stop_rgba(s, 0.0, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(s, 0.35, 1, 1, 1, 0.10);
    cairo_pattern_add_color_stop_rgba(s, 0.5, 1, 1, 1, 0.0);
    cairo_set_source(c.cr(), s);
    cairo_paint(c.cr());
    cairo_pattern_destroy(s);
    MeshStyle st;
    st.seed = seed;
    st.rMin = size * 0.8;
    st.rMax = size;
    st.shade = shade;
    return lowPoly(c.toImage(), w, h, st);
}

// Paints an image as the current source at (x, y) through the current path.
void fillWith(cairo_t* cr, const Image& img, double x, double y) {
    Canvas tmp(img.w, img.h);
    tmp.put(img, 0, 0);
    cairo_set_source_surface(cr, tmp.surface(), x, y);
    cairo_fill(cr);
}

enum class Align { Left, Center, Right };

// Lettering with a dark outline; (x, y) is the anchor of the chosen side at
// the middle of the capital height.
void letter(cairo_t* cr, const char* font, double size, const std::string& s, double x, double y, Rgb fill,
            Rgb outline, double outlineW, Align align = Align::Center, Rgb fillBottom = {}, bool gradient = false) {
    cairo_select_font_face(cr, font, CAIRO_FONT_SLANT_NORMAL,
                           std::string(font) == kFontBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext, cap;
    cairo_text_extents(cr, s.c_str(), &ext);
    cairo_text_extents(cr, "H", &cap);
    {
        // The caption's heights for the list, unrounded.
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_get_font_options(cr, options);
        cairo_font_options_t* exact = cairo_font_options_copy(options);
        cairo_font_options_set_hint_metrics(exact, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(exact, CAIRO_HINT_STYLE_NONE);
        cairo_set_font_options(cr, exact);
        cairo_text_extents_t capital, small;
        cairo_text_extents(cr, "H", &capital);
        cairo_text_extents(cr, "x", &small);
        cairo_set_font_options(cr, options);
        cairo_font_options_destroy(exact);
        cairo_font_options_destroy(options);
        gLettering.push_back({gDrawing, s, size, capital.height, small.height});
    }
    double tx = align == Align::Left ? x : align == Align::Right ? x - ext.x_advance : x - ext.x_advance / 2;
    double ty = y - (cap.y_bearing + cap.height / 2);
    cairo_new_path(cr);
    cairo_move_to(cr, tx, ty);
    cairo_text_path(cr, s.c_str());
    if (outlineW > 0) {
        setRgb(cr, outline);
        cairo_set_line_width(cr, outlineW);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    if (gradient) {
        cairo_pattern_t* g = cairo_pattern_create_linear(0, ty + cap.y_bearing, 0, ty);
        cairo_pattern_add_color_stop_rgb(g, 0, fill.r / 255.0, fill.g / 255.0, fill.b / 255.0);
        cairo_pattern_add_color_stop_rgb(g, 1, fillBottom.r / 255.0, fillBottom.g / 255.0, fillBottom.b / 255.0);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    } else {
        setRgb(cr, fill);
        cairo_fill(cr);
    }
}

// A gold rim around a rounded plate.
void rim(cairo_t* cr, double x, double y, double w, double h, double r, bool lit) {
    roundRect(cr, x + 1, y + 1, w - 2, h - 2, std::max(1.0, r - 1));
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    Rgb a = lit ? Rgb{255, 250, 200} : kGoldLight, b = lit ? kGold : kGoldDark;
    cairo_pattern_add_color_stop_rgb(g, 0, a.r / 255.0, a.g / 255.0, a.b / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, b.r / 255.0, b.g / 255.0, b.b / 255.0);
    cairo_set_source(cr, g);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_pattern_destroy(g);
    roundRect(cr, x + 2.5, y + 2.5, w - 5, h - 5, std::max(1.0, r - 2.5));
    setRgb(cr, kInk, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// One frame of a control: a faceted plate, normal (deep blue) or lit (gold).
void plateFrame(cairo_t* cr, int x0, int w, int h, const std::string& caption, double fontSize, bool lit,
                uint64_t seed) {
    const double r = std::min(12.0, h / 2.6);
    Image fill = lit ? facets(w, h, Rgb{255, 214, 120}, Rgb{206, 112, 28}, seed, 9)
                     : facets(w, h, Rgb{62, 98, 170}, Rgb{22, 36, 84}, seed, 9);
    roundRect(cr, x0 + 0.5, 0.5, w - 1, h - 1, r);
    fillWith(cr, fill, x0, 0);
    rim(cr, x0, 0, w, h, r, lit);
    if (!caption.empty()) {
        if (lit)
            letter(cr, kFontBlack, fontSize, caption, x0 + w / 2.0, h / 2.0 + 0.5, Rgb{255, 255, 248},
                   Rgb{90, 36, 8}, 3.2);
        else
            letter(cr, kFontBlack, fontSize, caption, x0 + w / 2.0, h / 2.0 + 0.5, kCream, kInk, 3.0,
                   Align::Center, Rgb{255, 206, 110}, true);
    }
}

// A two-frame control image: normal left, hovered right.
Image control(int w, int h, const std::string& caption, double fontSize, Rgb matte, uint64_t seed) {
    Canvas c(2 * w, h);
    plateFrame(c.cr(), 0, w, h, caption, fontSize, false, seed);
    plateFrame(c.cr(), w, w, h, caption, fontSize, true, seed + 1);
    return c.toKeyed(matte);
}

// The largest font size, up to `most`, at which every caption fits `width`:
// one size for a column of buttons.
double fittingSize(const std::vector<std::string>& captions, double most, double width) {
    Canvas c(8, 8);
    cairo_select_font_face(c.cr(), kFontBlack, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(c.cr(), most);
    double size = most;
    for (const std::string& s : captions) {
        cairo_text_extents_t ext;
        cairo_text_extents(c.cr(), s.c_str(), &ext);
        if (ext.x_advance > 0) size = std::min(size, most * width / ext.x_advance);
    }
    return std::floor(size * 2) / 2;
}

// A small two-frame control with a chevron for a caption: the arrows beside
// the options page's thumbnails that page the row of pictures.
Image arrowControl(int w, int h, int dir, uint64_t seed) {
    Canvas c(2 * w, h);
    cairo_t* cr = c.cr();
    for (int f = 0; f < 2; ++f) {
        const bool lit = f == 1;
        plateFrame(cr, f * w, w, h, "", 0, lit, seed + f);
        const double cx = f * w + w / 2.0 + dir * 0.5, cy = h / 2.0, s = h * 0.22;
        cairo_new_path(cr);
        cairo_move_to(cr, cx - dir * s * 0.55, cy - s);
        cairo_line_to(cr, cx + dir * s * 0.55, cy);
        cairo_line_to(cr, cx - dir * s * 0.55, cy + s);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        setRgb(cr, lit ? Rgb{90, 36, 8} : kInk);
        cairo_set_line_width(cr, 6);
        cairo_stroke_preserve(cr);
        setRgb(cr, lit ? Rgb{255, 255, 248} : kCream);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    return c.toKeyed(kPage);
}

// The backdrop shared by the screens: deep indigo facets with soft aurora light.
Image backdrop(int w, int h, uint64_t seed, Rgb tint) {
    Canvas c(w * 2, h * 2);
    cairo_t* cr = c.cr();
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, w * 2, h * 2);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.07, 0.09, 0.22);
    cairo_pattern_add_color_stop_rgb(g, 0.5, tint.r / 255.0, tint.g / 255.0, tint.b / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.05, 0.06, 0.16);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    Rng rng(seed);
    const Rgb glows[4] = {{40, 150, 170}, {120, 70, 180}, {200, 120, 60}, {60, 90, 200}};
    for (int i = 0; i < 9; ++i) {
        double x = rng.range(0, w * 2), y = rng.range(0, h * 2), rad = rng.range(150, 420);
        Rgb gc = glows[i % 4];
        cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, rad);
        cairo_pattern_add_color_stop_rgba(p, 0, gc.r / 255.0, gc.g / 255.0, gc.b / 255.0, 0.32);
        cairo_pattern_add_color_stop_rgba(p, 1, gc.r / 255.0, gc.g / 255.0, gc.b / 255.0, 0);
        cairo_set_source(cr, p);
        cairo_paint(cr);
        cairo_pattern_destroy(p);
    }
    MeshStyle st;
    st.seed = seed;
    st.rMin = 22;
    st.rMax = 30;
    st.shade = 0.3;
    return lowPoly(c.toImage(), w, h, st);
}

void wordmark(cairo_t* cr, double x, double y, double size) {
    letter(cr, kFontBlack, size, "VESK", x, y, kGoldLight, kInk, 4, Align::Left, kGold, true);
}

// The frame around the picture. Its outer five pixels are a bevelled gold
// moulding; the inside, under the picture, is bronze, so the gaps between
// tiles read as fine gold seams. The top-left 64 and 66 pixel squares make
// the same bevel around the thumbnails: bright edge top and left, bronze
// bottom and right.
Image border() {
    const int S = 510;
    Image img(S, S);
    const Rgb top[5] = {{150, 100, 32}, {255, 236, 160}, {246, 198, 92}, {206, 150, 56}, {96, 64, 20}};
    const Rgb bot[5] = {{70, 44, 14}, {130, 86, 28}, {196, 142, 54}, {232, 184, 86}, {255, 226, 140}};
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            int dTop = std::min(x, y), dBot = std::min(S - 1 - x, S - 1 - y);
            Rgb c;
            if (dTop < 5 && (dTop <= dBot)) {
                c = top[dTop];
                // a slow shimmer along the moulding
                double t = 0.5 + 0.5 * std::sin((x + y) * 0.035);
                c = mix(c, Rgb{255, 246, 200}, 0.12 * t * (dTop == 1 || dTop == 2));
            } else if (dBot < 5) {
                c = bot[dBot];
            } else {
                double t = (x + y) / double(2 * S);
                c = mix(Rgb{168, 116, 44}, Rgb{120, 80, 30}, t);
            }
            img.at(x, y) = c;
        }
    return img;
}

Image background(const Pictures&) {
    Image img = backdrop(800, 600, 71, Rgb{28, 46, 96});
    Canvas c(800, 600);
    c.put(img, 0, 0);
    cairo_t* cr = c.cr();
    // The sidebar panel.
    Image panel = facets(200, 600, Rgb{40, 54, 106}, Rgb{20, 28, 62}, 72, 16, 0.26);
    cairo_rectangle(cr, 600, 0, 200, 600);
    fillWith(cr, panel, 600, 0);
    cairo_rectangle(cr, 600, 0, 2, 600);
    setRgb(cr, kGold);
    cairo_fill(cr);
    cairo_rectangle(cr, 602, 0, 1, 600);
    setRgb(cr, kInk, 0.6);
    cairo_fill(cr);
    // Soft shadow around the picture frame.
    for (int i = 0; i < 10; ++i) {
        cairo_rectangle(cr, 45 - i + 4, 45 - i + 6, 510 + 2 * i, 510 + 2 * i);
        setRgb(cr, Rgb{0, 0, 8}, 0.05);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    }
    // The clock's slot, with its label, and the move counter's beside it, up
    // to the board's right edge, its caption inside (the count's four digits
    // go at (455, 560)).
    for (auto [x, w] : {std::pair{200.5, 196}, std::pair{404.5, 144}}) {
        roundRect(cr, x, 556.5, w, 38, 9);
        setRgb(cr, Rgb{8, 10, 26}, 0.78);
        cairo_fill_preserve(cr);
        setRgb(cr, kGoldDark);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    letter(cr, kFontBlack, 22, "Time", 192, 575, kCream, kInk, 3, Align::Right, Rgb{255, 206, 110}, true);
    letter(cr, kFontBlack, 13, "Moves", 430, 575, kCream, kInk, 2.4, Align::Center, Rgb{255, 206, 110}, true);
    // The thumbnail's shelf and the game's name at the foot of the panel.
    wordmark(cr, 652, 568, 30);
    return c.toImage();
}

Image backgroundOptions() {
    Image img = backdrop(800, 600, 91, Rgb{44, 34, 96});
    Canvas c(800, 600);
    c.put(img, 0, 0);
    cairo_t* cr = c.cr();
    // A soft pool of darkness behind the pages' content keeps them calm.
    cairo_pattern_t* v = cairo_pattern_create_radial(400, 290, 60, 400, 290, 420);
    cairo_pattern_add_color_stop_rgba(v, 0, 0.02, 0.03, 0.1, 0.45);
    cairo_pattern_add_color_stop_rgba(v, 1, 0.02, 0.03, 0.1, 0.0);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);
    wordmark(cr, 24, 40, 30);
    return c.toImage();
}

Image tickBox() {
    Canvas c(50, 29);
    cairo_t* cr = c.cr();
    for (int f = 0; f < 2; ++f) {
        double x = f * 25;
        roundRect(cr, x + 1, 4, 23, 23, 5);
        setRgb(cr, Rgb{14, 18, 40});
        cairo_fill_preserve(cr);
        setRgb(cr, kGold);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        if (f == 0) {
            cairo_move_to(cr, x + 5.5, 15);
            cairo_line_to(cr, x + 11, 22);
            cairo_line_to(cr, x + 21, 4.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            setRgb(cr, kInk);
            cairo_set_line_width(cr, 6);
            cairo_stroke_preserve(cr);
            setRgb(cr, kGoldLight);
            cairo_set_line_width(cr, 3.2);
            cairo_stroke(cr);
        }
    }
    return c.toKeyed(kPage);
}

Image digits() {
    Canvas c(260, 30);
    for (int d = 0; d < 10; ++d)
        letter(c.cr(), kFontBlack, 29, std::string(1, char('0' + d)), 26 * d + 13, 15, kCream, kInk, 3.4,
               Align::Center, Rgb{255, 200, 96}, true);
    return c.toKeyed(kInk);
}

Image hyphen() {
    // Drawn 4 pixels below the digits' top, in the 10-pixel gap: two dots.
    Canvas c(10, 22);
    cairo_t* cr = c.cr();
    for (double y : {7.0, 16.0}) {
        cairo_arc(cr, 5, y, 3.4, 0, 2 * M_PI);
        setRgb(cr, kInk);
        cairo_fill(cr);
        cairo_arc(cr, 5, y, 2.2, 0, 2 * M_PI);
        setRgb(cr, kGoldLight);
        cairo_fill(cr);
    }
    return c.toKeyed(kInk);
}

void star(cairo_t* cr, double x, double y, double r, double inner, double angle) {
    for (int i = 0; i < 8; ++i) {
        double a = angle + i * M_PI / 4, rr = (i % 2) ? inner : r;
        double px = x + rr * std::cos(a), py = y + rr * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, px, py);
        else
            cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
}

Image won() {
    // Drawn at (130, 120); the solve time follows at (200, 350), that is at
    // (70, 230) here, and the moves at (402, 350), (272, 230) here, each in
    // a dark slot like the clock's below the panel.
    const int W = 400, H = 212, slotBottom = 272;
    Canvas c(W, slotBottom);
    cairo_t* cr = c.cr();
    for (double x : {58.5, 266.5}) {
        roundRect(cr, x, 222.5, x < 100 ? 200 : 106, 46, 10);
        setRgb(cr, Rgb{10, 12, 30});
        cairo_fill_preserve(cr);
        setRgb(cr, kGold);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    Image fill = facets(W, H, Rgb{58, 92, 170}, Rgb{20, 30, 76}, 301, 14);
    roundRect(cr, 6.5, 22.5, W - 13, H - 29, 20);
    fillWith(cr, fill, 0, 0);
    rim(cr, 6, 22, W - 12, H - 28, 20, false);
    // a ribbon across the top with stars
    roundRect(cr, 40.5, 2.5, W - 81, 44, 12);
    Image rib = facets(W - 80, 46, Rgb{255, 210, 110}, Rgb{200, 110, 30}, 302, 8);
    fillWith(cr, rib, 40, 2);
    rim(cr, 40, 2, W - 80, 46, 12, true);
    letter(cr, kFontBlack, 24, "PUZZLE COMPLETE", W / 2.0, 25, Rgb{255, 255, 245}, Rgb{90, 36, 8}, 3);
    letter(cr, kFontBlack, 64, "Solved!", W / 2.0, 104, Rgb{255, 246, 200}, kInk, 5, Align::Center,
           Rgb{246, 178, 60}, true);
    for (int i = 0; i < 2; ++i) {
        double x = i ? W - 34 : 34;
        star(cr, x, 104, 15, 5, -M_PI / 2);
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 3);
        cairo_stroke_preserve(cr);
        setRgb(cr, kGoldLight);
        cairo_fill(cr);
    }
    letter(cr, kFontBold, 19, "Your time", 158.5, 164, kCream, kInk, 2.5);
    letter(cr, kFontBold, 19, "Moves", 319.5, 164, kCream, kInk, 2.5);
    cairo_move_to(cr, 70, 186);
    cairo_line_to(cr, 360, 186);
    setRgb(cr, kGold, 0.7);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    return c.toKeyed(kInk);
}

// The solved page's par line, drawn at (210, 398) under the won panel: a dark
// slot like the panel's for each of "shortest" and "best known", one above the
// other, the words ending at x = 138 and the par's digits drawn from x = 146.
Image parLine() {
    const int W = 240, H = 40;
    Canvas c(W, 2 * H);
    cairo_t* cr = c.cr();
    const char* words[2] = {"shortest", "best known"};
    for (int k = 0; k < 2; ++k) {
        const double y = k * H;
        roundRect(cr, 1.5, y + 1.5, W - 3, H - 3, 10);
        setRgb(cr, Rgb{10, 12, 30});
        cairo_fill_preserve(cr);
        setRgb(cr, kGold);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        letter(cr, kFontBold, 19, words[k], 138, y + H / 2.0, kCream, kInk, 2.5, Align::Right);
    }
    return c.toKeyed(kInk);
}

// A small N x N grid, the row marker of the best-times page.
void gridIcon(cairo_t* cr, double x, double y, double size, int n) {
    double cell = size / n;
    for (int r = 0; r < n; ++r)
        for (int col = 0; col < n; ++col) {
            cairo_rectangle(cr, x + col * cell + 0.75, y + r * cell + 0.75, cell - 1.5, cell - 1.5);
            double t = double(r + col) / (2 * n - 2);
            setRgb(cr, (r == 0 && col == 0) ? Rgb{14, 18, 40} : mix(kGoldLight, Rgb{214, 120, 40}, t));
            cairo_fill(cr);
        }
}

// The faceted, gold-rimmed panel of the best-times and help pages, with its title.
void pagePanel(cairo_t* cr, int W, int H, Rgb light, unsigned seed, double titleSize, const char* title,
               double titleY) {
    Image fill = facets(W, H, light, Rgb{18, 26, 66}, seed, 18);
    roundRect(cr, 0.5, 0.5, W - 1, H - 1, 22);
    fillWith(cr, fill, 0, 0);
    rim(cr, 0, 0, W, H, 22, false);
    letter(cr, kFontBlack, titleSize, title, W / 2.0, titleY, Rgb{255, 246, 200}, kInk, 4, Align::Center,
           Rgb{246, 178, 60}, true);
}

Image highScore() {
    // Drawn at (145, 36); the times go at (400, 110 + 70k), i.e. (255, 74 + 70k)
    // here, the fewest moves beside them at (289, 110 + 70k), (144, 74 + 70k)
    // here, each column under its heading.
    const int W = 510, H = 404;
    Canvas c(W, H);
    cairo_t* cr = c.cr();
    pagePanel(cr, W, H, Rgb{50, 76, 150}, 401, 34, "", 36);
    for (auto [heading, x] : {std::pair{"Moves", 190.5}, std::pair{"Best Times", 343.5}}) {
        letter(cr, kFontBlack, 32, heading, x, 36, Rgb{255, 246, 200}, kInk, 4, Align::Center, Rgb{246, 178, 60},
               true);
    }
    for (int k = 0; k < 5; ++k) {
        int n = k + 2;
        double y = 74 + 70 * k;
        roundRect(cr, 30.5, y - 6.5, 425, 43, 10);
        setRgb(cr, Rgb{8, 10, 28}, 0.55);
        cairo_fill(cr);
        gridIcon(cr, 40, y + 3, 24, n);
        std::string label = std::to_string(n) + " x " + std::to_string(n);
        letter(cr, kFontBlack, 24, label, 128, y + 15, kCream, kInk, 3, Align::Right);
        for (auto [x, w] : {std::pair{136.5, 108}, std::pair{249.5, 188}}) {
            roundRect(cr, x, y - 3.5, w, 37, 8);
            setRgb(cr, Rgb{4, 6, 18}, 0.85);
            cairo_fill_preserve(cr);
            setRgb(cr, kGoldDark);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
        }
    }
    return c.toKeyed(kPage);
}

// The small number badges of the tiles, 1 to 35 side by side, 26 x 18 each:
// gold figures on an indigo plate with a gold rim, drawn in a tile's corner.
Image tileNumbers() {
    const int W = 26, H = 18;
    Canvas c(W * 35, H);
    cairo_t* cr = c.cr();
    for (int n = 1; n <= 35; ++n) {
        const double x = (n - 1) * W;
        roundRect(cr, x + 1, 1, W - 2, H - 2, 5);
        setRgb(cr, Rgb{26, 36, 84});
        cairo_fill_preserve(cr);
        setRgb(cr, kGold);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
        // 13: figures 9.5 px tall, readable in the smallest window.
        letter(cr, kFontBlack, 13, std::to_string(n), x + W / 2.0, H / 2.0, kGoldLight, kInk, 0, Align::Center,
               kGold, true);
    }
    return c.toKeyed(Rgb{26, 36, 84});
}

// "None yet" on the best-times page: a dash in the digits' style, as high as
// a digit so that it lines up with them.
// The caption over the board while a player's photo is being prepared: a
// small panel like the solved banner's, drawn keyed at the board's middle.
Image preparing() {
    const int W = 300, H = 64;
    Canvas c(W, H);
    cairo_t* cr = c.cr();
    Image fill = facets(W, H, Rgb{58, 92, 170}, Rgb{20, 30, 76}, 303, 12);
    roundRect(cr, 2.5, 2.5, W - 5, H - 5, 14);
    fillWith(cr, fill, 0, 0);
    rim(cr, 2, 2, W - 4, H - 4, 14, false);
    letter(cr, kFontBlack, 26, "Preparing picture...", W / 2.0, H / 2.0 + 0.5, Rgb{255, 246, 200}, kInk, 4,
           Align::Center, Rgb{246, 178, 60}, true);
    return c.toKeyed(kInk);
}

Image dash() {
    Canvas c(30, 30);
    cairo_t* cr = c.cr();
    roundRect(cr, 4, 12.5, 22, 6, 3);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 3.4);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 12.5, 0, 18.5);
    cairo_pattern_add_color_stop_rgb(g, 0, kCream.r / 255.0, kCream.g / 255.0, kCream.b / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, 1.0, 200 / 255.0, 96 / 255.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    return c.toKeyed(kInk);
}

// The help pages' lettering. The frame may be shown at 1.2 times on a small
// handheld screen; at 17 px, on whole-pixel baselines, the smallest letters
// keep an x-height of 8.6 frame pixels, over 10 on such a screen.
constexpr double kHelpText = 17, kHelpHeading = 19, kHelpTitle = 28;
constexpr Rgb kHelpInk{240, 236, 224};
constexpr double kHelpPitch = 22;  // one line of text to the next
constexpr double kCapHeight = 20;  // a key cap, nearly as high as a line

double advance(cairo_t* cr, const char* font, double size, const std::string& s) {
    cairo_select_font_face(cr, font, CAIRO_FONT_SLANT_NORMAL,
                           std::string(font) == kFontBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    return ext.x_advance;
}

// Writes the lines of a help page; a line that runs past its column's right
// edge is said on stderr and fails the build, rather than being cut.
struct HelpWriter {
    cairo_t* cr;
    bool ok = true;

    double text(const std::string& s, double x, double y, double right, Rgb fill = kHelpInk,
                const char* font = kFontBold, double size = kHelpText) {
        const double end = x + advance(cr, font, size, s);
        if (end > right) {
            std::fprintf(stderr, "assetgen: help line \"%s\" is %.0f px too long\n", s.c_str(), end - right);
            ok = false;
        }
        letter(cr, font, size, s, x, onWholePixel(font, size, y), fill, kInk, 0, Align::Left);
        return end;
    }

    // The y, near the one asked for, that puts letter()'s baseline on a
    // whole pixel: the letters' tops and feet fall crisp, not smeared over
    // two rows.
    double onWholePixel(const char* font, double size, double y) {
        cairo_select_font_face(cr, font, CAIRO_FONT_SLANT_NORMAL,
                               std::string(font) == kFontBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, size);
        cairo_text_extents_t cap;
        cairo_text_extents(cr, "H", &cap);
        const double baseline = y - (cap.y_bearing + cap.height / 2);
        return y + std::round(baseline) - baseline;
    }

    void heading(const std::string& s, double x, double y) {
        letter(cr, kFontBlack, kHelpHeading, s, x, y, kGoldLight, kInk, 0, Align::Left);
    }

    // A key (or a controller's button) in a cap: gold lettering on a dark
    // plate with a gold rim; arrow 1 to 4 draws an arrow pointing left, up,
    // down or right instead. Returns the cap's right edge.
    double keyCap(double x, double y, const std::string& key, int arrow) {
        const double w = arrow ? kCapHeight : std::max(kCapHeight, advance(cr, kFontBlack, kHelpText, key) + 12);
        const double top = y - kCapHeight / 2;
        roundRect(cr, x + 0.5, top + 0.5, w, kCapHeight, 5);
        setRgb(cr, Rgb{12, 16, 40});
        cairo_fill_preserve(cr);
        setRgb(cr, kGold);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        const double cx = x + w / 2.0 + 0.5, cy = y + 0.5;
        if (arrow == 0) {
            letter(cr, kFontBlack, kHelpText, key, cx, onWholePixel(kFontBlack, kHelpText, cy), kGoldLight, kInk, 0);
            return x + w;
        }
        // A head and a stem, drawn pointing right and turned.
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        const double turn[] = {0, M_PI, -M_PI / 2, M_PI / 2, 0};
        cairo_rotate(cr, turn[arrow]);
        cairo_move_to(cr, 6.5, 0);
        cairo_line_to(cr, 0, -6);
        cairo_line_to(cr, 0, -2.2);
        cairo_line_to(cr, -6.5, -2.2);
        cairo_line_to(cr, -6.5, 2.2);
        cairo_line_to(cr, 0, 2.2);
        cairo_line_to(cr, 0, 6);
        cairo_close_path(cr);
        setRgb(cr, kGoldLight);
        cairo_fill(cr);
        cairo_restore(cr);
        return x + w;
    }

    void rule(double x0, double x1, double y) {
        cairo_move_to(cr, x0, y);
        cairo_line_to(cr, x1, y);
        setRgb(cr, kGold, 0.6);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
};

// A row of keys and what they do; `more` goes on the next line, under `what`.
struct HelpKey {
    const char* label;
    int arrow;
};
struct HelpRow {
    std::vector<HelpKey> keys;
    const char* what;
    const char* more = nullptr;
    // A second pair of keys and what they do, on the same line.
    std::vector<HelpKey> keys2 = {};
    const char* what2 = nullptr;
};

// Writes a column of rows from (x, y) down, ending at `right`; returns the
// y of the line after the last.
double helpRows(HelpWriter& out, const std::vector<HelpRow>& rows, double x, double y, double right) {
    for (const HelpRow& row : rows) {
        double at = x;
        for (const HelpKey& key : row.keys) at = out.keyCap(at, y, key.label, key.arrow) + 4;
        at += 4;
        const double end = out.text(row.what, at, y, right);
        if (row.what2) {
            at = end + 16;
            for (const HelpKey& key : row.keys2) at = out.keyCap(at, y, key.label, key.arrow) + 4;
            out.text(row.what2, at + 4, y, right);
        }
        if (row.more) out.text(row.more, at, y += kHelpPitch, right);
        y += kHelpPitch;
    }
    return y;
}

// The help pages, both drawn at (69, 113), ending above the Back control at
// y 450, and as wide as the best-times page's row of content allows.
constexpr int kHelpW = 662, kHelpH = 337;

Image helpPage(bool* ok) {
    Canvas c(kHelpW, kHelpH);
    cairo_t* cr = c.cr();
    pagePanel(cr, kHelpW, kHelpH, Rgb{46, 70, 140}, 501, kHelpTitle, "How to play", 24);
    HelpWriter out{cr};
    const double left = 30, indent = 46, right = kHelpW - 26;
    // Each rule, with its lines after the first under its text.
    const std::vector<std::vector<const char*>> rules = {
        {"Slide tiles into the blank to bring every tile home against the clock."},
        {"Solve a grid to go on to a finer one, from 2 x 2 up to 6 x 6."},
        {"The move counter counts every move; an undo or a redo counts too."},
        {"Solved: your time, your moves and the par, the fewest moves there are",
         "(\"shortest\"; at 5 x 5 and 6 x 6 \"best known\")."},
        {"A game in progress is kept when you quit: Resume takes it up again."},
        {"Your own photos: put PNG, JPEG, WebP or BMP files in the Pictures folder",
         "(installed: ~/.local/share/vesk/Pictures); they join at the next start."},
    };
    double y = 60;
    for (const auto& rule : rules) {
        // A small gold diamond marks each rule.
        cairo_move_to(cr, left + 4, y - 4);
        cairo_line_to(cr, left + 8, y);
        cairo_line_to(cr, left + 4, y + 4);
        cairo_line_to(cr, left, y);
        cairo_close_path(cr);
        setRgb(cr, kGold);
        cairo_fill(cr);
        for (const char* line : rule) {
            out.text(line, indent, y, right);
            y += kHelpPitch;
        }
    }
    out.rule(left, kHelpW - left, y - 4);
    out.heading("Buttons", left, y + 16);
    const char* buttons[2][3] = {
        {"Shuffle: deal a new game", "Tile: the solution; Resume: play on", "Help: these pages"},
        {"Best Times: fastest, fewest moves", "Options: music, sound, numbers, picture", "Exit: quit (the game is kept)"},
    };
    const double column = kHelpW / 2.0 - 6;
    for (int col = 0; col < 2; ++col)
        for (int i = 0; i < 3; ++i)
            out.text(buttons[col][i], col ? column : left, y + 38 + kHelpPitch * i, col ? right : column - 12);
    *ok &= out.ok;
    return c.toKeyed(kPage);
}

Image helpKeysPage(bool* ok) {
    Canvas c(kHelpW, kHelpH);
    cairo_t* cr = c.cr();
    pagePanel(cr, kHelpW, kHelpH, Rgb{46, 70, 140}, 503, kHelpTitle, "Keys and controller", 24);
    HelpWriter out{cr};
    const double left = 30, right = kHelpW - 26, column = kHelpW / 2.0 + 4;
    out.heading("Keys", left, 56);
    const std::vector<HelpRow> keysLeft = {
        {{{"T", 0}}, "tile view / solution", nullptr},
        {{{"S", 0}}, "shuffle", nullptr},
        {{{"", 1}, {"", 2}, {"", 3}, {"", 4}}, "slide a tile", nullptr},
        {{{"U", 0}, {"Ctrl+Z", 0}, {"Backspace", 0}}, "undo", nullptr},
        {{{"Ctrl+Y", 0}, {"Ctrl+Shift+Z", 0}}, "redo", nullptr},
        {{{"N", 0}}, "tile numbers on / off", nullptr},
        {{{"F9", 0}}, "screen capture", nullptr},
    };
    const std::vector<HelpRow> keysRight = {
        {{{"H", 0}}, "hint: slides the next tile", "of a shortest solution"},
        {{{"G", 0}}, "solve: the game plays the", "solution (no best time)"},
        {{{"Tab", 0}, {"Shift+Tab", 0}}, "move the focus", nullptr},
        {{{"Enter", 0}, {"Space", 0}}, "press", nullptr},
        {{{"Esc", 0}}, "quit (the game is kept)", nullptr},
    };
    const double rowsTop = 82;
    double y = std::max(helpRows(out, keysLeft, left, rowsTop, column - 12),
                        helpRows(out, keysRight, column, rowsTop, right));
    out.rule(left, kHelpW - left, y - 6);
    out.heading("Controller", left, y + 14);
    const std::vector<HelpRow> padLeft = {
        {{{"D-pad", 0}, {"left stick", 0}}, "focus / slide", nullptr},
        {{{"A", 0}}, "press (on the board: hint)", nullptr},
        {{{"B", 0}}, "undo; on a page: Back", nullptr},
    };
    const std::vector<HelpRow> padRight = {
        {{{"X", 0}}, "tile view", nullptr, {{"Y", 0}}, "deal"},
        {{{"Start", 0}}, "options", nullptr},
        {{{"Back", 0}, {"Select", 0}}, "help", nullptr},
    };
    helpRows(out, padLeft, left, y + 38, column - 12);
    helpRows(out, padRight, column, y + 38, right);
    *ok &= out.ok;
    return c.toKeyed(kPage);
}
Image mousePointer() {
    const int FW = 38, FH = 27, N = 20;
    Canvas c(FW * N, FH);
    cairo_t* cr = c.cr();
    for (int f = 0; f < N; ++f) {
        double x0 = f * FW, ph = f / double(N);
        cairo_save(cr);
        cairo_rectangle(cr, x0, 0, FW, FH);
        cairo_clip(cr);
        // The arrow, tip at the frame's top-left pixel.
        auto arrow = [&] {
            cairo_new_path(cr);
            cairo_move_to(cr, x0 + 0.5, 0.5);
            cairo_line_to(cr, x0 + 0.5, 21);
            cairo_line_to(cr, x0 + 5.5, 16.5);
            cairo_line_to(cr, x0 + 9.5, 25);
            cairo_line_to(cr, x0 + 13.5, 23.2);
            cairo_line_to(cr, x0 + 9.5, 15);
            cairo_line_to(cr, x0 + 16, 14.5);
            cairo_close_path(cr);
        };
        arrow();
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 2.2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        cairo_stroke(cr);
        arrow();
        // A band of light runs down the arrow over the cycle.
        double band = -8 + 40 * ph;
        cairo_pattern_t* g = cairo_pattern_create_linear(x0, 0, x0 + 10, 22);
        cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.86, 0.45);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.85, 0.52, 0.14);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        cairo_clip(cr);
        cairo_pattern_t* s = cairo_pattern_create_linear(x0, band - 6, x0 + 6, band + 6);
        cairo_pattern_add_color_stop_rgba(s, 0, 1, 1, 1, 0);
        cairo_pattern_add_color_stop_rgba(s, 0.5, 1, 1, 0.92, 0.9);
        cairo_pattern_add_color_stop_rgba(s, 1, 1, 1, 1, 0);
        cairo_set_source(cr, s);
        cairo_paint(cr);
        cairo_pattern_destroy(s);
        cairo_restore(cr);
        // A sparkle beside it, turning and pulsing.
        double pulse = 0.5 + 0.5 * std::sin(2 * M_PI * ph);
        double r = 4.5 + 4.0 * pulse;
        star(cr, x0 + 27, 12, r, r * 0.32, ph * M_PI / 2);
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 2);
        cairo_stroke_preserve(cr);
        setRgb(cr, mix(kGold, Rgb{255, 255, 236}, pulse));
        cairo_fill(cr);
    }
    Image img = c.toKeyed(kInk, 110);
    for (int f = 0; f < N; ++f) {
        // The tip is where the click lands: always a solid pixel.
        img.at(f * FW, 0) = kInk;
        img.at(f * FW + 1, 0) = kInk;
        img.at(f * FW, 1) = kInk;
    }
    return img;
}

// The grid size being played, under the board left of the clock's label:
// one row of 120 x 34 for each size from 2 x 2 to 6 x 6.
Image gridSizes() {
    const int W = 120, H = 34;
    Canvas c(W, 5 * H);
    cairo_t* cr = c.cr();
    for (int k = 0; k < 5; ++k) {
        const int n = k + 2;
        const double y = k * H;
        roundRect(cr, 6.5, y + 5.5, 25, 25, 3);
        setRgb(cr, kInk);
        cairo_fill(cr);
        gridIcon(cr, 7, y + 6, 24, n);
        const std::string label = std::to_string(n) + " x " + std::to_string(n);
        letter(cr, kFontBlack, 22, label, 40, y + H / 2.0, kCream, kInk, 3, Align::Left, Rgb{255, 206, 110}, true);
    }
    return c.toKeyed(kInk);
}

Image icon(const Image& tiger) {
    // The Tiger in a 3 x 3 puzzle with its corner tile out, in the gold frame.
    Canvas c(64, 64);
    cairo_t* cr = c.cr();
    setRgb(cr, Rgb{150, 100, 32});
    cairo_paint(cr);
    roundRect(cr, 1, 1, 62, 62, 6);
    setRgb(cr, Rgb{214, 158, 62});
    cairo_fill(cr);
    Canvas pic(500, 500);
    pic.put(tiger, 0, 0);
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col) {
            double x = 4 + col * 19, y = 4 + r * 19;
            cairo_save(cr);
            cairo_rectangle(cr, x, y, 18, 18);
            cairo_clip(cr);
            if (r == 0 && col == 0) {
                setRgb(cr, Rgb{30, 24, 20});
            } else {
                cairo_translate(cr, 4, 4);
                cairo_scale(cr, 56.0 / 500.0, 56.0 / 500.0);
                cairo_set_source_surface(cr, pic.surface(), 0, 0);
                cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            }
            cairo_paint(cr);
            cairo_restore(cr);
        }
    return c.toImage();
}

}  // namespace

const std::vector<Lettering>& Captions() { return gLettering; }

bool writeInterface(const std::string& out, const Pictures& pics) {
    const std::string tex = out + "/Tex/", menu = out + "/Tex/Menu/";
    bool ok = true;
    // Each image is drawn with its file's name noted for the captions' list.
    const auto drawn = [](const std::string& file, const auto& draw) {
        gDrawing = file.substr(file.rfind("/Tex/") != std::string::npos ? file.rfind("/Tex/") + 5 : 0);
        return writeBmp(file, draw());
    };
    ok &= drawn(tex + "Background.Tex", [&] { return background(pics); });
    ok &= drawn(tex + "BackgroundOptions.Tex", [&] { return backgroundOptions(); });
    ok &= drawn(tex + "Border.Tex", [&] { return border(); });
    ok &= drawn(tex + "Digit.Tex", [&] { return digits(); });
    ok &= drawn(tex + "Hyphen.Tex", [&] { return hyphen(); });
    ok &= drawn(tex + "Numbers.Tex", [&] { return tileNumbers(); });
    ok &= drawn(tex + "Dash.Tex", [&] { return dash(); });
    ok &= drawn(tex + "Won.Tex", [&] { return won(); });
    ok &= drawn(tex + "Par.Tex", [&] { return parLine(); });
    ok &= drawn(tex + "HighScore.Tex", [&] { return highScore(); });
    ok &= drawn(tex + "HelpPage.Tex", [&] { return helpPage(&ok); });
    ok &= drawn(tex + "HelpKeysPage.Tex", [&] { return helpKeysPage(&ok); });
    ok &= drawn(tex + "MousePtr.Tex", [&] { return mousePointer(); });
    ok &= drawn(tex + "GridSize.Tex", [&] { return gridSizes(); });
    ok &= drawn(tex + "Preparing.Tex", [&] { return preparing(); });
    ok &= drawn(out + "/Icon.bmp", [&] { return icon(pics.full[0]); });

    // The sidebar's buttons, one column of plates alike, each within its
    // button's place: as wide as the narrowest place allows (Help's, 88) and
    // as high as the lowest (Exit's, 27); their captions in one size.
    const int columnW = 88, columnH = 27;
    const double columnSize =
        fittingSize({"Shuffle", "Tile", "Resume", "Options", "Best Times", "Help", "Exit"}, 17, columnW - 14);
    struct Ctl {
        const char* file;
        int w, h;
        const char* caption;
        double size;
        Rgb matte;
    } controls[] = {
        {"Shuffle", columnW, columnH, "Shuffle", columnSize, kPanel},
        {"Tile", columnW, columnH, "Tile", columnSize, kPanel},
        {"Resume", columnW, columnH, "Resume", columnSize, kPanel},
        {"Options", columnW, columnH, "Options", columnSize, kPanel},
        {"HighScores", columnW, columnH, "Best Times", columnSize, kPanel},
        {"Help", columnW, columnH, "Help", columnSize, kPanel},
        {"Exit", columnW, columnH, "Exit", columnSize, kPanel},
        {"ShuffleAgain", 205, 42, "Shuffle Again", 21, kInk},
        {"NextLevel", 173, 41, "Next Level", 21, kInk},
        {"Back", 148, 67, "Back", 30, kPage},
        {"Music", 105, 32, "Music", 19, kPage},
        {"Sound", 125, 42, "Sound", 21, kPage},
        {"Picture", 150, 40, "Picture", 21, kPage},
        {"Numbers", 125, 32, "Numbers", 19, kPage},
    };
    uint64_t seed = 600;
    for (const Ctl& c : controls) {
        ok &= drawn(menu + c.file + ".Tex", [&] { return control(c.w, c.h, c.caption, c.size, c.matte, seed); });
        seed += 7;
    }
    // The help pages' switch, left of Back and as high: on the first page
    // it leads to the keys, on the second back to how to play.
    const double helpSwitchSize = fittingSize({"Keys", "How to play"}, 28, 180 - 26);
    ok &= drawn(menu + "HelpKeys.Tex", [&] { return control(180, 67, "Keys", helpSwitchSize, kPage, 690); });
    ok &= drawn(menu + "HelpRules.Tex", [&] { return control(180, 67, "How to play", helpSwitchSize, kPage, 694); });
    ok &= drawn(menu + "Button.Tex", [&] { return tickBox(); });
    ok &= drawn(menu + "PictureLeft.Tex", [&] { return arrowControl(26, 30, -1, 700); });
    ok &= drawn(menu + "PictureRight.Tex", [&] { return arrowControl(26, 30, +1, 710); });
    return ok;
}

}  // namespace assetgen

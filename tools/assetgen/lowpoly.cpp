#include "lowpoly.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen {

namespace {

struct Pt {
    double x, y, z;
};

struct Tri {
    int a, b, c;
    double cx, cy, r2;  // circumcircle
    bool dead = false;
};

Tri makeTri(const std::vector<Pt>& p, int a, int b, int c) {
    Tri t{a, b, c, 0, 0, 0};
    double ax = p[a].x, ay = p[a].y, bx = p[b].x, by = p[b].y, cx = p[c].x, cy = p[c].y;
    double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    if (std::fabs(d) < 1e-12) d = 1e-12;
    double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    t.cx = (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d;
    t.cy = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
    t.r2 = (ax - t.cx) * (ax - t.cx) + (ay - t.cy) * (ay - t.cy);
    return t;
}

// Bowyer-Watson Delaunay triangulation; the first three points of the
// result's index space are the super triangle, dropped at the end.
std::vector<Tri> delaunay(std::vector<Pt>& pts, double w, double h) {
    const size_t n = pts.size();
    double big = 20 * std::max(w, h);
    pts.push_back({-big, -big, 0});
    pts.push_back({w / 2, big, 0});
    pts.push_back({big, -big, 0});
    std::vector<Tri> tris{makeTri(pts, int(n), int(n + 1), int(n + 2))};
    std::vector<std::pair<int, int>> edges;
    for (size_t i = 0; i < n; ++i) {
        const Pt& q = pts[i];
        edges.clear();
        for (Tri& t : tris) {
            if (t.dead) continue;
            double dx = q.x - t.cx, dy = q.y - t.cy;
            if (dx * dx + dy * dy < t.r2) {
                t.dead = true;
                edges.push_back({t.a, t.b});
                edges.push_back({t.b, t.c});
                edges.push_back({t.c, t.a});
            }
        }
        // Boundary edges of the cavity occur once.
        for (size_t e = 0; e < edges.size(); ++e) {
            bool shared = false;
            for (size_t f = 0; f < edges.size(); ++f)
                if (e != f && edges[e].first == edges[f].second && edges[e].second == edges[f].first) {
                    shared = true;
                    break;
                }
            if (!shared) tris.push_back(makeTri(pts, edges[e].first, edges[e].second, int(i)));
        }
        if (tris.size() > 4 * n + 64)
            tris.erase(std::remove_if(tris.begin(), tris.end(), [](const Tri& t) { return t.dead; }), tris.end());
    }
    std::vector<Tri> out;
    for (const Tri& t : tris)
        if (!t.dead && t.a < int(n) && t.b < int(n) && t.c < int(n)) out.push_back(t);
    pts.resize(n);
    return out;
}

}  // namespace

Image halve(const Image& src) {
    Image out(src.w / 2, src.h / 2);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            int r = 0, g = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
                Rgb c = src.at(2 * x + (k & 1), 2 * y + (k >> 1));
                r += c.r, g += c.g, b += c.b;
            }
            out.at(x, y) = Rgb{uint8_t((r + 2) / 4), uint8_t((g + 2) / 4), uint8_t((b + 2) / 4)};
        }
    return out;
}

Image lowPoly(const Image& src2x, int w, int h, const MeshStyle& style) {
    Rng rng(style.seed);
    Image small = halve(src2x);

    // Local contrast, blurred, drives the density of the mesh.
    std::vector<double> lum(size_t(w) * h), imp(size_t(w) * h, 0.0);
    for (int i = 0; i < w * h; ++i) {
        Rgb c = small.px[size_t(i)];
        lum[size_t(i)] = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
    }
    std::vector<double> grad(size_t(w) * h, 0.0);
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            auto L = [&](int xx, int yy) { return lum[size_t(yy) * w + xx]; };
            double gx = L(x + 1, y) - L(x - 1, y), gy = L(x, y + 1) - L(x, y - 1);
            grad[size_t(y) * w + x] = std::sqrt(gx * gx + gy * gy);
        }
    const int br = 4;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = 0;
            int cnt = 0;
            for (int yy = std::max(0, y - br); yy <= std::min(h - 1, y + br); yy += 2)
                for (int xx = std::max(0, x - br); xx <= std::min(w - 1, x + br); xx += 2) {
                    s += grad[size_t(yy) * w + xx];
                    ++cnt;
                }
            imp[size_t(y) * w + x] = std::min(1.0, style.detailGain * s / cnt / 40.0);
        }

    // Points: the frame's edges, then a variable-radius Poisson sampling.
    std::vector<Pt> pts;
    auto addEdge = [&](double x, double y) { pts.push_back({x, y, 0}); };
    double step = style.rMax * 0.9;
    int nx = std::max(2, int(std::ceil(w / step))), ny = std::max(2, int(std::ceil(h / step)));
    for (int i = 0; i <= nx; ++i) {
        double x = double(w) * i / nx;
        addEdge(x, 0);
        addEdge(x, h);
    }
    for (int j = 1; j < ny; ++j) {
        double y = double(h) * j / ny;
        addEdge(0, y);
        addEdge(w, y);
    }
    const double cell = std::max(2.0, style.rMin);
    const int gw = int(w / cell) + 2, gh = int(h / cell) + 2;
    std::vector<std::vector<int>> grid(size_t(gw) * gh);
    for (size_t i = 0; i < pts.size(); ++i) {
        int gx = std::min(gw - 1, int(pts[i].x / cell)), gy = std::min(gh - 1, int(pts[i].y / cell));
        grid[size_t(gy) * gw + gx].push_back(int(i));
    }
    const int candidates = w * h / 6;
    for (int k = 0; k < candidates; ++k) {
        double x = rng.range(1.0, w - 1.0), y = rng.range(1.0, h - 1.0);
        double t = imp[size_t(int(y)) * w + int(x)];
        double r = style.rMax - (style.rMax - style.rMin) * std::pow(t, 0.6);
        int reach = int(std::ceil(r / cell));
        int gx = int(x / cell), gy = int(y / cell);
        bool ok = true;
        for (int yy = std::max(0, gy - reach); ok && yy <= std::min(gh - 1, gy + reach); ++yy)
            for (int xx = std::max(0, gx - reach); ok && xx <= std::min(gw - 1, gx + reach); ++xx)
                for (int id : grid[size_t(yy) * gw + xx]) {
                    double dx = pts[size_t(id)].x - x, dy = pts[size_t(id)].y - y;
                    if (dx * dx + dy * dy < r * r) {
                        ok = false;
                        break;
                    }
                }
        if (!ok) continue;
        grid[size_t(gy) * gw + gx].push_back(int(pts.size()));
        pts.push_back({x, y, 0});
    }
    for (Pt& p : pts) p.z = rng.range(-1.0, 1.0);

    std::vector<Tri> tris = delaunay(pts, w, h);

    // Rasterise at twice the size: every pixel centre belongs to one triangle.
    const int W = w * 2, H = h * 2;
    std::vector<int> owner(size_t(W) * H, -1);
    for (size_t ti = 0; ti < tris.size(); ++ti) {
        const Tri& t = tris[ti];
        double x0 = pts[size_t(t.a)].x * 2, y0 = pts[size_t(t.a)].y * 2;
        double x1 = pts[size_t(t.b)].x * 2, y1 = pts[size_t(t.b)].y * 2;
        double x2 = pts[size_t(t.c)].x * 2, y2 = pts[size_t(t.c)].y * 2;
        double area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
        if (std::fabs(area) < 1e-9) continue;
        double sgn = area > 0 ? 1 : -1;
        int minX = std::max(0, int(std::floor(std::min({x0, x1, x2}))));
        int maxX = std::min(W - 1, int(std::ceil(std::max({x0, x1, x2}))));
        int minY = std::max(0, int(std::floor(std::min({y0, y1, y2}))));
        int maxY = std::min(H - 1, int(std::ceil(std::max({y0, y1, y2}))));
        for (int y = minY; y <= maxY; ++y)
            for (int x = minX; x <= maxX; ++x) {
                double px = x + 0.5, py = y + 0.5;
                double e0 = sgn * ((x1 - x0) * (py - y0) - (y1 - y0) * (px - x0));
                double e1 = sgn * ((x2 - x1) * (py - y1) - (y2 - y1) * (px - x1));
                double e2 = sgn * ((x0 - x2) * (py - y2) - (y0 - y2) * (px - x2));
                if (e0 >= -1e-9 && e1 >= -1e-9 && e2 >= -1e-9) owner[size_t(y) * W + x] = int(ti);
            }
    }
    std::vector<double> sr(tris.size(), 0), sg(tris.size(), 0), sb(tris.size(), 0), sn(tris.size(), 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            int o = owner[size_t(y) * W + x];
            if (o < 0) continue;
            Rgb c = src2x.at(x, y);
            sr[size_t(o)] += c.r, sg[size_t(o)] += c.g, sb[size_t(o)] += c.b, sn[size_t(o)] += 1;
        }
    // Facet lighting from the upper left.
    const double lx = -0.45, ly = -0.6, lz = 0.66;
    std::vector<Rgb> col(tris.size());
    for (size_t ti = 0; ti < tris.size(); ++ti) {
        const Tri& t = tris[ti];
        const Pt &a = pts[size_t(t.a)], &b = pts[size_t(t.b)], &c = pts[size_t(t.c)];
        double ux = b.x - a.x, uy = b.y - a.y, uz = (b.z - a.z) * style.rMax * 0.35;
        double vx = c.x - a.x, vy = c.y - a.y, vz = (c.z - a.z) * style.rMax * 0.35;
        double nx2 = uy * vz - uz * vy, ny2 = uz * vx - ux * vz, nz2 = ux * vy - uy * vx;
        if (nz2 < 0) nx2 = -nx2, ny2 = -ny2, nz2 = -nz2;
        double len = std::sqrt(nx2 * nx2 + ny2 * ny2 + nz2 * nz2) + 1e-12;
        double lambert = (nx2 * lx + ny2 * ly + nz2 * lz) / len;
        double f = 1.0 + style.shade * (lambert - lz) * 2.2;
        double n = std::max(1.0, sn[ti]);
        auto ch = [&](double s) { return uint8_t(std::min(255.0, std::max(0.0, s / n * f) + 0.5)); };
        col[ti] = Rgb{ch(sr[ti]), ch(sg[ti]), ch(sb[ti])};
    }
    Image big(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            int o = owner[size_t(y) * W + x];
            big.at(x, y) = o < 0 ? src2x.at(x, y) : col[size_t(o)];
        }
    return halve(big);
}

}  // namespace assetgen

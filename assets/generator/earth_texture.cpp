#include "earth_texture.h"

#include "continents.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <stdexcept>

namespace assets {

namespace {

// Greenland's coast, roughly: its ice sheet is as white as the Arctic sea ice it touches.
constexpr double greenland[][2] = {
    {-73, 78},     {-66, 81.5}, {-60, 82.3}, {-45, 83.8},   {-30, 83.8}, {-20, 82.6},
    {-10.5, 81.6}, {-17, 77},   {-18, 74},   {-22, 70.5},   {-25, 68.5}, {-32, 68},
    {-38, 65.5},   {-41, 63},   {-43, 59.6}, {-45, 59.6},   {-48.5, 61}, {-51, 64},
    {-53.5, 67},   {-54, 70},   {-56, 72.5}, {-58.5, 75.5}, {-66, 76},   {-72, 77.3},
};

bool in_greenland(double lon, double lat) {
    bool inside = false;
    const int n = sizeof greenland / sizeof greenland[0];
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const double xi = greenland[i][0], yi = greenland[i][1], xj = greenland[j][0], yj = greenland[j][1];
        if ((yi > lat) != (yj > lat) && lon < (xj - xi) * (lat - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

bool is_white(const std::uint8_t* t) {
    const int lo = std::min({t[0], t[1], t[2]}), hi = std::max({t[0], t[1], t[2]});
    return lo >= 200 && hi - lo <= 30;
}

// The Arctic sea ice: white texels reached from the north edge through white texels, Greenland excepted.
std::vector<bool> arctic_sea_ice(const std::vector<std::uint8_t>& rgba) {
    std::vector<bool> ice(static_cast<std::size_t>(texture_width) * texture_height, false);
    std::deque<std::pair<int, int>> todo;
    auto visit = [&](int x, int y) {
        x = (x + texture_width) % texture_width;
        if (y < 0 || y >= texture_height)
            return;
        const std::size_t i = static_cast<std::size_t>(y) * texture_width + x;
        if (ice[i] || !is_white(&rgba[i * 4]))
            return;
        const double lon = -180.0 + (x + 0.5) * 360.0 / texture_width;
        const double lat = -90.0 + (y + 0.5) * 180.0 / texture_height;
        if (in_greenland(lon, lat))
            return;
        ice[i] = true;
        todo.emplace_back(x, y);
    };
    for (int x = 0; x < texture_width; ++x)
        visit(x, texture_height - 1);
    while (!todo.empty()) {
        const auto [x, y] = todo.front();
        todo.pop_front();
        visit(x - 1, y);
        visit(x + 1, y);
        visit(x, y - 1);
        visit(x, y + 1);
    }
    return ice;
}

} // namespace

bool looks_like_sea(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const int ri = r, gi = g, bi = b;
    if (ri + gi + bi < 45)
        return true;
    return bi > ri + 12 && bi + 8 >= gi;
}

earth_texture make_earth_texture(const rgb_image& src) {
    if (src.width != texture_width * 4 || src.height != texture_height * 4)
        throw std::runtime_error("the earth picture must be 2048 x 1024");
    earth_texture out;
    out.rgba.resize(static_cast<std::size_t>(texture_width) * texture_height * 4);
    for (int ty = 0; ty < texture_height; ++ty) {
        // Texture row 0 is the south edge; the picture's row 0 is the north edge.
        const int src_y = (texture_height - 1 - ty) * 4;
        for (int tx = 0; tx < texture_width; ++tx) {
            unsigned sum[3] = {0, 0, 0};
            for (int dy = 0; dy < 4; ++dy) {
                const std::uint8_t* p =
                    &src.rgb[(static_cast<std::size_t>(src_y + dy) * src.width + tx * 4) * 3];
                for (int dx = 0; dx < 4; ++dx)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[dx * 3 + c];
            }
            std::uint8_t* t = &out.rgba[(static_cast<std::size_t>(ty) * texture_width + tx) * 4];
            for (int c = 0; c < 3; ++c)
                t[c] = static_cast<std::uint8_t>((sum[c] + 8) / 16);
            t[3] = 0;
        }
    }
    const std::vector<bool> sea_ice = arctic_sea_ice(out.rgba);
    for (int ty = 0; ty < texture_height; ++ty) {
        for (int tx = 0; tx < texture_width; ++tx) {
            const std::size_t i = static_cast<std::size_t>(ty) * texture_width + tx;
            std::uint8_t* t = &out.rgba[i * 4];
            if (sea_ice[i] || looks_like_sea(t[0], t[1], t[2]))
                continue;
            const int region = region_of_texel(tx, ty);
            if (region == none)
                continue;
            // Marking subtracts 4 x strength from each channel: never more than the darkest channel holds, so
            // nothing wraps and restoring gives the bytes back. About half the brightness goes.
            const int darkest = std::min({t[0], t[1], t[2]});
            const int average = (t[0] + t[1] + t[2]) / 3;
            const int strength = std::min({31, darkest / 4, (average + 4) / 8});
            t[3] = static_cast<std::uint8_t>((region << 5) | strength);
        }
    }
    return out;
}

void write_earth_halves(const earth_texture& texture, const std::string& a_path, const std::string& b_path) {
    const int half = texture_width / 2;
    for (int part = 0; part < 2; ++part) {
        const std::string& path = part == 0 ? a_path : b_path;
        make_parent_folders(path);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        bool ok = f != nullptr;
        for (int y = 0; ok && y < texture_height; ++y) {
            const std::uint8_t* row =
                &texture.rgba[(static_cast<std::size_t>(y) * texture_width + part * half) * 4];
            ok = std::fwrite(row, 4, half, f) == static_cast<std::size_t>(half);
        }
        if (f)
            ok = (std::fclose(f) == 0) && ok;
        if (!ok)
            throw std::runtime_error("cannot write " + path);
    }
}

} // namespace assets

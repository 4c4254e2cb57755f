#include "ui/globe.h"

#include <algorithm>
#include <cstdlib>

namespace cl {
namespace ui {

namespace {

constexpr int tilt_limit = 70;

int wrap_degrees(int v) {
    return ((v % 360) + 360) % 360;
}

struct region_text {
    const wchar_t* name;
    const wchar_t* code;
};
constexpr region_text region_texts[7] = {
    {L"None", L""},     {L"Asia", L"9"},    {L"North America", L"1"}, {L"South America", L"3"},
    {L"Oceania", L"7"}, {L"Africa", L"10"}, {L"Europe", L"2"},
};

} // namespace

globe::globe(const boost::shared_ptr<i_graphics>& graphics)
    : graphics(graphics), spin_value(0.3, 360), tilt_value(0.3) {}

int globe::region_at(int t, int s) {
    if ((s < 40 || s >= 351) && t >= -29 && t < 20)
        return africa;
    if (s >= 51 && s <= 139 && t >= 1)
        return asia;
    if (s >= 201 && s <= 279 && t >= 10)
        return north_america;
    if (s >= 271 && s <= 319 && t < 10)
        return south_america;
    if ((s < 50 || s >= 331) && t > 19)
        return europe;
    if (s >= 101 && s <= 169 && t <= -1)
        return oceania;
    return none;
}

void globe::nearest_facing(int& t, int& s) {
    s = wrap_degrees(s);
    // Every continent faces the user somewhere within half a turn of spin at any allowed tilt.
    for (int d = 0; d <= 180 + 2 * tilt_limit; ++d) {
        for (int dt = -d; dt <= d; ++dt) {
            const int tilt = t + dt;
            if (tilt < -tilt_limit || tilt > tilt_limit)
                continue;
            const int rest = d - std::abs(dt);
            for (int spin : {wrap_degrees(s - rest), wrap_degrees(s + rest)}) {
                if (region_at(tilt, spin) != none) {
                    t = tilt;
                    s = spin;
                    return;
                }
            }
        }
    }
}

void globe::pick_region(int t, int s) {
    s = wrap_degrees(s);
    const int picked = region_at(t, s);
    if (graphics)
        graphics->set_globe_state(region_number, picked, t, s);
    region_number = picked;
}

void globe::pick_current() {
    pick_region(static_cast<int>(tilt_value.value(0)), static_cast<int>(spin_value.value(0)));
}

void globe::tilt_up(int n) {
    tilt_value.set({static_cast<double>(std::min(static_cast<int>(tilt_value.value(1)) + n, tilt_limit))});
    pick_current();
}

void globe::tilt_down(int n) {
    tilt_value.set({static_cast<double>(std::max(static_cast<int>(tilt_value.value(1)) - n, -tilt_limit))});
    pick_current();
}

// The cycle affector may hold its target a turn beyond the circle while it takes the short way round.
void globe::spin_right(int n) {
    spin_value.set({static_cast<double>(wrap_degrees(static_cast<int>(spin_value.value(1)) + n))});
    pick_current();
}

void globe::spin_left(int n) {
    spin_value.set({static_cast<double>(wrap_degrees(static_cast<int>(spin_value.value(1)) - n))});
    pick_current();
}

void globe::set_angles(int t, int s) {
    t = std::clamp(t, -tilt_limit, tilt_limit);
    s = wrap_degrees(s);
    tilt_value.set({static_cast<double>(t), static_cast<double>(t)});
    spin_value.set({static_cast<double>(s), static_cast<double>(s)});
    pick_region(t, s);
    changed = true;
}

void globe::update(unsigned long now_ms) {
    const bool spun = spin_value.update(now_ms);
    const bool tilted = tilt_value.update(now_ms);
    if (spun || tilted) {
        pick_current();
        changed = true;
    }
}

void globe::draw(i_graphics& g, bool) {
    g.render_globe();
    changed = false;
}

std::wstring globe::region_name() const {
    return region_texts[region_number].name;
}

std::wstring globe::region_code() const {
    return region_texts[region_number].code;
}

} // namespace ui
} // namespace cl

#pragma once

#include "ui/affectors.h"
#include "ui/i_graphics.h"

#include <boost/shared_ptr.hpp>
#include <string>

namespace cl {
namespace ui {

// The earth of the world view: two rotation angles that glide to their targets, the continent facing the
// user (darkened on the renderer's texture), and the renderer's frame.
class globe {
public:
    enum region { none = 0, asia, north_america, south_america, oceania, africa, europe };

    explicit globe(const boost::shared_ptr<i_graphics>& graphics);

    // Degrees; tilt stops at +-70, spin wraps round 360.
    void tilt_up(int n);
    void tilt_down(int n);
    void spin_right(int n);
    void spin_left(int n);
    // Shows the globe at these angles at once, without gliding there.
    void set_angles(int tilt, int spin);

    void update(unsigned long now_ms);
    void draw(i_graphics& g, bool force);
    // Chooses the continent facing the user at these angles and hands both to the renderer.
    void pick_region(int tilt, int spin);

    int current_region() const { return region_number; }
    std::wstring region_name() const;
    // The content server's code of the region; empty for none.
    std::wstring region_code() const;
    double tilt() const { return tilt_value.value(0); }
    double spin() const { return spin_value.value(0); }
    double tilt_target() const { return tilt_value.value(1); }
    double spin_target() const { return spin_value.value(1); }
    bool is_changed() const { return changed; }

    // The region facing the user at these angles (spin in 0..359).
    static int region_at(int tilt, int spin);
    // The angles nearest (fewest degrees of tilt and spin together) to these at which a continent faces the
    // user; the same angles when one already does.
    static void nearest_facing(int& tilt, int& spin);

private:
    void pick_current();

    boost::shared_ptr<i_graphics> graphics;
    int region_number = none;
    aff::cycle_affector spin_value;
    aff::linear_affector tilt_value;
    bool changed = false;
};

} // namespace ui
} // namespace cl

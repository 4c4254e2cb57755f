#include "ui/affectors.h"

#include <cmath>

namespace cl {
namespace aff {

namespace {
// Moves value towards target by at most step.
double approach(double value, double target, double step) {
    double d = std::fabs(target - value);
    if (step >= d)
        return target;
    return target > value ? value + step : value - step;
}
} // namespace

bool linear_affector::step(std::uint32_t now) {
    if (last_time == 0)
        last_time = now;
    const double before = current;
    const double d = std::fabs(target - current);
    const double step = static_cast<double>(now - last_time) * speed;
    current = approach(current, target, step);
    if (d < 0.5)
        current = target;
    last_time = now;
    changing = current != before;
    return changing;
}

bool linear_affector::update(unsigned long now_ms) {
    return step(static_cast<std::uint32_t>(now_ms));
}

void linear_affector::set(const std::vector<double>& p) {
    if (p.size() == 1) {
        target = p[0];
    } else if (p.size() == 2) {
        current = p[0];
        target = p[1];
    } else if (p.size() == 3) {
        target += p[0];
    }
}

bool cycle_affector::update(unsigned long now_ms) {
    if (target > period)
        target -= period;
    if (target < 0)
        target += period;
    if (current <= target && (target - current) > (period - target) + current)
        target -= period;
    if (current > target && (current - target) > (period - current) + target)
        target += period;
    bool changed = step(static_cast<std::uint32_t>(now_ms));
    if (current < 0) {
        current += period;
        target += period;
    }
    if (current > period) {
        current -= period;
        target -= period;
    }
    return changed;
}

bool move_affector::update(unsigned long now_ms) {
    const auto now = static_cast<std::uint32_t>(now_ms);
    if (last_time == 0)
        last_time = now;
    const double before = current;
    position = approach(position, target, static_cast<double>(now - last_time) * speed);
    filter.set_input(position);
    filter.step();
    current = filter.output();
    if (std::fabs(position - current) < 0.5)
        current = position;
    last_time = now;
    changing = current != before;
    return changing;
}

void move_affector::set(const std::vector<double>& p) {
    if (p.size() == 1) {
        target = p[0];
    } else if (p.size() == 2) {
        position = current = p[0];
        target = p[1];
        filter.set_input(p[0]);
        filter.reset(p[0]);
    } else if (p.size() == 3) {
        target -= p[0];
    }
}

bool wave_affector::update(unsigned long now_ms) {
    const auto now = static_cast<std::uint32_t>(now_ms);
    if (start_time == 0)
        start_time = now;
    current = amplitude * std::sin(static_cast<double>(now - start_time) * angular_speed + phase);
    return false;
}

} // namespace aff
} // namespace cl

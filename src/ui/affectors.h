#pragma once

#include <cstdint>
#include <vector>

// Animated numbers: each owns one value, is told the frame time once per frame and moves the value by its
// own rule. Elapsed times are unsigned 32-bit differences, so a wrap of the tick count is harmless.
namespace cl {
namespace aff {

class i_affector {
public:
    virtual ~i_affector() = default;
    // True while the value changed in this tick.
    virtual bool update(unsigned long now_ms) = 0;
    virtual void set(const std::vector<double>& params) = 0;
    // 0: the current value, 1: the target.
    virtual double value(int which) const = 0;
};

// Constant speed (units per millisecond) towards a target.
class linear_affector : public i_affector {
public:
    explicit linear_affector(double speed) : speed(speed) {}
    bool update(unsigned long now_ms) override;
    // (t): target t; (v, t): current v and target t; (d, x, x): target moves by +d.
    void set(const std::vector<double>& params) override;
    double value(int which) const override { return which == 1 ? target : current; }

protected:
    bool step(std::uint32_t now);

    double current = 0;
    double target = 0;
    std::uint32_t last_time = 0;
    double speed;
    bool changing = false;
};

// The same on a circle of values [0, period), taking the shorter way round.
class cycle_affector : public linear_affector {
public:
    cycle_affector(double speed, double period) : linear_affector(speed), period(period) {}
    bool update(unsigned long now_ms) override;

private:
    double period;
};

// y <- (1 - k) y + k x at every step.
class low_pass_filter {
public:
    explicit low_pass_filter(double k = 0) : k(k) {}
    virtual ~low_pass_filter() = default;
    void set_input(double input) { x = input; }
    void reset(double output) { y = output; }
    void step() { y = (1 - k) * y + k * x; }
    double output() const { return y; }

private:
    double k;
    double y = 0;
    double x = 0;
};

// Constant speed plus exponential smoothing: the visible glide of lists and sliding contents.
class move_affector : public i_affector {
public:
    move_affector(double speed, double filter_factor) : filter(filter_factor), speed(speed) {}
    bool update(unsigned long now_ms) override;
    // (t): target t; (v, t): jump to v, target t; (d, x, x): target moves by -d.
    void set(const std::vector<double>& params) override;
    double value(int which) const override { return which == 1 ? target : current; }
    // The unsmoothed position moving at constant speed.
    double linear_position() const { return position; }

private:
    double current = 0;
    double position = 0;
    double target = 0;
    low_pass_filter filter;
    std::uint32_t last_time = 0;
    double speed;
    bool changing = false;
};

// amplitude * sin(elapsed * 2 pi / period + phase); the period is in seconds.
class wave_affector : public i_affector {
public:
    wave_affector(double period_s, double amplitude, double phase = 0.0)
        : amplitude(amplitude), phase(phase), angular_speed(0.006283185307 / period_s) {}
    // Gives no change information: its users redraw every frame.
    bool update(unsigned long now_ms) override;
    void set(const std::vector<double>&) override {}
    double value(int) const override { return current; }

private:
    double amplitude;
    double phase;
    double current = 0;
    double angular_speed;
    std::uint32_t start_time = 0;
};

} // namespace aff
} // namespace cl

#include "tour.h"

#include "platform/compositor.h"
#include "platform/debug_log.h"
#include "platform/input.h"
#include "platform/png_writer.h"
#include "platform/text.h"
#include "platform/types.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace shell {

namespace {

// Time given to the panel between the parts of a gesture, so each reaches its frame loop in order.
constexpr std::uint32_t gesture_step_ms = 30;

bool read_ints(std::istringstream& in, std::vector<int>& out, std::size_t count) {
    out.clear();
    for (std::size_t i = 0; i < count; ++i) {
        long v;
        if (!(in >> v) || v < -100000 || v > 100000)
            return false;
        out.push_back(static_cast<int>(v));
    }
    std::string rest;
    return !(in >> rest);
}

bool valid_name(const std::string& name) {
    if (name.empty() || name.size() > 100)
        return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.'))
            return false;
    return name.front() != '.';
}

} // namespace

int key_from_name(const std::string& name) {
    if (name == "left")
        return platform::VK_LEFT;
    if (name == "right")
        return platform::VK_RIGHT;
    if (name == "up")
        return platform::VK_UP;
    if (name == "down")
        return platform::VK_DOWN;
    if (name == "enter")
        return platform::VK_RETURN;
    if (name == "soft1")
        return platform::VK_APP2;
    if (name == "soft2")
        return platform::VK_APP3;
    if (name.empty() || name.size() > 3)
        return -1;
    for (char c : name)
        if (c < '0' || c > '9')
            return -1;
    int v = std::atoi(name.c_str());
    return v <= 255 ? v : -1;
}

bool run_tour(host& h, std::istream& script, const std::string& shots_folder, std::string& error,
              frame_report* report) {
    std::string line;
    int number = 0;
    std::vector<int> a;
    while (std::getline(script, line)) {
        ++number;
        std::istringstream in(line);
        std::string cmd;
        if (!(in >> cmd) || cmd[0] == '#')
            continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + " (" + line + "): " + why;
            return false;
        };
        bool alive = true;
        if (cmd == "wait") {
            if (!read_ints(in, a, 1) || a[0] < 0)
                return fail("expected: wait MS");
            alive = h.run_for(static_cast<std::uint32_t>(a[0]));
        } else if (cmd == "settle") {
            if (!read_ints(in, a, 1) || a[0] < 0)
                return fail("expected: settle MS");
            const host::settle_result r = h.settle(static_cast<std::uint32_t>(a[0]));
            if (r == host::settle_result::timed_out)
                platform::debug_log_write("tour: line " + std::to_string(number) + " (" + line +
                                          "): the panel had not settled");
            alive = r != host::settle_result::closed;
        } else if (cmd == "mark") {
            std::string name, rest;
            in >> name;
            if (!valid_name(name) || (in >> rest))
                return fail("expected: mark NAME (letters, digits, '-', '_', '.')");
            if (report)
                report->mark(name);
        } else if (cmd == "tap") {
            if (!read_ints(in, a, 2))
                return fail("expected: tap X Y");
            platform::pen_down(a[0], a[1]);
            alive = h.run_for(gesture_step_ms);
            platform::pen_up(a[0], a[1]);
            alive = alive && h.run_for(gesture_step_ms);
        } else if (cmd == "down" || cmd == "move" || cmd == "up") {
            if (!read_ints(in, a, 2))
                return fail("expected: " + cmd + " X Y");
            if (cmd == "down")
                platform::pen_down(a[0], a[1]);
            else if (cmd == "move")
                platform::pen_move(a[0], a[1]);
            else
                platform::pen_up(a[0], a[1]);
            alive = h.pump();
        } else if (cmd == "drag") {
            if (!read_ints(in, a, 5) || a[4] < 0)
                return fail("expected: drag X1 Y1 X2 Y2 MS");
            int steps = std::max(1, a[4] / static_cast<int>(gesture_step_ms));
            platform::pen_down(a[0], a[1]);
            for (int i = 1; i <= steps && alive; ++i) {
                alive = h.run_for(static_cast<std::uint32_t>(a[4] / steps));
                platform::pen_move(a[0] + (a[2] - a[0]) * i / steps, a[1] + (a[3] - a[1]) * i / steps);
            }
            platform::pen_up(a[2], a[3]);
            alive = alive && h.run_for(gesture_step_ms);
        } else if (cmd == "key") {
            std::string name, rest;
            in >> name;
            int vk = key_from_name(name);
            if (vk < 0 || (in >> rest))
                return fail("unknown key");
            platform::key_down(vk);
            alive = h.run_for(gesture_step_ms);
            platform::key_up(vk);
            alive = alive && h.run_for(gesture_step_ms);
        } else if (cmd == "text") {
            std::string text;
            std::getline(in >> std::ws, text);
            platform::text_input(platform::from_utf8(text));
            alive = h.run_for(gesture_step_ms);
        } else if (cmd == "rotate" || cmd == "pause" || cmd == "resume" || cmd == "quit") {
            std::string rest;
            if (in >> rest)
                return fail(cmd + " takes no argument");
            if (cmd == "quit")
                return true;
            if (cmd == "rotate")
                h.rotate();
            else if (cmd == "pause")
                h.pause();
            else
                h.resume();
            alive = h.pump();
        } else if (cmd == "shot") {
            std::string name, rest;
            in >> name;
            if (!valid_name(name) || (in >> rest))
                return fail("expected: shot NAME (letters, digits, '-', '_', '.')");
            alive = h.pump();
            if (!platform::write_png(shots_folder + "/" + name + ".png", platform::compose_screen()))
                return fail("cannot write " + shots_folder + "/" + name + ".png");
        } else {
            return fail("unknown command");
        }
        if (!alive)
            return fail("the home screen closed");
    }
    return true;
}

} // namespace shell

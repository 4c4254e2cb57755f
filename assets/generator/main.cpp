// Draws every picture of the panel's resource table, the globe's earth textures and, on request, a contact
// sheet of all pictures. Run by the build; the same inputs always give the same bytes.

#include "catalogue.h"
#include "contact_sheet.h"
#include "earth_texture.h"
#include "inputs.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

struct options {
    std::string out_folder;
    std::string earth;
    std::string config;
    std::string font;
    std::string contact_sheet;
};

bool parse(int argc, char** argv, options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const std::string value = argv[i + 1];
        if (flag == "--out")
            o.out_folder = value;
        else if (flag == "--earth")
            o.earth = value;
        else if (flag == "--config")
            o.config = value;
        else if (flag == "--font")
            o.font = value;
        else if (flag == "--contact-sheet")
            o.contact_sheet = value;
        else
            return false;
    }
    return argc % 2 == 1 && !o.earth.empty() && !o.config.empty() && !o.font.empty() &&
           (!o.out_folder.empty() || !o.contact_sheet.empty());
}

} // namespace

int main(int argc, char** argv) {
    options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: %s --earth JPG --config XML --font TTF [--out FOLDER] [--contact-sheet PNG]\n",
                     argv[0]);
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        const assets::rgb_image earth = assets::read_jpeg(o.earth);
        const auto categories = assets::read_categories(o.config);
        const assets::text_painter text(o.font);
        const assets::earth_texture texture = assets::make_earth_texture(earth);
        const assets::inputs in{earth, texture, categories, text};

        assets::catalogue c;
        assets::add_chrome_pictures(c, in);
        assets::add_frame_pictures(c);
        assets::add_signal_pictures(c);
        assets::add_shortcut_pictures(c, in);
        assets::add_weather_icons(c);
        assets::add_world_pictures(c, in);

        if (!o.out_folder.empty()) {
            for (const assets::picture_spec* p : c.files()) {
                assets::canvas pic(p->width, p->height);
                p->paint(pic.cr(), p->width, p->height);
                assets::rgba_image image = pic.pixels();
                image.bleed_into_transparent();
                assets::write_png(o.out_folder + "/images/" + p->file, image);
            }
            assets::write_earth_halves(texture, o.out_folder + "/rgbaEarthA.raw",
                                       o.out_folder + "/rgbaEarthB.raw");
        }
        if (!o.contact_sheet.empty())
            assets::write_contact_sheet(o.contact_sheet, c, texture, earth, text);

        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        std::printf("zor-assets: %zu pictures and the earth textures in %lld ms\n", c.files().size(),
                    static_cast<long long>(ms));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zor-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}

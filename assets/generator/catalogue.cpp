#include "catalogue.h"

#include <memory>
#include <stdexcept>

namespace assets {

const picture_spec* catalogue::keep(const std::string& file, int width, int height, painter paint) {
    for (const auto& p : pictures)
        if (p->file == file)
            throw std::logic_error("two pictures write " + file);
    pictures.push_back(std::make_unique<picture_spec>(picture_spec{file, width, height, std::move(paint)}));
    return pictures.back().get();
}

void catalogue::add(const std::string& key, const std::string& file, int width, int height, painter paint) {
    const picture_spec* p = keep(file, width, height, std::move(paint));
    keys.push_back({key, p, p});
}

void catalogue::add_oriented(const std::string& key, const std::string& portrait_file, int pw, int ph,
                             painter portrait, const std::string& landscape_file, int lw, int lh,
                             painter landscape) {
    const picture_spec* p = keep(portrait_file, pw, ph, std::move(portrait));
    const picture_spec* l = keep(landscape_file, lw, lh, std::move(landscape));
    keys.push_back({key, p, l});
}

void catalogue::add_landscape_only(const std::string& key, const std::string& file, int width, int height,
                                   painter paint) {
    keys.push_back({key, nullptr, keep(file, width, height, std::move(paint))});
}

std::vector<const picture_spec*> catalogue::files() const {
    std::vector<const picture_spec*> out;
    for (const auto& p : pictures)
        out.push_back(p.get());
    return out;
}

} // namespace assets

#include "ui/graphics.h"

#include "ui/gdi_graphics.h"
#include "ui/resources.h"
#include "ui/ui_error.h"

#include <map>
#include <memory>

namespace cl {
namespace ui {

namespace {
boost::shared_ptr<ui_impl::gdi_graphics> the_graphics;
std::unique_ptr<std::map<std::wstring, image_ptr>> cache;

std::map<std::wstring, image_ptr>& image_cache() {
    if (!cache)
        cache.reset(new std::map<std::wstring, image_ptr>);
    return *cache;
}

} // namespace

image_ptr load_resource_image(const std::wstring& key) {
    try {
        return load_image(resources::path(key));
    } catch (const res_error&) {
        return image_ptr();
    }
}

void create_graphics(base_window& window) {
    the_graphics.reset(new ui_impl::gdi_graphics(window));
    cache.reset(new std::map<std::wstring, image_ptr>);
}

void destroy_graphics() {
    the_graphics.reset();
    cache.reset();
}

boost::shared_ptr<i_graphics> get_graphics() {
    return the_graphics;
}

bool is_image_cached(const std::wstring& path) {
    return cache && cache->count(path) > 0;
}

image_ptr load_image(const std::wstring& path) {
    auto& c = image_cache();
    auto it = c.find(path);
    if (it != c.end())
        return it->second;
    image_ptr image = ui_impl::gdi_graphics::load_image_file(path);
    c[path] = image;
    return image;
}

image_ptr load_image(const std::wstring& path, int width, int height, bool bypass_cache) {
    if (!bypass_cache) {
        auto& c = image_cache();
        auto it = c.find(path);
        if (it != c.end())
            return it->second;
    }
    image_ptr image = ui_impl::gdi_graphics::load_image_file(path, width, height);
    if (!bypass_cache)
        image_cache()[path] = image;
    return image;
}

image_ptr load_image_from_buffer(const void* data, std::size_t size, int width, int height) {
    return ui_impl::gdi_graphics::load_image_buffer(data, size, width, height);
}

} // namespace ui
} // namespace cl

#pragma once

#include "ui/base_window.h"
#include "ui/i_graphics.h"

#include <boost/shared_ptr.hpp>
#include <string>

// The process-wide graphics and image cache, made by the frame loop for the panel window.
namespace cl {
namespace ui {

// Replaces any previous graphics and cache.
void create_graphics(base_window& window);
void destroy_graphics();
// Null before create_graphics and after destroy_graphics.
boost::shared_ptr<i_graphics> get_graphics();

// Decoded once per path and shared.
image_ptr load_image(const std::wstring& path);
bool is_image_cached(const std::wstring& path);
// width = height = 0 keeps the picture's own size; bypass_cache neither reads nor fills the cache.
image_ptr load_image(const std::wstring& path, int width, int height, bool bypass_cache);
// An installed picture by its resource key, through the cache; null for a key the table lacks (an icon code
// from a server that has no picture), so a page shows nothing there rather than stopping.
image_ptr load_resource_image(const std::wstring& key);
// Any thread; never cached.
image_ptr load_image_from_buffer(const void* data, std::size_t size, int width, int height);

} // namespace ui
} // namespace cl

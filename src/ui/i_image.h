#pragma once

#include <boost/shared_ptr.hpp>

namespace cl {
namespace ui {

class i_image {
public:
    virtual ~i_image() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Bytes the picture holds: colour and alpha per pixel, plus a fixed overhead.
    virtual int memory_size() const = 0;
};

using image_ptr = boost::shared_ptr<i_image>;

} // namespace ui
} // namespace cl

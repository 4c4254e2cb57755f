#pragma once

#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <vector>

namespace cl {
namespace http {

// A response body. Copies share the bytes. It grows geometrically, so a body of many chunks costs linear
// time.
class buffer {
public:
    buffer() : bytes(new std::vector<char>) {}

    void clear() { bytes.reset(new std::vector<char>); }
    // Ignored for a null pointer or a count below 1.
    void append(const char* data, long count);
    // One zero byte behind the body, so that it reads as a C string.
    void terminate() { append("", 1); }

    // Null when empty.
    const char* data() const { return bytes->empty() ? nullptr : bytes->data(); }
    std::uint32_t size() const { return static_cast<std::uint32_t>(bytes->size()); }

private:
    boost::shared_ptr<std::vector<char>> bytes;
};

} // namespace http
} // namespace cl

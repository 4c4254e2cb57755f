#include "net/http_buffer.h"

namespace cl {
namespace http {

void buffer::append(const char* data, long count) {
    if (!data || count < 1)
        return;
    bytes->insert(bytes->end(), data, data + count);
}

} // namespace http
} // namespace cl

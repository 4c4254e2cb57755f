#include "net/http_client.h"

#include "net/http_error.h"
#include "platform/http.h"
#include "platform/text.h"
#include "utils/errors.h"

namespace cl {
namespace http {

client::client() = default;
client::~client() {
    close();
}

void client::open() {
    close();
    session = platform::http_session::open(user_agent);
    if (!session)
        utils::throw_error(error("Preparation for access to the Internet fail"));
}

void client::connect(const std::wstring& host) {
    connected = false;
    if (!session || !session->connect(platform::to_utf8(host)))
        utils::throw_error(error("Internet connection opening fails"));
    connected = true;
}

buffer& client::get(buffer& body, const std::wstring& path) {
    platform::http_response ignored;
    return get(body, path, nullptr, ignored);
}

buffer& client::get(buffer& body, const std::wstring& path, const platform::http_validators* held,
                    platform::http_response& response) {
    if (!session || !connected)
        utils::throw_error(error("Http request opening fails"));
    body.clear();
    std::string why;
    platform::http_status status = session->get(
        platform::to_utf8(path),
        [&](const char* data, std::size_t n) { body.append(data, static_cast<long>(n)); }, &why, held,
        &response);
    switch (status) {
    case platform::http_status::ok:
        return body;
    case platform::http_status::open_failed:
        utils::throw_error(error("Http request opening fails", why));
    case platform::http_status::send_failed:
        utils::throw_error(error("Http request sending fails", why));
    case platform::http_status::read_failed:
    default:
        utils::throw_error(error("Internet file reading fails", why));
    }
}

void client::close() {
    session.reset();
    connected = false;
}

} // namespace http
} // namespace cl

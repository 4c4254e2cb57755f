#include "app/controller.h"

#include "ui/resources.h"
#include "utils/errors.h"

#include <ostream>
#include <streambuf>

namespace zor {
namespace app {

namespace {
// Nobody reads the state changes; they go to a stream that drops them.
std::wostream& discarded() {
    struct null_buffer : std::wstreambuf {
        int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    };
    static null_buffer buffer;
    static std::wostream stream(&buffer);
    return stream;
}

bool is_landscape(const platform::RECT& r) {
    return r.right - r.left > r.bottom - r.top;
}
} // namespace

controller::controller(std::shared_ptr<content_factory> factory)
    : factory(std::move(factory)), page_(new page(this->factory)) {
    utils::trace_scope trace("zor::app::controller::controller");
}

controller::~controller() {
    utils::trace_scope trace("zor::app::controller::~controller");
    page_.reset();
}

void controller::init() {
    listen_to_page();
}

void controller::listen_to_page() {
    page_->next_state.connect(
        utils::function1<void, std::wstring>([this](const std::wstring& s) { on_next_state(s); }));
}

void controller::on_next_state(const std::wstring&) {
    discarded() << L"controller::on_next_state\n";
}

void controller::resize(const platform::RECT& r) {
    if (is_landscape(page_->get_rect()) == is_landscape(r))
        return;
    cl::ui::resources::set_portrait(!is_landscape(r));
    std::vector<content_state> saved = page_->save_history();
    std::unique_ptr<page> rebuilt(new page(factory));
    page_ = std::move(rebuilt);
    page_->set_rect(r);
    page_->layout();
    listen_to_page();
    page_->restore_history(std::move(saved));
}

} // namespace app
} // namespace zor

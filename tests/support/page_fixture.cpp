#include "support/page_fixture.h"

#include "model/config.h"
#include "model/model.h"
#include "platform/text.h"
#include "ui/graphics.h"
#include "ui/resources.h"

void page_fixture::SetUp() {
    graphics_fixture::SetUp();
    const std::wstring folder = platform::from_utf8(ZOR_PANEL_DIR);
    cl::ui::resources::load(folder);
    use_portrait(true);
    cl::ui::create_graphics(window);
    // The installed configuration: its categories name the footer's links.
    zor::config::reset();
    zor::config::init(folder);
    zor::model::init();
}

void page_fixture::TearDown() {
    zor::model::done();
    zor::config::reset();
    cl::ui::destroy_graphics();
    cl::ui::resources::set_portrait(true);
    graphics_fixture::TearDown();
}

void page_fixture::use_portrait(bool portrait) {
    cl::ui::resources::set_portrait(portrait);
}

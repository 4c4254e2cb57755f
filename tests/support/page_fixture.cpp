#include "support/page_fixture.h"

#include "model/config.h"
#include "model/model.h"
#include "platform/text.h"
#include "ui/resources.h"

void page_fixture::SetUp() {
    graphics_fixture::SetUp();
    use_installed_pictures();
    // The installed configuration: its categories name the footer's links.
    zor::config::reset();
    zor::config::init(platform::from_utf8(ZOR_PANEL_DIR));
    zor::model::init();
}

void page_fixture::TearDown() {
    zor::model::done();
    zor::config::reset();
    graphics_fixture::TearDown();
}

void page_fixture::use_portrait(bool portrait) {
    cl::ui::resources::set_portrait(portrait);
}

#include "support/served_fixture.h"

#include "model/config.h"
#include "model/model.h"
#include "support/config_file.h"

void served_fixture::SetUp() {
    graphics_fixture::SetUp();
    use_installed_pictures();
}

void served_fixture::TearDown() {
    if (started)
        zor::model::done();
    zor::config::reset();
    graphics_fixture::TearDown();
}

void served_fixture::start(const std::string& elements) {
    use_config(folder,
               "<internet><server name=\"" + narrow(server.host()) + "\"/>" + elements + "</internet>");
    zor::model::init();
    started = true;
}

std::string served_fixture::weather_here() const {
    return "<weather name=\"" + narrow(server.host()) + "\"/>";
}

int served_fixture::requests_for(const std::string& prefix) {
    int n = 0;
    for (const auto& t : server.targets())
        n += t.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return n;
}

std::vector<std::wstring> served_fixture::keys(const cl::ui::list_box_base& list) {
    std::vector<std::wstring> out;
    for (const auto& item : list.items()) {
        out.push_back(item->key());
        if (auto inner = item->as_list())
            for (const auto& row : inner->items())
                out.push_back(L"  " + row->key());
    }
    return out;
}

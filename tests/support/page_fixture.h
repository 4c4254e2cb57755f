#pragma once

#include "support/graphics_fixture.h"

#include <string>
#include <vector>

// A panel window with the process-wide graphics and the installed pictures, as the frame loop has them.
class page_fixture : public graphics_fixture {
protected:
    void SetUp() override;
    void TearDown() override;
    // Switches the picture table and the window to the orientation.
    void use_portrait(bool portrait);

    std::vector<std::string> journal;
};

// A picture of the IDE as a user would see it: the main menu bar, the toolbars with their
// controls and images, the editor area and the tool windows. Package authors look at it to see
// where their pieces landed.
#pragma once

#include <filesystem>
#include <vector>

#include "platform/rtl/Text.h"
#include "sim/SimulatedIde.h"

namespace host {

using rtl::String;

// Where one piece of the IDE landed in the picture, named as the transcript names it.
struct DrawnArea {
    String what;
    int left;
    int top;
    int width;
    int height;
};

// Whether this build can draw pictures (the Windows build cannot).
bool ScreenshotAvailable();
// Draws the IDE into a PNG file and tells where each piece went. Raises rtl::Exception when
// the picture cannot be made or written.
std::vector<DrawnArea> SaveScreenshot(sim::SimulatedIde& ide, const std::filesystem::path& file);

}  // namespace host

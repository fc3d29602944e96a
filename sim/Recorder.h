// What a user of the IDE would have seen: every message box, dialog, debug line, shell
// launch and help request, in order. Tests read it; the host prints it as it happens.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/Text.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win32/Observed.h"

namespace sim {

using rtl::String;

struct MessageBoxRecord {
    HWND owner;
    String text;
    String caption;
    UINT style;
};

class Recorder {
public:
    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<vcl::DialogRequest> dialogs;
    std::vector<String> debugOutput;
    std::vector<win32::ShellLaunch> shellLaunches;
    std::vector<String> helpKeywords;
    // Every event as one readable line, in order.
    std::vector<String> lines;

    // Told of every line as it is recorded; the host prints them.
    std::function<void(const String& line)> echo;

    void Note(const String& line);
    void Clear();
};

}  // namespace sim

#include "sim/Recorder.h"

namespace sim {

void Recorder::Note(const String& line) {
    lines.push_back(line);
    if (echo) echo(line);
}

void Recorder::Clear() {
    messageBoxes.clear();
    dialogs.clear();
    debugOutput.clear();
    shellLaunches.clear();
    helpKeywords.clear();
    lines.clear();
}

}  // namespace sim

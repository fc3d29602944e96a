// Drives a session from a script or from what a person types.
#pragma once

#include <istream>
#include <ostream>

#include "host/SessionCommands.h"

namespace host {

// Every line is checked before the first one runs, so that a mistake anywhere in the script
// stops it before the IDE starts. Stops at the first line that fails and reports it as
// "SOURCE:LINE: message". The exit status: 0 when every line ran.
int RunScript(SessionCommands& commands, const std::vector<SessionLine>& lines, const String& source,
              std::ostream& errors);

// Line by line until the input ends or the IDE shuts down; a failing line is reported and the
// prompt comes back.
void RunInteractive(SessionCommands& commands, std::istream& input, std::ostream& prompt, std::ostream& errors);

}  // namespace host

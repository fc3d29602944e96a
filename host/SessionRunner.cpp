#include "host/SessionRunner.h"

#include <string>

namespace host {
namespace {

// "FILE:LINE: message" for a script, "line LINE: message" at the prompt.
void Report(std::ostream& errors, const String& source, const SessionError& error) {
    if (source.empty())
        errors << "line " << error.Line();
    else
        errors << rtl::ToUtf8(source) << ':' << error.Line();
    errors << ": " << error.what() << '\n';
}

}  // namespace

int RunScript(SessionCommands& commands, const std::vector<SessionLine>& lines, const String& source,
              std::ostream& errors) {
    try {
        for (const SessionLine& line : lines) SessionCommands::Check(line);
        for (const SessionLine& line : lines) commands.Run(line);
        return 0;
    } catch (const SessionError& error) {
        Report(errors, source, error);
        return 1;
    }
}

void RunInteractive(SessionCommands& commands, std::istream& input, std::ostream& prompt, std::ostream& errors) {
    std::string text;
    for (int number = 1; !commands.ShutDown(); ++number) {
        prompt << "korvel> " << std::flush;
        if (!std::getline(input, text)) break;
        try {
            if (SaysSomething(rtl::FromUtf8(text))) commands.Run(ParseSessionLine(number, text));
        } catch (const SessionError& error) {
            Report(errors, String(), error);
        }
    }
}

}  // namespace host

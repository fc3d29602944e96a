// A session is lines of commands, from a script file or typed at the prompt. A line is words
// separated by blanks; a word in double quotes may hold blanks, and \" and \\ stand for a
// quote and a backslash there. Blank lines and lines starting with # say nothing.
#pragma once

#include <istream>
#include <stdexcept>
#include <vector>

#include "platform/rtl/Text.h"

namespace host {

using rtl::String;

// Something a session line asks for that cannot be done; the message names what and why.
class SessionError : public std::runtime_error {
public:
    explicit SessionError(const String& message, int line = 0)
        : std::runtime_error(rtl::ToUtf8(message)), line_(line) {}
    // The session line it belongs to; 0 before it is known.
    int Line() const { return line_; }

private:
    int line_;
};

struct SessionLine {
    int number = 0;
    String text;  // as written, without surrounding blanks
    std::vector<String> words;
};

// Raises SessionError for a quote that is not closed.
std::vector<String> SplitWords(const String& text);
// Nothing for a blank line or a comment.
bool SaysSomething(const String& text);

// Every line that says something, numbered as in the input (UTF-8). Raises SessionError,
// with its line, for a line that cannot be split.
std::vector<SessionLine> ReadSessionScript(std::istream& input);
SessionLine ParseSessionLine(int number, const std::string& utf8Text);

}  // namespace host

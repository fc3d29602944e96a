// The host's readable record of a run: UTF-8, one event per line, written as it happens. A
// step that took time ends in " (1.23 ms)", so that runs compare equal with timings cut off.
#pragma once

#include <ostream>

#include "platform/rtl/LoaderTrace.h"
#include "platform/rtl/Text.h"

namespace host {

using rtl::String;

class Transcript {
public:
    explicit Transcript(std::ostream& out) : out_(out) {}

    // A text with line breaks goes on indented continuation lines.
    void Line(const String& text);
    void Timed(const String& text, rtl::Milliseconds took);

private:
    void Write(const String& text, const std::string& ending);

    std::ostream& out_;
};

// A name in double quotes, with the characters that would break a line spelled out.
String Quoted(const String& text);

}  // namespace host

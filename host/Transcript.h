// The host's record of a run, one event per line, written as it happens: readable text where a
// step that took time ends in " (1.23 ms)" (so that runs compare equal with timings cut off),
// or for tools one JSON object per line: {"event":"sited","text":"...","ms":0.12}, the event
// being the text up to its first colon or blank. Every line written is kept for `expect`.
#pragma once

#include <ostream>
#include <vector>

#include "platform/rtl/LoaderTrace.h"
#include "platform/rtl/Text.h"

namespace host {

using rtl::String;

class Transcript {
public:
    enum class Format { Text, Json };
    explicit Transcript(std::ostream& out, Format format = Format::Text) : out_(out), format_(format) {}

    // A text with line breaks goes on indented continuation lines.
    void Line(const String& text);
    void Timed(const String& text, rtl::Milliseconds took);

    // Every line so far, continuation lines on their own, without timings.
    const std::vector<String>& Lines() const { return lines_; }

private:
    void Write(const String& text, const std::string& ending);
    void WriteJson(const String& text, const rtl::Milliseconds* took);
    void Keep(const String& text);

    std::ostream& out_;
    Format format_;
    std::vector<String> lines_;
};

// A name in double quotes, with the characters that would break a line spelled out.
String Quoted(const String& text);

}  // namespace host

// The host's record of a run, one event per line, written as it happens: readable text where a
// step that took time ends in " (1.23 ms)" (so that runs compare equal with timings cut off),
// or for tools one JSON object per line with the event's fields. Every line written is kept
// for `expect`.
#pragma once

#include <chrono>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/rtl/LoaderTrace.h"
#include "platform/rtl/Text.h"

namespace host {

using rtl::String;

// One thing that happened. Only `text` is needed; what else is known goes to the JSON form.
struct TranscriptEvent {
    // "sited", "message box", "command"; empty: the text up to its first colon or blank.
    String kind;
    // The line as the readable transcript shows it.
    String text;
    // The package it concerns: its display name and class identifier.
    String package;
    String classId;
    // The call it reports: the object (an interface, a class) and the method.
    String object;
    String method;
    // What the call answered, and the words for it (the platform's text, a reason, a fault).
    std::optional<HRESULT> result;
    String resultText;
    // How long the step took.
    std::optional<rtl::Milliseconds> took;
};

class Transcript {
public:
    enum class Format { Text, Json };
    explicit Transcript(std::ostream& out, Format format = Format::Text);

    // A text with line breaks goes on indented continuation lines.
    void Write(const TranscriptEvent& event);
    void Line(const String& text);
    void Timed(const String& text, rtl::Milliseconds took);

    struct KeptLine {
        String text;
        String kind;
    };
    // Every line so far, continuation lines on their own (of their event's kind), without
    // timings.
    const std::vector<KeptLine>& Lines() const { return lines_; }

private:
    void WriteText(const TranscriptEvent& event);
    void WriteJson(const TranscriptEvent& event, const String& kind);

    std::ostream& out_;
    Format format_;
    const std::chrono::steady_clock::time_point start_;
    std::vector<KeptLine> lines_;
};

// A name in double quotes, with the characters that would break a line spelled out.
String Quoted(const String& text);

}  // namespace host

#include "host/Transcript.h"

#include <cstdio>

namespace host {
namespace {

const char kContinuation[] = "    ";

bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r'; }

// "\n\r", "\r\n", "\n" and "\r" each end one line.
std::vector<String> SplitLines(const String& text) {
    std::vector<String> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsLineBreak(text[i])) {
            lines.back() += text[i];
            continue;
        }
        if (i + 1 < text.size() && IsLineBreak(text[i + 1]) && text[i + 1] != text[i]) ++i;
        lines.emplace_back();
    }
    return lines;
}

// UTF-8 bytes of multi-byte characters are all 0x80 or above: only ASCII needs escaping.
std::string JsonString(const String& text) {
    std::string json = "\"";
    for (const char c : rtl::ToUtf8(text)) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string JsonMilliseconds(rtl::Milliseconds time) {
    char number[48];
    std::snprintf(number, sizeof number, "%.3f", time.count());
    return number;
}

// "sited" for "sited: ...", "debug output" for "debug output: ...", ">" for a command.
String KindOf(const TranscriptEvent& event) {
    if (!event.kind.empty()) return event.kind;
    const size_t colon = event.text.find(u':');
    const size_t end = colon != String::npos ? colon : event.text.find(u' ');
    return event.text.substr(0, end);
}

}  // namespace

Transcript::Transcript(std::ostream& out, Format format)
    : out_(out), format_(format), start_(std::chrono::steady_clock::now()) {}

void Transcript::Write(const TranscriptEvent& event) {
    const String kind = KindOf(event);
    for (String& line : SplitLines(event.text)) lines_.push_back({std::move(line), kind});
    if (format_ == Format::Json)
        WriteJson(event, kind);
    else
        WriteText(event);
    out_.flush();
}

void Transcript::Line(const String& text) {
    TranscriptEvent event;
    event.text = text;
    Write(event);
}

void Transcript::Timed(const String& text, rtl::Milliseconds took) {
    TranscriptEvent event;
    event.text = text;
    event.took = took;
    Write(event);
}

void Transcript::WriteText(const TranscriptEvent& event) {
    const std::vector<String> lines = SplitLines(event.text);
    std::string ending;
    if (event.took) {
        char timing[48];
        std::snprintf(timing, sizeof(timing), " (%.2f ms)", event.took->count());
        ending = timing;
    }
    for (size_t i = 0; i < lines.size(); ++i)
        out_ << (i == 0 ? "" : kContinuation) << rtl::ToUtf8(lines[i]) << (i + 1 == lines.size() ? ending : "") << '\n';
}

void Transcript::WriteJson(const TranscriptEvent& event, const String& kind) {
    out_ << "{\"event\":" << JsonString(kind) << ",\"text\":" << JsonString(event.text);
    const auto field = [&](const char* name, const String& value) {
        if (!value.empty()) out_ << ",\"" << name << "\":" << JsonString(value);
    };
    field("package", event.package);
    field("classId", event.classId);
    field("object", event.object);
    field("method", event.method);
    if (event.result) out_ << ",\"result\":" << JsonString(u"0x" + rtl::IntToHex(static_cast<uint32_t>(*event.result), 8));
    field("resultText", event.resultText);
    if (event.took) out_ << ",\"ms\":" << JsonMilliseconds(*event.took);
    out_ << ",\"at\":" << JsonMilliseconds(std::chrono::steady_clock::now() - start_) << "}\n";
}

String Quoted(const String& text) {
    String quoted = u"\"";
    for (char16_t c : text) {
        switch (c) {
            case u'\0': quoted += u"\\0"; break;
            case u'\n': quoted += u"\\n"; break;
            case u'\r': quoted += u"\\r"; break;
            case u'\t': quoted += u"\\t"; break;
            default: quoted += c;
        }
    }
    return quoted + u"\"";
}

}  // namespace host

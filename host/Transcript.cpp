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

// "sited" for "sited: ...", "debug output" for "debug output: ...", ">" for a command.
String EventOf(const String& text) {
    const size_t colon = text.find(u':');
    const size_t end = colon != String::npos ? colon : text.find(u' ');
    return text.substr(0, end);
}

}  // namespace

void Transcript::Line(const String& text) {
    Keep(text);
    if (format_ == Format::Json) return WriteJson(text, nullptr);
    Write(text, "");
}

void Transcript::Timed(const String& text, rtl::Milliseconds took) {
    Keep(text);
    if (format_ == Format::Json) return WriteJson(text, &took);
    char timing[48];
    std::snprintf(timing, sizeof(timing), " (%.2f ms)", took.count());
    Write(text, timing);
}

void Transcript::Write(const String& text, const std::string& ending) {
    const std::vector<String> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i)
        out_ << (i == 0 ? "" : kContinuation) << rtl::ToUtf8(lines[i]) << (i + 1 == lines.size() ? ending : "") << '\n';
    out_.flush();
}

void Transcript::Keep(const String& text) {
    const std::vector<String> lines = SplitLines(text);
    lines_.insert(lines_.end(), lines.begin(), lines.end());
}

void Transcript::WriteJson(const String& text, const rtl::Milliseconds* took) {
    out_ << "{\"event\":" << JsonString(EventOf(text)) << ",\"text\":" << JsonString(text);
    if (took) {
        char timing[48];
        std::snprintf(timing, sizeof(timing), ",\"ms\":%.3f", took->count());
        out_ << timing;
    }
    out_ << "}\n";
    out_.flush();
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

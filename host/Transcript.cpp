#include "host/Transcript.h"

#include <cstdio>

namespace host {
namespace {

const char kContinuation[] = "    ";

bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r'; }

}  // namespace

void Transcript::Line(const String& text) { Write(text, ""); }

void Transcript::Timed(const String& text, rtl::Milliseconds took) {
    char timing[48];
    std::snprintf(timing, sizeof(timing), " (%.2f ms)", took.count());
    Write(text, timing);
}

// "\n\r", "\r\n", "\n" and "\r" each end one line.
void Transcript::Write(const String& text, const std::string& ending) {
    const char* indent = "";
    String line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (!IsLineBreak(c)) {
            line += c;
            continue;
        }
        if (i + 1 < text.size() && IsLineBreak(text[i + 1]) && text[i + 1] != c) ++i;
        out_ << indent << rtl::ToUtf8(line) << '\n';
        indent = kContinuation;
        line.clear();
    }
    out_ << indent << rtl::ToUtf8(line) << ending << '\n';
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

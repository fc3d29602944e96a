#include "host/SessionScript.h"

#include <string>

namespace host {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

String Trimmed(const String& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::vector<String> SplitWords(const String& text) {
    std::vector<String> words;
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        String word;
        if (text[i] == u'"') {
            ++i;
            for (;; ++i) {
                if (i >= text.size()) throw SessionError(u"a quoted word is not closed");
                if (text[i] == u'"') break;
                if (text[i] == u'\\' && i + 1 < text.size() && (text[i + 1] == u'"' || text[i + 1] == u'\\')) ++i;
                word += text[i];
            }
            ++i;
            if (i < text.size() && !IsBlank(text[i])) throw SessionError(u"a quoted word runs into the next one");
        } else {
            while (i < text.size() && !IsBlank(text[i])) word += text[i++];
        }
        words.push_back(word);
    }
    return words;
}

bool SaysSomething(const String& text) {
    const String trimmed = Trimmed(text);
    return !trimmed.empty() && trimmed.front() != u'#';
}

SessionLine ParseSessionLine(int number, const std::string& utf8Text) {
    SessionLine line;
    line.number = number;
    line.text = Trimmed(rtl::FromUtf8(utf8Text));
    try {
        line.words = SplitWords(line.text);
    } catch (const SessionError& error) {
        throw SessionError(rtl::FromUtf8(error.what()), number);
    }
    return line;
}

std::vector<SessionLine> ReadSessionScript(std::istream& input) {
    std::vector<SessionLine> lines;
    std::string text;
    for (int number = 1; std::getline(input, text); ++number) {
        if (number == 1 && text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);  // a byte-order mark
        if (SaysSomething(rtl::FromUtf8(text))) lines.push_back(ParseSessionLine(number, text));
    }
    return lines;
}

}  // namespace host

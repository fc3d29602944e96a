#include "host/RegFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/rtl/Exceptions.h"

namespace host {
namespace {

const String kHeader = u"Windows Registry Editor Version 5.00";

struct Line {
    int number;
    String text;
};

String Decode(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
        String text;
        text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
        return text;
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return rtl::FromUtf8(bytes.substr(3));
    return rtl::FromUtf8(bytes);
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

String Trim(const String& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::vector<String> PhysicalLines(const String& text) {
    std::vector<String> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == String::npos) end = text.size();
        String line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Blank lines and comments dropped, lines ending in a backslash joined with the next; each
// keeps the number of its first line.
std::vector<Line> LogicalLines(const String& text) {
    const std::vector<String> physical = PhysicalLines(text);
    std::vector<Line> lines;
    for (size_t i = 0; i < physical.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        String line = Trim(physical[i]);
        if (line.empty() || line[0] == u';') continue;
        while (line.back() == u'\\') {
            if (++i >= physical.size()) throw RegFileError(number, "the last line ends in a continuation backslash");
            line.pop_back();
            line += Trim(physical[i]);
            if (line.empty()) break;
        }
        if (!line.empty()) lines.push_back({number, std::move(line)});
    }
    return lines;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

std::vector<uint8_t> LittleEndianBytes(const String& text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

// Reads one logical line from left to right; every complaint names the line.
class Cursor {
public:
    explicit Cursor(const Line& line) : line_(line) {}

    bool AtEnd() const { return position_ >= line_.text.size(); }
    char16_t Peek() const { return AtEnd() ? u'\0' : line_.text[position_]; }
    bool Take(char16_t c) {
        if (AtEnd() || Peek() != c) return false;
        ++position_;
        return true;
    }
    // Without case, as the registry editor reads its type names.
    bool TakeWord(const String& word) {
        if (!rtl::SameText(line_.text.substr(position_, word.size()), word)) return false;
        position_ += word.size();
        return true;
    }
    void SkipSpaces() {
        while (!AtEnd() && IsSpace(Peek())) ++position_;
    }
    void Expect(char16_t c, const char* what) {
        if (!Take(c)) Fail(std::string("expected ") + what);
    }
    void ExpectEnd() {
        SkipSpaces();
        if (!AtEnd()) Fail("unexpected text after the value: " + rtl::ToUtf8(line_.text.substr(position_)));
    }

    // A quoted string; inside it only \\ and \" are escapes.
    String QuotedString() {
        Expect(u'"', "a '\"'");
        String text;
        for (;;) {
            if (AtEnd()) Fail("a string without its closing '\"'");
            const char16_t c = line_.text[position_++];
            if (c == u'"') return text;
            if (c == u'\\') {
                const char16_t escaped = Peek();
                if (escaped != u'\\' && escaped != u'"')
                    Fail("unknown escape \\" + rtl::ToUtf8(String(1, escaped)) + " in a string (only \\\\ and \\\")");
                ++position_;
                text += escaped;
            } else {
                text += c;
            }
        }
    }

    // Up to maxDigits hexadecimal digits, at least one.
    uint32_t HexNumber(size_t maxDigits, const char* what) {
        uint32_t value = 0;
        size_t digits = 0;
        while (!AtEnd() && HexDigit(Peek()) >= 0) {
            if (++digits > maxDigits) Fail(std::string(what) + " with more than " + std::to_string(maxDigits) + " hex digits");
            value = value << 4 | static_cast<uint32_t>(HexDigit(line_.text[position_++]));
        }
        if (digits == 0) Fail(std::string("expected ") + what + " in hex digits");
        return value;
    }

    // Comma-separated bytes, possibly none.
    std::vector<uint8_t> HexBytes() {
        std::vector<uint8_t> bytes;
        SkipSpaces();
        if (AtEnd()) return bytes;
        do {
            SkipSpaces();
            bytes.push_back(static_cast<uint8_t>(HexNumber(2, "a byte")));
            SkipSpaces();
        } while (Take(u','));
        return bytes;
    }

    [[noreturn]] void Fail(const std::string& problem) const { throw RegFileError(line_.number, problem); }

private:
    const Line& line_;
    size_t position_ = 0;
};

HKEY RootKey(const String& name) {
    if (rtl::SameText(name, u"HKEY_LOCAL_MACHINE")) return HKEY_LOCAL_MACHINE;
    if (rtl::SameText(name, u"HKEY_CURRENT_USER")) return HKEY_CURRENT_USER;
    if (rtl::SameText(name, u"HKEY_CLASSES_ROOT")) return HKEY_CLASSES_ROOT;
    if (rtl::SameText(name, u"HKEY_USERS")) return HKEY_USERS;
    return nullptr;
}

RegKey ParseKey(const Line& line) {
    const String& text = line.text;
    if (text.back() != u']') throw RegFileError(line.number, "a key line must end with ']'");
    String inner = text.substr(1, text.size() - 2);
    RegKey key;
    key.line = line.number;
    if (!inner.empty() && inner[0] == u'-') {
        key.remove = true;
        inner.erase(0, 1);
    }
    const size_t separator = inner.find(u'\\');
    const String rootName = inner.substr(0, separator);
    key.root = RootKey(rootName);
    if (!key.root) throw RegFileError(line.number, "unknown root key '" + rtl::ToUtf8(rootName) + "'");
    if (separator != String::npos) key.path = inner.substr(separator + 1);
    if (key.path.empty()) throw RegFileError(line.number, "a key below " + rtl::ToUtf8(rootName) + " is needed");
    return key;
}

void ParseData(Cursor& cursor, RegValue& value) {
    if (cursor.Take(u'-')) {
        value.remove = true;
    } else if (cursor.Peek() == u'"') {
        value.type = REG_SZ;
        value.data = LittleEndianBytes(cursor.QuotedString() + u'\0');
    } else if (cursor.TakeWord(u"dword:")) {
        const uint32_t number = cursor.HexNumber(8, "a dword");
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<uint8_t>(number >> shift));
    } else if (cursor.TakeWord(u"hex")) {
        value.type = REG_BINARY;
        if (cursor.Take(u'(')) {
            value.type = cursor.HexNumber(8, "a value type");
            cursor.Expect(u')', "')' after the value type");
        }
        cursor.Expect(u':', "':' after hex");
        value.data = cursor.HexBytes();
    } else {
        cursor.Fail("unknown value data (expected \"text\", dword:, hex: or hex(type):)");
    }
    cursor.ExpectEnd();
}

RegValue ParseValue(const Line& line) {
    Cursor cursor(line);
    RegValue value;
    value.line = line.number;
    if (!cursor.Take(u'@')) {
        if (cursor.Peek() != u'"') cursor.Fail("expected a [key], a \"name\"= value or a @= value");
        value.name = cursor.QuotedString();
    }
    cursor.SkipSpaces();
    cursor.Expect(u'=', "'=' after the value name");
    cursor.SkipSpaces();
    ParseData(cursor, value);
    return value;
}

std::string ErrorText(LSTATUS status) { return rtl::ToUtf8(rtl::SysErrorMessage(static_cast<DWORD>(status))); }

class OpenedKey {
public:
    explicit OpenedKey(const RegKey& key) {
        const LSTATUS status = RegCreateKeyExW(key.root, rtl::W(key.path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_SET_VALUE, nullptr, &handle_, nullptr);
        if (status != ERROR_SUCCESS) throw RegFileError(key.line, "cannot create the key: " + ErrorText(status));
    }
    ~OpenedKey() { RegCloseKey(handle_); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    HKEY Handle() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

void ApplyValue(HKEY key, const RegValue& value) {
    if (value.remove) {
        const LSTATUS status = RegDeleteValueW(key, rtl::W(value.name));
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            throw RegFileError(value.line, "cannot remove the value: " + ErrorText(status));
        return;
    }
    const LSTATUS status = RegSetValueExW(key, rtl::W(value.name), 0, value.type, value.data.data(),
                                          static_cast<DWORD>(value.data.size()));
    if (status != ERROR_SUCCESS) throw RegFileError(value.line, "cannot write the value: " + ErrorText(status));
}

void ApplyKey(const RegKey& key) {
    if (key.remove) {
        const LSTATUS status = RegDeleteTreeW(key.root, rtl::W(key.path));
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            throw RegFileError(key.line, "cannot remove the key: " + ErrorText(status));
        return;
    }
    const OpenedKey opened(key);
    for (const RegValue& value : key.values) ApplyValue(opened.Handle(), value);
}

}  // namespace

RegFileError::RegFileError(int line, const std::string& problem)
    : std::runtime_error("line " + std::to_string(line) + ": " + problem), line_(line) {}

std::vector<RegKey> ParseRegFile(const std::string& bytes) {
    const std::vector<Line> lines = LogicalLines(Decode(bytes));
    if (lines.empty() || lines.front().text != kHeader)
        throw RegFileError(lines.empty() ? 1 : lines.front().number,
                           "not a registry file: the first line must read \"" + rtl::ToUtf8(kHeader) + "\"");
    std::vector<RegKey> keys;
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        if (line->text[0] == u'[') {
            keys.push_back(ParseKey(*line));
            continue;
        }
        if (keys.empty()) throw RegFileError(line->number, "a value before any [key]");
        if (keys.back().remove) throw RegFileError(line->number, "a value under a key that is being removed");
        keys.back().values.push_back(ParseValue(*line));
    }
    return keys;
}

std::vector<RegKey> ReadRegFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open the file");
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("cannot read the file");
    return ParseRegFile(bytes);
}

void ApplyRegFile(const std::vector<RegKey>& keys) {
    for (const RegKey& key : keys) ApplyKey(key);
}

void ResolveServerPaths(std::vector<RegKey>& keys, const std::filesystem::path& base) {
    static const String serverKey = u"\\InprocServer32";
    for (RegKey& key : keys) {
        if (key.path.size() < serverKey.size() ||
            !rtl::SameText(key.path.substr(key.path.size() - serverKey.size()), serverKey))
            continue;
        for (RegValue& value : key.values) {
            if (!value.name.empty() || (value.type != REG_SZ && value.type != REG_EXPAND_SZ) || value.data.size() < 2)
                continue;
            String file(value.data.size() / 2 - 1, u'\0');
            std::memcpy(file.data(), value.data.data(), file.size() * 2);
            const std::filesystem::path path(file);
            if (path.is_absolute() || !path.has_parent_path()) continue;
            const String resolved = (base / path).lexically_normal().u16string() + u'\0';
            value.data.assign(reinterpret_cast<const uint8_t*>(resolved.data()),
                              reinterpret_cast<const uint8_t*>(resolved.data() + resolved.size()));
        }
    }
}

}  // namespace host

#include "platform/sim/reg_file.h"

#include <algorithm>
#include <utility>

#include "platform/sim/codepage.h"
#include "platform/sim/sim_registry.h"

namespace tamux::sim {

RegFileError::RegFileError(std::string file, int line, const std::string& expected)
    : Error(file + ":" + std::to_string(line) + ": expected " + expected),
      file_(std::move(file)),
      line_(line) {}

namespace {

namespace regtype = platform::regtype;
using View = std::u16string_view;

constexpr std::string_view kRegedit4Header = "REGEDIT4";
constexpr std::string_view kRegedit5Header = "Windows Registry Editor Version 5.00";

// The file's text as 16-bit units: UTF-16 for a file with a BOM, otherwise one byte per unit, so
// that one parser serves both and an 8-bit file's bytes pass through untouched.
struct Text {
    std::u16string units;
    bool wide = false;
};

Text decode(std::string_view bytes) {
    Text text;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        text.units = utf16FromBytes(data + 2, bytes.size() - 2);
        text.wide = true;
    } else if (bytes.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        // Hand-written files saved by a UTF-8 editor: the BOM says what the bytes are.
        text.units = utf8ToUtf16(bytes.substr(3));
        text.wide = true;
    } else {
        text.units.reserve(bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) text.units.push_back(data[i]);
    }
    return text;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

View trimLeft(View v) {
    while (!v.empty() && isBlank(v.front())) v.remove_prefix(1);
    return v;
}

View trimRight(View v) {
    while (!v.empty() && isBlank(v.back())) v.remove_suffix(1);
    return v;
}

View trim(View v) {
    return trimRight(trimLeft(v));
}

std::size_t skipBlanks(View v, std::size_t pos) {
    while (pos < v.size() && isBlank(v[pos])) ++pos;
    return pos;
}

char16_t asciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool equalsAscii(View v, std::string_view ascii, bool ignoreCase) {
    if (v.size() != ascii.size()) return false;
    for (std::size_t i = 0; i < v.size(); ++i) {
        char16_t a = v[i];
        char16_t b = static_cast<unsigned char>(ascii[i]);
        if (ignoreCase ? asciiUpper(a) != asciiUpper(b) : a != b) return false;
    }
    return true;
}

bool startsWithAscii(View v, std::string_view ascii) {
    return v.size() >= ascii.size() && equalsAscii(v.substr(0, ascii.size()), ascii, true);
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// The roots a file may name. Those the program never reads parse like the others but have no
// RootKey.
struct RootName {
    std::string_view longName;
    std::string_view shortName;
    std::optional<platform::RootKey> root;
};

constexpr RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", "HKLM", platform::RootKey::LocalMachine},
    {"HKEY_CURRENT_USER", "HKCU", platform::RootKey::CurrentUser},
    {"HKEY_DYN_DATA", "HKDD", platform::RootKey::DynData},
    {"HKEY_CLASSES_ROOT", "HKCR", std::nullopt},
    {"HKEY_USERS", "HKU", std::nullopt},
    {"HKEY_CURRENT_CONFIG", "HKCC", std::nullopt},
};

// Where each physical line of a joined logical line starts, to name the right line in an error.
struct Piece {
    std::size_t offset;
    int line;
};

class Parser {
  public:
    Parser(const Text& text, std::string_view source, unsigned codePage, RegFileSink& sink)
        : text_(text), source_(source), codePage_(codePage), sink_(sink) {
        View all(text_.units);
        std::size_t start = 0;
        for (;;) {
            std::size_t end = all.find(u'\n', start);
            View line = all.substr(start, end == View::npos ? View::npos : end - start);
            if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
            lines_.push_back(line);
            if (end == View::npos) break;
            start = end + 1;
        }
    }

    void run() {
        std::size_t i = 0;
        while (i < lines_.size() && trim(lines_[i]).empty()) ++i;
        View header = i < lines_.size() ? trim(lines_[i]) : View();
        if (equalsAscii(header, kRegedit5Header, false)) {
            version5_ = true;
        } else if (!equalsAscii(header, kRegedit4Header, false)) {
            fail(lineNumber(std::min(i, lines_.size() - 1)),
                 "the header \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\"");
        }
        for (++i; i < lines_.size(); ++i) {
            View line = trim(lines_[i]);
            if (line.empty() || line.front() == u';') continue;
            try {
                if (line.front() == u'[') {
                    keyLine(line, lineNumber(i));
                } else if (line.front() == u'"' || line.front() == u'@') {
                    i = valueLine(i);
                } else {
                    fail(lineNumber(i),
                         "a [key] line, a \"name\"= or @= value line, or a ; comment");
                }
            } catch (const RegFileError&) {
                throw;
            } catch (const Error& e) {
                throw RegFileError(std::string(source_), lineNumber(i), e.what());
            }
        }
    }

  private:
    static int lineNumber(std::size_t index) { return static_cast<int>(index) + 1; }

    [[noreturn]] void fail(int line, const std::string& expected) const {
        throw RegFileError(std::string(source_), line, expected);
    }

    // Names keep their UTF-16 form; an 8-bit file's bytes become the code page's characters.
    std::u16string wideName(View v) const {
        if (text_.wide) return std::u16string(v);
        std::u16string out;
        out.reserve(v.size());
        for (char16_t unit : v)
            out.push_back(toUnicode(codePage_, static_cast<unsigned char>(unit)));
        return out;
    }

    std::string narrow(View v) const {
        if (text_.wide) return narrowUtf16(codePage_, v);
        std::string out;
        out.reserve(v.size());
        for (char16_t unit : v) out.push_back(static_cast<char>(unit));
        return out;
    }

    void keyLine(View line, int lineNo) {
        std::size_t close = line.rfind(u']');
        if (close == View::npos || close + 1 != line.size()) {
            fail(lineNo, "] at the end of the key name");
        }
        View name = line.substr(1, close - 1);
        bool remove = !name.empty() && name.front() == u'-';
        if (remove) name.remove_prefix(1);

        std::size_t slash = name.find(u'\\');
        View rootName = name.substr(0, slash);
        View path = slash == View::npos ? View() : name.substr(slash + 1);
        const RootName* root = nullptr;
        for (const auto& candidate : kRoots) {
            if (equalsAscii(rootName, candidate.longName, true) ||
                equalsAscii(rootName, candidate.shortName, true)) {
                root = &candidate;
            }
        }
        if (!root) {
            fail(lineNo,
                 "a root key (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_DYN_DATA, "
                 "HKEY_CLASSES_ROOT, HKEY_USERS or HKEY_CURRENT_CONFIG) at the start of the key "
                 "name");
        }
        if (remove) {
            if (path.find_first_not_of(u'\\') == View::npos) {
                fail(lineNo, "a key below the root to delete (a root key cannot be deleted)");
            }
            haveKey_ = false;
            sink_.deleteKey(root->root, wideName(path));
        } else {
            haveKey_ = true;
            sink_.selectKey(root->root, wideName(path));
        }
    }

    // Reads the quoted text that starts at `v[start]` (a quote), with \" and \\ unescaped. Returns
    // the position after the closing quote.
    std::size_t readQuoted(View v, std::size_t start, std::u16string& out, int lineNo,
                           const char* what) const {
        for (std::size_t p = start + 1; p < v.size(); ++p) {
            char16_t c = v[p];
            if (c == u'\\') {
                if (p + 1 >= v.size()) break;
                char16_t next = v[p + 1];
                if (next != u'\\' && next != u'"') {
                    fail(lineNo, "\\\\ or \\\" after a backslash in a quoted text");
                }
                out.push_back(next);
                ++p;
            } else if (c == u'"') {
                return p + 1;
            } else {
                out.push_back(c);
            }
        }
        fail(lineNo, what);
    }

    // One value line and its continuation lines. Returns the index of the last line it used.
    std::size_t valueLine(std::size_t index) {
        View line = trim(lines_[index]);
        int lineNo = lineNumber(index);
        std::u16string name;
        std::size_t pos = 1;
        if (line.front() == u'"') {
            std::u16string raw;
            pos = readQuoted(line, 0, raw, lineNo, "the closing \" of the value name");
            name = wideName(raw);
        }
        pos = skipBlanks(line, pos);
        if (pos >= line.size() || line[pos] != u'=') fail(lineNo, "= after the value name");
        if (!haveKey_) fail(lineNo, "a [key] line before the key's values");
        View data = trimLeft(line.substr(pos + 1));

        if (!data.empty() && data.front() == u'-') {
            if (!trim(data.substr(1)).empty()) fail(lineNo, "nothing after =-");
            sink_.deleteValue(name);
            return index;
        }
        if (!data.empty() && data.front() == u'"') {
            std::u16string raw;
            std::size_t end = readQuoted(data, 0, raw, lineNo, "the closing \" of the string");
            if (!trim(data.substr(end)).empty()) {
                fail(lineNo, "nothing after the closing \" of the string");
            }
            std::string text = narrow(raw);
            std::vector<std::uint8_t> bytes(text.begin(), text.end());
            bytes.push_back(0);
            sink_.setValue(name, regtype::kSz, std::move(bytes));
            return index;
        }
        if (startsWithAscii(data, "dword:")) {
            sink_.setValue(name, regtype::kDword, dword(trimRight(data.substr(6)), lineNo));
            return index;
        }

        std::uint32_t type = regtype::kBinary;
        View rest;
        if (startsWithAscii(data, "hex:")) {
            rest = data.substr(4);
        } else if (startsWithAscii(data, "hex(")) {
            std::size_t close = data.find(u')', 4);
            View digits = data.substr(4, close == View::npos ? 0 : close - 4);
            if (close == View::npos || digits.empty() || digits.size() > 8 ||
                close + 1 >= data.size() || data[close + 1] != u':') {
                fail(lineNo, "hex(type): with a type of 1 to 8 hex digits");
            }
            type = 0;
            for (char16_t c : digits) {
                int d = hexDigit(c);
                if (d < 0) fail(lineNo, "hex(type): with a type of 1 to 8 hex digits");
                type = (type << 4) | static_cast<std::uint32_t>(d);
            }
            rest = data.substr(close + 2);
        } else {
            fail(lineNo, "a \"string\", dword:, hex:, hex(type): or - after =");
        }

        std::size_t last = index;
        std::vector<std::uint8_t> bytes = hexList(rest, last);
        if (version5_ &&
            (type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kMultiSz)) {
            // Version 5.00 writes string data as the UTF-16 that NT stores; RegQueryValueExA
            // hands it out converted to the code page, one unit to one byte.
            std::string text = narrowUtf16(codePage_, utf16FromBytes(bytes.data(), bytes.size()));
            bytes.assign(text.begin(), text.end());
        }
        sink_.setValue(name, type, std::move(bytes));
        return last;
    }

    std::vector<std::uint8_t> dword(View digits, int lineNo) const {
        if (digits.empty() || digits.size() > 8) fail(lineNo, "1 to 8 hex digits after dword:");
        std::uint32_t value = 0;
        for (char16_t c : digits) {
            int d = hexDigit(c);
            if (d < 0) fail(lineNo, "1 to 8 hex digits after dword:");
            value = (value << 4) | static_cast<std::uint32_t>(d);
        }
        return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    }

    // Comma-separated bytes, continued on the next line after a trailing backslash (the next
    // line's leading blanks are not part of the data). `last` moves to the last line used.
    std::vector<std::uint8_t> hexList(View first, std::size_t& last) const {
        std::u16string joined;
        std::vector<Piece> pieces;
        View part = first;
        for (;;) {
            View t = trimRight(part);
            bool more = !t.empty() && t.back() == u'\\';
            if (more) t.remove_suffix(1);
            pieces.push_back({joined.size(), lineNumber(last)});
            joined.append(t);
            if (!more) break;
            if (last + 1 >= lines_.size()) {
                fail(lineNumber(last), "another line of hex data after the closing \\");
            }
            ++last;
            part = trimLeft(lines_[last]);
        }

        auto lineAt = [&pieces](std::size_t offset) {
            int line = pieces.front().line;
            for (const auto& piece : pieces) {
                if (piece.offset <= offset) line = piece.line;
            }
            return line;
        };
        std::vector<std::uint8_t> bytes;
        bytes.reserve(joined.size() / 3 + 1);
        std::size_t p = skipBlanks(joined, 0);
        while (p < joined.size()) {
            int high = hexDigit(joined[p]);
            if (high < 0) fail(lineAt(p), "two hex digits for each byte, separated by commas");
            int value = high;
            ++p;
            if (p < joined.size() && hexDigit(joined[p]) >= 0) {
                value = value * 16 + hexDigit(joined[p]);
                ++p;
            }
            bytes.push_back(static_cast<std::uint8_t>(value));
            p = skipBlanks(joined, p);
            if (p >= joined.size()) break;
            if (joined[p] != u',') fail(lineAt(p), "a comma between the bytes of hex data");
            p = skipBlanks(joined, p + 1);  // a trailing comma ends the data too
        }
        return bytes;
    }

    const Text& text_;
    std::string_view source_;
    unsigned codePage_;
    RegFileSink& sink_;
    std::vector<View> lines_;
    bool version5_ = false;
    bool haveKey_ = false;
};

}  // namespace

void parseRegFile(std::string_view bytes, std::string_view sourceName, unsigned codePage,
                  RegFileSink& sink) {
    Text text = decode(bytes);
    Parser(text, sourceName, codePage, sink).run();
}

}  // namespace tamux::sim

// The .reg parser on its own: what it hands to the sink for each line form, and where it stops.
#include "platform/sim/reg_file.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "platform/sim/codepage.h"
#include "platform/sim/sim_registry.h"
#include "tests/unit/sim_registry/test_helpers.h"

namespace tamux::sim {
namespace {

using platform::RootKey;
using test::bytes;
using test::utf16File;
namespace regtype = platform::regtype;

std::string rootText(std::optional<RootKey> root) {
    if (!root) return "OUT";
    switch (*root) {
        case RootKey::LocalMachine:
            return "HKLM";
        case RootKey::CurrentUser:
            return "HKCU";
        case RootKey::DynData:
            return "HKDD";
    }
    return "?";
}

// Writes down every edit as one line of text, names in UTF-8.
class RecordingSink : public RegFileSink {
  public:
    void selectKey(std::optional<RootKey> root, const std::u16string& path) override {
        edits.push_back("key " + rootText(root) + " " + utf16ToUtf8(path));
    }
    void deleteKey(std::optional<RootKey> root, const std::u16string& path) override {
        edits.push_back("delete " + rootText(root) + " " + utf16ToUtf8(path));
    }
    void setValue(const std::u16string& name, std::uint32_t type,
                  std::vector<std::uint8_t> data) override {
        edits.push_back("set " + utf16ToUtf8(name));
        types.push_back(type);
        values.push_back(std::move(data));
    }
    void deleteValue(const std::u16string& name) override {
        edits.push_back("unset " + utf16ToUtf8(name));
    }

    std::vector<std::string> edits;
    std::vector<std::uint32_t> types;
    std::vector<std::vector<std::uint8_t>> values;
};

constexpr std::string_view kV4 = "REGEDIT4\r\n\r\n";
constexpr std::string_view kV5 = "Windows Registry Editor Version 5.00\r\n\r\n";

RecordingSink parse(std::string_view text, unsigned codePage = 1252) {
    RecordingSink sink;
    parseRegFile(text, "test.reg", codePage, sink);
    return sink;
}

// Parses and expects a RegFileError at `line` whose message mentions `expected`.
void expectError(std::string_view text, int line, std::string_view expected) {
    RecordingSink sink;
    try {
        parseRegFile(text, "bad.reg", 1252, sink);
        ADD_FAILURE() << "no error for:\n" << text;
    } catch (const RegFileError& e) {
        EXPECT_EQ(e.file(), "bad.reg");
        EXPECT_EQ(e.line(), line) << e.what();
        EXPECT_NE(std::string(e.what()).find(expected), std::string::npos)
            << "message: " << e.what() << "\nwanted: " << expected;
        EXPECT_NE(std::string(e.what()).find("bad.reg:" + std::to_string(line)), std::string::npos)
            << e.what();
    }
}

TEST(RegFileHeader, AcceptsBothExportFormatsInEveryEncoding) {
    const std::string body = "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n";
    const std::vector<std::string> files = {
        "REGEDIT4\r\n\r\n" + body,
        "Windows Registry Editor Version 5.00\r\n\r\n" + body,
        "\r\n\r\nREGEDIT4\n" + body,  // blank lines before the header
        "\xEF\xBB\xBFREGEDIT4\r\n" + body,
    };
    for (const auto& file : files) {
        RecordingSink sink = parse(file);
        EXPECT_EQ(sink.edits, (std::vector<std::string>{"key HKCU A", "set x"})) << file;
        EXPECT_EQ(sink.values.at(0), bytes(std::string("1\0", 2)));
    }
    std::u16string wide =
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"
        u"\"x\"=\"1\"\r\n";
    EXPECT_EQ(parse(utf16File(wide)).edits, (std::vector<std::string>{"key HKCU A", "set x"}));
}

TEST(RegFileHeader, RejectsFilesWithoutAHeader) {
    expectError("", 1, "the header");
    expectError("\xFF\xFE", 1, "the header");
    expectError("REGEDIT5\r\n[HKEY_CURRENT_USER\\A]\r\n", 1, "the header");
    expectError("\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n", 3, "the header");
    expectError("Windows Registry Editor Version 4.00\r\n", 1, "REGEDIT4");
}

TEST(RegFileLines, LfAndCrLfGiveTheSameEdits) {
    std::string crlf =
        std::string(kV5) + "[HKEY_LOCAL_MACHINE\\S]\r\n\"a\"=hex:01,02,\\\r\n  03\r\n@=\"d\"\r\n";
    std::string lf = crlf;
    for (std::size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
    RecordingSink a = parse(crlf);
    RecordingSink b = parse(lf);
    EXPECT_EQ(a.edits, b.edits);
    EXPECT_EQ(a.values, b.values);
    EXPECT_EQ(a.values.at(0), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(RegFileLines, SkipsBlankAndCommentLines) {
    RecordingSink sink = parse(std::string(kV4) +
                               "; a comment\r\n"
                               "   ; an indented comment\r\n"
                               "\t\r\n"
                               "[HKEY_CURRENT_USER\\A]\r\n"
                               ";\"x\"=\"not a value\"\r\n"
                               "  \"y\"=\"indented value\"  \r\n");
    EXPECT_EQ(sink.edits, (std::vector<std::string>{"key HKCU A", "set y"}));
}

TEST(RegFileKeys, NamesEveryRootInLongAndShortFormWithoutRegardToCase) {
    RecordingSink sink = parse(std::string(kV4) +
                               "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet]\r\n"
                               "[hklm\\Software]\r\n"
                               "[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n"
                               "[HKCU\\Keyboard Layout]\r\n"
                               "[HKEY_DYN_DATA\\Config Manager\\Enum]\r\n"
                               "[HKEY_CURRENT_USER]\r\n"
                               "[HKEY_CLASSES_ROOT\\.txt]\r\n"
                               "[HKEY_USERS\\.DEFAULT]\r\n"
                               "[HKEY_CURRENT_CONFIG\\System]\r\n");
    EXPECT_EQ(sink.edits, (std::vector<std::string>{
                              "key HKLM SYSTEM\\CurrentControlSet",
                              "key HKLM Software",
                              "key HKCU Control Panel\\Mouse",
                              "key HKCU Keyboard Layout",
                              "key HKDD Config Manager\\Enum",
                              "key HKCU ",
                              "key OUT .txt",
                              "key OUT .DEFAULT",
                              "key OUT System",
                          }));
}

TEST(RegFileKeys, DeletionLines) {
    RecordingSink sink = parse(std::string(kV4) +
                               "[-HKEY_LOCAL_MACHINE\\SYSTEM\\Old]\r\n"
                               "[-HKEY_CLASSES_ROOT\\.old]\r\n");
    EXPECT_EQ(sink.edits, (std::vector<std::string>{"delete HKLM SYSTEM\\Old", "delete OUT .old"}));
    expectError(std::string(kV4) + "[-HKEY_LOCAL_MACHINE]\r\n", 3, "a key below the root");
    expectError(std::string(kV4) + "[-HKEY_LOCAL_MACHINE\\]\r\n", 3, "a key below the root");
}

TEST(RegFileKeys, MalformedKeyLines) {
    expectError(std::string(kV4) + "[HKEY_LOCAL_MACHINE\\A\r\n", 3, "] at the end");
    expectError(std::string(kV4) + "[HKEY_LOCAL_MACHINE\\A] junk\r\n", 3, "] at the end");
    expectError(std::string(kV4) + "[HKEY_SOMEWHERE\\A]\r\n", 3, "a root key");
    expectError(std::string(kV4) + "[]\r\n", 3, "a root key");
    expectError(std::string(kV4) + "HKEY_LOCAL_MACHINE\\A\r\n", 3, "a [key] line");
}

TEST(RegFileValues, QuotedStringsWithEscapes) {
    RecordingSink sink = parse(std::string(kV4) +
                               "[HKCU\\A]\r\n"
                               "\"Path\"=\"C:\\\\Program Files\\\\\"\r\n"
                               "\"Say \\\"hi\\\"\"=\"a \\\"quoted\\\" word; [not a key] = @\"\r\n"
                               "\"Empty\"=\"\"\r\n"
                               "@=\"default\"\r\n"
                               "\"Spaced\" = \"x\"\r\n");
    EXPECT_EQ(sink.edits, (std::vector<std::string>{"key HKCU A", "set Path", "set Say \"hi\"",
                                                    "set Empty", "set ", "set Spaced"}));
    EXPECT_EQ(sink.values[0], bytes(std::string("C:\\Program Files\\\0", 18)));
    EXPECT_EQ(sink.values[1], bytes(std::string("a \"quoted\" word; [not a key] = @\0", 33)));
    EXPECT_EQ(sink.values[2], bytes(std::string("\0", 1)));
    EXPECT_EQ(sink.values[3], bytes(std::string("default\0", 8)));
    for (auto type : sink.types) EXPECT_EQ(type, regtype::kSz);
}

TEST(RegFileValues, MalformedStrings) {
    const std::string key = std::string(kV4) + "[HKCU\\A]\r\n";
    expectError(key + "\"x\"=\"open\r\n", 4, "the closing \" of the string");
    expectError(key + "\"x\"=\"ends in a backslash\\\"\r\n", 4, "the closing \"");
    expectError(key + "\"x\"=\"a\"b\"\r\n", 4, "nothing after the closing \"");
    expectError(key + "\"x\"=\"C:\\Windows\"\r\n", 4, "after a backslash");
    expectError(key + "\"x=\"y\"\r\n", 4, "= after the value name");
    expectError(key + "\"name\r\n", 4, "the closing \" of the value name");
    expectError(key + "\"x\"\r\n", 4, "= after the value name");
    expectError(key + "\"x\"=\r\n", 4, "a \"string\", dword:");
    expectError(key + "\"x\"=text\r\n", 4, "a \"string\", dword:");
    expectError(key + "@\"x\"\r\n", 4, "= after the value name");
}

TEST(RegFileValues, DeletionsOfValues) {
    RecordingSink sink = parse(std::string(kV4) + "[HKCU\\A]\r\n\"x\"=-\r\n@=-\r\n");
    EXPECT_EQ(sink.edits, (std::vector<std::string>{"key HKCU A", "unset x", "unset "}));
    expectError(std::string(kV4) + "[HKCU\\A]\r\n\"x\"=-1\r\n", 4, "nothing after =-");
}

TEST(RegFileValues, ValuesNeedACurrentKey) {
    expectError(std::string(kV4) + "\"x\"=\"1\"\r\n", 3, "a [key] line before");
    // After a deletion no key is current: the value cannot silently land elsewhere.
    expectError(std::string(kV4) + "[HKCU\\A]\r\n[-HKCU\\B]\r\n\"x\"=\"1\"\r\n", 5,
                "a [key] line before");
}

TEST(RegFileValues, Dwords) {
    RecordingSink sink = parse(std::string(kV4) +
                               "[HKCU\\A]\r\n"
                               "\"a\"=dword:0000abcd\r\n"
                               "\"b\"=dword:FFFFFFFF\r\n"
                               "\"c\"=dword:1\r\n"
                               "\"d\"=DWORD:12345678  \r\n");
    EXPECT_EQ(sink.values[0], (std::vector<std::uint8_t>{0xcd, 0xab, 0, 0}));
    EXPECT_EQ(sink.values[1], (std::vector<std::uint8_t>{0xff, 0xff, 0xff, 0xff}));
    EXPECT_EQ(sink.values[2], (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(sink.values[3], (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
    for (auto type : sink.types) EXPECT_EQ(type, regtype::kDword);

    const std::string key = std::string(kV4) + "[HKCU\\A]\r\n";
    expectError(key + "\"x\"=dword:\r\n", 4, "1 to 8 hex digits after dword:");
    expectError(key + "\"x\"=dword:123456789\r\n", 4, "1 to 8 hex digits");
    expectError(key + "\"x\"=dword:12g4\r\n", 4, "1 to 8 hex digits");
    expectError(key + "\"x\"=dword:-1\r\n", 4, "1 to 8 hex digits");
}

TEST(RegFileValues, HexOfEveryType) {
    RecordingSink sink = parse(std::string(kV4) +
                               "[HKCU\\A]\r\n"
                               "\"bin\"=hex:00,ff,7F\r\n"
                               "\"none\"=hex(0):01\r\n"
                               "\"qword\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                               "\"prop\"=hex(ffff0007):03,00,00,00\r\n"
                               "\"upper\"=HEX(FFFF1003):\r\n"
                               "\"empty\"=hex:\r\n"
                               "\"spaced\"=hex: 1 , 2 ,a\r\n"
                               "\"trailing\"=hex:01,02,\r\n");
    EXPECT_EQ(sink.types,
              (std::vector<std::uint32_t>{3, 0, 0xb, 0xffff0007u, 0xffff1003u, 3, 3, 3}));
    EXPECT_EQ(sink.values[0], (std::vector<std::uint8_t>{0x00, 0xff, 0x7f}));
    EXPECT_EQ(sink.values[3], (std::vector<std::uint8_t>{3, 0, 0, 0}));
    EXPECT_TRUE(sink.values[4].empty());
    EXPECT_TRUE(sink.values[5].empty());
    EXPECT_EQ(sink.values[6], (std::vector<std::uint8_t>{1, 2, 0xa}));
    EXPECT_EQ(sink.values[7], (std::vector<std::uint8_t>{1, 2}));
}

TEST(RegFileValues, MalformedHex) {
    const std::string key = std::string(kV4) + "[HKCU\\A]\r\n";
    expectError(key + "\"x\"=hex:0g\r\n", 4, "a comma between the bytes");
    expectError(key + "\"x\"=hex:123\r\n", 4, "a comma between the bytes");
    expectError(key + "\"x\"=hex:01,,02\r\n", 4, "two hex digits for each byte");
    expectError(key + "\"x\"=hex:01 02\r\n", 4, "a comma between the bytes");
    expectError(key + "\"x\"=hex(123456789):00\r\n", 4, "hex(type):");
    expectError(key + "\"x\"=hex():00\r\n", 4, "hex(type):");
    expectError(key + "\"x\"=hex(2:00\r\n", 4, "hex(type):");
    expectError(key + "\"x\"=hex(2)00\r\n", 4, "hex(type):");
    expectError(key + "\"x\"=hex(z):00\r\n", 4, "hex(type):");
}

TEST(RegFileValues, ContinuationLinesJoinHexData) {
    RecordingSink sink = parse(std::string(kV4) +
                               "[HKCU\\A]\r\n"
                               "\"x\"=hex:01,02,\\\r\n"
                               "  03,04,\\\r\n"
                               "\t05\r\n"
                               "\"y\"=hex:0a,\\\r\n"
                               "\r\n"
                               "\"z\"=dword:00000001\r\n");
    EXPECT_EQ(sink.edits, (std::vector<std::string>{"key HKCU A", "set x", "set y", "set z"}));
    EXPECT_EQ(sink.values[0], (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(sink.values[1], (std::vector<std::uint8_t>{0xa}));
}

TEST(RegFileValues, ErrorsInContinuedDataNameTheirOwnLine) {
    const std::string key = std::string(kV4) + "[HKCU\\A]\r\n";
    expectError(key + "\"x\"=hex:01,02,\\\r\n  03,04,\\\r\n  05,zz\r\n", 6, "two hex digits");
    expectError(key + "\"x\"=hex:01,02,\\\r\n  0304\r\n", 5, "a comma between the bytes");
    // The file ends where the data promised another line.
    expectError(key + "\"x\"=hex:01,02,\\", 4, "another line of hex data");
}

// Version 5.00 writes string data as UTF-16; REGEDIT4 writes it in the code page. Both must arrive
// as the 8-bit text RegQueryValueExA delivers.
TEST(RegFileValues, StringTypedHexDataByVersion) {
    const std::string v5 = std::string(kV5) +
                           "[HKCU\\A]\r\n"
                           "\"multi\"=hex(7):41,00,00,00,42,00,f4,00,00,00,00,00\r\n"
                           "\"expand\"=hex(2):25,00,31,00,25,00,00,00\r\n"
                           "\"sz\"=hex(1):61,00,00,00\r\n"
                           "\"odd\"=hex(1):61,00,62\r\n"
                           "\"bin\"=hex:41,00\r\n"
                           "\"link\"=hex(6):41,00\r\n";
    RecordingSink five = parse(v5);
    EXPECT_EQ(five.values[0], bytes(std::string("A\0B\xF4\0\0", 6)));
    EXPECT_EQ(five.values[1], bytes(std::string("%1%\0", 4)));
    EXPECT_EQ(five.values[2], bytes(std::string("a\0", 2)));
    EXPECT_EQ(five.values[3], bytes("a"));                            // the odd byte is no unit
    EXPECT_EQ(five.values[4], (std::vector<std::uint8_t>{0x41, 0}));  // raw types stay raw
    EXPECT_EQ(five.values[5], (std::vector<std::uint8_t>{0x41, 0}));
    EXPECT_EQ(five.types, (std::vector<std::uint32_t>{7, 2, 1, 1, 3, 6}));

    RecordingSink four = parse(std::string(kV4) +
                               "[HKCU\\A]\r\n"
                               "\"multi\"=hex(7):41,00,42,f4,00,00\r\n"
                               "\"expand\"=hex(2):25,31,25,00\r\n");
    EXPECT_EQ(four.values[0], bytes(std::string("A\0B\xF4\0\0", 6)));
    EXPECT_EQ(four.values[1], bytes(std::string("%1%\0", 4)));
}

TEST(RegFileValues, Utf16TextBecomesTheCodePage) {
    std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Contr\u00f4le]\r\n"
        u"\"Mfg\"=\"(Contr\u00f4leur h\u00f4te USB standard)\"\r\n"
        u"\"\u0416\"=\"\u0416\u20ac\u4e2d\"\r\n"
        u"\"multi\"=hex(7):16,04,00,00,00,00\r\n";
    // Names stay UTF-16 whatever the code page; string data becomes the code page's bytes.
    RecordingSink western = parse(utf16File(text), 1252);
    EXPECT_EQ(western.edits[0], "key HKCU Contr\xC3\xB4le");
    EXPECT_EQ(western.values[0], bytes(std::string("(Contr\xF4leur h\xF4te USB standard)\0", 31)));
    EXPECT_EQ(western.edits[2], "set \xD0\x96");
    EXPECT_EQ(western.values[1], bytes(std::string("?\x80?\0", 4)));

    RecordingSink cyrillic = parse(utf16File(text), 1251);
    EXPECT_EQ(cyrillic.edits[2], "set \xD0\x96");
    EXPECT_EQ(cyrillic.values[1], bytes(std::string("\xC6\x88?\0", 4)));
    EXPECT_EQ(cyrillic.values[2], bytes(std::string("\xC6\0\0", 3)));
}

TEST(RegFileValues, EightBitTextIsReadInTheCodePage) {
    const std::string text =
        std::string(kV4) + "[HKCU\\Contr\xF4le]\r\n\"\xC6\"=\"h\xF4te \x80\"\r\n";
    RecordingSink western = parse(text, 1252);
    EXPECT_EQ(western.edits[0], "key HKCU Contr\xC3\xB4le");
    EXPECT_EQ(western.edits[1], "set \xC3\x86");                            // U+00C6
    EXPECT_EQ(western.values[0], bytes(std::string("h\xF4te \x80\0", 7)));  // data untouched

    RecordingSink cyrillic = parse(text, 1251);
    EXPECT_EQ(cyrillic.edits[1], "set \xD0\x96");  // U+0416
    EXPECT_EQ(cyrillic.values[0], bytes(std::string("h\xF4te \x80\0", 7)));
}

TEST(RegFileErrors, LineNumbersCountPhysicalLinesInEveryEncoding) {
    std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"
        u"\"a\"=hex:01,\\\r\n  02\r\n\"b\"=dword:x\r\n";
    try {
        RecordingSink sink;
        parseRegFile(utf16File(text), "wide.reg", 1252, sink);
        ADD_FAILURE() << "no error";
    } catch (const RegFileError& e) {
        EXPECT_EQ(e.line(), 6);
        EXPECT_EQ(e.file(), "wide.reg");
    }
}

TEST(RegFileErrors, EditsBeforeTheBadLineHaveBeenApplied) {
    RecordingSink sink;
    EXPECT_THROW(parseRegFile(std::string(kV4) + "[HKCU\\A]\r\n\"x\"=\"1\"\r\n\"y\"=bad\r\n"
                                                 "\"z\"=\"never\"\r\n",
                              "t.reg", 1252, sink),
                 RegFileError);
    EXPECT_EQ(sink.edits, (std::vector<std::string>{"key HKCU A", "set x"}));
}

class ThrowingSink : public RecordingSink {
  public:
    void selectKey(std::optional<RootKey> root, const std::u16string& path) override {
        if (path == u"Loop") throw Error("a key that can be reached");
        RecordingSink::selectKey(root, path);
    }
};

TEST(RegFileErrors, SinkFailuresNameTheLine) {
    ThrowingSink sink;
    try {
        parseRegFile(std::string(kV4) + "[HKCU\\A]\r\n\r\n[HKCU\\Loop]\r\n", "s.reg", 1252, sink);
        ADD_FAILURE() << "no error";
    } catch (const RegFileError& e) {
        EXPECT_EQ(e.line(), 5);
        EXPECT_STREQ(e.what(), "s.reg:5: expected a key that can be reached");
    }
}

// A file cut anywhere, or bytes that are no .reg file at all, end in a RegFileError or load: the
// parser never reads past its input (the sanitizer build watches) and throws nothing else.
void parsesOrRejectsCleanly(const std::string& text) {
    RecordingSink sink;
    try {
        parseRegFile(text, "cut.reg", 1252, sink);
    } catch (const RegFileError&) {
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected " << e.what();
    }
}

TEST(RegFileRobustness, EveryTruncationOfAFile) {
    const std::string body =
        "[HKEY_LOCAL_MACHINE\\A\\B]\r\n"
        "\"s\"=\"a \\\"b\\\" \\\\c\"\r\n"
        "@=dword:0000001f\r\n"
        "\"h\"=hex(7):41,00,00,00,\\\r\n"
        "  00,00\r\n"
        "\"p\"=hex(ffff0007):03,00,00,00\r\n"
        "\"d\"=-\r\n"
        "[-HKEY_LOCAL_MACHINE\\A\\B\\C]\r\n";
    const std::string narrow = std::string(kV5) + body;
    std::u16string wide(narrow.begin(), narrow.end());
    const std::string utf16 = utf16File(wide);
    for (std::size_t cut = 0; cut <= narrow.size(); ++cut)
        parsesOrRejectsCleanly(narrow.substr(0, cut));
    for (std::size_t cut = 0; cut <= utf16.size(); ++cut)
        parsesOrRejectsCleanly(utf16.substr(0, cut));
}

TEST(RegFileRobustness, GarbageAfterAValidHeader) {
    std::mt19937 random(20260115);
    const std::string alphabet = "[]\\\"@=-:,;hexdword()0123456789abcdefABCDEF \t\r\n\xFF\xFE";
    for (int round = 0; round < 2000; ++round) {
        std::string text = round % 2 ? std::string(kV4) : "\xFF\xFE";
        std::size_t length = random() % 200;
        for (std::size_t i = 0; i < length; ++i) {
            text.push_back(round % 3 == 0 ? static_cast<char>(random() & 0xFF)
                                          : alphabet[random() % alphabet.size()]);
        }
        parsesOrRejectsCleanly(text);
    }
}

}  // namespace
}  // namespace tamux::sim

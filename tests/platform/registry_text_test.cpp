#include <gtest/gtest.h>

#include "platform/registry_text.h"

namespace clangor::registry {
namespace {

constexpr std::string_view CU = "HKEY_CURRENT_USER";

Value Str(std::string_view text) {
  Value v{ValueType::String, std::vector<std::uint8_t>(text.begin(), text.end())};
  v.data.push_back(0);
  return v;
}

Value Bytes(ValueType type, std::vector<std::uint8_t> data) { return Value{type, std::move(data)}; }

struct Form {
  const char* what;
  Value value;
  const char* line;  // how the value is written, after its name; null: not checked
};

// Each value is written in the form REGEDIT4 gives it and reads back exactly.
TEST(HiveText, EveryValueReadsBackAsWritten) {
  std::vector<std::uint8_t> many(40);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint8_t>(i * 7);
  const Form forms[] = {
      {"plain text", Str("Twelve Bells"), "\"Twelve Bells\""},
      {"empty text", Str(""), "\"\""},
      {"backslashes and quotes", Str(R"(C:\Towers\"XII"\)"), R"("C:\\Towers\\\"XII\"\\")"},
      {"text with a line break", Str("two\nlines"), "hex(1):74,77,6f,0a,6c,69,6e,65,73,00"},
      {"text without its zero", Bytes(ValueType::String, {'a', 'b'}), "hex(1):61,62"},
      {"text with a zero inside", Bytes(ValueType::String, {'a', 0, 'b', 0}), "hex(1):61,00,62,00"},
      {"dword", Bytes(ValueType::Dword, {0x2c, 0x01, 0, 0}), "dword:0000012c"},
      {"dword all ones", Bytes(ValueType::Dword, {0xff, 0xff, 0xff, 0xff}), "dword:ffffffff"},
      {"dword of two bytes", Bytes(ValueType::Dword, {1, 2}), "hex(4):01,02"},
      {"binary", Bytes(ValueType::Binary, {0x00, 0x7f, 0xff}), "hex:00,7f,ff"},
      {"empty binary", Bytes(ValueType::Binary, {}), "hex:"},
      {"long binary, wrapped", Bytes(ValueType::Binary, many), nullptr},
      {"multi-string", Bytes(ValueType::MultiString, {'a', 0, 0}), "hex(7):61,00,00"},
      {"text in eight-bit characters", Str("Cl\xc3\xa1ngor"), "\"Cl\xc3\xa1ngor\""},
  };
  for (const Form& f : forms) {
    SCOPED_TRACE(f.what);
    HiveData hive;
    hive.AddKey("Software\\Test").SetValue("V", f.value);
    std::string text = WriteHiveText(hive, CU);
    if (f.line) {
      EXPECT_NE(text.find(std::string("\n\"V\"=") + f.line + "\n"), std::string::npos) << text;
    }
    ParsedHive back = ParseHiveText(text, CU);
    ASSERT_TRUE(back.isHive);
    EXPECT_EQ(back.badLines, 0) << text;
    const KeyNode* key = back.data.FindKey("Software\\Test");
    ASSERT_NE(key, nullptr);
    const NamedValue* v = key->FindValue("V");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->value.type, f.value.type);
    EXPECT_EQ(v->value.data, f.value.data);
  }
}

TEST(HiveText, WritesRegedit4) {
  HiveData hive;
  KeyNode& key = hive.AddKey("Software\\Orvanta\\Clangor");
  key.SetValue("TowerName", Str("Twelve Bells"));
  key.SetValue("ClientLeft", Bytes(ValueType::Dword, {21, 0, 0, 0}));
  key.SetValue("", Str("default"));
  hive.AddKey("Software\\Orvanta\\Clangor\\XII\\Eight Bells");
  EXPECT_EQ(WriteHiveText(hive, CU),
            "REGEDIT4\n"
            "\n[HKEY_CURRENT_USER\\Software]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Orvanta]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor]\n"
            "\"TowerName\"=\"Twelve Bells\"\n"
            "\"ClientLeft\"=dword:00000015\n"
            "@=\"default\"\n"
            "\n[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor\\XII]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor\\XII\\Eight Bells]\n"
            "\n");
}

TEST(HiveText, ReadsWhatRegeditAndHandsWrite) {
  const std::string text =
      "\xEF\xBB\xBFREGEDIT4\r\n"
      "\r\n"
      "; a comment\r\n"
      "[hkey_current_user\\Software\\Orvanta\\Clangor]\r\n"
      "\"Volume\" = dword:1\r\n"
      "\"Bits\"=hex:01,02,\\\r\n"
      "  03\r\n"
      "\"Path\"=\"C:\\Towers\"\r\n"  // a lone backslash stands for itself
      "\"Volume\"=dword:2\r\n";      // the later of two wins
  ParsedHive parsed = ParseHiveText(text, CU);
  ASSERT_TRUE(parsed.isHive);
  EXPECT_EQ(parsed.badLines, 0);
  EXPECT_NE(parsed.data.FindKey("software\\orvanta"), nullptr);  // keys above a section exist too
  const KeyNode* key = parsed.data.FindKey("SOFTWARE\\Orvanta\\Clangor");
  ASSERT_NE(key, nullptr);
  ASSERT_NE(key->FindValue("volume"), nullptr);
  EXPECT_EQ(key->FindValue("volume")->value.data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
  EXPECT_EQ(key->FindValue("Bits")->value.data, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(key->FindValue("Path")->value.data, Str("C:\\Towers").data);
  EXPECT_EQ(key->values.size(), 3u);
}

// A hand-edited file: the lines that cannot be read are counted and skipped,
// the rest is read.
TEST(HiveText, BadLinesAreCountedAndSkipped) {
  const std::string badLines[] = {
      "Volume=5",                          // not a value line
      "\"Volume\"=dword:100000000",        // more than 32 bits
      "\"Volume\"=dword:-5",
      "\"Volume\"=dword:",
      "\"Volume\"=dword:12zz",
      "\"Volume\"=\"unfinished",
      "\"Volume\"=\"text\" trailing",
      "\"Volume\"=hex:01,2g",
      "\"Volume\"=hex:01,,02",
      "\"Volume\"=hex(zz):01",
      "\"Volume\"=quiet",
      "\"Vol\nume\"=dword:1",
      std::string("\"Volume\"=\"a\0b\"", 14),
  };
  for (const std::string& bad : badLines) {
    SCOPED_TRACE(bad);
    std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"Before\"=dword:1\n" + bad + "\n\"After\"=dword:2\n";
    ParsedHive parsed = ParseHiveText(text, CU);
    ASSERT_TRUE(parsed.isHive);
    EXPECT_GE(parsed.badLines, 1);
    EXPECT_EQ(parsed.firstBadLine, 5);
    const KeyNode* key = parsed.data.FindKey("K");
    ASSERT_NE(key, nullptr);
    EXPECT_NE(key->FindValue("Before"), nullptr);
    EXPECT_NE(key->FindValue("After"), nullptr);
    EXPECT_EQ(key->FindValue("Volume"), nullptr);
  }
}

TEST(HiveText, ValuesUnderABadSectionBelongToNoKey) {
  const std::string text =
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\Good]\n"
      "\"A\"=dword:1\n"
      "[HKEY_LOCAL_MACHINE\\Other]\n"  // another hive's key
      "\"B\"=dword:2\n"
      "[HKEY_CURRENT_USER\\Bad\\\\Path]\n"
      "\"C\"=dword:3\n"
      "\"D\"=dword:4\n";
  ParsedHive parsed = ParseHiveText(text, CU);
  EXPECT_EQ(parsed.badLines, 5);
  ASSERT_NE(parsed.data.FindKey("Good"), nullptr);
  EXPECT_EQ(parsed.data.FindKey("Good")->values.size(), 1u);
  EXPECT_EQ(parsed.data.FindKey("Other"), nullptr);
}

TEST(HiveText, TruncatedInsideAContinuedLine) {
  ParsedHive parsed = ParseHiveText("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"Bits\"=hex:01,02,\\\n", CU);
  EXPECT_EQ(parsed.badLines, 1);
  EXPECT_EQ(parsed.data.FindKey("K")->FindValue("Bits"), nullptr);
}

TEST(HiveText, WhatIsAHive) {
  struct Case {
    const char* what;
    std::string text;
    bool isHive;
  } cases[] = {
      {"empty file", "", true},
      {"blank lines only", "\n\n  \n", true},
      {"header only", "REGEDIT4\n", true},
      {"another header", "Windows Registry Editor Version 5.00\n", false},
      {"a picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), false},
      {"text without header", "[HKEY_CURRENT_USER\\K]\n", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseHiveText(c.text, CU).isHive, c.isHive) << c.what;
}

TEST(HiveData, KeysAndSubKeys) {
  HiveData hive;
  bool made = false;
  hive.AddKey("A\\B\\C", &made);
  EXPECT_TRUE(made);
  hive.AddKey("a\\b", &made);
  EXPECT_FALSE(made);  // names compare without regard to case
  hive.AddKey("A\\B x");
  hive.AddKey("A\\B\\D");
  EXPECT_EQ(hive.SubKeyNames(""), (std::vector<std::string>{"A"}));
  EXPECT_EQ(hive.SubKeyNames("a\\b"), (std::vector<std::string>{"C", "D"}));
  EXPECT_EQ(hive.SubKeyNames("A"), (std::vector<std::string>{"B", "B x"}));
  hive.RemoveKey("A\\B", true);
  EXPECT_EQ(hive.FindKey("A\\B\\C"), nullptr);
  EXPECT_NE(hive.FindKey("A\\B x"), nullptr);
}

TEST(HiveData, KeyPaths) {
  struct Case {
    const char* path;
    Status status;
    const char* checked;
  } cases[] = {
      {"Software\\Orvanta", error::Success, "Software\\Orvanta"},
      {"Software\\Orvanta\\", error::Success, "Software\\Orvanta"},
      {"", error::Success, ""},
      {"\\Software", error::BadPathname, nullptr},
      {"Software\\\\Orvanta", error::BadPathname, nullptr},
      {"Soft\nware", error::InvalidParameter, nullptr},
  };
  for (const Case& c : cases) {
    std::string checked;
    EXPECT_EQ(CheckKeyPath(c.path, checked), c.status) << c.path;
    if (c.checked) {
      EXPECT_EQ(checked, c.checked);
    }
  }
}

std::string PathOf(int parts, const std::string& name = "k") {
  std::string path = name;
  for (int i = 1; i < parts; ++i) path += "\\" + name;
  return path;
}

// A key path deeper or longer than any real key is refused: as a path, and
// as a section line, which a hive of a hundred thousand parts once took one
// recursion per part to read (and gigabytes to hold).
TEST(HiveData, DeepAndLongKeyPathsAreRefused) {
  std::string checked;
  EXPECT_EQ(CheckKeyPath(PathOf(MaxKeyDepth), checked), error::Success);
  EXPECT_EQ(CheckKeyPath(PathOf(MaxKeyDepth + 1), checked), error::BadPathname);
  EXPECT_EQ(CheckKeyPath(std::string(MaxKeyNameLength, 'n'), checked), error::Success);
  EXPECT_EQ(CheckKeyPath("A\\" + std::string(MaxKeyNameLength + 1, 'n'), checked), error::InvalidParameter);

  for (const int parts : {MaxKeyDepth, MaxKeyDepth + 1, 100000}) {
    const std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + PathOf(parts) + "]\n\"v\"=dword:00000001\n";
    const ParsedHive parsed = ParseHiveText(text, CU);
    const bool fits = parts <= MaxKeyDepth;
    EXPECT_EQ(parsed.badLines, fits ? 0 : 2) << parts;  // the section and the value under it
    EXPECT_EQ(parsed.data.Keys().size(), fits ? static_cast<std::size_t>(parts) + 1 : 1u) << parts;
  }
}

}  // namespace
}  // namespace clangor::registry

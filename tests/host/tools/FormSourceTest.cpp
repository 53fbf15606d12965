// The .form source parser: the syntax it accepts and the located errors it gives for what it refuses.
#include "FormSource.h"

#include <gtest/gtest.h>

#include <map>

using namespace attente;

namespace {

// What the loaders find, by path from the folder of the first source.
const std::map<std::string, std::string> kFiles = {
    {"four.bin", "\x01\x02\x03\x04"},
    {"base.form", "T F { A = 1  L C { B = 2  P = file \"four.bin\" }  existing L D {} }"},
    {"lang/X/mid.form", "based on \"../../base.form\" T F { A = 3 }"},
};

std::vector<std::uint8_t> LoadFile(const std::string& path) {
    const auto file = kFiles.find(path);
    if (file == kFiles.end()) throw Exception("absent");
    return {file->second.begin(), file->second.end()};
}

TDescriptionRecord Parse(const std::string& text, const std::string& sourceName = "test.form") {
    return ParseFormSource(text, sourceName, LoadFile);
}

} // namespace

TEST(FormSource, ParsesEveryKindOfValueAndNestedRecords) {
    const TDescriptionRecord root = Parse(R"(# comment
TForm1 Form1 {
    ClientWidth = 230   # trailing comment
    Font.Height = -13
    Color = 0x80000005
    Low = -2147483648
    Caption = "Mise à jour\r\n" "\"suite\"\t\\"
    Position = screenCenter
    BorderIcons = []
    Anchors = [left, top]
    AutoSize = false
    WordWrap = true
    Picture = file "four.bin"
    Raw = hex "00ff 10"
    TLabel LabWait { Caption = "Label" }
    existing TImage clock {
        TLabel Inner {}
    }
})");
    EXPECT_EQ(root.ClassName, "TForm1");
    EXPECT_EQ(root.Name, "Form1");
    const std::vector<TDescriptionProperty> expected = {
        {"ClientWidth", TValue::OfInteger(230)},
        {"Font.Height", TValue::OfInteger(-13)},
        {"Color", TValue::OfInteger(static_cast<std::int32_t>(0x80000005u))},
        {"Low", TValue::OfInteger(INT32_MIN)},
        {"Caption", TValue::OfString("Mise à jour\r\n\"suite\"\t\\")},
        {"Position", TValue::OfIdentifier("screenCenter")},
        {"BorderIcons", TValue::OfSet({})},
        {"Anchors", TValue::OfSet({"left", "top"})},
        {"AutoSize", TValue::OfBoolean(false)},
        {"WordWrap", TValue::OfBoolean(true)},
        {"Picture", TValue::OfBinary({1, 2, 3, 4})},
        {"Raw", TValue::OfBinary({0x00, 0xFF, 0x10})},
    };
    EXPECT_EQ(root.Properties, expected);
    ASSERT_EQ(root.Children.size(), 2u);
    EXPECT_EQ(root.Children[0].Flags, 0);
    EXPECT_EQ(root.Children[0].Name, "LabWait");
    EXPECT_EQ(root.Children[1].Flags, kRecordInherited);
    EXPECT_EQ(root.Children[1].ClassName, "TImage");
    ASSERT_EQ(root.Children[1].Children.size(), 1u);
    EXPECT_EQ(root.Children[1].Children[0].Name, "Inner");
    // What the parser yields must be writable and read back unchanged.
    EXPECT_EQ(ReadDescriptionTree(WriteDescription(root)), root);
}

TEST(FormSource, RefusesBadSourcesWithTheirPlace) {
    struct Case {
        const char* source;
        const char* where; // "line:column"
        const char* fragment;
    };
    const Case cases[] = {
        {"", "1:1", "nom de classe"},
        {"TForm1 Form1 {", "1:15", "'}'"},
        {"TForm1 Form1 {}\nTForm2 Form2 {}", "2:1", "une seule"},
        {"TForm1 {\n}", "1:8", "nom de composant"},
        {"T F {\n  A = \n}", "3:1", "valeur"},
        {"T F {\n  A = \"open\n}", "2:7", "non terminé"},
        {"T F { A = \"\\q\" }", "1:13", "échappement"},
        {"T F { A = \"\xC3(\" }", "1:11", "UTF-8"},
        {"T F { A = 2147483648 }", "1:11", "hors limites"},
        {"T F { A = -2147483649 }", "1:11", "hors limites"},
        {"T F { A = 0x100000000 }", "1:11", "hors limites"},
        {"T F { A = 12ab }", "1:13", "mal formé"},
        {"T F { A = 1 a = 2 }", "1:13", "déjà donnée"},
        {"T F { L A {} L a {} }", "1:16", "déjà décrit"},
        {"T F { A = [x, ] }", "1:15", "membre"},
        {"T F { A = [x y] }", "1:14", "','"},
        {"T F { A = file \"missing.bin\" }", "1:11", "missing.bin"},
        {"T F { A = hex \"abc\" }", "1:15", "impair"},
        {"T F { A = hex \"zz\" }", "1:15", "hexadécimal"},
        {"T F { A = x.y }", "1:11", "identificateur"},
        {"T F { $ }", "1:7", "inattendu"},
        {"based \"base.form\" T F {}", "1:7", "'on'"},
        {"based on \"absent.form\" T F {}", "1:1", "absent.form"},
        {"based on \"./test.form\" T F {}", "1:1", "cycle"},
        {"based on \"base.form\" T G {}", "1:22", "base décrit T F"},
        {"based on \"base.form\" T F { M C {} }", "1:28", "base décrit L C"},
        {"based on \"base.form\" T F { L D {} }", "1:28", "base décrit existing L D"},
        {"based on \"base.form\" T F { L Other {} }", "1:30", "absent de la description de base"},
        {"based on \"base.form\" T F { L C { L E {} } }", "1:36", "absent de la description de base"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        try {
            Parse(c.source);
            ADD_FAILURE() << "accepted";
        } catch (const EFormSourceError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(std::string("test.form:") + c.where + ": ", 0), 0u) << message;
            EXPECT_NE(message.find(c.fragment), std::string::npos) << message;
        }
    }
}

TEST(FormSource, DerivedSourceGivesTheStreamOfTheSourceWrittenInFull) {
    struct Case {
        const char* path;
        const char* derived;
        const char* full; // as if written in full at the same path
    };
    const Case cases[] = {
        {"test.form", "based on \"base.form\" T F {}",
         "T F { A = 1 L C { B = 2 P = hex \"01020304\" } existing L D {} }"},
        // Replaced in the base's place, whatever the letter case; added after the base's own.
        {"test.form",
         "based on \"base.form\" T F { z = 5  a = 4  L c { b = \"x\" } existing L D { Q = true } }",
         "T F { A = 4 z = 5 L C { B = \"x\" P = hex \"01020304\" } existing L D { Q = true } }"},
        // A base in another folder finds its files from there, and may be derived itself.
        {"lang/X/Form1.form", "based on \"mid.form\" T F { L C { B = 9 } }",
         "T F { A = 3 L C { B = 9 P = hex \"01020304\" } existing L D {} }"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.derived);
        EXPECT_EQ(WriteDescription(Parse(c.derived, c.path)), WriteDescription(Parse(c.full, c.path)));
    }
}

TEST(FormSource, RefusesNestingBeyondTheStreamLimit) {
    std::string text;
    for (int level = 1; level <= kMaxNesting; ++level)
        text += "T C" + std::to_string(level) + " { ";
    std::string closing(kMaxNesting, '}');
    EXPECT_NO_THROW(Parse(text + closing));
    EXPECT_THROW(Parse(text + "T Deep {} " + closing), EFormSourceError);
}

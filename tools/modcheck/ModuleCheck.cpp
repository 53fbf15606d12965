// Module rules: no code (entry point, code size, imports, exports, executable sections), the six
// texts present and within the loader's buffer, their placeholders kept, the language abbreviation
// known and matching the file name, and a readable TFORM1 with the components the status window uses.
#include "ModuleCheck.h"

#include "AsciiCase.h"
#include "DescriptionTree.h"
#include "Exceptions.h"
#include "LanguageAbbrevs.h"
#include "ModuleContents.h"
#include "ResourceIds.h"

#include <algorithm>

namespace attente {

namespace {

// The program reads strings into a buffer of 1024 units, the last for the terminating zero.
constexpr std::size_t kMaxStringUnits = 1023;
constexpr const char* kDescriptionName = "TFORM1";
constexpr const char* kRootClass = "TForm1";
constexpr const char* kRequiredComponents[] = {"LabWait", "clock"};
constexpr std::size_t kRegionLength = 2;
// The platform's abbreviations have three letters; the fields that hold them admit four.
constexpr std::size_t kAbbrevLength = 3;
constexpr std::uint32_t kRcDataResourceType = 10;

struct TTextRule {
    std::uint16_t Id;
    const char* Placeholders; // nullptr: any text
};

constexpr TTextRule kTextRules[] = {
    {IDS_LANGUAGE_ID, nullptr},    {IDS_STATUS_TEXT, nullptr}, {IDS_RESOURCE_NOT_FOUND, "s"},
    {IDS_ANCESTOR_NOT_FOUND, "s"}, {IDS_ERROR_TITLE, nullptr}, {IDS_EXCEPTION_TEXT, "sspss"},
};

std::string Ascii(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

bool IsCapitals(const std::u16string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
}

std::string Extension(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : fileName.substr(dot + 1);
}

bool HasComponent(const TDescriptionRecord& record, const std::string& name) {
    for (const TDescriptionRecord& child : record.Children)
        if (child.Name == name || HasComponent(child, name)) return true;
    return false;
}

class TFaults {
  public:
    explicit TFaults(const std::string& fileName) : fileName_(fileName) {}
    void Add(const std::string& what) { faults_.push_back(fileName_ + ": " + what); }
    std::vector<std::string> Take() { return std::move(faults_); }

  private:
    const std::string& fileName_;
    std::vector<std::string> faults_;
};

void CheckNoCode(const TModuleContents& module, TFaults& faults) {
    const TModuleHeaders& headers = module.Headers();
    if (!headers.Pe32) faults.Add("not a 32-bit module");
    if (headers.EntryPoint != 0) faults.Add("has an entry point");
    if (headers.CodeSize != 0) faults.Add("has code");
    if (headers.HasImports) faults.Add("has imports");
    if (headers.HasExports) faults.Add("has exports");
    for (const TModuleSection& section : headers.Sections)
        if (section.Executable()) faults.Add("section " + section.Name + " is executable");
    if (!module.HasResources()) faults.Add("has no resources");
}

// The abbreviation must be one the program can ask for: a table language, or a regional one that
// the start-up selection reaches through the thread locale because the file is named after it. The
// file name must name the language, in full or by its first two letters, so that the name the
// program opens and the language the module then reports agree.
void CheckLanguageId(const std::u16string& id, const std::string& fileName, TFaults& faults) {
    const std::string abbrev = Ascii(id);
    const std::string extension = UpperAscii(Extension(fileName));
    if (!IsCapitals(id)) {
        faults.Add("string " + std::to_string(IDS_LANGUAGE_ID) + " is \"" + abbrev +
                   "\", not capital letters");
        return;
    }
    if (extension != abbrev && extension != abbrev.substr(0, kRegionLength))
        faults.Add("file extension \"" + Extension(fileName) + "\" does not name the language " + abbrev +
                   " of string " + std::to_string(IDS_LANGUAGE_ID));
    else if (!IsTableAbbrev(abbrev) && (extension != abbrev || abbrev.size() != kAbbrevLength))
        faults.Add("string " + std::to_string(IDS_LANGUAGE_ID) + " is \"" + abbrev +
                   "\", not a language of the table, and the file is not named after its three letters");
}

void CheckTexts(const TModuleContents& module, const std::string& fileName, TFaults& faults) {
    for (const TTextRule& rule : kTextRules) {
        const std::string label = "string " + std::to_string(rule.Id);
        const std::u16string text = module.String(rule.Id);
        if (text.empty()) {
            faults.Add(label + " missing");
            continue;
        }
        if (text.size() > kMaxStringUnits)
            faults.Add(label + " is " + std::to_string(text.size()) + " UTF-16 units long, more than " +
                       std::to_string(kMaxStringUnits));
        if (rule.Id == IDS_LANGUAGE_ID) CheckLanguageId(text, fileName, faults);
        if (rule.Placeholders != nullptr && Placeholders(text) != rule.Placeholders) {
            std::string expected;
            for (const char* p = rule.Placeholders; *p != 0; ++p)
                expected += std::string(expected.empty() ? "" : " ") + '%' + *p;
            faults.Add(label + " must hold the placeholders " + expected + " in that order");
        }
    }
}

void CheckDescription(const TModuleContents& module, TFaults& faults) {
    const auto stream = module.Resource(kRcDataResourceType, kDescriptionName);
    const std::string label = std::string("description ") + kDescriptionName;
    if (!stream) {
        faults.Add(label + " missing");
        return;
    }
    TDescriptionRecord root;
    try {
        root = ReadDescriptionTree(*stream);
    } catch (const Exception& e) {
        faults.Add(label + " unreadable: " + e.what());
        return;
    }
    if (root.ClassName != kRootClass)
        faults.Add(label + " describes " + root.ClassName + ", not " + kRootClass);
    for (const char* component : kRequiredComponents)
        if (!HasComponent(root, component)) faults.Add(label + " has no component " + component);
}

} // namespace

std::string Placeholders(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'%') continue;
        const char16_t conversion = text[i + 1];
        if (conversion == u's' || conversion == u'p') out += static_cast<char>(conversion);
        if (conversion == u's' || conversion == u'p' || conversion == u'%') ++i;
    }
    return out;
}

std::vector<std::string> CheckModule(const std::string& fileName, const std::vector<std::uint8_t>& bytes,
                                     TCheckScope scope) {
    TFaults faults(fileName);
    const std::optional<TModuleContents> module = TModuleContents::Open(bytes.data(), bytes.size());
    if (!module) {
        faults.Add("not a module with a sound resource tree (truncated or damaged)");
        return faults.Take();
    }
    CheckNoCode(*module, faults);
    if (scope == TCheckScope::Complete) {
        CheckTexts(*module, fileName, faults);
        CheckDescription(*module, faults);
    }
    return faults.Take();
}

} // namespace attente

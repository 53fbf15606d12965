// Every shipped description lists the same properties as the built-in one: a reload only overwrites
// what the new module's description lists, so a property only some modules set would survive a
// switch to a module that leaves it out (a right-to-left or Cyrillic window staying so in German).
#include "FormSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

using namespace attente;

namespace {

using TListed = std::set<std::string>; // "Component.Property"

void Collect(const TDescriptionRecord& record, const std::string& owner, TListed& listed) {
    for (const TDescriptionProperty& p : record.Properties)
        listed.insert(owner + "." + p.Name);
    for (const TDescriptionRecord& child : record.Children)
        Collect(child, child.Name, listed);
}

TListed Listed(const std::filesystem::path& source) {
    std::ifstream in(source, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    // Module descriptions are based on the built-in one: read it, as formc does.
    const TFileLoader readFiles = [](const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                         std::istreambuf_iterator<char>());
    };
    TListed listed;
    Collect(ParseFormSource(text.str(), source.string(), readFiles), "", listed);
    return listed;
}

} // namespace

TEST(ShippedForms, EveryModuleDescriptionListsWhatTheBuiltInOneLists) {
    const std::filesystem::path resources = ATTENTE_RESOURCES_DIR;
    const TListed builtIn = Listed(resources / "Form1.form");
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(resources / "lang")) {
        if (entry.path().filename() != "Form1.form") continue;
        EXPECT_EQ(Listed(entry.path()), builtIn) << entry.path();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

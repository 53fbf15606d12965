// What keeps the program safe to start from a download folder: its search restriction keeps a DLL
// planted beside it out of reach, and the manifest it carries declares how it runs.
#include "ChildProcess.h"
#include "Handles.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace attente::test;

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr char kMarkerSuffix[] = ".loaded";
constexpr DWORD kProbeLoaded = 0;
constexpr DWORD kProbeNotLoaded = 1;
// The exe's icon group, the one shells show.
constexpr WORD kApplicationIconId = 1;

// Names that system DLLs or the program itself might load at run time, not through the import table.
const std::vector<std::string> kProbedNames = {"version.dll", "dwmapi.dll", "uxtheme.dll"};

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class TPlantFolder : public TTempFolder {
  public:
    void Plant(const std::string& name) const { Copy(WindowsForm(ATTENTE_PLANTED_DLL), name); }
    bool WasLoaded(const std::string& name) const { return FileExists(File(name + kMarkerSuffix)); }
};

std::string ReadManifest() {
    const std::string exe = DistFolder() + "\\attente.exe";
    const attente::TModule module(
        LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) return {};
    const HRSRC info = FindResourceA(module.Get(), CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    if (!info) return {};
    const HGLOBAL loaded = LoadResource(module.Get(), info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module.Get(), info))
                 : std::string();
}

} // namespace

TEST(DllSearch, RestrictionKeepsAPlantedDllOutOfReach) {
    struct TCase {
        const char* Mode;
        const char* Name;
        DWORD ExpectedExit;
        bool ExpectLoaded;
    };
    const TCase cases[] = {
        // A name no system DLL has: only the exe's folder could provide it.
        {"open", "attente_plant.dll", kProbeLoaded, true}, // the plant is reachable, its marker works
        {"restrict", "attente_plant.dll", kProbeNotLoaded, false},
        // A system DLL's name that this Wine, unrestricted, takes from the exe's folder first.
        {"open", "dwmapi.dll", kProbeLoaded, true},
        {"restrict", "dwmapi.dll", kProbeLoaded, false}, // the system's own one
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Mode) + " " + c.Name);
        TPlantFolder folder;
        folder.Copy(WindowsForm(ATTENTE_SEARCH_PROBE), "probe.exe");
        folder.Plant(c.Name);
        const std::string exe = folder.File("probe.exe");
        const TProbeResult run = RunProbe(exe, "\"" + exe + "\" " + c.Mode + " " + c.Name);
        EXPECT_EQ(run.ExitCode, c.ExpectedExit);
        EXPECT_EQ(folder.WasLoaded(c.Name), c.ExpectLoaded);
    }
}

TEST(DllSearch, ProgramLoadsNoDllPlantedBesideIt) {
    TPlantFolder folder;
    folder.Copy(DistFolder() + "\\attente.exe", "setup.exe");
    folder.Copy(DistFolder() + "\\attente.DE", "setup.DE");
    for (const std::string& name : kProbedNames)
        folder.Plant(name);

    const std::string exe = folder.File("setup.exe");
    // German: the module is opened and read as well as the built-in texts.
    TChildProcess program(exe, "\"" + exe + "\" /L=DEU");
    const HWND window = WaitForWindow(program, kWindowClass);
    ASSERT_NE(window, nullptr) << program.Output();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.Wait(), 0u);
    for (const std::string& name : kProbedNames)
        EXPECT_FALSE(folder.WasLoaded(name)) << name;
}

TEST(Manifest, DeclaresAsInvokerSupportedSystemsAndDpiAwareness) {
    const std::string manifest = ReadManifest();
    ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1 in the exe";
    const char* expected[] = {
        R"(level="asInvoker")",
        R"(uiAccess="false")",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10 and 11
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
        ">true</dpiAware>",
    };
    for (const char* text : expected)
        EXPECT_NE(manifest.find(text), std::string::npos) << text;
}

TEST(Manifest, ExeCarriesItsIcon) {
    const std::string exe = DistFolder() + "\\attente.exe";
    const attente::TModule module(
        LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module);
    EXPECT_NE(FindResourceA(module.Get(), MAKEINTRESOURCEA(kApplicationIconId), RT_GROUP_ICON), nullptr);
}

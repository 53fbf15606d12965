// The status window on denser screens: its layout and fonts grow with the density, from the 96-dpi
// design. The density is the prefix-wide LogPixels setting, so these tests run alone.
#include "ChildProcess.h"
#include "Form1Layout.h"
#include "TempFolder.h"
#include "WindowReading.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace attente::test;

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kLogPixels[] = "LogPixels";
constexpr int kDesignDpi = 96;

// Sets the screen density for programs started from now on, and takes it back afterwards.
class TScreenDensity {
  public:
    explicit TScreenDensity(DWORD dpi) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        RegSetValueExA(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        RegCloseKey(key);
    }
    ~TScreenDensity() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, kLogPixels);
            RegCloseKey(key);
        }
    }
    TScreenDensity(const TScreenDensity&) = delete;
    TScreenDensity& operator=(const TScreenDensity&) = delete;
};

int Scaled(int designPixels, int dpi) { return MulDiv(designPixels, dpi, kDesignDpi); }

class HighDpi : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(HighDpi, LayoutScalesFromTheDesignDensity) {
    const int dpi = GetParam();
    const TScreenDensity density(static_cast<DWORD>(dpi));
    TTempFolder folder;
    folder.Copy(DistFolder() + "\\attente.exe", "setup.exe");
    const std::string exe = folder.File("setup.exe");
    TChildProcess program(exe, "\"" + exe + "\"");
    HWND window = WaitForWindow(program, L"TForm1");
    ASSERT_NE(window, nullptr);
    for (int attempt = 0; attempt < 400 && !IsWindowVisible(window); ++attempt) Sleep(50);

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Scaled(kForm1_ClientWidth, dpi));
    EXPECT_EQ(client.bottom, Scaled(kForm1_ClientHeight, dpi));
    bool sawLabel = false;
    for (const TChildWindow& child : ChildWindows(window)) {
        const int width = child.Rect.right - child.Rect.left;
        const int height = child.Rect.bottom - child.Rect.top;
        if (child.Visible) {
            sawLabel = true;
            // Edges are scaled, not sizes, so neighbours stay adjacent at any density.
            EXPECT_EQ(width, Scaled(kForm1_LabWait_Left + kForm1_LabWait_Width, dpi) -
                                 Scaled(kForm1_LabWait_Left, dpi));
            EXPECT_EQ(height, Scaled(kForm1_LabWait_Top + kForm1_LabWait_Height, dpi) -
                                  Scaled(kForm1_LabWait_Top, dpi));
        } else {
            EXPECT_EQ(width,
                      Scaled(kForm1_clock_Left + kForm1_clock_Width, dpi) - Scaled(kForm1_clock_Left, dpi));
        }
    }
    EXPECT_TRUE(sawLabel);
    // The bevel stays one pixel per ring: the outline and the rings sit at the very edge.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RepaintNow(window);
    const TScreenPixels shot(window);
    EXPECT_EQ(shot.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(1, 1), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(shot.Pixel(shot.Width() - 2, shot.Height() - 2), RGB(0x80, 0x80, 0x80));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.Wait(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Densities, HighDpi, ::testing::Values(120, 144, 192));

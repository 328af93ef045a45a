#pragma once
#include <array>
#include <string>

namespace pictor {

class TIniFileCompo;
struct TOptions;

// The bands of the top bar, in the order the settings file lists them.
enum TBand { bnMenu, bnFile, bnEdit, bnColorAdjust, bnHelp, bnColorPicker, bnCount };

struct TBandSetting {
    bool Visible = true;  // the menu band is always shown
    int Top = 0;
    int Left = 0;
};

// What the settings file restores of the main window (the option values are a TOptions).
struct TWindowSettings {
    std::string LastOpenedDirectory;
    int Height = 600;
    int Width = 800;
    int Top = 0;
    int Left = 0;
    int State = 1;  // 0 minimised, 1 normal, 2 maximised
    bool SideBarVisible = true;
    int SideBarHeight = 211;  // the colour list's height
    int SideBarWidth = 150;
    bool StatusBarVisible = true;
    std::array<TBandSetting, bnCount> Bands{{
        {true, 2, 11}, {true, 28, 11}, {true, 28, 127}, {true, 28, 244}, {true, 28, 352}, {true, 2, 390}}};
};

// The settings section of each band.
const char* BandSection(TBand band);

// Reads every key: the window's values are returned, the option values and the replacement pairs
// go to options. The window's default position centres it on a screen of the given size;
// LastOpenedDirectory defaults to programFolder without its trailing separator.
TWindowSettings LoadSettings(const TIniFileCompo& ini, TOptions& options, int screenWidth, int screenHeight,
                             const std::string& programFolder);

// Writes every key from the window's values and options. The geometry is written only while the
// window is in its normal state; replacement entries beyond the new count stay in the file.
void SaveSettings(TIniFileCompo& ini, const TWindowSettings& window, const TOptions& options);

} // namespace pictor

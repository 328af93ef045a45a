#include "app/model/Settings.h"

#include "app/model/IniFileCompo.h"
#include "app/model/Options.h"

#include <algorithm>

namespace pictor {

const char* BandSection(TBand band)
{
    static constexpr const char* names[bnCount] = {"Menu", "File", "Edit", "ColorAdjust", "Help", "ColorPicker"};
    return names[band];
}

TWindowSettings LoadSettings(const TIniFileCompo& ini, TOptions& o, int screenWidth, int screenHeight,
                             const std::string& programFolder)
{
    TWindowSettings w;
    std::string folder = programFolder;
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();

    w.LastOpenedDirectory = ini.ReadString("System", "LastOpenedDirectory", folder);
    o.HighScore = ini.ReadInteger("System", "HighScore", 0);

    w.Height = ini.ReadInteger("Window", "Height", w.Height);
    w.Width = ini.ReadInteger("Window", "Width", w.Width);
    w.Top = ini.ReadInteger("Window", "Top", (screenHeight - w.Height) / 2);
    w.Left = ini.ReadInteger("Window", "Left", (screenWidth - w.Width) / 2);
    w.State = ini.ReadInteger("Window", "State", w.State);

    w.SideBarVisible = ini.ReadBool("SideBar", "Visible", w.SideBarVisible);
    w.SideBarHeight = ini.ReadInteger("SideBar", "Height", w.SideBarHeight);
    w.SideBarWidth = ini.ReadInteger("SideBar", "Width", w.SideBarWidth);
    w.StatusBarVisible = ini.ReadBool("StatusBar", "Visible", w.StatusBarVisible);

    for (int b = 0; b < bnCount; ++b) {
        TBandSetting& band = w.Bands[size_t(b)];
        const std::string section = BandSection(TBand(b));
        if (b != bnMenu) band.Visible = ini.ReadBool(section, "Visible", band.Visible);
        band.Top = ini.ReadInteger(section, "Top", band.Top);
        band.Left = ini.ReadInteger(section, "Left", band.Left);
    }

    const TOptions d;
    o.TabPosition = ini.ReadInteger("Option", "TabPosition", d.TabPosition);
    o.ShowHint = ini.ReadBool("Option", "ShowHint", d.ShowHint);
    o.HintPauseTime = ini.ReadInteger("Option", "HintPauseTime", d.HintPauseTime);
    o.HintViewBytes = ini.ReadInteger("Option", "HintViewBytes", d.HintViewBytes);
    o.EditorPath = ini.ReadString("Option", "EditorPath", d.EditorPath);
    o.LimitMaxResolution = ini.ReadBool("Option", "LimitMaxResolution", d.LimitMaxResolution);
    o.PreviewMaxHeight = ini.ReadInteger("Option", "PreviewMaxHeight", d.PreviewMaxHeight);
    o.PreviewMaxWidth = ini.ReadInteger("Option", "PreviewMaxWidth", d.PreviewMaxWidth);
    o.JpegSamplingRate = ini.ReadInteger("Option", "JpegSamplingRate", d.JpegSamplingRate);
    o.JpegCompressionQuality = ini.ReadInteger("Option", "JpegCompressionQuality", d.JpegCompressionQuality);
    o.JpegToBmp = ini.ReadBool("Option", "JpegToBmp", d.JpegToBmp);
    o.GifToBmp = ini.ReadBool("Option", "GifToBmp", d.GifToBmp);
    o.SaveWithLowerCase = ini.ReadBool("Option", "SaveWithLowerCase", d.SaveWithLowerCase);
    o.UseWebSafeColor = ini.ReadBool("Option", "UseWebSafeColor", d.UseWebSafeColor);
    o.UseReplacer = ini.ReadBool("Option", "UseReplacer", d.UseReplacer);

    o.ReplaceKeys.clear();
    o.ReplaceValues.clear();
    const int count = ini.ReadInteger("Replace", "Count", 0);
    for (int n = 0; n < count; ++n) {
        o.ReplaceKeys.push_back(ini.ReadString("Replace", "Key" + std::to_string(n), ""));
        o.ReplaceValues.push_back(ini.ReadString("Replace", "Value" + std::to_string(n), ""));
    }
    return w;
}

void SaveSettings(TIniFileCompo& ini, const TWindowSettings& w, const TOptions& o)
{
    ini.WriteString("System", "LastOpenedDirectory", w.LastOpenedDirectory);
    ini.WriteInteger("System", "HighScore", o.HighScore);

    ini.WriteInteger("Window", "State", w.State);
    if (w.State == 1) {
        ini.WriteInteger("Window", "Top", w.Top);
        ini.WriteInteger("Window", "Left", w.Left);
        ini.WriteInteger("Window", "Height", w.Height);
        ini.WriteInteger("Window", "Width", w.Width);
    }

    ini.WriteBool("SideBar", "Visible", w.SideBarVisible);
    ini.WriteInteger("SideBar", "Height", w.SideBarHeight);
    ini.WriteInteger("SideBar", "Width", w.SideBarWidth);
    ini.WriteBool("StatusBar", "Visible", w.StatusBarVisible);
    for (int b = 0; b < bnCount; ++b) {
        const TBandSetting& band = w.Bands[size_t(b)];
        const std::string section = BandSection(TBand(b));
        if (b != bnMenu) ini.WriteBool(section, "Visible", band.Visible);
        ini.WriteInteger(section, "Top", band.Top);
        ini.WriteInteger(section, "Left", band.Left);
    }

    ini.WriteInteger("Option", "TabPosition", o.TabPosition);
    ini.WriteBool("Option", "ShowHint", o.ShowHint);
    ini.WriteInteger("Option", "HintPauseTime", o.HintPauseTime);
    ini.WriteInteger("Option", "HintViewBytes", o.HintViewBytes);
    ini.WriteString("Option", "EditorPath", o.EditorPath);
    ini.WriteBool("Option", "LimitMaxResolution", o.LimitMaxResolution);
    ini.WriteInteger("Option", "PreviewMaxHeight", o.PreviewMaxHeight);
    ini.WriteInteger("Option", "PreviewMaxWidth", o.PreviewMaxWidth);
    ini.WriteInteger("Option", "JpegSamplingRate", o.JpegSamplingRate);
    ini.WriteInteger("Option", "JpegCompressionQuality", o.JpegCompressionQuality);
    ini.WriteBool("Option", "JpegToBmp", o.JpegToBmp);
    ini.WriteBool("Option", "GifToBmp", o.GifToBmp);
    ini.WriteBool("Option", "SaveWithLowerCase", o.SaveWithLowerCase);
    ini.WriteBool("Option", "UseWebSafeColor", o.UseWebSafeColor);
    ini.WriteBool("Option", "UseReplacer", o.UseReplacer);

    const size_t count = std::min(o.ReplaceKeys.size(), o.ReplaceValues.size());
    ini.WriteInteger("Replace", "Count", int(count));
    for (size_t n = 0; n < count; ++n) {
        ini.WriteString("Replace", "key" + std::to_string(n), o.ReplaceKeys[n]);
        ini.WriteString("Replace", "Value" + std::to_string(n), o.ReplaceValues[n]);
    }
}

} // namespace pictor

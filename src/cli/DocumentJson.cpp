#include "cli/DocumentJson.h"

#include "base/PictorError.h"
#include "document/ColorPairs.h"
#include "document/Contrast.h"
#include "encoding/CharCode.h"
#include "encoding/Cp932.h"

#include <iostream>
#include <sstream>

namespace pictor::cli {

std::string ToUtf8(const TElements& file, std::string_view text)
{
    return file.IsUtf8() ? std::string(text) : cp932::ToUtf8(text);
}

nlohmann::json DocumentToJson(const THtmlStructure& document)
{
    nlohmann::json files = nlohmann::json::array();
    nlohmann::json contrast = nlohmann::json::array();
    for (int tab = 0; tab < document.FileCount(); ++tab) {
        const TElements& file = document.Elements(tab);
        nlohmann::json colors = nlohmann::json::array();
        for (size_t k = 0; k < file.Colors.size(); ++k) {
            const TColorRecord& c = file.Colors[k];
            colors.push_back({{"index", k},
                              {"text", ToUtf8(file, c.Text)},
                              {"value", ColorToUpperCode(c.Color)},
                              {"pos", c.Pos},
                              {"checked", c.Checked}});
            if (c.AlphaForm != TAlphaForm::None) colors.back()["alpha"] = AlphaToByte(c.AlphaForm, c.Alpha);
        }
        nlohmann::json pictures = nlohmann::json::array();
        for (size_t j = 0; j < file.Pics.size(); ++j) {
            const TPicRecord& p = file.Pics[j];
            pictures.push_back({{"index", j},
                                {"ref", ToUtf8(file, p.RefText)},
                                {"path", p.FullPath},
                                {"width", p.Bitmap.Width()},
                                {"height", p.Bitmap.Height()},
                                {"checked", p.Checked}});
            if (p.State == TPicState::Missing) pictures.back()["missing"] = true;
            if (p.State == TPicState::Unreadable) pictures.back()["unreadable"] = true;
        }
        const auto occurrence = [&](size_t k) {
            return nlohmann::json{{"pos", file.Colors[k].Pos}, {"value", ColorToUpperCode(file.Colors[k].Color)}};
        };
        for (const TColorPair& pair : FindColorPairs(file))
            contrast.push_back({{"file", tab},
                                {"foreground", occurrence(pair.Foreground)},
                                {"background", occurrence(pair.Background)},
                                {"ratio", pair.After}});
        files.push_back({{"index", tab},
                         {"path", document.FilePath(tab)},
                         {"encoding", std::string(CharCodeName(file.CharCode))},
                         {"colors", std::move(colors)},
                         {"pictures", std::move(pictures)}});
    }
    return {{"page", document.FileName}, {"files", std::move(files)}, {"contrast", std::move(contrast)}};
}

std::string PairText(const TElements& file, const TColorPair& pair)
{
    const TColorRecord& f = file.Colors.at(pair.Foreground);
    const TColorRecord& b = file.Colors.at(pair.Background);
    return ColorToUpperCode(f.Color) + " at " + std::to_string(f.Pos) + " on " + ColorToUpperCode(b.Color) + " at " +
           std::to_string(b.Pos);
}

void WarnDeadReferences(const THtmlStructure& document)
{
    for (const TDeadReference& dead : document.DeadReferences())
        std::cerr << "pictor-cli: " << EscapeControlBytes(dead.Path + ": " + DeadReferenceHint(dead.State)) << "\n";
}

std::string DocumentToText(const THtmlStructure& document)
{
    std::ostringstream out;
    for (int tab = 0; tab < document.FileCount(); ++tab) {
        const TElements& file = document.Elements(tab);
        out << "[" << tab << "] " << document.FilePath(tab) << " (" << CharCodeName(file.CharCode) << ")\n";
        out << "  colours: " << file.Colors.size() << "\n";
        for (size_t k = 0; k < file.Colors.size(); ++k) {
            const TColorRecord& c = file.Colors[k];
            out << "    " << k << "  " << ToUtf8(file, c.Text) << "  " << ColorToUpperCode(c.Color) << "  at " << c.Pos
                << (c.Checked ? "" : "  (unticked)") << "\n";
        }
        out << "  pictures: " << file.Pics.size() << "\n";
        for (size_t j = 0; j < file.Pics.size(); ++j) {
            const TPicRecord& p = file.Pics[j];
            out << "    " << j << "  " << ToUtf8(file, p.RefText) << "  " << p.Bitmap.Width() << "x"
                << p.Bitmap.Height() << (p.Checked ? "" : "  (unticked)")
                << (p.Tickable() ? "" : std::string("  (") + DeadReferenceHint(p.State) + ")") << "\n";
        }
        bool headed = false;
        for (const TColorPair& pair : FindColorPairs(file))
            if (pair.After < MinimumTextContrast) {
                if (!headed) out << "  contrast below " << ContrastRatioText(MinimumTextContrast) << ":\n";
                headed = true;
                out << "    " << PairText(file, pair) << "  " << ContrastRatioText(pair.After) << "\n";
            }
    }
    return out.str();
}

} // namespace pictor::cli

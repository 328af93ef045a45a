#include "cli/DocumentJson.h"

#include "base/PictorError.h"
#include "document/ColorPairs.h"
#include "document/Contrast.h"
#include "encoding/CharCode.h"
#include "encoding/Cp932.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <sstream>

namespace pictor::cli {

namespace {

// ASCII is the same in every encoding a file may have: it needs no conversion (nor the code page tables).
bool HeldAsUtf8(const TElements& file, std::string_view text)
{
    return file.IsUtf8() || std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
}

nlohmann::json Occurrence(const TColorRecord& record)
{
    return {{"pos", record.Pos}, {"value", ColorToUpperCode(record.Color)}};
}

void WriteColors(TJsonWriter& json, const TElements& file)
{
    // Written member by member: a long sheet costs no JSON tree per colour.
    std::string text;
    std::array<TJsonScalar, 7> members;
    json.BeginArray();
    for (size_t k = 0; k < file.Colors.size(); ++k) {
        const TColorRecord& c = file.Colors[k];
        size_t n = 0;
        if (!c.Alpha.empty()) members[n++] = TJsonScalar::Integer("alpha", AlphaToByte(c.AlphaForm, c.Alpha));
        members[n++] = TJsonScalar::Bool("checked", c.Checked);
        if (c.Rejected) members[n++] = TJsonScalar::Bool("ignored", true);
        members[n++] = TJsonScalar::Integer("index", std::int64_t(k));
        members[n++] = TJsonScalar::Integer("pos", std::int64_t(c.Pos));
        members[n++] = TJsonScalar::String("text", HeldAsUtf8(file, c.Text) ? std::string_view(c.Text)
                                                                             : std::string_view(text = cp932::ToUtf8(c.Text)));
        const std::string value = ColorToUpperCode(c.Color);
        members[n++] = TJsonScalar::String("value", value);
        json.ScalarObject(std::span(members.data(), n));
    }
    json.EndArray();
}

void WritePictures(TJsonWriter& json, const TElements& file)
{
    json.BeginArray();
    for (size_t j = 0; j < file.Pics.size(); ++j) {
        const TPicRecord& p = file.Pics[j];
        nlohmann::json picture = {
            {"checked", p.Checked}, {"height", p.Bitmap.Height()},    {"index", j},
            {"path", p.FullPath},   {"ref", ToUtf8(file, p.RefText)}, {"width", p.Bitmap.Width()}};
        if (p.State == TPicState::Missing) picture["missing"] = true;
        if (p.State == TPicState::Unreadable) picture["unreadable"] = true;
        json.Value(picture);
    }
    json.EndArray();
}

} // namespace

std::string ToUtf8(const TElements& file, std::string_view text)
{
    return HeldAsUtf8(file, text) ? std::string(text) : cp932::ToUtf8(text);
}

void WriteDocumentJson(TJsonWriter& json, const THtmlStructure& document)
{
    json.BeginObject();
    json.Key("contrast");
    json.BeginArray();
    for (int tab = 0; tab < document.FileCount(); ++tab) {
        const TElements& file = document.Elements(tab);
        for (const TColorPair& pair : FindColorPairs(file))
            json.Value({{"background", Occurrence(file.Colors[pair.Background])},
                        {"file", tab},
                        {"foreground", Occurrence(file.Colors[pair.Foreground])},
                        {"ratio", pair.After}});
    }
    json.EndArray();
    json.Key("files");
    json.BeginArray();
    for (int tab = 0; tab < document.FileCount(); ++tab) {
        const TElements& file = document.Elements(tab);
        json.BeginObject();
        json.Key("colors");
        WriteColors(json, file);
        json.Member("encoding", std::string(file.EncodingName()));
        json.Member("index", tab);
        json.Member("path", document.FilePath(tab));
        json.Key("pictures");
        WritePictures(json, file);
        json.EndObject();
    }
    json.EndArray();
    json.Member("page", document.FileName());
    json.EndObject();
}

std::string PairText(const TElements& file, const TColorPair& pair)
{
    const TColorRecord& f = file.Colors.at(pair.Foreground);
    const TColorRecord& b = file.Colors.at(pair.Background);
    return ColorToUpperCode(f.Color) + " at " + std::to_string(f.Pos) + " on " + ColorToUpperCode(b.Color) + " at " +
           std::to_string(b.Pos);
}

void PrintDocumentJson(std::ostream& out, const THtmlStructure& document)
{
    {
        TJsonWriter json(out);
        WriteDocumentJson(json, document);
    }
    out << "\n";
}

std::string DocumentToText(const THtmlStructure& document)
{
    std::ostringstream out;
    for (int tab = 0; tab < document.FileCount(); ++tab) {
        const TElements& file = document.Elements(tab);
        out << "[" << tab << "] " << document.FilePath(tab) << " (" << file.EncodingName() << ")\n";
        out << "  colours: " << file.Colors.size() << "\n";
        for (size_t k = 0; k < file.Colors.size(); ++k) {
            const TColorRecord& c = file.Colors[k];
            out << "    " << k << "  " << ToUtf8(file, c.Text) << "  " << ColorToUpperCode(c.Color) << "  at " << c.Pos
                << (c.Rejected ? "  (ignored)" : c.Checked ? "" : "  (unticked)") << "\n";
        }
        out << "  pictures: " << file.Pics.size() << "\n";
        for (size_t j = 0; j < file.Pics.size(); ++j) {
            const TPicRecord& p = file.Pics[j];
            out << "    " << j << "  " << ToUtf8(file, p.RefText) << "  " << p.Bitmap.Width() << "x"
                << p.Bitmap.Height() << (p.Checked ? "" : "  (unticked)")
                << (p.Tickable() ? "" : std::string("  (") + DeadReferenceHint(p.State, p.Reason) + ")") << "\n";
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

#include "cli/DocumentJson.h"

#include "base/PictorError.h"
#include "cli/JsonWriter.h"
#include "document/ColorPairs.h"
#include "document/Contrast.h"
#include "encoding/CharCode.h"
#include "encoding/Cp932.h"

#include <algorithm>
#include <iostream>
#include <sstream>

namespace pictor::cli {

namespace {

// ASCII is the same in every encoding a file may have: it needs no conversion (nor the code page tables).
bool HeldAsUtf8(const TElements& file, std::string_view text)
{
    return file.IsUtf8() || std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
}

// A text of the file as UTF-8, with no copy when it needs no conversion.
void WriteFileText(TJsonWriter& json, const TElements& file, std::string_view text)
{
    if (HeldAsUtf8(file, text))
        json.String(text);
    else
        json.String(cp932::ToUtf8(text));
}

void WriteOccurrence(TJsonWriter& json, const TColorRecord& record)
{
    json.BeginObject();
    json.Member("pos", record.Pos);
    json.Member("value", ColorToUpperCode(record.Color));
    json.EndObject();
}

void WriteColors(TJsonWriter& json, const TElements& file)
{
    json.BeginArray();
    for (size_t k = 0; k < file.Colors.size(); ++k) {
        const TColorRecord& c = file.Colors[k];
        json.BeginObject();
        if (c.AlphaForm != TAlphaForm::None) json.Member("alpha", AlphaToByte(c.AlphaForm, c.Alpha));
        json.Member("checked", c.Checked);
        json.Member("index", k);
        json.Member("pos", c.Pos);
        json.Key("text");
        WriteFileText(json, file, c.Text);
        json.Member("value", ColorToUpperCode(c.Color));
        json.EndObject();
    }
    json.EndArray();
}

void WritePictures(TJsonWriter& json, const TElements& file)
{
    json.BeginArray();
    for (size_t j = 0; j < file.Pics.size(); ++j) {
        const TPicRecord& p = file.Pics[j];
        json.BeginObject();
        json.Member("checked", p.Checked);
        json.Member("height", p.Bitmap.Height());
        json.Member("index", j);
        if (p.State == TPicState::Missing) json.Member("missing", true);
        json.Member("path", p.FullPath);
        json.Key("ref");
        WriteFileText(json, file, p.RefText);
        if (p.State == TPicState::Unreadable) json.Member("unreadable", true);
        json.Member("width", p.Bitmap.Width());
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

std::string ToUtf8(const TElements& file, std::string_view text)
{
    return HeldAsUtf8(file, text) ? std::string(text) : cp932::ToUtf8(text);
}

void WriteDocumentJson(std::ostream& out, const THtmlStructure& document, int indent)
{
    TJsonWriter json(out, indent);
    json.BeginObject();
    json.Key("contrast");
    json.BeginArray();
    for (int tab = 0; tab < document.FileCount(); ++tab) {
        const TElements& file = document.Elements(tab);
        for (const TColorPair& pair : FindColorPairs(file)) {
            json.BeginObject();
            json.Key("background");
            WriteOccurrence(json, file.Colors[pair.Background]);
            json.Member("file", tab);
            json.Key("foreground");
            WriteOccurrence(json, file.Colors[pair.Foreground]);
            json.Member("ratio", pair.After);
            json.EndObject();
        }
    }
    json.EndArray();
    json.Key("files");
    json.BeginArray();
    for (int tab = 0; tab < document.FileCount(); ++tab) {
        const TElements& file = document.Elements(tab);
        json.BeginObject();
        json.Key("colors");
        WriteColors(json, file);
        json.Member("encoding", CharCodeName(file.CharCode));
        json.Member("index", tab);
        json.Member("path", document.FilePath(tab));
        json.Key("pictures");
        WritePictures(json, file);
        json.EndObject();
    }
    json.EndArray();
    json.Member("page", document.FileName);
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
    WriteDocumentJson(out, document, 0);
    out << "\n";
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

#include "document/DocumentText.h"

#include "base/FileIO.h"
#include "base/MemoryPolicy.h"
#include "document/CssColorFunction.h"
#include "document/CssColorNames.h"
#include "document/PageScanner.h"
#include "base/FailureReasons.h"
#include "document/Paths.h"
#include "document/SvgDataUrl.h"
#include "base/PictorError.h"
#include "base/WorkPool.h"
#include "document/StyleScanner.h"
#include "encoding/CharCode.h"
#include "encoding/Cp932.h"
#include "encoding/DeclaredCharCode.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <span>
#include <unordered_map>

namespace pictor {

namespace {

// A sheet this large is walked in two halves side by side, when there are two cores to walk them.
constexpr size_t HalvesFrom = size_t(1) << 20;

// An SVG picture is a text file with colours of its own, not a bitmap.
void AddPicture(TFileScan& scan, std::string_view ref)
{
    std::vector<std::string>& list = NamesSvgFile(ref) ? scan.SvgRefs : scan.Pics;
    if (std::find(list.begin(), list.end(), ref) == list.end()) list.emplace_back(ref);
}

class TRecorder : public TScanEvents {
public:
    TRecorder(TFileScan& scan, std::string_view text) : Scan_(scan), Text_(text)
    {
        // About what a framework's sheet holds: the list then grows once or not at all, where each
        // doubling would copy it and fault in fresh pages.
        Scan_.Colors.reserve(text.size() / 512);
    }

    void ColorFound(size_t pos, size_t length, TColorForm form, int nameIndex, const TColorPlace& place) override
    {
        if (place.Role != TColorRole::Other)
            Scan_.Placed.push_back({Scan_.Colors.size(), place, form == TColorForm::Attribute});
        std::uint32_t embed = 0;
        if (place.Embed.Kind != TEmbedding::None) {
            if (Scan_.Embeds.empty() || Scan_.Embeds.back().Pos != place.Embed.Pos) Scan_.Embeds.push_back(place.Embed);
            embed = std::uint32_t(Scan_.Embeds.size());
        }
        Scan_.Colors.push_back({pos, std::uint32_t(length), embed, form, std::int16_t(nameIndex)});
    }
    void PictureFound(std::string_view ref) override { AddPicture(Scan_, ref); }
    void StyleSheetFound(std::string_view ref, std::string_view charset) override
    {
        Scan_.SheetRefs.push_back({std::string(ref), std::string(charset)});
    }
    void ImportFound(std::string_view target, bool leading) override
    {
        Scan_.Imports.emplace_back(target);
        if (leading) Scan_.BlockImports.emplace_back(target);
    }
    void ChannelListFound(size_t pos, size_t length, std::string_view name) override
    {
        Scan_.Channels.Lists.push_back({{std::uint32_t(pos), std::uint32_t(length)}, Span(name)});
    }
    void ChannelVariableUsed(std::string_view name, TChannelReading reading) override
    {
        // A sheet takes the same variable the same way thousands of times: the first tells all of it.
        std::uint8_t& readings = WholeUses_[name];
        const auto bit = std::uint8_t(1u << unsigned(reading));
        if (readings & bit) return;
        readings |= bit;
        TChannelUse& use = Scan_.Channels.Uses.emplace_back();
        use.Reading = reading;
        use.Names[0] = Span(name);
    }
    void ChannelVariablesUsed(TChannelReading reading, const TChannelNames& names) override
    {
        TChannelUse& use = Scan_.Channels.Uses.emplace_back();
        use.Reading = reading;
        use.Whole = false;
        for (size_t k = 0; k < 3; ++k) {
            use.Names[k] = Span(names.Names[k]);
            use.Deltas[k] = Span(names.Deltas[k]);
            use.Literals[k] = Span(names.Literals[k]);
        }
    }
    void VariableAliasFound(std::string_view name, std::string_view target) override
    {
        Scan_.Channels.Aliases.push_back({Span(name), Span(target)});
    }

private:
    // Where a view into the walked text stands in it.
    TTextSpan Span(std::string_view part) const
    {
        return part.empty() ? TTextSpan{} : TTextSpan{std::uint32_t(part.data() - Text_.data()), std::uint32_t(part.size())};
    }

    TFileScan& Scan_;
    std::string_view Text_;
    std::unordered_map<std::string_view, std::uint8_t> WholeUses_;  // the readings each name was taken in
};

// Where the second half may start: after the middle, right after a "}" and its line break if any, where
// something other than space or another "}" follows, as a rule outside every other starts in most
// sheets, laid out or minified. The first half's walk tells whether it is one.
size_t SecondHalf(std::string_view text)
{
    for (size_t at = text.find('}', text.size() / 2); at != std::string_view::npos; at = text.find('}', at + 1)) {
        size_t next = at + 1;
        if (next < text.size() && text[next] == '\r') ++next;
        if (next < text.size() && text[next] == '\n') ++next;
        if (next < text.size() && !IsStyleSeparator(text[next]) && text[next] != '}') return next;
    }
    return std::string_view::npos;
}

// The line (from 1) of a where b first differs from it; 0 when they are the same.
size_t LineOfFirstDifference(std::string_view a, std::string_view b)
{
    if (a == b) return 0;
    const auto differs = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first;
    return size_t(std::count(a.begin(), differs, '\n')) + 1;
}

} // namespace

// The walk of a sheet in two halves at once; the second half's findings are kept when the first half's
// walk ended where it began, and otherwise the first walk went on to the end by itself.
TFileScan ScanInHalves(const TElements& file, size_t second, TWorkPool& pool)
{
    TFileScan scan, rest;
    bool halves = false;
    pool.ForEach(2, [&](size_t half) {
        if (half == 0) {
            TRecorder recorder(scan, file.Text);
            halves = WalkStyleSheetUntil(file.Text, file.WalksAsUtf8(), second, recorder);
        } else {
            TRecorder recorder(rest, file.Text);
            WalkStyleSheetFrom(file.Text, file.WalksAsUtf8(), second, recorder);
        }
    });
    if (!halves) return scan;
    const size_t before = scan.Colors.size();
    const auto embedsBefore = std::uint32_t(scan.Embeds.size());
    // Each list grown once: a long sheet's lists are megabytes, and every new page of them costs a fault.
    scan.Colors.reserve(before + rest.Colors.size());
    scan.Placed.reserve(scan.Placed.size() + rest.Placed.size());
    scan.Channels.Uses.reserve(scan.Channels.Uses.size() + rest.Channels.Uses.size());
    for (TColorFound found : rest.Colors) {
        if (found.Embed != 0) found.Embed += embedsBefore;
        scan.Colors.push_back(found);
    }
    scan.Embeds.insert(scan.Embeds.end(), rest.Embeds.begin(), rest.Embeds.end());
    for (TPlacedColor placed : rest.Placed) {
        placed.Index += before;
        scan.Placed.push_back(placed);
    }
    for (const std::string& ref : rest.Pics) AddPicture(scan, ref);
    for (const std::string& ref : rest.SvgRefs) AddPicture(scan, ref);
    for (TChannelList& list : rest.Channels.Lists) scan.Channels.Lists.push_back(std::move(list));
    // Each half took a variable's use once; the first half's stands for both.
    const size_t firstUses = scan.Channels.Uses.size();
    for (TChannelUse& use : rest.Channels.Uses) {
        const auto same = [&](const TChannelUse& seen) {
            return seen.Whole && seen.Reading == use.Reading && seen.Names[0].In(file.Text) == use.Names[0].In(file.Text);
        };
        if (!use.Whole || std::none_of(scan.Channels.Uses.begin(), scan.Channels.Uses.begin() + std::ptrdiff_t(firstUses), same))
            scan.Channels.Uses.push_back(std::move(use));
    }
    for (TVariableAlias& alias : rest.Channels.Aliases) scan.Channels.Aliases.push_back(std::move(alias));
    for (std::string& target : rest.Imports) scan.Imports.push_back(std::move(target));
    return scan;
}

void ReadTextFile(const std::string& path, TElements& file, bool isPage, std::string_view linkCharset)
try {
    ReadText(ReadFileBytes(path), file, isPage, linkCharset);
    file.Path = file.ReadFrom = path;
} catch (const std::bad_alloc&) {
    throw TPictorError(path, SystemErrorText(ENOMEM));
}

void ReadText(std::string bytes, TElements& file, bool isPage, std::string_view linkCharset)
{
    TReadCharCode code = isPage ? PageCharCode(bytes) : SheetCharCode(bytes, linkCharset);
    file.CharCode = code.Code;
    file.SingleByteName = std::move(code.Name);
    file.ReadLossLine = 0;
    file.EucExtra = {};
    if (file.CharCode == ccEuc) {
        file.Text = PzConv().EucToSjis(bytes, &file.EucExtra);
        if (EncodeForFile(file, file.Text) == bytes) return;
        // Bytes the conversion loses (a character cut off at the end). No byte of an EUC-JP character is
        // ASCII, so the file is kept as read and walked byte by byte, and comes back whole.
        file.CharCode = ccSingleByte;
        file.SingleByteName = CharCodeName(ccEuc);
        file.EucExtra = {};
    } else if (file.CharCode == ccJis) {
        file.Text = PzConv().JisToSjis(bytes);
        file.ReadLossLine = LineOfFirstDifference(bytes, EncodeForFile(file, file.Text));
        return;
    }
    file.Text = std::move(bytes);
}

void WalkFile(const TElements& file, bool isPage, TScanEvents& events)
{
    // Any byte of UTF-16 may be half of a character: nothing in it is taken for markup.
    if (file.CharCode == ccUtf16LE || file.CharCode == ccUtf16BE) return;
    if (isPage) WalkPage(file.Text, file.WalksAsUtf8(), events);
    else if (file.IsSvg) WalkSvg(file.Text, file.WalksAsUtf8(), events);
    else WalkStyleSheet(file.Text, file.WalksAsUtf8(), events);
}

TFileScan ScanFile(const TElements& file, bool isPage, TWorkPool* pool)
{
    if (!isPage && !file.IsSvg && file.Text.size() >= HalvesFrom && pool && pool->Size() > 1)
        if (const size_t second = SecondHalf(file.Text); second != std::string_view::npos)
            return ScanInHalves(file, second, *pool);
    TFileScan scan;
    TRecorder recorder(scan, file.Text);
    WalkFile(file, isPage, recorder);
    return scan;
}

std::string OccurrenceText(std::string_view text, const TColorFound& found, bool utf8)
{
    if (found.Form == TColorForm::Name) return std::string(CssNamedColors[found.NameIndex].Name);
    std::string occurrence(text.substr(found.Pos, found.Length));
    if (found.Form == TColorForm::Hex || found.Form == TColorForm::Space) return occurrence;
    // As the scanning copy has it: an attribute's TAB, an rgb() token's every separator, is a space.
    const char* const end = occurrence.data() + occurrence.size();
    for (char* p = occurrence.data(); p < end;) {
        const int length = CharLength(p, end, utf8);
        if (length == 1 && (found.Form == TColorForm::Rgb ? IsStyleSeparator(*p) : *p == '\t')) *p = ' ';
        p += length;
    }
    return occurrence;
}

bool BrowserDrops(std::string_view text, const TColorFound& found)
{
    const std::string_view occurrence = text.substr(found.Pos, found.Length);
    switch (found.Form) {
    case TColorForm::Hex: {
        const size_t digits = occurrence.size() - 1;
        return !(digits == 3 || digits == 4 || digits == 6 || digits == 8) ||
               !std::all_of(occurrence.begin() + 1, occurrence.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    }
    case TColorForm::Rgb:
    case TColorForm::Function: return !ParseCssColorFunction(occurrence);
    case TColorForm::Space: return !ParseCssSpaceColor(occurrence);
    default: return false;
    }
}

namespace {

// Calls fn(pos, covered, piece) for each piece of the text a rewrite replaces, in order: one occurrence
// (a piece of one record), or the data of one data: URL whose picture holds colours (a piece of every
// record in it). A piece that overlaps the one before it, or stands past the end, is left as the text
// has it.
template <class TFn> void ForEachReplaced(std::string_view text, std::span<TColorRecord> records, TFn&& fn)
{
    size_t copied = 0;
    for (size_t k = 0; k < records.size();) {
        const TColorRecord& first = records[k];
        size_t last = k + 1, pos = first.SourcePos, length = first.OrgText.size();
        if (first.Embed.Kind != TEmbedding::None) {
            while (last < records.size() && records[last].Embed.Pos == first.Embed.Pos &&
                   records[last].Embed.Kind == first.Embed.Kind)
                ++last;
            pos = first.Embed.Pos;
            length = first.Embed.Length;
        }
        if (pos >= copied && pos <= text.size()) {
            const size_t covered = std::min(text.size() - pos, length);
            fn(pos, covered, records.subspan(k, last - k));
            copied = pos + covered;
        }
        k = last;
    }
}

bool Unchanged(std::span<const TColorRecord> piece)
{
    return std::all_of(piece.begin(), piece.end(), [](const TColorRecord& r) { return r.Text == r.OrgText; });
}

} // namespace

std::string RewriteEmbedded(std::string_view data, TEmbedding kind, std::span<const TColorRecord> piece)
{
    if (kind == TEmbedding::Base64) {
        const std::string decoded = DecodeEmbedded(data, kind);
        std::string picture;
        size_t copied = 0;
        for (const TColorRecord& record : piece) {
            if (record.SourcePos < copied || record.SourcePos > decoded.size()) continue;
            picture.append(decoded, copied, record.SourcePos - copied);
            picture += record.Text;
            copied = record.SourcePos + std::min(decoded.size() - record.SourcePos, record.OrgText.size());
        }
        picture.append(decoded, copied);
        return Base64Encode(picture);
    }
    // Through the data and its decoding in step, as decoding went.
    std::string out;
    size_t raw = 0, decoded = 0;
    auto stepTo = [&](size_t until) {
        const size_t from = raw;
        for (; decoded < until && raw < data.size(); ++decoded) raw += IsPercentEscape(data, raw) ? 3 : 1;
        return data.substr(from, raw - from);
    };
    for (const TColorRecord& record : piece) {
        if (record.SourcePos < decoded) continue;
        out += stepTo(record.SourcePos);
        const std::string_view was = stepTo(record.SourcePos + record.OrgText.size());
        if (record.Text == record.OrgText) out += was;
        else out += PercentEncode(record.Text);
    }
    out += data.substr(raw);
    return out;
}

void RewriteText(TElements& file)
{
    const std::string_view text = file.Text;
    // Where each occurrence lands, and whether any reads otherwise than the text has it: most files of a
    // listing, and the sheets a change leaves alone, are never built a second time.
    bool same = true;
    std::ptrdiff_t growth = 0;
    ForEachReplaced(text, file.Colors, [&](size_t pos, size_t covered, std::span<TColorRecord> piece) {
        for (TColorRecord& record : piece) record.Pos = std::int32_t(std::ptrdiff_t(pos) + growth + 1);
        if (piece.front().Embed.Kind != TEmbedding::None) {
            same = same && Unchanged(piece);
            return;
        }
        const TColorRecord& record = piece.front();
        same = same && text.compare(pos, covered, record.Text) == 0;
        growth += std::ptrdiff_t(record.Text.size()) - std::ptrdiff_t(covered);
    });
    file.Rewritten = false;
    file.NewText = std::string();
    if (same && file.Added.empty()) return;
    for (const TAddedText& added : file.Added) growth += std::ptrdiff_t(added.Text.size());
    std::string out;
    out.reserve(size_t(std::max<std::ptrdiff_t>(0, std::ptrdiff_t(text.size()) + growth)));
    AdviseHugePages(out.data(), out.capacity());
    // The text from `from` to `to`, with what is added there; an addition at `to` comes before what
    // stands there.
    size_t nextAdded = 0;
    const auto appendPlain = [&](size_t from, size_t to) {
        for (; nextAdded < file.Added.size() && file.Added[nextAdded].Pos <= to; ++nextAdded) {
            const size_t at = std::max(from, file.Added[nextAdded].Pos);
            out.append(text, from, at - from);
            out += file.Added[nextAdded].Text;
            from = at;
        }
        out.append(text, from, to - from);
    };
    size_t copied = 0;
    ForEachReplaced(text, file.Colors, [&](size_t pos, size_t covered, std::span<TColorRecord> piece) {
        appendPlain(copied, pos);
        for (TColorRecord& record : piece) record.Pos = std::int32_t(out.size() + 1);
        if (piece.front().Embed.Kind == TEmbedding::None) out += piece.front().Text;
        else if (Unchanged(piece)) out.append(text, pos, covered);
        else out += RewriteEmbedded(text.substr(pos, covered), piece.front().Embed.Kind, piece);
        copied = pos + covered;
    });
    appendPlain(copied, text.size());
    if (out == text) return;
    file.NewText = std::move(out);
    file.Rewritten = true;
}

std::string EncodeForFile(const TElements& file, std::string_view text)
{
    switch (file.CharCode) {
    case ccEuc: return PzConv().SjisToEuc(text, &file.EucExtra);
    case ccJis: return PzConv().SjisToJis(text);
    default: return std::string(text);
    }
}

bool HeldAsWritten(const TElements& file)
{
    return file.CharCode != ccEuc && file.CharCode != ccJis;
}

void RequireRoundTrip(const TElements& file, std::string_view bytes, const std::string& path)
{
    if (HeldAsWritten(file)) return;  // the bytes are the text
    const std::string name(file.EncodingName());
    if (file.ReadLossLine)
        throw TPictorError(path, name + " として読むと失われるバイトがあるため、保存を中止しました（" +
                                     std::to_string(file.ReadLossLine) + " 行目）");
    TEucExtraChars extra;
    const std::string back = file.CharCode == ccEuc ? PzConv().EucToSjis(bytes, &extra) : PzConv().JisToSjis(bytes);
    if (const size_t line = LineOfFirstDifference(file.CurrentText(), back))
        throw TPictorError(path, name + " で書き出すと元の内容に戻らない箇所があるため、保存を中止しました（" +
                                     std::to_string(line) + " 行目）");
}

std::string ReferenceToFileName(std::string_view reference, bool utf8)
{
    const bool ascii = std::all_of(reference.begin(), reference.end(), [](char c) { return (unsigned char)c < 0x80; });
    return (utf8 || ascii) ? std::string(reference) : cp932::ToUtf8(reference);
}

} // namespace pictor

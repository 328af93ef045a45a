#include "document/DocumentText.h"

#include "base/FileIO.h"
#include "base/MemoryPolicy.h"
#include "document/CssColorNames.h"
#include "document/PageScanner.h"
#include "base/FailureReasons.h"
#include "base/PictorError.h"
#include "document/StyleScanner.h"
#include "encoding/CharCode.h"
#include "encoding/Cp932.h"
#include "encoding/GuessCharCode.h"

#include <algorithm>
#include <cerrno>
#include <future>
#include <span>
#include <thread>

namespace pictor {

namespace {

// A sheet this large is walked in two halves side by side, when there are two cores to walk them.
constexpr size_t HalvesFrom = size_t(1) << 20;

void AddPicture(TFileScan& scan, std::string_view ref)
{
    if (std::find(scan.Pics.begin(), scan.Pics.end(), ref) == scan.Pics.end()) scan.Pics.emplace_back(ref);
}

class TRecorder : public TScanEvents {
public:
    explicit TRecorder(TFileScan& scan) : Scan_(scan) {}

    void ColorFound(size_t pos, size_t length, TColorForm form, int nameIndex, const TColorPlace& place) override
    {
        if (place.Role != TColorRole::Other)
            Scan_.Placed.push_back({Scan_.Colors.size(), place, form == TColorForm::Attribute});
        Scan_.Colors.push_back({pos, std::uint32_t(length), form, std::int16_t(nameIndex)});
    }
    void PictureFound(std::string_view ref) override { AddPicture(Scan_, ref); }
    void ChannelListFound(size_t pos, size_t length, std::string_view name) override
    {
        Scan_.Channels.Lists.push_back({pos, std::uint32_t(length), std::string(name)});
    }
    void ChannelVariableUsed(std::string_view name, bool hsl) override
    {
        Scan_.Channels.Uses.push_back({std::string(name), hsl ? TChannelReading::Hsl : TChannelReading::Rgb});
    }
    void StyleSheetFound(std::string_view ref) override { Scan_.SheetRefs.emplace_back(ref); }

private:
    TFileScan& Scan_;
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

// The walk of a sheet in two halves at once; the second half's findings are kept when the first half's
// walk ended where it began, and otherwise the first walk went on to the end by itself.
TFileScan ScanInHalves(const TElements& file, size_t second)
{
    TFileScan scan, rest;
    scan.Colors.reserve(second / 32);
    auto later = std::async(std::launch::async, [&] {
        rest.Colors.reserve((file.Text.size() - second) / 32);
        TRecorder recorder(rest);
        WalkStyleSheetFrom(file.Text, file.IsUtf8(), second, recorder);
    });
    TRecorder recorder(scan);
    const bool halves = WalkStyleSheetUntil(file.Text, file.IsUtf8(), second, recorder);
    later.get();
    if (!halves) return scan;
    const size_t before = scan.Colors.size();
    scan.Colors.insert(scan.Colors.end(), rest.Colors.begin(), rest.Colors.end());
    for (TPlacedColor placed : rest.Placed) {
        placed.Index += before;
        scan.Placed.push_back(placed);
    }
    for (const std::string& ref : rest.Pics) AddPicture(scan, ref);
    for (TChannelList& list : rest.Channels.Lists) scan.Channels.Lists.push_back(std::move(list));
    for (TChannelUse& use : rest.Channels.Uses) scan.Channels.Uses.push_back(std::move(use));
    return scan;
}

} // namespace

void ReadTextFile(const std::string& path, TElements& file)
try {
    std::string bytes = ReadFileBytes(path);
    file.ReadFrom = path;
    file.CharCode = GuessCharCode(bytes);
    if (file.CharCode == ccEuc) {
        file.EucExtra = {};
        file.Text = PzConv().EucToSjis(bytes, &file.EucExtra);
    } else if (file.CharCode == ccJis) {
        file.Text = PzConv().JisToSjis(bytes);
    } else {
        // English with a dash, Chinese: valid UTF-8 that scores nothing as Japanese.
        if (file.CharCode == ccSjis && IsMultiByteUtf8(bytes)) file.CharCode = ccUtf8;
        file.Text = std::move(bytes);
    }
} catch (const std::bad_alloc&) {
    throw TPictorError(path, SystemErrorText(ENOMEM));
}

void WalkFile(const TElements& file, bool isPage, TScanEvents& events)
{
    if (isPage) WalkPage(file.Text, file.IsUtf8(), events);
    else WalkStyleSheet(file.Text, file.IsUtf8(), events);
}

TFileScan ScanFile(const TElements& file, bool isPage)
{
    if (!isPage && file.Text.size() >= HalvesFrom && std::thread::hardware_concurrency() > 1)
        if (const size_t second = SecondHalf(file.Text); second != std::string_view::npos)
            return ScanInHalves(file, second);
    TFileScan scan;
    scan.Colors.reserve(file.Text.size() / 32);
    TRecorder recorder(scan);
    WalkFile(file, isPage, recorder);
    return scan;
}

std::string OccurrenceText(std::string_view text, const TColorFound& found, bool utf8)
{
    if (found.Form == TColorForm::Name) return std::string(CssNamedColors[found.NameIndex].Name);
    std::string occurrence(text.substr(found.Pos, found.Length));
    if (found.Form == TColorForm::Hex) return occurrence;
    // As the scanning copy has it: an attribute's TAB, an rgb() token's every separator, is a space.
    const char* const end = occurrence.data() + occurrence.size();
    for (char* p = occurrence.data(); p < end;) {
        const int length = CharLength(p, end, utf8);
        if (length == 1 && (found.Form == TColorForm::Rgb ? IsStyleSeparator(*p) : *p == '\t')) *p = ' ';
        p += length;
    }
    return occurrence;
}

namespace {

// Calls fn(record, covered) for each occurrence a rewrite replaces, in order, with the length of text it
// covers; one that overlaps the one before it, or stands past the end, is left as the text has it.
template <class TFn> void ForEachReplaced(std::string_view text, std::span<TColorRecord> records, TFn&& fn)
{
    size_t copied = 0;
    for (TColorRecord& record : records) {
        if (record.SourcePos < copied || record.SourcePos > text.size()) continue;
        const size_t covered = std::min(text.size() - record.SourcePos, record.OrgText.size());
        fn(record, covered);
        copied = record.SourcePos + covered;
    }
}

} // namespace

void RewriteText(TElements& file)
{
    const std::string_view text = file.Text;
    // Where each occurrence lands, and whether any reads otherwise than the text has it: most files of a
    // listing, and the sheets a change leaves alone, are never built a second time.
    bool same = true;
    std::ptrdiff_t growth = 0;
    ForEachReplaced(text, file.Colors, [&](TColorRecord& record, size_t covered) {
        record.Pos = std::int32_t(std::ptrdiff_t(record.SourcePos) + growth + 1);
        same = same && text.compare(record.SourcePos, covered, record.Text) == 0;
        growth += std::ptrdiff_t(record.Text.size()) - std::ptrdiff_t(covered);
    });
    file.Rewritten = false;
    file.NewText = std::string();
    if (same) return;
    std::string out;
    out.reserve(size_t(std::ptrdiff_t(text.size()) + growth));
    AdviseHugePages(out.data(), out.capacity());
    size_t copied = 0;
    ForEachReplaced(text, file.Colors, [&](const TColorRecord& record, size_t covered) {
        out.append(text, copied, record.SourcePos - copied);
        out += record.Text;
        copied = record.SourcePos + covered;
    });
    out.append(text, copied);
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

std::string ReferenceToFileName(std::string_view reference, bool utf8)
{
    const bool ascii = std::all_of(reference.begin(), reference.end(), [](char c) { return (unsigned char)c < 0x80; });
    return (utf8 || ascii) ? std::string(reference) : cp932::ToUtf8(reference);
}

} // namespace pictor

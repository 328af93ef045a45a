// A page or a sheet read in its encoding and saved back, over arbitrary bytes: a save writes nothing that
// would not read back, and whatever it writes keeps every byte outside the colour occurrences.
// The first input byte chooses a page or a sheet and, for a sheet, its link's charset attribute.
#include "FuzzCheck.h"

#include "adjust/Adjustment.h"
#include "base/PictorError.h"
#include "document/DocumentText.h"
#include "document/HtmlStructure.h"
#include "document/LoadedFiles.h"
#include "document/WorkingCopies.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace pictor;
using fuzz::Require;

namespace {

constexpr std::string_view LinkCharsets[] = {"", "utf-8", "shift_jis", "euc-jp", "iso-2022-jp", "iso-8859-1", "", ""};

struct TSpan {
    std::size_t Start, End;  // in the text
};

// Where text position pos lands in the file's bytes: the encoding of what precedes it.
std::size_t ByteOffset(const TElements& file, std::string_view text, std::size_t pos)
{
    return HeldAsWritten(file) ? pos : EncodeForFile(file, text.substr(0, pos)).size();
}

// The bytes before, between and after the spans.
std::vector<std::string_view> Outside(const TElements& file, std::string_view text, std::string_view bytes,
                                      const std::vector<TSpan>& spans)
{
    std::vector<std::string_view> pieces;
    std::size_t from = 0;
    for (const TSpan& span : spans) {
        const std::size_t start = ByteOffset(file, text, span.Start);
        Require(from <= start && start <= bytes.size(), "occurrences stand in order inside the bytes");
        pieces.push_back(bytes.substr(from, start - from));
        from = ByteOffset(file, text, span.End);
    }
    Require(from <= bytes.size(), "occurrences stand inside the bytes");
    pieces.push_back(bytes.substr(from));
    return pieces;
}

// What a save writes for the file, or nothing when the save refuses it.
std::optional<std::string> Saved(const TElements& file)
{
    std::string bytes = EncodeForFile(file, file.CurrentText());
    try {
        RequireRoundTrip(file, bytes, "page.html");
    } catch (const TPictorError&) {
        return std::nullopt;
    }
    return bytes;
}

// A save of the file as it stands keeps the bytes read outside the occurrences.
void CheckSave(const TElements& file, const std::vector<std::string_view>& read)
{
    const std::optional<std::string> bytes = Saved(file);
    Require(bytes || file.ReadLossLine, "a file read without loss is saved");
    if (!bytes) return;
    std::vector<TSpan> spans;
    for (const TColorRecord& record : file.Colors)
        spans.push_back({std::size_t(record.Pos - 1), std::size_t(record.Pos - 1) + record.Text.size()});
    Require(Outside(file, file.CurrentText(), *bytes, spans) == read, "every byte outside the colours is kept");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const bool isPage = data[0] & 1;
    const std::string_view link = LinkCharsets[(data[0] >> 1) & 7];
    const std::string_view original(reinterpret_cast<const char*>(data) + 1, size - 1);

    THtmlStructure document(NoWorkingCopies());  // only its records are built: nothing is read or written
    document.Page.Path = "page.html";
    TElements& file = document.Page;
    ReadText(std::string(original), file, isPage, isPage ? std::string_view() : link);
    TFileScan scan = ScanFile(file, isPage);
    scan.Pics.clear();  // they would be read from disk
    try {
        TLoadedFiles files;
        BuildFileRecords(file, scan, document.Page.Path, files);
    } catch (const TPictorError&) {
        return 0;  // a colour the load refuses: nothing is saved
    }
    RewriteText(file);

    if (file.ReadLossLine) {
        Require(!Saved(file), "a file its encoding does not give back is never saved");
        return 0;
    }
    Require(EncodeForFile(file, file.Text) == original, "the text read gives back the bytes");
    std::vector<TSpan> spans;
    for (const TColorRecord& record : file.Colors) spans.push_back({record.SourcePos, record.SourcePos + record.OrgText.size()});
    const std::vector<std::string_view> read = Outside(file, file.Text, original, spans);

    // Unchanged: nothing is written unless an occurrence is spelled otherwise (a name in lower case).
    if (file.Rewritten) CheckSave(file, read);
    for (int step = 0; step < 2; ++step) {
        ApplyToTicked(document, TAdjustment::Invert(), {});
        RewriteText(file);
        CheckSave(file, read);
    }
    return 0;
}

#include "RewriteCheck.h"

#include "FuzzCheck.h"
#include "document/CssColorNames.h"
#include "document/DocumentText.h"
#include "document/HtmlStructure.h"
#include "document/LoadedFiles.h"
#include "document/StyleScanner.h"
#include "document/SvgDataUrl.h"
#include "encoding/CharCode.h"

#include <vector>

namespace pictor::fuzz {

namespace {

// Pos and Length are in the decoded picture for a colour in a data: URL's picture (Embed.Kind set).
struct TOccurrence {
    size_t Pos;
    size_t Length;
    TColorForm Form;
    int NameIndex;
    size_t EmbedPos = 0, EmbedLength = 0;
    TEmbedding Embed = TEmbedding::None;
    bool operator==(const TOccurrence&) const = default;

    bool Embedded() const { return Embed != TEmbedding::None; }
    // Where the text the rewrite replaces for it stands: the occurrence, or its URL's data.
    size_t Start() const { return Embedded() ? EmbedPos : Pos; }
    size_t End() const { return Embedded() ? EmbedPos + EmbedLength : Pos + Length; }
    bool SamePiece(const TOccurrence& o) const { return Embedded() && o.Embed == Embed && o.EmbedPos == EmbedPos; }
};

class TCollector : public TScanEvents {
public:
    explicit TCollector(bool wantsReferences) : WantsReferences_(wantsReferences) {}
    void ColorFound(size_t pos, size_t length, TColorForm form, int nameIndex, const TColorPlace& place) override
    {
        Found.push_back({pos, length, form, nameIndex, place.Embed.Pos, place.Embed.Length, place.Embed.Kind});
    }
    bool WantsReferences() const override { return WantsReferences_; }
    std::vector<TOccurrence> Found;

private:
    bool WantsReferences_;
};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

// What an unchanged occurrence may become: names in lower case, an rgb() token's separators and the
// TABs of an attribute or an rgba()/hsl() token as spaces; a double-byte character is never looked into.
bool SameUpToNormalisation(std::string_view was, std::string_view now, TColorForm form, bool utf8)
{
    if (was.size() != now.size()) return false;
    const char* const end = was.data() + was.size();
    for (const char* p = was.data(); p < end;) {
        const int length = CharLength(p, end, utf8);
        const size_t at = size_t(p - was.data());
        if (length > 1) {
            if (was.compare(at, size_t(length), now, at, size_t(length)) != 0) return false;
        } else {
            char a = *p;
            if (form == TColorForm::Name) a = LowerAscii(a);
            if (form == TColorForm::Rgb && IsStyleSeparator(a)) a = ' ';
            if ((form == TColorForm::Attribute || form == TColorForm::Function) && a == '\t') a = ' ';
            if (a != now[at]) return false;
        }
        p += length;
    }
    return true;
}

// The walk's occurrences, in order and inside the text; a walk that wants no references finds the same.
std::vector<TOccurrence> CheckedOccurrences(const TElements& file, bool isPage)
{
    TCollector loading(true), coloursOnly(false);
    WalkFile(file, isPage, loading);
    WalkFile(file, isPage, coloursOnly);
    Require(loading.Found == coloursOnly.Found, "a colours-only walk finds the same occurrences");
    size_t end = 0, inPicture = 0;
    std::string picture;
    for (size_t k = 0; k < loading.Found.size(); ++k) {
        const TOccurrence& o = loading.Found[k];
        if (!(k > 0 && o.SamePiece(loading.Found[k - 1]))) {
            Require(o.Start() >= end && o.Start() <= file.Text.size() && o.End() <= file.Text.size(),
                    "occurrences in order, apart, inside the text");
            end = o.End();
            if (o.Embedded()) {
                picture = DecodeEmbedded(std::string_view(file.Text).substr(o.EmbedPos, o.EmbedLength), o.Embed);
                inPicture = 0;
            }
        }
        if (o.Embedded()) {
            Require(o.Pos >= inPicture && o.Pos <= picture.size() && o.Length <= picture.size() - o.Pos,
                    "a picture's colours in order, apart, inside it");
            inPicture = o.Pos + o.Length;
        }
        if (o.Form == TColorForm::Name)
            Require(o.NameIndex >= 0 && o.NameIndex < 148 && CssNamedColors[o.NameIndex].Name.size() == o.Length,
                    "a name occurrence covers its name");
    }
    return loading.Found;
}

void CheckScan(const TFileScan& scan, const std::vector<TOccurrence>& found)
{
    Require(scan.Colors.size() == found.size(), "one record per occurrence");
    for (size_t k = 0; k < found.size(); ++k) {
        const std::uint32_t embed = scan.Colors[k].Embed;
        Require(embed <= scan.Embeds.size(), "an occurrence's data: URL is recorded");
        const TEmbed url = embed == 0 ? TEmbed{} : scan.Embeds[embed - 1];
        Require(scan.Colors[k].Pos == found[k].Pos && scan.Colors[k].Length == found[k].Length &&
                    url.Kind == found[k].Embed && (embed == 0 || url.Pos == found[k].EmbedPos),
                "the scan records where the occurrence stands");
    }
}

// Where each piece a rewrite replaces stands in its output: the text between pieces is copied as it
// is, so a piece ends where the next one's first record says it starts, less the text between them.
struct TPiece {
    size_t First = 0, Last = 0;  // its records
    size_t OutStart = 0, OutEnd = 0;
};
std::vector<TPiece> PiecesOf(const TElements& file, const std::vector<TOccurrence>& found)
{
    std::vector<TPiece> pieces;
    for (size_t k = 0; k < found.size(); ++k)
        if (k > 0 && found[k].SamePiece(found[k - 1])) pieces.back().Last = k + 1;
        else pieces.push_back({k, k + 1, size_t(file.Colors[k].Pos - 1), 0});
    const std::string& out = file.CurrentText();
    for (size_t p = 0; p < pieces.size(); ++p) {
        const size_t inEnd = found[pieces[p].First].End();
        const size_t nextIn = p + 1 < pieces.size() ? found[pieces[p + 1].First].Start() : file.Text.size();
        const size_t nextOut = p + 1 < pieces.size() ? pieces[p + 1].OutStart : out.size();
        Require(nextOut >= nextIn - inEnd, "the text after a piece is all there");
        pieces[p].OutEnd = nextOut - (nextIn - inEnd);
        for (size_t k = pieces[p].First; k < pieces[p].Last; ++k)
            Require(file.Colors[k].Pos == std::int32_t(pieces[p].OutStart + 1), "Pos is where the piece stands");
    }
    return pieces;
}

// Every piece's surroundings kept; a picture's data decodes to the picture with each record's text at
// its colour's place, in the order found.
void CheckPieces(const TElements& file, const std::vector<TOccurrence>& found, bool utf8)
{
    const std::string& out = file.CurrentText();
    const std::string_view text = file.Text;
    size_t copiedIn = 0, copiedOut = 0;
    for (const TPiece& piece : PiecesOf(file, found)) {
        const TOccurrence& first = found[piece.First];
        Require(piece.OutStart - copiedOut == first.Start() - copiedIn &&
                    out.compare(copiedOut, piece.OutStart - copiedOut, text, copiedIn, first.Start() - copiedIn) == 0,
                "text between occurrences is kept");
        const std::string_view now = std::string_view(out).substr(piece.OutStart, piece.OutEnd - piece.OutStart);
        if (!first.Embedded()) {
            const TColorRecord& record = file.Colors[piece.First];
            Require(now == record.Text, "the record's text is written");
            if (record.Text == record.OrgText)
                Require(SameUpToNormalisation(text.substr(first.Pos, first.Length), now, first.Form, utf8),
                        "an unchanged occurrence differs only by its normalisation");
        } else {
            const std::string was = DecodeEmbedded(text.substr(first.EmbedPos, first.EmbedLength), first.Embed);
            std::string expected;
            size_t copied = 0;
            for (size_t k = piece.First; k < piece.Last; ++k) {
                expected.append(was, copied, found[k].Pos - copied);
                expected += file.Colors[k].Text == file.Colors[k].OrgText ? was.substr(found[k].Pos, found[k].Length)
                                                                           : file.Colors[k].Text;
                copied = found[k].Pos + found[k].Length;
            }
            expected.append(was, copied);
            Require(DecodeEmbedded(now, first.Embed) == expected, "a picture's colours are rewritten in the order found");
        }
        copiedIn = first.End();
        copiedOut = piece.OutEnd;
    }
    Require(out.compare(copiedOut, std::string::npos, text, copiedIn) == 0, "the tail is kept");
}

void CheckUnchangedRewrite(TElements& file, const std::vector<TOccurrence>& found, bool utf8)
{
    RewriteText(file);
    Require(file.CurrentText().size() == file.Text.size(), "an unchanged rewrite keeps the length");
    CheckPieces(file, found, utf8);
}

void CheckChangedRewrite(TElements& file, const std::vector<TOccurrence>& found, bool utf8)
{
    for (TColorRecord& record : file.Colors) record.Text = "#ABCDEF";
    RewriteText(file);
    CheckPieces(file, found, utf8);
    Require(file.Rewritten == (file.CurrentText() != file.Text), "the rewrite is held exactly when it differs");
}

void CheckOneMode(std::string_view text, bool utf8, bool isPage)
{
    THtmlStructure document(NoWorkingCopies());  // only its records are built: nothing is read or written
    document.Page.Path = "page.html";
    TElements& file = document.Page;
    file.CharCode = utf8 ? ccUtf8 : ccSjis;
    file.Text = text;
    const std::vector<TOccurrence> found = CheckedOccurrences(file, isPage);
    TFileScan scan = ScanFile(file, isPage);
    CheckScan(scan, found);
    scan.Pics.clear();  // they would be read from disk
    TLoadedFiles files;
    BuildFileRecords(file, scan, document.Page.Path, files);  // no colour text fails a load
    CheckUnchangedRewrite(file, found, utf8);
    CheckChangedRewrite(file, found, utf8);
}

} // namespace

void CheckScanAndRewrite(std::string_view text, bool isPage)
{
    CheckOneMode(text, false, isPage);
    CheckOneMode(text, true, isPage);
}

} // namespace pictor::fuzz

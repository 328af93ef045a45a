#include "RewriteCheck.h"

#include "FuzzCheck.h"
#include "document/CssColorNames.h"
#include "document/DocumentText.h"
#include "document/HtmlStructure.h"
#include "document/LoadedFiles.h"
#include "document/StyleScanner.h"
#include "encoding/CharCode.h"

#include <vector>

namespace pictor::fuzz {

namespace {

struct TOccurrence {
    size_t Pos;
    size_t Length;
    TColorForm Form;
    int NameIndex;
    bool operator==(const TOccurrence&) const = default;
};

class TCollector : public TScanEvents {
public:
    explicit TCollector(bool wantsReferences) : WantsReferences_(wantsReferences) {}
    void ColorFound(size_t pos, size_t length, TColorForm form, int nameIndex, const TColorPlace&) override
    {
        Found.push_back({pos, length, form, nameIndex});
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
    size_t end = 0;
    for (const TOccurrence& o : loading.Found) {
        Require(o.Pos >= end && o.Pos <= file.Text.size() && o.Length <= file.Text.size() - o.Pos,
                "occurrences in order, apart, inside the text");
        if (o.Form == TColorForm::Name)
            Require(o.NameIndex >= 0 && o.NameIndex < 148 && CssNamedColors[o.NameIndex].Name.size() == o.Length,
                    "a name occurrence covers its name");
        end = o.Pos + o.Length;
    }
    return loading.Found;
}

void CheckScan(const TFileScan& scan, const std::vector<TOccurrence>& found)
{
    Require(scan.Colors.size() == found.size(), "one record per occurrence");
    for (size_t k = 0; k < found.size(); ++k)
        Require(scan.Colors[k].Pos == found[k].Pos && scan.Colors[k].Length == found[k].Length,
                "the scan records where the occurrence stands");
}

void CheckUnchangedRewrite(TElements& file, const std::vector<TOccurrence>& found, bool utf8)
{
    RewriteText(file);
    const std::string& out = file.CurrentText();
    const std::string_view text = file.Text;
    Require(out.size() == text.size(), "an unchanged rewrite keeps the length");
    size_t copied = 0;
    for (size_t k = 0; k < found.size(); ++k) {
        const TOccurrence& o = found[k];
        Require(file.Colors[k].Pos == std::int32_t(o.Pos + 1), "Pos is where the occurrence stands");
        Require(out.compare(copied, o.Pos - copied, text, copied, o.Pos - copied) == 0,
                "text between occurrences is kept");
        Require(out.compare(o.Pos, o.Length, file.Colors[k].Text) == 0, "the record's text is written");
        Require(SameUpToNormalisation(text.substr(o.Pos, o.Length), std::string_view(out).substr(o.Pos, o.Length),
                                      o.Form, utf8),
                "an unchanged occurrence differs only by its normalisation");
        copied = o.Pos + o.Length;
    }
    Require(out.compare(copied, std::string::npos, text, copied) == 0, "the tail is kept");
}

void CheckChangedRewrite(TElements& file, const std::vector<TOccurrence>& found)
{
    static const std::string code = "#ABCDEF";
    std::string expected;
    std::vector<std::int32_t> positions;
    size_t copied = 0;
    for (const TOccurrence& o : found) {
        expected.append(file.Text, copied, o.Pos - copied);
        positions.push_back(std::int32_t(expected.size() + 1));
        expected += code;
        copied = o.Pos + o.Length;
    }
    expected.append(file.Text, copied);
    for (TColorRecord& record : file.Colors) record.Text = code;
    RewriteText(file);
    Require(file.CurrentText() == expected, "every changed occurrence is replaced in place");
    Require(file.Rewritten == (expected != file.Text), "the rewrite is held exactly when it differs");
    for (size_t k = 0; k < found.size(); ++k)
        Require(file.Colors[k].Pos == positions[k], "Pos follows the longer texts before it");
}

void CheckOneMode(std::string_view text, bool utf8, bool isPage)
{
    THtmlStructure document(NoWorkingCopies());  // only its records are built: nothing is read or written
    document.FileName = "page.html";
    TElements& file = document.Page;
    file.CharCode = utf8 ? ccUtf8 : ccSjis;
    file.Text = text;
    const std::vector<TOccurrence> found = CheckedOccurrences(file, isPage);
    TFileScan scan = ScanFile(file, isPage);
    CheckScan(scan, found);
    scan.Pics.clear();  // they would be read from disk
    TLoadedFiles files;
    BuildFileRecords(file, scan, document.FileName, files);  // no colour text fails a load
    CheckUnchangedRewrite(file, found, utf8);
    CheckChangedRewrite(file, found);
}

} // namespace

void CheckScanAndRewrite(std::string_view text, bool isPage)
{
    CheckOneMode(text, false, isPage);
    CheckOneMode(text, true, isPage);
}

} // namespace pictor::fuzz

#include "adjust/AdjustParameters.h"
#include "adjust/Adjustment.h"
#include "adjust/DarkContrast.h"
#include "adjust/DarkScheme.h"
#include "base/PictorError.h"
#include "base/WorkPool.h"
#include "cli/Commands.h"
#include "cli/DocumentJson.h"
#include "cli/LoadPages.h"
#include "cli/SiteJson.h"
#include "cli/Progress.h"
#include "document/ColorPairs.h"
#include "document/Contrast.h"
#include "document/SaveDocument.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

namespace pictor::cli {

namespace {

TAdjustKind KindOf(const std::string& option)
{
    if (option == "hue-sat") return akHueSat;
    if (option == "bright-contrast") return akBrightContrast;
    if (option == "balance") return akColorBalance;
    if (option == "dark") return akDark;
    return option == "new-color" ? akNewColor : akInvert;
}

TAdjustment AdjustmentOf(const TAdjustRequest& r)
{
    TAdjustment adjustment;
    adjustment.Kind = KindOf(r.Kind);
    if (adjustment.Kind == akNewColor) adjustment.NewColor = ParseColor(r.NewColor);
    if (adjustment.Kind == akDark) {
        if (r.DarkEnd >= r.LightEnd) throw TUsageError{"--dark-end must be below --light-end"};
        return TAdjustment::Dark({r.DarkEnd, r.LightEnd}, !r.DarkPhotos);
    }
    const auto parameters = AdjustParameters(adjustment.Kind);
    if (r.Values.size() != parameters.size() && !parameters.empty())
        throw TUsageError{"--" + r.Kind + " takes " + std::to_string(parameters.size()) + " comma-separated numbers"};
    for (size_t i = 0; i < parameters.size(); ++i) {
        const TAdjustParameter& p = parameters[i];
        // The three numbers of a colour balance are named by the option, as they always were.
        const std::string name = adjustment.Kind == akColorBalance ? r.Kind : std::string(p.Name);
        if (r.Values[i] < p.Min || r.Values[i] > p.Max)
            throw TUsageError{name + " " + std::to_string(r.Values[i]) + " is out of range " + std::to_string(p.Min) +
                              ".." + std::to_string(p.Max)};
        adjustment.Params[i] = r.Values[i];
    }
    return adjustment;
}

// Ticks what takes part. A picture is named by its reference as written or by its path, which is
// the same wherever in a site it is named.
void Select(IFileSet& files, const TAdjustRequest& r)
{
    std::set<TColor> values;
    for (const std::string& c : r.Colors) values.insert(ParseColor(c));
    std::set<std::string> pictures(r.Pictures.begin(), r.Pictures.end());
    for (const std::string& p : r.Pictures) pictures.insert(std::filesystem::absolute(p).lexically_normal().string());
    for (int i = 0; i < files.FileCount(); ++i) {
        TElements& file = files.Elements(i);
        // Ignored colours and dead pictures never take part, whatever the filters say.
        for (TColorRecord& c : file.Colors)
            c.Checked = c.Tickable() && !r.NoColors && (values.empty() || values.count(c.Color));
        for (TPicRecord& p : file.Pics)
            p.Checked = p.Tickable() && !r.NoPictures &&
                        (pictures.empty() || pictures.count(ToUtf8(file, p.RefText)) || pictures.count(p.FullPath));
    }
}

using TColorTexts = std::vector<std::vector<std::string>>;  // per file

TColorTexts ColorTextsOf(const IFileSet& files)
{
    TColorTexts texts(size_t(files.FileCount()));
    for (int i = 0; i < files.FileCount(); ++i)
        for (const TColorRecord& c : files.Elements(i).Colors) texts[size_t(i)].push_back(c.Text);
    return texts;
}

void ReportChanges(const TColorTexts& before, const IFileSet& after, bool dryRun)
{
    // Gathered and printed at once: a large sheet's thousands of lines are not as many writes.
    std::ostringstream out;
    int colors = 0, pictures = 0;
    for (int tab = 0; tab < after.FileCount(); ++tab) {
        const std::vector<std::string>& was = before[size_t(tab)];
        const TElements& now = after.Elements(tab);
        bool named = false;
        auto name = [&] {
            if (!named) out << after.FilePath(tab) << "\n";
            named = true;
        };
        for (size_t k = 0; k < now.Colors.size(); ++k)
            if (now.Colors[k].Text != was[k]) {
                name();
                out << "  colour " << k << ": " << ToUtf8(now, was[k]) << " -> "
                    << ToUtf8(now, now.Colors[k].Text) << "\n";
                ++colors;
            }
        for (const TPicRecord& p : now.Pics)
            if (p.Checked) {
                name();
                out << "  picture " << ToUtf8(now, p.RefText) << (dryRun ? ": would be adjusted\n" : ": adjusted\n");
                ++pictures;
            }
    }
    out << colors << " colour occurrence(s) and " << pictures << " picture(s) "
        << (dryRun ? "would change; nothing written (dry run)\n" : "changed\n");
    std::cout << out.str();
}

// A line for each text colour whose contrast with its background was at least `limit` and is below it
// now, naming the file and the two colours.
std::vector<std::string> ContrastFalls(const IFileSet& files, double limit)
{
    std::vector<std::string> lines;
    for (int i = 0; i < files.FileCount(); ++i) {
        const TElements& file = files.Elements(i);
        for (const TColorPair& pair : FindColorPairs(file))
            if (pair.Before >= limit && pair.After < limit) {
                const TColorRecord& f = file.Colors[pair.Foreground];
                const TColorRecord& b = file.Colors[pair.Background];
                lines.push_back(EscapeControlBytes(
                    files.FilePath(i) + ": contrast falls below " + ContrastRatioText(limit) + ": " +
                    ColorToUpperCode(f.Color) + " on " + ColorToUpperCode(b.Color) + " (was " +
                    ColorToUpperCode(f.OrgColor) + " on " + ColorToUpperCode(b.OrgColor) + "), " +
                    ContrastRatioText(pair.Before) + " -> " + ContrastRatioText(pair.After)));
            }
    }
    return lines;
}

const char* const LevelNames[] = {"none", "large-text AA", "AA", "AAA"};

// A line for each pair the dark theme nudged to keep its level.
std::vector<std::string> NudgeLines(const IFileSet& files, const std::vector<TNudgedPair>& nudged)
{
    std::vector<std::string> lines;
    for (const TNudgedPair& n : nudged) {
        const TElements& file = files.Elements(n.File);
        const TColorRecord& f = file.Colors[n.Foreground];
        // Where the text stands, and that ground's colour in the light page.
        std::string where = " and " + std::to_string(n.Background);
        TColor lightGround = RGB(255, 255, 255);
        const auto ground = std::find_if(std::begin(BrowserGrounds), std::end(BrowserGrounds),
                                         [&](const TBrowserGround& g) { return g.Record == n.Background; });
        if (n.Background == PageBackgroundRecord)
            where = " on the page's background";
        else if (ground != std::end(BrowserGrounds)) {
            where = " " + std::string(ground->Where);
            lightGround = ground->Light;
        } else
            lightGround = file.Colors[n.Background].OrgColor;
        const int level = ContrastLevel(n.Before);
        lines.push_back(EscapeControlBytes(
            files.FilePath(n.File) + ": " + (n.Held ? "nudged to stay " : "could not stay ") + LevelNames[level] +
            ": colour " + std::to_string(n.Foreground) + where + ", " + ColorToUpperCode(n.ForegroundColor) + " on " +
            ColorToUpperCode(n.BackgroundColor) + " (was " + ColorToUpperCode(f.OrgColor) + " on " +
            ColorToUpperCode(lightGround) + "), " + ContrastRatioText(n.Before) + " -> mirrored " +
            ContrastRatioText(n.Mirrored) + " -> " + ContrastRatioText(n.After)));
    }
    return lines;
}

std::vector<std::string> SchemeLines(const IFileSet& files, const TDarkScheme& scheme)
{
    std::vector<std::string> lines{std::to_string(scheme.Declarations) +
                                   " declaration(s) repeated with dark colours in @media (prefers-color-scheme: dark)"};
    for (const TLeftLight& left : scheme.LeftLight) {
        const TElements& file = files.Elements(left.File);
        lines.push_back(EscapeControlBytes(files.FilePath(left.File) + ": colour " + std::to_string(left.Record) + " (" +
                                           ToUtf8(file, file.Colors[left.Record].Text) + ") left light: " + left.Why));
    }
    return lines;
}

} // namespace

// Stricter than the reading of pages, which turns anything it cannot read into black: a colour code
// of three or six hexadecimal digits, one of the sixteen names, or rgb() with three components.
TColor ParseColor(const std::string& text)
{
    std::string t = text;
    std::erase(t, ' ');
    std::string lower = t;
    for (char& c : lower) c = char(std::tolower((unsigned char)c));
    const bool code = t.starts_with('#') && (t.size() == 4 || t.size() == 7) &&
                      std::all_of(t.begin() + 1, t.end(), [](char c) { return std::isxdigit((unsigned char)c); });
    const bool name = std::any_of(std::begin(NamedColors), std::end(NamedColors),
                                  [&](const TNamedColor& n) { return n.Name == lower; });
    const bool rgb = lower.starts_with("rgb(") && lower.ends_with(")") && std::count(t.begin(), t.end(), ',') == 2;
    if (!code && !name && !rgb)
        throw TUsageError{"\"" + text + "\" is not a colour (give #RRGGBB, #RGB, a colour name or rgb(r,g,b))"};
    try {
        return TextToColor(t);
    } catch (const TPictorError& e) {
        throw TUsageError{e.Reason};
    }
}

TCommandEnd RunAdjust(const TAdjustRequest& r)
{
    const TAdjustment adjustment = AdjustmentOf(r);
    TWorkPool pool;
    TDocumentOptions documentOptions;
    documentOptions.LowerCase = r.LowerCase;
    documentOptions.Pool = &pool;
    const TPictureSaveOptions saveOptions{r.JpegQuality, r.JpegSampling == 444, r.JpegToBmp, r.GifToBmp, &pool};

    // An earlier save below the output folder that was cut short is dealt with first.
    std::error_code ec;
    if (!r.OutFolder.empty() && std::filesystem::is_directory(r.OutFolder, ec)) RecoverInterruptedSaves({r.OutFolder});
    TSiteDocument site;
    LoadPages(site, r, pool);
    Select(site, r);
    const bool dryRun = !r.InPlace && r.OutFolder.empty();
    const bool changes =
        adjustment.Kind == akInvert || adjustment.Kind == akNewColor || adjustment.Kind == akDark || !adjustment.AllZero();

    const TColorTexts before = ColorTextsOf(site);

    std::vector<std::string> falls, nudges;
    if (changes) {
        if (adjustment.Kind == akDark && r.FollowSystem) {
            const TDarkScheme scheme = FollowReaderScheme(site, adjustment, documentOptions.LowerCase);
            nudges = NudgeLines(site, scheme.Nudged);
            const auto lines = SchemeLines(site, scheme);
            nudges.insert(nudges.end(), lines.begin(), lines.end());
        } else if (adjustment.Kind == akDark)
            nudges = NudgeLines(site, ApplyDarkColors(site, adjustment, documentOptions.LowerCase));
        else
            ApplyToTickedColors(site, adjustment, documentOptions.LowerCase);
        falls = ContrastFalls(site, r.MinContrast > 0 ? r.MinContrast : MinimumTextContrast);
        if (r.MinContrast > 0 && !falls.empty()) {
            for (const std::string& line : falls) std::cerr << "pictor-cli: " << line << "\n";
            return {3};
        }
        // Pictures have no scheme of their own: a page that follows the reader keeps them.
        if (!dryRun && !(adjustment.Kind == akDark && r.FollowSystem)) {
            TProgressBar bar("adjusting pictures");
            ApplyToTickedPictures(site, adjustment, documentOptions,
                                  [&](int done, int total) { bar.Update(done, total); });
        }
        site.RewriteTexts();
    }

    bool saved = false;
    if (r.InPlace) {
        if (changes) SaveDocument(site, saveOptions);
        saved = changes;
    } else if (!r.OutFolder.empty()) {
        // Every existing file is asked about before anything is written.
        SaveSiteBelow(site, r.OutFolder, saveOptions, [&r](const std::string& target) {
            if (r.SkipExisting) return TOverwriteAnswer::NoToAll;
            if (r.Force) return TOverwriteAnswer::YesToAll;
            throw TPictorError(target, "exists already (use --force to overwrite or --skip-existing)");
        });
        saved = true;
    }

    if (r.Json && r.OnePage()) {
        PrintDocumentJson(std::cout, *site.Pages().front().Document);
    } else if (r.Json) {
        PrintSiteJson(std::cout, site);
    } else if (changes) {
        ReportChanges(before, site, dryRun);
        for (const std::string& line : nudges) std::cout << line << "\n";
        for (const std::string& line : falls) std::cout << line << "\n";
    } else {
        std::cout << "every parameter is 0: nothing changes\n";
    }
    if (!r.OnePage() && !r.Json)
        std::cout << site.Pages().size() << " page(s), " << site.FailedCount() << " failed\n";
    return {SiteStatus(site), saved};
}

} // namespace pictor::cli

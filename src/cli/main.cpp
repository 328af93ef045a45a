#include "adjust/AdjustParameters.h"
#include "base/FailureReasons.h"
#include "base/Leftovers.h"
#include "base/MemoryPolicy.h"
#include "base/PictorError.h"
#include "cli/Commands.h"
#include "cli/StandardOutput.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <iostream>

using namespace pictor::cli;

namespace {

std::string Absolute(const std::string& path)
{
    return std::filesystem::absolute(path).lexically_normal().string();
}

// "H,S,L: H -180..180, S and L -255..255": each parameter's initial, then the ranges, naming together
// the neighbours that share one.
std::string ParameterHelp(pictor::TAdjustKind kind)
{
    const auto parameters = pictor::AdjustParameters(kind);
    auto initial = [](const pictor::TAdjustParameter& p) { return std::string(1, char(std::toupper(p.Name[0]))); };
    auto range = [](const pictor::TAdjustParameter& p) { return std::to_string(p.Min) + ".." + std::to_string(p.Max); };
    auto sameRange = [](const pictor::TAdjustParameter& a, const pictor::TAdjustParameter& b) {
        return a.Min == b.Min && a.Max == b.Max;
    };
    std::string help;
    for (const auto& p : parameters) help += (help.empty() ? "" : ",") + initial(p);
    help += ":";
    if (parameters.size() > 1 && std::all_of(parameters.begin(), parameters.end(),
                                             [&](const auto& p) { return sameRange(p, parameters[0]); }))
        return help + " each " + range(parameters[0]);
    for (size_t i = 0; i < parameters.size();) {
        size_t end = i + 1;
        while (end < parameters.size() && sameRange(parameters[end], parameters[i])) ++end;
        help += i == 0 ? " " : ", ";
        for (size_t k = i; k < end; ++k)
            help += (k == i ? "" : k + 1 == end ? " and " : ", ") + initial(parameters[k]);
        help += " " + range(parameters[i]);
        i = end;
    }
    return help;
}

void AddPagesOptions(CLI::App& command, TPagesRequest& r)
{
    command.add_option("PAGE", r.Pages, "The HTML page; several pages are opened together as a site");
    command.add_option("--site", r.Site, "Every .htm, .html and .shtml page below DIR, as one site")
        ->type_name("DIR")
        ->check([](const std::string& folder) { return folder.empty() ? "--site needs a folder" : ""; });
}

void AddAdjustOptions(CLI::App& adjust, TAdjustRequest& r)
{
    AddPagesOptions(adjust, r);
    auto addParameters = [&](const std::string& name, pictor::TAdjustKind kind) {
        return adjust.add_option("--" + name, r.Values, ParameterHelp(kind))
            ->delimiter(',')
            ->expected(int(pictor::AdjustParameters(kind).size()))
            ->allow_extra_args(false);
    };
    auto* hueSat = addParameters("hue-sat", pictor::akHueSat);
    auto* bright = addParameters("bright-contrast", pictor::akBrightContrast);
    auto* balance = addParameters("balance", pictor::akColorBalance);
    auto* invert = adjust.add_flag("--invert", r.Invert, "Invert the tones");
    auto* newColor = adjust.add_option("--new-color", r.NewColor, "Give every selected occurrence this colour");
    auto* dark = adjust.add_flag("--dark", r.Dark,
                                 "A dark theme: oklch lightness mirrored between the two ends, hue and chroma kept; "
                                 "text/background pairs keep their WCAG level");
    for (auto* o : {hueSat, bright, balance, invert, newColor, dark})
        for (auto* other : {hueSat, bright, balance, invert, newColor, dark})
            if (o != other) o->excludes(other);
    hueSat->group("ADJUSTMENT (exactly one)");
    bright->group("ADJUSTMENT (exactly one)");
    balance->group("ADJUSTMENT (exactly one)");
    invert->group("ADJUSTMENT (exactly one)");
    newColor->group("ADJUSTMENT (exactly one)");
    dark->group("ADJUSTMENT (exactly one)");
    adjust.add_option("--dark-end", r.DarkEnd, "With --dark: the oklch lightness (percent) white becomes")
        ->check(CLI::Range(0, 100))->default_val(18)->needs(dark)->group("DARK THEME");
    adjust.add_option("--light-end", r.LightEnd, "With --dark: the oklch lightness (percent) black becomes")
        ->check(CLI::Range(0, 100))->default_val(93)->needs(dark)->group("DARK THEME");
    adjust.add_flag("--dark-photos", r.DarkPhotos,
                    "With --dark: darken photographs too (else only flat-colour pictures: few colours or transparency)")
        ->needs(dark)->group("DARK THEME");
    adjust.add_flag("--follow-system", r.FollowSystem,
                    "With --dark: rewrite no colour; add the dark ones in @media (prefers-color-scheme: dark) blocks, "
                    "so that the page follows the reader's setting")
        ->needs(dark)->group("DARK THEME");

    // One value per --color or --picture: what follows is a page again.
    auto* colors = adjust.add_option("--color", r.Colors, "Only colour occurrences of this value take part")
                       ->allow_extra_args(false)
                       ->group("SELECTION");
    auto* noColors = adjust.add_flag("--no-colors", r.NoColors, "No colour occurrence takes part")->group("SELECTION");
    auto* pictures = adjust.add_option("--picture", r.Pictures, "Only this picture takes part: its reference as written, or its path")
                         ->allow_extra_args(false)
                         ->group("SELECTION");
    auto* noPictures = adjust.add_flag("--no-pictures", r.NoPictures, "No picture takes part")->group("SELECTION");
    colors->excludes(noColors);
    pictures->excludes(noPictures);

    auto* inPlace = adjust.add_flag("--in-place", r.InPlace, "Save over the page, its sheets and its pictures, all or nothing")
                        ->group("OUTPUT (default: a dry run)");
    auto* out = adjust.add_option("--out", r.OutFolder, "Save every file of the document below DIR, all or nothing")
                    ->group("OUTPUT (default: a dry run)")
                    ->check([](const std::string& folder) { return folder.empty() ? "--out needs a folder" : ""; });
    auto* force = adjust.add_flag("--force", r.Force, "With --out: overwrite existing files (never one whose owner or group could not be kept)")
                      ->group("OUTPUT (default: a dry run)")->needs(out);
    auto* skip = adjust.add_flag("--skip-existing", r.SkipExisting, "With --out: leave existing files alone")
                     ->group("OUTPUT (default: a dry run)")->needs(out);
    inPlace->excludes(out);
    force->excludes(skip);

    adjust.add_flag("--lowercase", r.LowerCase, "Colour codes in lower case");
    adjust.add_option("--jpeg-quality", r.JpegQuality, "JPEG quality")->check(CLI::Range(1, 100))->default_val(80);
    adjust.add_option("--jpeg-sampling", r.JpegSampling, "JPEG chroma sampling")
        ->check(CLI::IsMember({444, 411}))->default_val(444);
    adjust.add_flag("--jpeg-to-bmp", r.JpegToBmp, "Write JPEG pictures as bitmaps");
    adjust.add_flag("--gif-to-bmp", r.GifToBmp, "Write GIF pictures as bitmaps");
    adjust.add_flag("--json", r.Json, "Print the document after the change as JSON");
    adjust.add_option("--min-contrast", r.MinContrast,
                      "Refuse a change that takes the contrast of a text colour and its background below this "
                      "(exit status 3, nothing written)")
        ->check(CLI::Range(1.0, 21.0));

    adjust.callback([&r, hueSat, bright, balance, invert, newColor, dark] {
        if (*hueSat) r.Kind = "hue-sat";
        else if (*bright) r.Kind = "bright-contrast";
        else if (*balance) r.Kind = "balance";
        else if (*invert) r.Kind = "invert";
        else if (*newColor) r.Kind = "new-color";
        else if (*dark) r.Kind = "dark";
        else throw CLI::ValidationError("ADJUSTMENT", "give exactly one of --hue-sat, --bright-contrast, --balance, "
                                                     "--invert, --new-color, --dark");
    });
}

void MakeAbsolute(TPagesRequest& r)
{
    if (r.Pages.empty() && r.Site.empty()) throw TUsageError{"give a PAGE or --site DIR"};
    for (std::string& page : r.Pages) page = Absolute(page);
    if (!r.Site.empty()) r.Site = Absolute(r.Site);
}

// Files were saved, and the report of it could not be written.
constexpr int ReportLostStatus = 4;

constexpr const char* ExitStatusHelp =
    "Exit status: 0 done; 1 failed; 2 usage error; 3 --min-contrast refused the change (nothing written); "
    "4 the files were saved but the report could not be written.";

// recover finishes or undoes saves: what it did is done whatever becomes of its report.
TCommandEnd Run(CLI::App* listCommand, TListRequest& list, CLI::App* recoverCommand, const std::string& recoverFolder,
                TAdjustRequest& adjust)
{
    if (*recoverCommand) return {RunRecover(Absolute(recoverFolder)), true};
    if (*listCommand) {
        MakeAbsolute(list);
        return RunList(list);
    }
    MakeAbsolute(adjust);
    if (!adjust.OutFolder.empty()) adjust.OutFolder = Absolute(adjust.OutFolder);
    return RunAdjust(adjust);
}

// The exit status once the output is written, which must have arrived: a full disk is a failure. A
// reader that stopped reading (`| head`) has had enough: the run ends silently, as if by the SIGPIPE
// that a write would have raised, or with its own status when it saved files.
int Conclude(const TCommandEnd& end, int outputError)
{
    if (outputError == 0) return end.Status;
    if (outputError == EPIPE) {
        if (end.Saved) return end.Status;
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
        return 128 + SIGPIPE;
    }
    const std::string why = pictor::SystemErrorText(outputError);
    if (end.Saved) {
        std::cerr << "pictor-cli: saved; the report could not be written: " << why << "\n";
        return ReportLostStatus;
    }
    std::cerr << "pictor-cli: cannot write the output: " << why << "\n";
    return 1;
}

TCommandEnd ParseAndRun(int argc, char** argv)
{
    CLI::App app{"pictor-cli: recolour a web site stored on disk", "pictor-cli"};
    app.set_version_flag("--version", std::string("pictor-cli ") + PICTOR_VERSION);
    app.require_subcommand(1);

    TListRequest list;
    auto* listCommand = app.add_subcommand("list", "List every colour occurrence and picture of a page");
    AddPagesOptions(*listCommand, list);
    listCommand->add_flag("--json", list.Json, "Print JSON");

    TAdjustRequest adjust;
    auto* adjustCommand = app.add_subcommand("adjust", "Adjust the colours of a page, its sheets and pictures");
    AddAdjustOptions(*adjustCommand, adjust);

    std::string recoverFolder;
    auto* recoverCommand = app.add_subcommand(
        "recover", "Finish or undo a save cut short by a crash or a kill (list and adjust do so by themselves)");
    recoverCommand->add_option("DIR", recoverFolder, "The site's folder: its journals, and those below and above it")
        ->required();
    for (CLI::App* help : {&app, listCommand, adjustCommand, recoverCommand}) help->footer(ExitStatusHelp);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return {app.exit(e)};
    } catch (const CLI::CallForAllHelp& e) {
        return {app.exit(e)};
    } catch (const CLI::CallForVersion& e) {
        return {app.exit(e)};
    } catch (const CLI::ParseError& e) {
        std::cerr << "pictor-cli: " << e.what() << "\n";
        return {2};
    }

    try {
        return Run(listCommand, list, recoverCommand, recoverFolder, adjust);
    } catch (const TUsageError& e) {
        std::cerr << "pictor-cli: " << pictor::EscapeControlBytes(e.Message) << "\n";
        return {2};
    } catch (const std::exception& e) {
        std::cerr << "pictor-cli: " << pictor::EscapeControlBytes(e.what()) << "\n";
        return {1};
    }
}

} // namespace

int main(int argc, char** argv)
{
    pictor::RemoveLeftoversOnInterrupt("pictor-cli");
    std::signal(SIGPIPE, SIG_IGN);  // a reader gone shows as a failed write: see Conclude
    pictor::KeepFreedMemoryForReuse();
    TStandardOutput output;
    const TCommandEnd end = ParseAndRun(argc, argv);
    return Conclude(end, output.Finish());
}

#include "document/LoadedFiles.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"
#include "base/WorkPool.h"
#include "document/ChannelVariables.h"
#include "document/ColorPairs.h"
#include "document/DocumentText.h"
#include "document/Paths.h"
#include "document/StyleScanner.h"
#include "document/SvgDataUrl.h"
#include "encoding/TextNormalizer.h"
#include "picture/PictureIO.h"

#include <cerrno>

#include <sys/stat.h>

namespace pictor {

namespace {

// A picture that is not there, or that cannot be decoded, does not stop the load. A device, FIFO or
// socket in its place still does: it is no picture file at all. What cannot even be looked at, and a
// folder, count as not there: there is no file to carry along when the site is saved elsewhere.
TReadPicture ReadPictureIfThere(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return {{}, TPicState::Missing, errno == ENOENT || errno == ENOTDIR ? std::string() : SystemErrorText(errno)};
    if (S_ISDIR(st.st_mode)) return {{}, TPicState::Missing, SystemErrorText(EISDIR)};
    try {
        return {ReadPicture(path), TPicState::Ok, {}};
    } catch (const TPictorError& e) {
        if (!S_ISREG(st.st_mode)) throw;
        return {{}, TPicState::Unreadable, e.Reason};
    }
}

// Collects a walk's "@import" targets and nothing else.
class TImportsOnly : public TScanEvents {
public:
    explicit TImportsOnly(std::vector<std::string>& targets) : Targets_(targets) {}
    void ColorFound(size_t, size_t, TColorForm, int, const TColorPlace&) override {}
    void ImportFound(std::string_view target, bool) override { Targets_.emplace_back(target); }

private:
    std::vector<std::string>& Targets_;
};

// A sheet's import targets as file names, in its own order. The sheet is searched in the encoding its
// reading gave it, so that a name resolves to the file the sheet means; a sheet with a UTF-16 mark, which
// reading leaves as it is and the walk skips, is searched in its normalised form.
std::vector<std::string> ImportNames(const TElements& sheet, const TFileScan& scan)
{
    std::vector<std::string> targets = scan.Imports;
    bool utf8 = sheet.WalksAsUtf8();
    if (sheet.Text.starts_with("\xFF\xFE") || sheet.Text.starts_with("\xFE\xFF")) {
        std::string normalised = sheet.Text;
        if (const TCharCode code = NormalizeText(normalised); code == ccUtf16LE || code == ccUtf16BE) {
            utf8 = false;
            TImportsOnly imports(targets);
            WalkStyleSheet(normalised, utf8, imports);
        }
    }
    std::vector<std::string> names;
    for (const std::string& target : targets) names.push_back(ReferenceToFileName(target, utf8));
    return names;
}

// The data: URL picture whose colours were read last, decoded: its colours stand side by side.
struct TDecodedPicture {
    std::string Text;
    std::uint32_t Of = 0;
};

TColorRecord ColorRecordOf(const TElements& file, const TFileScan& scan, const TColorFound& found, TDecodedPicture& picture)
{
    TColorRecord record;
    std::string_view source = file.Text;
    if (found.Embed == 0) {
        record.OrgText = OccurrenceText(file.Text, found, file.WalksAsUtf8());
    } else {
        record.Embed = scan.Embeds.at(found.Embed - 1);
        if (found.Embed != picture.Of) {
            picture.Text = DecodeEmbedded(std::string_view(file.Text).substr(record.Embed.Pos, record.Embed.Length),
                                          record.Embed.Kind);
            picture.Of = found.Embed;
        }
        record.OrgText = OccurrenceText(picture.Text, found, true);
        source = picture.Text;
    }
    // A text a browser drops is listed with the value it reads as (black where it reads as none) and
    // left alone; it never stops the load.
    record.Rejected = found.Form != TColorForm::Attribute && BrowserDrops(source, found);
    try {
        TColorValue value = found.Form == TColorForm::Space ? ReadSpaceColorText(record.OrgText)
                                                            : ReadColorText(record.OrgText);
        record.Color = record.OrgColor = value.Color;
        record.AlphaForm = value.AlphaForm;
        record.Alpha = std::move(value.Alpha);
    } catch (const TPictorError&) {
        record.Rejected = true;
    }
    record.Text = record.OrgText;
    record.SourcePos = found.Pos;
    record.Ignored = record.Rejected || (found.Form == TColorForm::Attribute && IsIgnoredColorAttribute(record.OrgText));
    record.Checked = !record.Ignored;
    return record;
}

} // namespace

template <class T, class TLoad>
const T& TLoadedFiles::Once(std::unordered_map<std::string, std::unique_ptr<TEntry<T>>>& entries,
                            const std::string& key, TLoad&& load)
{
    TEntry<T>* entry = nullptr;
    {
        const std::lock_guard lock(Mutex_);
        auto& slot = entries[key];
        if (!slot) {
            slot = std::make_unique<TEntry<T>>();
            ++Found_;
        }
        entry = slot.get();
    }
    // Loaded outside the lock: other files go on loading meanwhile, and a sheet asks for its pictures.
    std::call_once(entry->Once, [&] {
        try {
            Report();
            entry->Value = load();
            ++Read_;
            Report();
        } catch (...) {
            entry->Error = std::current_exception();
        }
    });
    if (entry->Error) std::rethrow_exception(entry->Error);
    return entry->Value;
}

const TLoadedFiles::TSheet& TLoadedFiles::Sheet(const std::string& path, std::string_view linkCharset)
{
    return Once(Sheets_, FileIdentity(path), [&] {
        TSheet sheet{std::make_shared<TElements>(), {}, {}};
        TElements& file = *sheet.Elements;
        ReadTextFile(path, file, false, linkCharset);
        file.IsSvg = NamesSvgFile(path);
        TFileScan scan = ScanFile(file, false, Pool_);
        if (!file.IsSvg) sheet.ImportNames = ImportNames(file, scan);
        BuildFileRecords(file, scan, path, *this);
        for (const std::string& ref : scan.SvgRefs)
            sheet.SvgPaths.push_back(ResolvePath(FolderOf(path), ReferenceToFileName(ref, file.WalksAsUtf8())));
        RewriteText(file);
        return sheet;
    });
}

TReadPicture TLoadedFiles::Picture(const std::string& path)
{
    return Once(Pictures_, FileIdentity(path), [&] { return ReadPictureIfThere(path); });
}

void TLoadedFiles::ReadPictures(const std::vector<std::string>& paths)
{
    if (!Pool_ || paths.size() < 2) return;
    Pool_->ForEach(paths.size(), [&](std::size_t i) {
        try {
            Picture(paths[i]);
        } catch (const TPictorError&) {
        }
    });
}

void TLoadedFiles::Report() const
{
    if (Progress_) Progress_(Read_, Found_);
}

void BuildFileRecords(TElements& file, TFileScan& scan, const std::string& path, TLoadedFiles& files)
{
    // Room for the colours channel variables may add, so that adding them copies nothing.
    file.Colors.clear();
    file.Colors.reserve(scan.Colors.size() + ChannelColorsAtMost(scan.Channels));
    file.Colors.resize(scan.Colors.size());
    // Each record is read by itself: a long sheet's are read in parts side by side.
    constexpr std::size_t PartFrom = 4096;
    const std::size_t count = scan.Colors.size();
    const std::size_t parts = files.Pool() && count >= PartFrom ? std::size_t(files.Pool()->Size()) : 1;
    const auto readPart = [&](std::size_t part) {
        TDecodedPicture picture;
        for (std::size_t k = count * part / parts; k < count * (part + 1) / parts; ++k)
            file.Colors[k] = ColorRecordOf(file, scan, scan.Colors[k], picture);
    };
    if (parts > 1) files.Pool()->ForEach(parts, readPart);
    else readPart(0);
    file.Pairs = PairPlacedColors(scan.Placed);
    file.Channels = std::move(scan.Channels);
    file.Pics.clear();
    std::vector<std::string> paths;
    for (const std::string& ref : scan.Pics) {
        paths.push_back(ResolvePath(FolderOf(path), ReferenceToFileName(ref, file.WalksAsUtf8())));
        if (paths.back().empty()) throw TPictorError(path, "cannot resolve the picture \"" + ref + "\"");
    }
    files.ReadPictures(paths);
    for (size_t i = 0; i < paths.size(); ++i) {
        TPicRecord pic;
        pic.RefText = scan.Pics[i];
        pic.FullPath = std::move(paths[i]);
        const TReadPicture read = files.Picture(pic.FullPath);
        pic.State = read.State;
        pic.Reason = read.Reason;
        pic.Checked = pic.Tickable();
        pic.Bitmap = read.Bitmap;
        pic.Loaded = pic.Bitmap;
        pic.SourcePath = pic.FullPath;
        file.Pics.push_back(std::move(pic));
    }
}

} // namespace pictor

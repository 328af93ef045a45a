#include "document/SaveDocument.h"

#include "document/DocumentText.h"
#include "base/FileIO.h"
#include "document/Options.h"
#include "document/Paths.h"
#include "picture/PictureIO.h"

namespace pictor {

namespace {

void WriteText(const TElements& file, const std::string& path)
{
    WriteFileAtomic(path, EncodeForFile(file, file.NewText));
}

bool ChangesFormat(const std::string& path)
{
    const TPictureFormat format = PictureFormatOf(path);
    return (format == TPictureFormat::Jpeg && Options().JpegToBmp) ||
           (format == TPictureFormat::Gif && Options().GifToBmp);
}

// Save as: the overwrite rules, with the answer that governs the files after this one.
class TSaveAsRun {
public:
    TSaveAsRun(THtmlStructure& document, std::string folder, bool use444, const TOverwriteQuestion& ask)
        : Doc_(document), Folder_(std::move(folder)), Use444_(use444), Ask_(ask)
    {
        if (!Folder_.ends_with('/')) Folder_ += '/';
    }

    bool Run()
    {
        Doc_.FileName = NewPath(Doc_.WorkFileName);
        if (!Write(Doc_.FileName, [&] { WriteText(Doc_.Page, Doc_.FileName); })) return false;
        if (!WritePictures(Doc_.Page)) return false;
        for (int i = 0; i < Doc_.SheetCount; ++i) {
            Doc_.SetSheetFile(i, NewPath(Doc_.GetSheetWorkFile(i)));
            if (!Write(Doc_.GetSheetFile(i), [&] { WriteText(Doc_.GetSheet(i), Doc_.GetSheetFile(i)); })) return false;
            if (!WritePictures(Doc_.GetSheet(i))) return false;
        }
        return true;
    }

private:
    std::string NewPath(const std::string& workPath) const { return Folder_ + workPath.substr(Doc_.WorkFolder.size()); }

    bool WritePictures(TElements& file)
    {
        for (TPicRecord& pic : file.Pics) {
            pic.FullPath = NewPath(pic.WorkPath);
            if (pic.Checked && !Write(pic.FullPath, [&] { SavePicture(pic, pic.FullPath, Use444_); })) return false;
        }
        return true;
    }

    // false: cancelled.
    template <class TWrite> bool Write(const std::string& path, TWrite write)
    {
        if (FileExists(path)) {
            TOverwriteAnswer answer = Answer_;
            if (answer == TOverwriteAnswer::Yes || answer == TOverwriteAnswer::No) answer = Ask_(path);
            if (answer == TOverwriteAnswer::Cancel) return false;
            Answer_ = answer;
            if (answer == TOverwriteAnswer::No || answer == TOverwriteAnswer::NoToAll) return true;
        } else {
            CreateFolders(FolderOf(path));
        }
        write();
        return true;
    }

    THtmlStructure& Doc_;
    std::string Folder_;
    bool Use444_;
    const TOverwriteQuestion& Ask_;
    TOverwriteAnswer Answer_ = TOverwriteAnswer::Yes;
};

} // namespace

void SavePicture(TPicRecord& picture, const std::string& path, bool use444)
{
    const bool unchanged =
        picture.Bitmap.SharesPixelsWith(picture.Loaded) || picture.Bitmap.SamePixels(picture.Loaded);
    if (unchanged && !ChangesFormat(path) && !picture.SourcePath.empty()) {
        if (path != picture.SourcePath) WriteFileAtomic(path, ReadFileBytes(picture.SourcePath));
        return;
    }
    if (WritePictureForSave(path, use444, picture.Bitmap) == path) {
        picture.Loaded = picture.Bitmap;
        picture.SourcePath = path;
    }
}

void SaveDocument(THtmlStructure& document, bool use444)
{
    for (int tab = 0; tab < document.FileCount(); ++tab) {
        TElements& file = document.Elements(tab);
        WriteText(file, document.FilePath(tab));
        for (TPicRecord& pic : file.Pics)
            if (pic.Checked) SavePicture(pic, pic.FullPath, use444);
    }
}

bool SaveDocumentAs(THtmlStructure& document, const std::string& folder, bool use444, const TOverwriteQuestion& ask)
{
    document.RememberPaths();
    bool done = false;
    try {
        done = TSaveAsRun(document, folder, use444, ask).Run();
    } catch (...) {
        document.RestorePaths();
        throw;
    }
    if (!done) document.RestorePaths();
    return done;
}

} // namespace pictor

#include "document/WorkingCopies.h"

#include "base/FileIO.h"
#include "document/Paths.h"
#include "picture/PictureIO.h"

namespace pictor {

namespace {

class TWorkFolderCopies : public IWorkingCopies {
public:
    explicit TWorkFolderCopies(std::string folder) : Folder_(std::move(folder))
    {
        if (!Folder_.empty() && !Folder_.ends_with('/')) Folder_ += '/';
    }
    const std::string& Folder() const override { return Folder_; }
    void CreateFolders(const std::string& folder) override { pictor::CreateFolders(folder); }
    void CopyFile(const std::string& source, const std::string& copy) override { CopyToWork(source, copy); }
    void WriteText(const std::string& copy, std::string_view bytes) override { WriteWorkingCopy(copy, bytes); }
    void WritePicture(const std::string& copy, const TBitmapEx& bitmap, int jpegQuality, TWorkPool* pool) override
    {
        WritePictureWorkCopy(copy, bitmap, jpegQuality, pool);
    }

private:
    std::string Folder_;
};

class TNoWorkingCopies : public IWorkingCopies {
public:
    const std::string& Folder() const override { return Folder_; }
    void CreateFolders(const std::string&) override {}
    void CopyFile(const std::string&, const std::string&) override {}
    void WriteText(const std::string&, std::string_view) override {}
    void WritePicture(const std::string&, const TBitmapEx&, int, TWorkPool*) override {}

private:
    const std::string Folder_ = "/nonexistent-working-copies/";
};

} // namespace

std::unique_ptr<IWorkingCopies> WorkFolderCopies(std::string folder)
{
    return std::make_unique<TWorkFolderCopies>(std::move(folder));
}

std::unique_ptr<IWorkingCopies> NoWorkingCopies() { return std::make_unique<TNoWorkingCopies>(); }

} // namespace pictor

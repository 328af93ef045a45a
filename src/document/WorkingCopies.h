#pragma once
#include "picture/BitmapEx.h"

#include <memory>
#include <string>
#include <string_view>

namespace pictor {

// Where a document's working copies go: the window shows them in its preview, while pictor-cli and
// tests that look only at the records write none. Paths name the copies below Folder().
class IWorkingCopies {
public:
    virtual ~IWorkingCopies() = default;
    // With a trailing "/".
    virtual const std::string& Folder() const = 0;
    virtual void CreateFolders(const std::string& folder) = 0;
    // The picture's file as it is, the copy of these pixels until they change.
    virtual void CopyPicture(const std::string& source, const std::string& copy, const TBitmapEx& bitmap) = 0;
    virtual void WriteText(const std::string& copy, std::string_view bytes) = 0;
    // Written for the preview's speed (WritePictureWorkCopy); a large PNG's rows on pool.
    virtual void WritePicture(const std::string& copy, const TBitmapEx& bitmap, TWorkPool* pool) = 0;
};

// The copies in a folder on disk (a TWorkSession's); an empty folder for a document that is never loaded.
std::unique_ptr<IWorkingCopies> WorkFolderCopies(std::string folder = {});
// Writes nothing: the copies' paths lie below a folder that is never made.
std::unique_ptr<IWorkingCopies> NoWorkingCopies();

} // namespace pictor

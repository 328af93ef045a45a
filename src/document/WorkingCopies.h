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
    virtual void CopyFile(const std::string& source, const std::string& copy) = 0;
    virtual void WriteText(const std::string& copy, std::string_view bytes) = 0;
    // In the format of the copy's ending; JPEG at jpegQuality (the setting as stored).
    virtual void WritePicture(const std::string& copy, const TBitmapEx& bitmap, int jpegQuality, TWorkPool* pool) = 0;
};

// The copies in a folder on disk (a TWorkSession's); an empty folder for a document that is never loaded.
std::unique_ptr<IWorkingCopies> WorkFolderCopies(std::string folder = {});
// Writes nothing: the copies' paths lie below a folder that is never made.
std::unique_ptr<IWorkingCopies> NoWorkingCopies();

} // namespace pictor

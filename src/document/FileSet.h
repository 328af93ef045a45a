#pragma once
#include "document/WorkingCopies.h"

#include <string>

namespace pictor {

struct TElements;

// The files a change and a save work on, each once: a page with its sheets, or every file of a site.
class IFileSet {
public:
    virtual ~IFileSet() = default;
    virtual int FileCount() const = 0;
    virtual TElements& Elements(int file) = 0;
    virtual const TElements& Elements(int file) const = 0;
    virtual const std::string& FilePath(int file) const = 0;
    virtual bool IsPage(int file) const = 0;
    virtual void SetFilePath(int file, const std::string& path) = 0;
    // What a save below another folder keeps: each file's layout path lies below LayoutFolder() as the
    // file lies below the common folder of them all; a picture's is its WorkPath.
    virtual const std::string& LayoutFolder() const = 0;
    virtual const std::string& LayoutPath(int file) const = 0;
    virtual IWorkingCopies& WorkingCopies() = 0;
};

} // namespace pictor

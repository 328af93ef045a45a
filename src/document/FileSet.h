#pragma once
#include "document/Elements.h"
#include "document/WorkingCopies.h"

#include <string>

namespace pictor {

// The files a change and a save work on, each once: a page with its sheets, or every file of a site.
class IFileSet {
public:
    virtual ~IFileSet() = default;
    virtual int FileCount() const = 0;
    virtual TElements& Elements(int file) = 0;
    virtual const TElements& Elements(int file) const = 0;
    virtual bool IsPage(int file) const = 0;
    // What a save below another folder keeps: each file's WorkPath, and each picture's, lies below
    // LayoutFolder() as the file lies below the common folder of them all.
    virtual const std::string& LayoutFolder() const = 0;
    const std::string& FilePath(int file) const { return Elements(file).Path; }
    virtual IWorkingCopies& WorkingCopies() = 0;
};

// Every colour record of every file of an IFileSet, const or not, in file order.
template <class TDocument, class TFn> void ForEachColor(TDocument& document, TFn&& fn)
{
    for (int tab = 0; tab < document.FileCount(); ++tab)
        for (auto& record : document.Elements(tab).Colors) fn(record);
}

// Every picture record of every file, in file order.
template <class TDocument, class TFn> void ForEachPicture(TDocument& document, TFn&& fn)
{
    for (int tab = 0; tab < document.FileCount(); ++tab)
        for (auto& picture : document.Elements(tab).Pics) fn(picture);
}

} // namespace pictor

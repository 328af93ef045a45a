#pragma once
#include "adjust/Adjustment.h"
#include "document/HtmlStructure.h"
#include "support/TempDir.h"

#include <string>
#include <vector>

namespace pictor::test {

// Small pictures made on the spot: a w x h picture of one colour in the format of the name's ending.
std::string PictureBytes(const std::string& name, int width, int height, int r, int g, int b);

// The link to s.css that a page of OpenPage starts with when it has a sheet.
inline const std::string SheetLink = "<link rel=\"stylesheet\" href=\"s.css\">";

// A folder with a site in it, and a separate working folder for the document.
struct TSite {
    TTempDir Root;
    TTempDir Work;
    std::string Add(const std::string& relative, const std::string& bytes) const { return Root.Write(relative, bytes); }
    std::string AddPicture(const std::string& relative, int w = 4, int h = 3, int r = 200, int g = 100, int b = 50) const
    {
        return Root.Write(relative, PictureBytes(relative, w, h, r, g, b));
    }
    std::string WorkFolder() const { return Work.Path().string() + "/"; }
    THtmlStructure Open(const std::string& page) const
    {
        THtmlStructure doc(WorkFolder());
        doc.LoadFromFile(Root / page);
        return doc;
    }
    // p.html holding html, after SheetLink when there is a sheet, and s.css holding the sheet; opened.
    THtmlStructure OpenPage(const std::string& html, const std::string& sheet = {}) const
    {
        Add("p.html", (sheet.empty() ? "" : SheetLink) + html);
        if (!sheet.empty()) Add("s.css", sheet);
        return Open("p.html");
    }
};

// A page of this text, scanned and given its records, with no file behind it (/p.html).
THtmlStructure ScannedPage(const std::string& html, TCharCode code = ccSjis);

// One step of the user's: the adjustment on what is ticked, written to the working copies, recorded for undo.
inline void Change(THtmlStructure& doc, const TAdjustment& adjustment)
{
    ApplyToTicked(doc, adjustment, {});
    doc.CommitChange();
}

// Every colour occurrence's current text, in order.
inline std::vector<std::string> Texts(const TElements& file)
{
    std::vector<std::string> out;
    for (const auto& c : file.Colors) out.push_back(c.Text);
    return out;
}

} // namespace pictor::test

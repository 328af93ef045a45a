#include "support/SiteBuilder.h"

#include "document/DocumentText.h"
#include "document/LoadedFiles.h"
#include "picture/PictureSamples.h"

namespace pictor::test {

std::string PictureBytes(const std::string& name, int width, int height, int r, int g, int b)
{
    TBitmapEx bitmap = Solid(width, height, r, g, b);
    switch (PictureFormatOf(name)) {
    case TPictureFormat::Jpeg: return EncodeJpeg(bitmap, 95, true, name);
    case TPictureFormat::Png: return EncodePng(bitmap, name);
    case TPictureFormat::Gif: return EncodeGif(bitmap, name);
    case TPictureFormat::Webp: {
        TPictureExtras lossless;
        lossless.WebpLossless = true;
        bitmap.SetExtras(lossless);
        return EncodeWebp(bitmap, name);
    }
    default: return EncodeBmp(bitmap);
    }
}

THtmlStructure ScannedPage(const std::string& html, TCharCode code)
{
    THtmlStructure document;
    document.Page.Path = "/p.html";
    document.Page.Text = html;
    document.Page.CharCode = code;
    TLoadedFiles files;
    TFileScan scan = ScanFile(document.Page, true);
    BuildFileRecords(document.Page, scan, document.Page.Path, files);
    return document;
}

} // namespace pictor::test

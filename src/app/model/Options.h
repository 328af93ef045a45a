#pragma once
#include "adjust/PreviewView.h"
#include "document/DocumentOptions.h"
#include "picture/PictureIO.h"
#include "replace/ReplaceTable.h"

#include <string>
#include <vector>

namespace pictor {

// The option values, named by their settings keys, with their defaults. The window owns one set and
// passes what each part needs.
struct TOptions {
    int TabPosition = 3;  // 0 top, 1 right, 2 bottom, 3 left
    bool ShowHint = true;
    int HintPauseTime = 500;
    int HintViewBytes = 400;
#ifdef _WIN32
    std::string EditorPath = "notepad.exe";
#else
    std::string EditorPath = "xdg-open";
#endif
    bool LimitMaxResolution = false;
    int PreviewMaxHeight = 1000;
    int PreviewMaxWidth = 1000;
    int JpegSamplingRate = 1;  // 0 = 4:1:1 (the encoder's default), 1 = 4:4:4
    int JpegCompressionQuality = 80;
    bool JpegToBmp = false;
    bool GifToBmp = false;
    bool SaveWithLowerCase = false;
    bool UseWebSafeColor = false;
    bool UseReplacer = false;
    int HighScore = 0;
    std::vector<std::string> ReplaceKeys;
    std::vector<std::string> ReplaceValues;
};

// What the document and the picture writer read from the option values; their parallel work runs on pool.
TDocumentOptions DocumentOptionsOf(const TOptions& options, TWorkPool& pool);
TPictureSaveOptions PictureSaveOptionsOf(const TOptions& options, TWorkPool& pool);
TSnapshotLimit SnapshotLimitOf(const TOptions& options);

TReplaceTable ReplaceTableOf(const TOptions& options);
// Replaces the table and the flag in options.
void StoreReplaceTable(TOptions& options, const TReplaceTable& table, bool useReplacer);

} // namespace pictor

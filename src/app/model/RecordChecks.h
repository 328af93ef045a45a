#pragma once
#include "app/model/ColorSource.h"
#include "base/Color.h"

#include <optional>
#include <string>
#include <unordered_map>

namespace pictor {

class IFileSet;

// Ticks colour row `row` of file `tab`. With `sameColour`, every colour record of every file whose
// Color equals that record's takes the same state.
void SetColorChecked(IFileSet& doc, int tab, int row, bool checked, bool sameColour);
// Every colour record of every file whose Color is `color`.
void SetCheckedByColor(IFileSet& doc, TColor color, bool checked);
// The first tickable colour record, in file order, whose Color is `color`.
std::optional<TRecordAt> FirstRecordOf(const IFileSet& doc, TColor color);
void SetPicChecked(IFileSet& doc, int tab, int row, bool checked);
// Every record of the picture file `path` (its full path) in every file.
void SetPictureFileChecked(IFileSet& doc, const std::string& path, bool checked);
// For a list that shows each colour value, or each picture file, once: whether some occurrence of it
// is ticked.
std::unordered_map<TColor, bool> CheckedColors(const IFileSet& doc);
std::unordered_map<std::string, bool> CheckedPictureFiles(const IFileSet& doc);
// Every colour and picture record of every file.
void CheckAll(IFileSet& doc);
void InvertChecks(IFileSet& doc);

} // namespace pictor

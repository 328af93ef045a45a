#pragma once
#include "app/model/ColorSource.h"
#include "base/Color.h"

#include <optional>

namespace pictor {

class THtmlStructure;

// Ticks colour row `row` of file tab `tab`. With `sameColour`, every colour record of every file whose
// Color equals that record's takes the same state.
void SetColorChecked(THtmlStructure& doc, int tab, int row, bool checked, bool sameColour);
// Every colour record of every file whose Color is `color`.
void SetCheckedByColor(THtmlStructure& doc, TColor color, bool checked);
// The first tickable colour record, in file order, whose Color is `color`.
std::optional<TRecordAt> FirstRecordOf(const THtmlStructure& doc, TColor color);
void SetPicChecked(THtmlStructure& doc, int tab, int row, bool checked);
// Every colour and picture record of every file.
void CheckAll(THtmlStructure& doc);
void InvertChecks(THtmlStructure& doc);

} // namespace pictor

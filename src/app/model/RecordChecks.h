#pragma once
#include "base/Color.h"

namespace pictor {

class THtmlStructure;

// Ticks colour row `row` of file tab `tab`. With `sameColour`, every colour record of every file whose
// Color equals that record's takes the same state.
void SetColorChecked(THtmlStructure& doc, int tab, int row, bool checked, bool sameColour);
// Every colour record of every file whose Color is `color`.
void SetCheckedByColor(THtmlStructure& doc, TColor color, bool checked);
void SetPicChecked(THtmlStructure& doc, int tab, int row, bool checked);
// Every colour and picture record of every file.
void CheckAll(THtmlStructure& doc);
void InvertChecks(THtmlStructure& doc);

} // namespace pictor

#pragma once
#include "adjust/ui/AdjustDialog.h"

// Hue, saturation and lightness shifts, with ".cch" presets.
class TfrmHue : public TAdjustDialog {
    Q_OBJECT
public:
    TfrmHue(QWidget* owner, IPageSnapshotSource& source, TProgressHooks progress, const TAdjustDialogSettings& settings);

    double Hue() const { return Result().Params[0]; }
    double Saturation() const { return Result().Params[1]; }
    double Lightness() const { return Result().Params[2]; }
};

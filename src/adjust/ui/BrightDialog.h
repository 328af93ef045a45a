#pragma once
#include "adjust/ui/AdjustDialog.h"

// Brightness and contrast, with two-line ".ccb" presets.
class TfrmBright : public TAdjustDialog {
    Q_OBJECT
public:
    TfrmBright(QWidget* owner, IPageSnapshotSource& source, TProgressHooks progress, const TAdjustDialogSettings& settings);

    int Brightness() const { return Result().Params[0]; }
    int Contrast() const { return Result().Params[1]; }
};

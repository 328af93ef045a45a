#pragma once
#include "adjust/ui/AdjustDialog.h"

// Red, green and blue shifts, with three-line ".ccb" presets; its text boxes take several lines.
class TfrmCV : public TAdjustDialog {
    Q_OBJECT
public:
    TfrmCV(QWidget* owner, IPageSnapshotSource& source, TProgressHooks progress, const TAdjustDialogSettings& settings);

    int Red() const { return Result().Params[0]; }
    int Green() const { return Result().Params[1]; }
    int Blue() const { return Result().Params[2]; }
};

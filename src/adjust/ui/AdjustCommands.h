#pragma once
#include "adjust/Adjustment.h"
#include "adjust/ui/AdjustDialogSettings.h"
#include "adjust/ui/PageSnapshotSource.h"
#include "adjust/ui/ProgressHooks.h"

#include <optional>

class QWidget;

// The dialog part of the hue/saturation, brightness/contrast and colour balance commands (kind akHueSat,
// akBrightContrast or akColorBalance): creates the kind's dialog over `owner`, which renders the page
// snapshot while the caller's progress window shows; hides the progress window; shows the dialog modally;
// and returns its parameters when it was accepted. The dialog is gone when this returns.
std::optional<pictor::TAdjustment> RunAdjustDialog(pictor::TAdjustKind kind, QWidget* owner,
                                                   IPageSnapshotSource& source, const TProgressHooks& progress,
                                                   const TAdjustDialogSettings& settings);

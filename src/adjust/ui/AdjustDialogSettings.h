#pragma once
#include "adjust/PreviewView.h"

#include <QString>

// What the user has set for the adjustment dialogs: where the preset file dialogs start, and how large
// the page snapshot may be.
struct TAdjustDialogSettings {
    QString PresetFolder;
    pictor::TSnapshotLimit SnapshotLimit;
};

#include "adjust/ui/AdjustCommands.h"

#include "adjust/ui/BrightDialog.h"
#include "adjust/ui/ColorBalanceDialog.h"
#include "adjust/ui/HueDialog.h"

#include <memory>
#include <stdexcept>

namespace {

std::unique_ptr<TAdjustDialog> MakeDialog(pictor::TAdjustKind kind, QWidget* owner, IPageSnapshotSource& source,
                                          const TProgressHooks& progress, const TAdjustDialogSettings& settings)
{
    switch (kind) {
    case pictor::akHueSat: return std::make_unique<TfrmHue>(owner, source, progress, settings);
    case pictor::akBrightContrast: return std::make_unique<TfrmBright>(owner, source, progress, settings);
    case pictor::akColorBalance: return std::make_unique<TfrmCV>(owner, source, progress, settings);
    default: throw std::logic_error("this adjustment has no dialog");
    }
}

} // namespace

std::optional<pictor::TAdjustment> RunAdjustDialog(pictor::TAdjustKind kind, QWidget* owner,
                                                   IPageSnapshotSource& source, const TProgressHooks& progress,
                                                   const TAdjustDialogSettings& settings)
{
    const auto dialog = MakeDialog(kind, owner, source, progress, settings);
    if (progress.Hide) progress.Hide();
    dialog->exec();
    if (!dialog->Accepted()) return std::nullopt;
    return dialog->Result();
}

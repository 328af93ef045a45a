#include "adjust/ui/AdjustCommands.h"

#include "adjust/ui/BrightDialog.h"
#include "adjust/ui/ColorBalanceDialog.h"
#include "adjust/ui/HueDialog.h"

#include <memory>
#include <stdexcept>

namespace {

std::unique_ptr<TAdjustDialog> MakeDialog(pictor::TAdjustKind kind, QWidget* owner, IPageSnapshotSource& source,
                                          const TProgressHooks& progress, const QString& presetFolder)
{
    switch (kind) {
    case pictor::akHueSat: return std::make_unique<TfrmHue>(owner, source, progress, presetFolder);
    case pictor::akBrightContrast: return std::make_unique<TfrmBright>(owner, source, progress, presetFolder);
    case pictor::akColorBalance: return std::make_unique<TfrmCV>(owner, source, progress, presetFolder);
    default: throw std::logic_error("this adjustment has no dialog");
    }
}

} // namespace

std::optional<pictor::TAdjustment> RunAdjustDialog(pictor::TAdjustKind kind, QWidget* owner,
                                                   IPageSnapshotSource& source, const TProgressHooks& progress,
                                                   const QString& presetFolder)
{
    const auto dialog = MakeDialog(kind, owner, source, progress, presetFolder);
    if (progress.Hide) progress.Hide();
    dialog->exec();
    if (!dialog->Accepted()) return std::nullopt;
    return dialog->Result();
}

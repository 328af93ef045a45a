// The adjustment commands of the "色調補正(&A)" menu.
#include "adjust/Adjustment.h"
#include "adjust/DarkScheme.h"
#include "adjust/ui/AdjustCommands.h"
#include "adjust/ui/DarkDialog.h"
#include "app/Browser.h"
#include "app/MainWindow.h"
#include "app/OpenDocument.h"
#include "app/FocusBack.h"
#include "app/ProgressWindow.h"
#include "app/model/Options.h"
#include "document/HtmlStructure.h"

#include <optional>

namespace {

// The dialogs' page snapshot, taken from the preview; the marked one from the page with every
// ticked colour and picture inverted for the while.
class TPreviewSnapshot : public IPageSnapshotSource {
public:
    TPreviewSnapshot(IBrowser& web, std::function<QImage(QSize)> renderMarked)
        : Web_(web), RenderMarked_(std::move(renderMarked))
    {
    }
    QSize PageSize() override { return Web_.PageExtent(); }
    QImage Render(QSize size) override { return Web_.RenderPage(size); }
    QImage RenderMarked(QSize size) override { return RenderMarked_(size); }

private:
    IBrowser& Web_;
    std::function<QImage(QSize)> RenderMarked_;
};

} // namespace

TProgressHooks TfrmMain::ProgressHooks()
{
    return {[this](const QString& message) { Progress_->ShowMessage(message); }, [this] { Progress_->hide(); }};
}

void TfrmMain::RunAdjustCommand(pictor::TAdjustKind kind)
{
    if (!Open_->IsReadable()) return;
    const TFocusBack back(*this);
    const TProgressHooks hooks = ProgressHooks();
    try {
        std::optional<pictor::TAdjustment> adjustment;
        {
            TProgressShown shown(hooks, "プレビューをレンダリング中...");
            Preview_->SaveScrollPosition();
            TPreviewSnapshot snapshot(Web(), [this](QSize size) { return RenderMarked(size); });
            adjustment = RunAdjustDialog(kind, this, snapshot, hooks, {OpenFolder_, pictor::SnapshotLimitOf(Options_)});
        }
        if (adjustment) ApplyChange([&](const pictor::TPictureProgress& progress) {
            pictor::ApplyToTicked(Open_->Edited(), *adjustment, pictor::DocumentOptionsOf(Options_, Pool_), progress);
        });
        else ReloadPreview();
    } catch (const std::exception& error) {
        ShowError(error);
    }
    Web().FillRegion();
}

QImage TfrmMain::RenderMarked(QSize size)
{
    const pictor::TDocumentOptions options = pictor::DocumentOptionsOf(Options_, Pool_);
    const auto showWorkingCopies = [this](const TWorkRunner::TJob& job) {
        RunWork("プレビューをレンダリング中...", false, job);
        Preview_->UpdateAndWait(Open_->Shown());
    };
    showWorkingCopies([&](const pictor::TPictureProgress& progress) {
        pictor::ApplyToTicked(Open_->Edited(), pictor::TAdjustment::Invert(), options, progress);
        Open_->Edited().WriteWorkingCopies(options);
    });
    const QImage marked = Web().RenderPage(size);
    showWorkingCopies([&](const pictor::TPictureProgress&) { Open_->Edited().RevertChange(options); });
    return marked;
}

void TfrmMain::alOpenfrmHueExecute() { RunAdjustCommand(pictor::akHueSat); }
void TfrmMain::alOpenfrmBrightExecute() { RunAdjustCommand(pictor::akBrightContrast); }
void TfrmMain::alOpenfrmCBExecute() { RunAdjustCommand(pictor::akColorBalance); }

void TfrmMain::alInverseExecute()
{
    if (!Open_->IsReadable()) return;
    ApplyChange([&](const pictor::TPictureProgress& progress) {
        pictor::ApplyToTicked(Open_->Edited(), pictor::TAdjustment::Invert(), pictor::DocumentOptionsOf(Options_, Pool_), progress);
    });
}

void TfrmMain::alDarkExecute()
{
    if (!Open_->IsReadable()) return;
    const TFocusBack back(*this);
    const auto choice = RunDarkDialog(this);
    if (!choice) return;
    const pictor::TDocumentOptions options = pictor::DocumentOptionsOf(Options_, Pool_);
    ApplyChange([&](const pictor::TPictureProgress& progress) {
        if (choice->FollowSystem) {
            pictor::FollowReaderScheme(Open_->Edited(), choice->Adjustment, options.LowerCase);
        } else {
            pictor::ApplyDarkColors(Open_->Edited(), choice->Adjustment, options.LowerCase);
            pictor::ApplyToTickedPictures(Open_->Edited(), choice->Adjustment, options, progress);
        }
    });
}

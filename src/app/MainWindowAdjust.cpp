// The adjustment commands of the "色調補正(&A)" menu.
#include "adjust/Adjustment.h"
#include "adjust/DarkScheme.h"
#include "adjust/ui/AdjustCommands.h"
#include "adjust/ui/DarkDialog.h"
#include "app/Browser.h"
#include "app/MainWindow.h"
#include "app/FocusBack.h"
#include "app/ProgressWindow.h"
#include "app/model/Options.h"
#include "document/HtmlStructure.h"

namespace {

// The dialogs' page snapshot, taken from the preview.
class TPreviewSnapshot : public IPageSnapshotSource {
public:
    explicit TPreviewSnapshot(IBrowser& web) : Web_(web) {}
    QSize PageSize() override { return Web_.PageExtent(); }
    QImage Render(QSize size) override { return Web_.RenderPage(size); }

private:
    IBrowser& Web_;
};

} // namespace

TProgressHooks TfrmMain::ProgressHooks()
{
    return {[this](const QString& message) { Progress_->ShowMessage(message); }, [this] { Progress_->hide(); }};
}

void TfrmMain::RunAdjustCommand(pictor::TAdjustKind kind)
{
    if (!HasDocument()) return;
    const TFocusBack back(*this);
    const TProgressHooks hooks = ProgressHooks();
    try {
        {
            TProgressShown shown(hooks, "プレビューをレンダリング中...");
            SaveScrollPosition();
            TPreviewSnapshot snapshot(Web());
            const auto adjustment = RunAdjustDialog(kind, this, snapshot, hooks, {OpenFolder_, pictor::SnapshotLimitOf(Options_)});
            if (adjustment) {
                TProgressShown working(hooks, "処理中...");
                pictor::ApplyToTicked(*Document_, *adjustment, pictor::DocumentOptionsOf(Options_, Pool_));
                CommitChange();
            }
        }
        ReloadPreview();
    } catch (const std::exception& error) {
        ShowError(error);
    }
    Web().FillRegion();
}

void TfrmMain::alOpenfrmHueExecute() { RunAdjustCommand(pictor::akHueSat); }
void TfrmMain::alOpenfrmBrightExecute() { RunAdjustCommand(pictor::akBrightContrast); }
void TfrmMain::alOpenfrmCBExecute() { RunAdjustCommand(pictor::akColorBalance); }

void TfrmMain::alInverseExecute()
{
    if (!HasDocument()) return;
    try {
        TProgressShown working(ProgressHooks(), "処理中...");
        pictor::ApplyToTicked(*Document_, pictor::TAdjustment::Invert(), pictor::DocumentOptionsOf(Options_, Pool_));
        CommitChange();
        SaveScrollPosition();
        ReloadPreview();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TfrmMain::alDarkExecute()
{
    if (!HasDocument()) return;
    const TFocusBack back(*this);
    const auto choice = RunDarkDialog(this);
    if (!choice) return;
    try {
        TProgressShown working(ProgressHooks(), "処理中...");
        const pictor::TDocumentOptions options = pictor::DocumentOptionsOf(Options_, Pool_);
        if (choice->FollowSystem) {
            pictor::FollowReaderScheme(*Document_, choice->Adjustment, options.LowerCase);
        } else {
            pictor::ApplyDarkColors(*Document_, choice->Adjustment, options.LowerCase);
            pictor::ApplyToTickedPictures(*Document_, choice->Adjustment, options);
        }
        CommitChange();
        SaveScrollPosition();
        ReloadPreview();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

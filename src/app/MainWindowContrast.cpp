// Keeping the preview's text readable: the check after each change and the contrast dialog.
#include "app/MainWindow.h"

#include "app/ContrastDialog.h"
#include "app/PreviewColorSource.h"
#include "app/PreviewContrast.h"
#include "app/WebBrowser.h"
#include "app/model/RecordChecks.h"

#include <QLabel>
#include <QPointer>

#include <memory>
#include <optional>
#include <utility>

using namespace pictor;

void TfrmMain::RememberContrastBeforeChange()
{
    Contrast_->Before = Contrast_->Shown;
    Contrast_->AwaitingChange = true;
    ClearContrastWarning();
}

void TfrmMain::ClearContrastWarning()
{
    if (StatusPanels[2]->text() == Contrast_->Warning) StatusPanels[2]->clear();
    Contrast_->Warning.clear();
}

void TfrmMain::CheckShownContrast()
{
    // The answer may come after the window has gone.
    std::weak_ptr<TContrastState> weak = Contrast_;
    Web_->RunScript(PreviewTextsScript(), [weak, panel = QPointer<QLabel>(StatusPanels[2]),
                                           dialog = ContrastDialog_](const QVariant& answer) {
        const auto state = weak.lock();
        if (!state) return;
        state->Shown = PreviewTexts(answer);
        if (dialog) dialog->SetRows(LowContrastRows(state->Shown, state->Before));
        if (!std::exchange(state->AwaitingChange, false) || !AnyFallsBelowAA(state->Before, state->Shown)) return;
        state->Warning = "コントラストが低い要素があります";
        if (panel) panel->setText(state->Warning);
    });
}

void TfrmMain::alContrastCheckExecute()
{
    if (!HasDocument()) return;
    if (!ContrastDialog_) {
        ContrastDialog_ = new TfrmContrast([this](const TPreviewText& text) { CheckColorSource(text); }, this);
        ContrastDialog_->setAttribute(Qt::WA_DeleteOnClose);
    }
    ContrastDialog_->SetRows(LowContrastRows(PreviewTexts(*Web_), Contrast_->Before));
    ContrastDialog_->show();
    ContrastDialog_->raise();
    ContrastDialog_->activateWindow();
}

void TfrmMain::CheckColorSource(const TPreviewText& text)
{
    const std::optional<TRecordAt> record =
        RecordOfSource(*Document_, ColorSourceOf(*Web_, text.Path), AttributeDecoder(*Web_));
    if (record) SetColorChecked(*Document_, record->Tab, int(record->Row), true, false);
    SyncCheckMarks();
    const QString none = "この文字色を与える色は一覧にありません";
    StatusPanels[2]->setText(record ? Contrast_->Warning : none);
}

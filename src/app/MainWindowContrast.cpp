// Keeping the preview's text readable: the check after each change and the contrast dialog.
#include "app/MainWindow.h"

#include "app/Browser.h"
#include "app/ContrastDialog.h"
#include "app/DocumentView.h"
#include "app/OpenDocument.h"
#include "app/PreviewColorSource.h"
#include "app/PreviewContrast.h"
#include "app/model/RecordChecks.h"
#include "document/HtmlStructure.h"

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
    ++Contrast_->Changes;
    ClearContrastWarning();
}

void TfrmMain::ClearContrastWarning()
{
    if (View_->MessagePanel()->text() == Contrast_->Warning) View_->MessagePanel()->clear();
    Contrast_->Warning.clear();
}

void TfrmMain::ForgetContrast()
{
    ClearContrastWarning();
    *Contrast_ = {};
}

void TfrmMain::CheckShownContrast()
{
    // The answer may come after the window has gone.
    std::weak_ptr<TContrastState> weak = Contrast_;
    Web().RunScript(PreviewTextsScript(), [weak, panel = QPointer<QLabel>(View_->MessagePanel()), dialog = ContrastDialog_,
                                           changes = Contrast_->Changes](const QVariant& answer) {
        const auto state = weak.lock();
        if (!state) return;
        // Asked before a change that was made before it came: it tells the page before that change,
        // and the check of the change itself is still to come.
        if (changes != state->Changes) {
            state->Before = PreviewTexts(answer);
            return;
        }
        state->Shown = PreviewTexts(answer);
        if (dialog) dialog->SetRows(LowContrastRows(state->Shown, state->Before));
        if (!std::exchange(state->AwaitingChange, false) || !AnyFallsBelowAA(state->Before, state->Shown)) return;
        state->Warning = "コントラストが低い要素があります";
        if (panel) panel->setText(state->Warning);
    });
}

void TfrmMain::alContrastCheckExecute()
{
    if (!Open_->IsReadable()) return;
    if (!ContrastDialog_) {
        ContrastDialog_ =
            new TfrmContrast([this](const TContrastRow& row) { CheckMovedColors(row); },
                             [this](const std::vector<TContrastRow>& rows, TfrmContrast::TPlacesFound found) {
                                 FindColorPlaces(rows, std::move(found));
                             },
                             this);
        ContrastDialog_->setAttribute(Qt::WA_DeleteOnClose);
    }
    ContrastDialog_->SetRows(LowContrastRows(PreviewTexts(Web()), Contrast_->Before));
    NameContrastPage();
    ContrastDialog_->show();
    ContrastDialog_->raise();
    ContrastDialog_->activateWindow();
}

void TfrmMain::FindColorPlaces(const std::vector<TContrastRow>& rows,
                               std::function<void(const std::vector<QString>&)> found)
{
    std::vector<TSourceQuery> queries;
    for (const TContrastRow& row : rows) {
        queries.push_back({row.Now.Path, false});
        queries.push_back({row.Now.Path, true});
    }
    // The answer may come after the window has gone.
    Web().RunScript(ColorSourcesScript(queries), [window = QPointer<TfrmMain>(this), count = queries.size(),
                                                  found = std::move(found)](const QVariant& answer) {
        if (!window || !window->Open_->IsReadable()) return;
        std::vector<QString> places;
        for (const TColorSource& source : ColorSourcesOf(answer, count))
            places.push_back(QString::fromStdString(SourcePlace(window->Open_->Shown(), source)));
        found(places);
    });
}

void TfrmMain::CheckMovedColors(const TContrastRow& row)
{
    if (!Open_->IsReadable()) return;
    std::optional<TRecordAt> shown;
    bool found = true;
    if (row.ForegroundMoved) {
        shown = RecordOfSource(Open_->Shown(), ColorSourceOf(Web(), row.Now.Path), AttributeDecoder(Web()));
        if (shown) SetColorChecked(Open_->Shown(), shown->Tab, int(shown->Row), true, false);
        found = shown.has_value();
    }
    // A background is painted by the element or an ancestor: every occurrence of its colour is ticked.
    if (row.BackgroundMoved) {
        SetCheckedByColor(Open_->Edited(), row.Now.Background, true);
        if (!shown) shown = FirstRecordOf(Open_->Shown(), row.Now.Background);
    }
    if (shown) View_->ShowRecord(*shown);
    View_->SyncCheckMarks();
    const QString none = "この文字色を与える色は一覧にありません";
    View_->MessagePanel()->setText(found ? Contrast_->Warning : none);
}

void TfrmMain::NameContrastPage()
{
    if (!ContrastDialog_) return;
    ContrastDialog_->setWindowTitle(Open_->Site() ? "コントラストの確認 [" + Open_->BelowSite(Open_->Shown().FileName()) + "]"
                                          : QString("コントラストの確認"));
}

// The preview, the commit step of every change, and Undo and Redo.
#include "app/MainWindow.h"

#include "app/PreviewScheme.h"
#include "app/ProgressWindow.h"
#include "app/WebBrowser.h"
#include "app/model/Options.h"
#include "document/HtmlStructure.h"
#include "widgets/MyCheckListBox.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollBar>

using namespace pictor;

IBrowser& TfrmMain::Web()
{
    return *Web_;
}

void TfrmMain::SaveScrollPosition()
{
    SavedScroll_ = Web_->ScrollOffsets();
}

void TfrmMain::RefreshColorList()
{
    if (!HasDocument()) return;
    const TElements& file = Document_->Elements(ShownTab());
    const int top = clbColorList->verticalScrollBar()->value();
    clbColorList->setUpdatesEnabled(false);
    for (int row = 0; row < clbColorList->count() && size_t(row) < file.Colors.size(); ++row)
        clbColorList->item(row)->setText(FileText(file, file.Colors[size_t(row)].Text));
    clbColorList->FitHorizontalExtent(30);
    clbColorList->verticalScrollBar()->setValue(top);
    clbColorList->setUpdatesEnabled(true);
}

void TfrmMain::ReloadPreview()
{
    RefreshColorList();
    Web_->Navigate(QString::fromStdString(Document_->WorkFileName()));
}

void TfrmMain::mnuDarkPreviewClick(bool dark)
{
    PreviewDark_ = dark;
    Web_->RunScript(pictor::PreferredSchemeScript(dark), {});
}

void TfrmMain::WebDocumentComplete(const QString& address)
{
    if (address != QLatin1String("about:blank")) {
        if (PreviewDark_) Web_->RunScript(pictor::PreferredSchemeScript(true), {});
        QApplication::processEvents();
        Web_->ScrollTo(SavedScroll_);
        CheckShownContrast();
    }
    SavedScroll_ = {};
}

void TfrmMain::SetModified(bool modified)
{
    Modified_ = modified;
    StatusPanels[1]->setText(modified ? "変更あり" : "変更なし");
}

void TfrmMain::UpdateUndoCommands()
{
    alUndo->setEnabled(Document_->CanUndo());
    alRedo->setEnabled(Document_->CanRedo());
}

void TfrmMain::CommitChange()
{
    Document_->CommitChange(pictor::DocumentOptionsOf(Options_, Pool_));
    RememberContrastBeforeChange();
    SetModified(true);
    UpdateUndoCommands();
}

void TfrmMain::alUndoExecute()
{
    if (alUndo->isEnabled() && HasDocument()) StepHistory(alUndo);
}

void TfrmMain::alRedoExecute()
{
    if (alRedo->isEnabled() && HasDocument()) StepHistory(alRedo);
}

void TfrmMain::StepHistory(QAction* command)
{
    const bool back = command == alUndo;
    command->setEnabled(false);
    Progress_->ShowMessage("処理中...");
    ClearContrastWarning();
    // The history moves even when writing the copies fails.
    try {
        const pictor::TDocumentOptions options = pictor::DocumentOptionsOf(Options_, Pool_);
        back ? Document_->Undo(options) : Document_->Redo(options);
    } catch (const std::exception& error) {
        UpdateUndoCommands();
        ShowError(error);
        return;
    }
    UpdateUndoCommands();
    SaveScrollPosition();
    ReloadPreview();
    Progress_->hide();
}

// How a command changes the document: its work on the worker thread with the conflicting commands
// shut off, then the commit (or, cancelled, the records put back), Undo and Redo.
#include "app/MainWindow.h"

#include "app/DocumentView.h"
#include "app/OpenDocument.h"
#include "app/ProgressWindow.h"
#include "app/model/Options.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "document/HtmlStructure.h"

#include <QAction>
#include <QTimer>

#include <utility>

using namespace pictor;

QList<QAction*> TfrmMain::ConflictingCommands() const
{
    return {alOpen,     alSave,          alSaveAs,        alReload,     alUndo,  alRedo,
            alSelectAll, alSelectInverse, alOpenfrmHue,    alOpenfrmBright, alOpenfrmCB, alInverse,
            alDark,     alContrastCheck, mnuReplaceSetting, mnuOption};
}

bool TfrmMain::RunWork(const QString& message, bool cancellable, const TWorkRunner::TJob& job)
{
    // The lists and the picker read the records, which the worker changes meanwhile.
    const QList<QAction*> commands = ConflictingCommands();
    QList<bool> enabled;
    for (QAction* command : commands) {
        enabled << command->isEnabled();
        command->setEnabled(false);
    }
    View_->SetEnabled(false);
    pnlColorPicker->setEnabled(false);
    Open_->SetLent(true);
    struct TRestore {
        TfrmMain& Window;
        const QList<QAction*>& Commands;
        const QList<bool>& Enabled;
        ~TRestore()
        {
            Window.Open_->SetLent(false);
            for (qsizetype i = 0; i < Commands.size(); ++i) Commands[i]->setEnabled(Enabled[i]);
            Window.View_->SetEnabled(true);
            Window.pnlColorPicker->setEnabled(true);
            if (!Window.Saving_ && std::exchange(Window.CloseAfterWork_, false))
                QTimer::singleShot(0, &Window, &QWidget::close);
        }
    } restore{*this, commands, enabled};
    bool done = false;
    Commands_->LetInputThrough([&] { done = Worker_->Run(message, cancellable, job); });
    return done;
}

void TfrmMain::ApplyChange(const TWorkRunner::TJob& change)
{
    const TDocumentOptions options = DocumentOptionsOf(Options_, Pool_);
    bool done = false;
    try {
        done = RunWork("処理中...", true, [&](const TPictureProgress& progress) {
            change(progress);
            Open_->Edited().WriteWorkingCopies(options);
        });
    } catch (const std::exception& error) {
        // A change that failed part-way is undone like a cancelled one.
        RevertChange();
        ShowError(error);
        return;
    }
    if (!done) {
        RevertChange();
        return;
    }
    Open_->Edited().History.Commit(Open_->Edited());
    RememberContrastBeforeChange();
    Open_->SetModified(true);
    UpdateUndoCommands();
    Preview_->SaveScrollPosition();
    ReloadPreview();
}

void TfrmMain::ReloadPreview()
{
    View_->RefreshColorList();
    Preview_->Update(Open_->Shown());
}

void TfrmMain::RevertChange()
{
    const TDocumentOptions options = DocumentOptionsOf(Options_, Pool_);
    try {
        RunWork("処理中...", false, [&](const TPictureProgress&) { Open_->Edited().RevertChange(options); });
    } catch (const std::exception& error) {
        ShowError(error);
    }
    View_->SyncCheckMarks();
}

void TfrmMain::UpdateUndoCommands()
{
    alUndo->setEnabled(Open_->Edited().CanUndo());
    alRedo->setEnabled(Open_->Edited().CanRedo());
}

void TfrmMain::alUndoExecute()
{
    if (alUndo->isEnabled() && Open_->IsReadable()) StepHistory(alUndo);
}

void TfrmMain::alRedoExecute()
{
    if (alRedo->isEnabled() && Open_->IsReadable()) StepHistory(alRedo);
}

void TfrmMain::StepHistory(QAction* command)
{
    const bool back = command == alUndo;
    ClearContrastWarning();
    // The history moves even when writing the copies fails.
    try {
        const TDocumentOptions options = DocumentOptionsOf(Options_, Pool_);
        RunWork("処理中...", false, [&](const TPictureProgress&) { back ? Open_->Edited().Undo(options) : Open_->Edited().Redo(options); });
    } catch (const std::exception& error) {
        UpdateUndoCommands();
        ShowError(error);
        return;
    }
    UpdateUndoCommands();
    Preview_->SaveScrollPosition();
    ReloadPreview();
}

// Save and Save as.
#include "adjust/ui/ProgressHooks.h"
#include "app/MainWindow.h"
#include "app/OverwriteQuestion.h"
#include "app/SaveAsDialog.h"
#include "document/HtmlStructure.h"
#include "app/model/Options.h"
#include "document/Paths.h"
#include "document/SaveDocument.h"

namespace {

pictor::TPictureSaveOptions SaveOptions() { return pictor::PictureSaveOptionsOf(pictor::Options()); }

} // namespace

void TfrmMain::alSaveExecute()
{
    if (!alSave->isEnabled() || !HasDocument()) return;
    try {
        TProgressShown saving(ProgressHooks(), "保存中...");
        pictor::SaveDocument(*Document_, SaveOptions());
        SetModified(false);
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TfrmMain::alSaveAsExecute()
{
    if (!alSaveAs->isEnabled() || !HasDocument()) return;
    pictor::TfrmSaveAs dialog(this);
    dialog.Folder = pictor::FolderOf(Document_->FileName);
    if (dialog.exec() != QDialog::Accepted) return;
    try {
        TProgressShown saving(ProgressHooks(), "保存中...");
        if (pictor::SaveDocumentAs(*Document_, dialog.Folder, SaveOptions(), pictor::OverwriteQuestionFor(this)))
            SetModified(false);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    const QString page = QString::fromStdString(Document_->FileName);
    setWindowTitle("Pictor [" + page + "]");
    SetOpenFolder(QString::fromStdString(pictor::FolderOf(Document_->FileName)));
}

// Save and Save as.
#include "adjust/ui/ProgressHooks.h"
#include "app/MainWindow.h"
#include "app/FocusBack.h"
#include "app/OverwriteQuestion.h"
#include "app/SaveAsDialog.h"
#include "document/HtmlStructure.h"
#include "app/model/Options.h"
#include "document/Paths.h"
#include "document/SaveDocument.h"

#include <QTimer>

#include <utility>

// Marks the window as saving; a close asked for meanwhile is carried out once the save has ended.
class TfrmMain::TSaving {
public:
    explicit TSaving(TfrmMain& window) : Window_(window) { Window_.Saving_ = true; }
    ~TSaving()
    {
        Window_.Saving_ = false;
        if (std::exchange(Window_.CloseAfterSave_, false)) QTimer::singleShot(0, &Window_, &QWidget::close);
    }
    TSaving(const TSaving&) = delete;
    TSaving& operator=(const TSaving&) = delete;

private:
    TfrmMain& Window_;
};

void TfrmMain::alSaveExecute()
{
    if (!alSave->isEnabled() || !HasDocument() || Saving_) return;
    const TSaving saving(*this);
    try {
        TProgressShown shown(ProgressHooks(), "保存中...");
        pictor::SaveDocument(*Document_, pictor::PictureSaveOptionsOf(Options_, Pool_));
        SetModified(false);
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TfrmMain::alSaveAsExecute()
{
    if (!alSaveAs->isEnabled() || !HasDocument() || Saving_) return;
    const TSaving saving(*this);
    const TFocusBack back(*this);
    pictor::TfrmSaveAs dialog(this);
    dialog.Folder = pictor::FolderOf(Document_->FileName());
    if (dialog.exec() != QDialog::Accepted) return;
    try {
        TProgressShown shown(ProgressHooks(), "保存中...");
        if (pictor::SaveDocumentAs(*Document_, dialog.Folder, pictor::PictureSaveOptionsOf(Options_, Pool_),
                                   pictor::OverwriteQuestionFor(this)))
            SetModified(false);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    const QString page = QString::fromStdString(Document_->FileName());
    setWindowTitle("Pictor [" + page + "]");
    SetOpenFolder(QString::fromStdString(pictor::FolderOf(Document_->FileName())));
}

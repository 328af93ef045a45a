// Save and Save as.
#include "app/MainWindow.h"
#include "app/FocusBack.h"
#include "app/OpenDocument.h"
#include "app/OverwriteQuestion.h"
#include "app/SaveAsDialog.h"
#include "document/HtmlStructure.h"
#include "app/model/Options.h"
#include "document/Paths.h"
#include "document/SaveDocument.h"
#include "site/SiteDocument.h"

#include <QTimer>

#include <utility>

// Marks the window as saving; a close asked for meanwhile is carried out once the save has ended.
class TfrmMain::TSaving {
public:
    explicit TSaving(TfrmMain& window) : Window_(window) { Window_.Saving_ = true; }
    ~TSaving()
    {
        Window_.Saving_ = false;
        if (std::exchange(Window_.CloseAfterWork_, false)) QTimer::singleShot(0, &Window_, &QWidget::close);
    }
    TSaving(const TSaving&) = delete;
    TSaving& operator=(const TSaving&) = delete;

private:
    TfrmMain& Window_;
};

void TfrmMain::alSaveExecute()
{
    if (!alSave->isEnabled() || !Open_->IsReadable() || Saving_) return;
    const TSaving saving(*this);
    try {
        const pictor::TPictureSaveOptions options = pictor::PictureSaveOptionsOf(Options_, Pool_);
        RunWork("保存中...", false, [&](const pictor::TPictureProgress&) { pictor::SaveDocument(Open_->Edited(), options); });
        Open_->SetModified(false);
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TfrmMain::alSaveAsExecute()
{
    if (!alSaveAs->isEnabled() || !Open_->IsReadable() || Saving_) return;
    const TSaving saving(*this);
    const TFocusBack back(*this);
    pictor::TfrmSaveAs dialog(this);
    dialog.Folder = Open_->Site() ? Open_->SiteFolder().toStdString() : pictor::FolderOf(Open_->Shown().FileName());
    if (dialog.exec() != QDialog::Accepted) return;
    try {
        const pictor::TPictureSaveOptions options = pictor::PictureSaveOptionsOf(Options_, Pool_);
        // The question is asked on this thread, the save waiting for the answer.
        const pictor::TOverwriteQuestion ask = [this, question = pictor::OverwriteQuestionFor(this)](const std::string& path) {
            pictor::TOverwriteAnswer answer{};
            QMetaObject::invokeMethod(this, [&] { answer = question(path); }, Qt::BlockingQueuedConnection);
            return answer;
        };
        bool saved = false;
        RunWork("保存中...", false, [&](const pictor::TPictureProgress&) {
            saved = Open_->Site() ? pictor::SaveSiteBelow(*Open_->Site(), dialog.Folder, options, ask)
                          : pictor::SaveDocumentAs(Open_->Shown(), dialog.Folder, options, ask);
        });
        if (saved) Open_->SetModified(false);
        if (saved && Open_->Site()) {
            Open_->SetSiteFolder(QString::fromStdString(dialog.Folder));
            ShowSiteFolder();
        }
    } catch (const std::exception& error) {
        ShowError(error);
    }
    if (Open_->Site()) return;
    const QString page = QString::fromStdString(Open_->Shown().FileName());
    setWindowTitle("Pictor [" + page + "]");
    OpenFolder_ = QString::fromStdString(pictor::FolderOf(Open_->Shown().FileName()));
}

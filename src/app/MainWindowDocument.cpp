// Opening a page, and the commands that tick its records.
#include "app/MainWindow.h"
#include "app/FocusBack.h"

#include "app/DocumentView.h"
#include "app/OpenDocument.h"
#include "app/PreviewUpdater.h"
#include "app/ProgressWindow.h"
#include "app/model/RecordChecks.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "document/HtmlStructure.h"
#include "document/Paths.h"
#include "app/model/Options.h"
#include "site/SiteDocument.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <filesystem>

using namespace pictor;

namespace {

// One message for every file the page or site names that is missing or cannot be read.
void ReportDeadReferences(QWidget* parent, const std::vector<TDeadReference>& references)
{
    QStringList lines;
    for (const TDeadReference& dead : references)
        lines << QString::fromStdString(dead.Path + ": " + DeadReferenceHint(dead.State, dead.Reason));
    if (!lines.isEmpty()) QMessageBox::warning(parent, QApplication::applicationName(), lines.join('\n'));
}

// One message naming every colour text a browser drops, which the load keeps but never changes.
void ReportRejectedColors(QWidget* parent, const IFileSet& files)
{
    QStringList lines;
    for (const TRejectedColor& rejected : RejectedColors(files))
        lines << QString::fromStdString(rejected.Path) + " (" + QString::number(rejected.Pos) + "): " +
                     QString::fromStdString(rejected.Text);
    if (!lines.isEmpty())
        QMessageBox::information(parent, QApplication::applicationName(),
                                 QString::fromUtf8(RejectedColorHint) + ":\n" + lines.join('\n'));
}

} // namespace

void TfrmMain::RecoverInterruptedSaves(const std::string& folder)
{
    const QStringList lines = TOpenDocument::RecoverInterruptedSaves(folder);
    if (!lines.isEmpty()) QMessageBox::warning(this, QApplication::applicationName(), lines.join('\n'));
}

bool TfrmMain::AskUnsavedChanges()
{
    if (!Open_->IsModified()) return true;
    const QString text = Open_->Site() ? "サイト\"" + Open_->SiteFolder() + "\"の内容は変更されています\r\n保存しますか？"
                               : "ファイル\"" + QString::fromStdString(Open_->Shown().FileName()) +
                                     "\"の内容は変更されています\r\n保存しますか？";
    const TFocusBack back(*this);
    const auto answer = QMessageBox::warning(this, QApplication::applicationName(), text,
                                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        alSaveExecute();
        return !Open_->IsModified();  // a failed save keeps the window and the changes
    }
    return answer == QMessageBox::No;
}

void TfrmMain::alOpenExecute()
{
    if (!AskUnsavedChanges()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), OpenFolder_,
        "HTML(*.html,*.htm,*.shtml,*.shtm,*.shm) (*.html *.htm *.shtml *.shtm *.shm);;全てのファイル(*.*) (*)");
    if (!path.isEmpty()) LoadDocument(path);
}

void TfrmMain::alReloadExecute()
{
    // A reload throws the changes and their undo steps away: it asks first, as opening another page does.
    if (!alReload->isEnabled() || !AskUnsavedChanges()) return;
    if (Open_->Site()) LoadSite(Open_->SiteFolder());
    else LoadDocument(QString::fromStdString(Open_->Shown().FileName()));
}

void TfrmMain::LoadDocument(const QString& path)
{
    OpenFolder_ = QFileInfo(path).absolutePath();
    RecoverInterruptedSaves(FolderOf(std::filesystem::absolute(path.toStdString()).string()));
    const TDocumentOptions options = DocumentOptionsOf(Options_, Pool_);
    if (!RunLoad([&](const TOpenDocument::TRun& run) { return Open_->LoadPage(path.toStdString(), options, run); }))
        return;
    ShowDocument();
    ReportLoad();
}

bool TfrmMain::RunLoad(const std::function<bool(const TOpenDocument::TRun& run)>& load)
{
    try {
        return load([this](const TWorkRunner::TJob& job) { return RunWork("構文解析中...", true, job); });
    } catch (const std::exception& error) {
        ShowLoadFailure(error);
        return false;
    }
}

void TfrmMain::ShowLoadFailure(const std::exception& error)
{
    ShowDocument();
    SetDocumentCommandsEnabled(false);
    alUndo->setEnabled(false);
    alRedo->setEnabled(false);
    setWindowTitle("Pictor");
    View_->ClearStatus();
    ShowError(error);
}

void TfrmMain::ReportLoad()
{
    Progress_->hide();
    ReportDeadReferences(this, Open_->Site() ? Open_->Site()->DeadReferences() : Open_->Shown().DeadReferences());
    ReportRejectedColors(this, Open_->Edited());
}

void TfrmMain::ShowDocument()
{
    DeleteSourceMenuItems();
    View_->Clear();
    ForgetContrast();
    View_->ShowPage();
    if (Open_->Shown().FileName().empty()) return;

    setWindowTitle("Pictor [" + QString::fromStdString(Open_->Shown().FileName()) + "]");
    CreateSourceMenuItems();

    UpdateUndoCommands();
    SetDocumentCommandsEnabled(true);
    Open_->SetModified(false);
    Preview_->Show(Open_->Shown(), QString::fromStdString(Open_->Shown().WorkFileName()));
}

void TfrmMain::mnuSelectColorClick(TColor picked)
{
    CheckPickedColor(picked, true);
}

void TfrmMain::mnuUnselectColorClick(TColor picked)
{
    CheckPickedColor(picked, false);
}

void TfrmMain::CheckPickedColor(TColor picked, bool checked)
{
    if (!Open_->IsReadable()) return;
    SetCheckedByColor(Open_->Edited(), picked, checked);
    View_->SyncCheckMarks();
    pnlColorPicker->BlankMagnifier();
}

void TfrmMain::alSelectAllExecute()
{
    if (!alSelectAll->isEnabled() || !Open_->IsReadable()) return;
    CheckAll(Open_->Edited());
    View_->SyncCheckMarks();
}

void TfrmMain::alSelectInverseExecute()
{
    if (!alSelectInverse->isEnabled() || !Open_->IsReadable()) return;
    InvertChecks(Open_->Edited());
    View_->SyncCheckMarks();
}


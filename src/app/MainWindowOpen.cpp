// Opening a page or a site, and showing the page of it that the window shows.
#include "app/MainWindow.h"

#include "app/Browser.h"
#include "app/DocumentView.h"
#include "app/FocusBack.h"
#include "app/OpenDocument.h"
#include "app/ProgressWindow.h"
#include "document/HtmlStructure.h"
#include "document/Paths.h"
#include "app/model/Options.h"
#include "site/SiteDocument.h"

#include <QAction>
#include <QApplication>
#include <QDir>
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

void TfrmMain::ForgetShownDocument()
{
    DeleteSourceMenuItems();
    View_->Clear();
    ForgetContrast();
}

void TfrmMain::ShowDocument()
{
    ForgetShownDocument();
    View_->ShowPage();
    if (Open_->Shown().FileName().empty()) return;

    setWindowTitle("Pictor [" + QString::fromStdString(Open_->Shown().FileName()) + "]");
    CreateSourceMenuItems();

    UpdateUndoCommands();
    SetDocumentCommandsEnabled(true);
    Open_->SetModified(false);
    Preview_->Show(Open_->Shown());
}

void TfrmMain::alOpenSiteExecute()
{
    if (!AskUnsavedChanges()) return;
    const QString folder = QFileDialog::getExistingDirectory(this, "サイトのフォルダーを選択", OpenFolder_);
    if (!folder.isEmpty()) LoadSite(folder);
}

void TfrmMain::LoadSite(const QString& folder)
{
    const QString root = QFileInfo(QDir::cleanPath(folder)).absoluteFilePath();
    OpenFolder_ = root;
    RecoverInterruptedSaves(root.toStdString() + "/");
    const TDocumentOptions options = DocumentOptionsOf(Options_, Pool_);
    if (!RunLoad([&](const TOpenDocument::TRun& run) { return Open_->LoadSite(root.toStdString(), options, run); }))
        return;
    ShowSite();
    ReportLoad();
}

void TfrmMain::ShowSite()
{
    ForgetShownDocument();
    View_->ShowSite();
    ShowSiteFolder();
    UpdateUndoCommands();
    Open_->SetModified(false);
    const auto& pages = Open_->Site()->Pages();
    const auto first = std::find_if(pages.begin(), pages.end(), [](const TSitePage& page) { return page.Loaded(); });
    SetDocumentCommandsEnabled(first != pages.end());
    if (first == pages.end()) return;
    ShowSitePage(int(first - pages.begin()));
}

void TfrmMain::ShowSiteFolder()
{
    const QString folder = QDir::cleanPath(Open_->SiteFolder());
    setWindowTitle("Pictor [" + folder + "]");
    OpenFolder_ = folder;
    View_->ShowSitePages();
}

void TfrmMain::ShowSitePage(int page)
{
    const int shown = Open_->ShownPage();
    if (!Open_->ChoosePage(page, Web().ScrollOffsets())) return;
    View_->ShowSitePage(page, shown < 0);
    CreateSourceMenuItems();
    ForgetContrast();
    NameContrastPage();
    Preview_->ShowAt(Open_->Shown(), Open_->PageScroll(page));
}

void TfrmMain::PrefetchNeighbours()
{
    const int shown = Open_->ShownPage();
    if (shown < 0) return;
    const auto& pages = Open_->Site()->Pages();
    // The pages the list's arrow keys go to.
    for (const int step : {1, -1})
        for (int page = shown + step; page >= 0 && size_t(page) < pages.size(); page += step)
            if (pages[size_t(page)].Loaded()) {
                Web().Prefetch(QString::fromStdString(pages[size_t(page)].Document->WorkFileName()));
                break;
            }
}


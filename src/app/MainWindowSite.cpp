// A whole site in the window: opening a folder and choosing the page shown.
#include "app/MainWindow.h"

#include "app/ContrastDialog.h"
#include "app/DocumentView.h"
#include "app/OpenDocument.h"
#include "app/WebBrowser.h"
#include "app/model/Options.h"
#include "site/SiteDocument.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using namespace pictor;

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
    DeleteSourceMenuItems();
    View_->Clear();
    ForgetContrast();
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
    SetOpenFolder(folder);
    View_->ShowSitePages();
}

void TfrmMain::ShowSitePage(int page)
{
    const int shown = Open_->ShownPage();
    if (!Open_->ChoosePage(page, Web_->ScrollOffsets())) return;
    View_->ShowSitePage(page, shown < 0);
    CreateSourceMenuItems();
    ForgetContrast();
    NameContrastPage();
    SavedScroll_ = Open_->PageScroll(page);
    Web_->Navigate(QString::fromStdString(Open_->Shown().WorkFileName()));
}

void TfrmMain::NameContrastPage()
{
    if (!ContrastDialog_) return;
    ContrastDialog_->setWindowTitle(Open_->Site() ? "コントラストの確認 [" + Open_->BelowSite(Open_->Shown().FileName()) + "]"
                                          : QString("コントラストの確認"));
}


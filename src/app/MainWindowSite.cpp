// A whole site in the window: opening a folder, the page list, and the lists that show the site's
// colours and pictures each once.
#include "app/MainWindow.h"

#include "adjust/ui/BitmapImage.h"
#include "app/ContrastDialog.h"
#include "app/HintWindows.h"
#include "app/OpenDocument.h"
#include "app/PageList.h"
#include "app/PreviewContrast.h"
#include "app/WebBrowser.h"
#include "app/model/Options.h"
#include "app/model/RecordChecks.h"
#include "base/PictorError.h"
#include "document/Paths.h"
#include "document/WorkSession.h"
#include "site/SiteDocument.h"
#include "site/SitePages.h"
#include "widgets/MyCheckListBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QSplitter>
#include <QToolTip>
#include <QVBoxLayout>

using namespace pictor;

QWidget* TfrmMain::CreatePageList()
{
    pnlPageList = new QWidget;
    pnlPageList->setObjectName("pnlPageList");
    auto* layout = new QVBoxLayout(pnlPageList);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(new QLabel("ページ一覧 :"));
    lvPageList = new TPageList;
    layout->addWidget(lvPageList, 1);
    chbSiteView = new QCheckBox("サイト全体の色と画像を一覧に表示");
    chbSiteView->setObjectName("chbSiteView");
    chbSiteView->setStatusTip("外すと選んだファイルの色と画像を一覧に表示します");
    layout->addWidget(chbSiteView);
    pnlPageList->hide();
    connect(lvPageList, &TPageList::pageChosen, this, Locked(&TfrmMain::ShowSitePage));
    connect(chbSiteView, &QCheckBox::toggled, this, [this] { tcFileListChange(); });
    return pnlPageList;
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
    DeleteSourceMenuItems();
    ClearDocumentView();
    {
        const QSignalBlocker blocker(chbSiteView);
        chbSiteView->setChecked(true);
    }
    if (pnlPageList->isHidden()) {
        // The lists below keep most of the side bar's height.
        const int height = SideBar_->height();
        pnlPageList->show();
        SideBar_->setSizes({height / 4, height - height / 4});
    }
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
    lvPageList->ShowPages(*Open_->Site(), Open_->SiteFolder().toStdString());
    lvPageList->ChoosePage(Open_->ShownPage());
}

void TfrmMain::ShowSitePage(int page)
{
    const int shown = Open_->ShownPage();
    if (!Open_->ChoosePage(page, Web_->ScrollOffsets())) return;
    lvPageList->ChoosePage(page);

    DeleteSourceMenuItems();
    ShowFileTabs();
    // The site's lists are the same whichever page is shown.
    if (ShowsSite() && shown >= 0) ShowCharCode(Open_->Shown().Page);
    else tcFileListChange();
    CreateSourceMenuItems();
    // What the contrast check saw before a change was another page's.
    if (StatusPanels[2]->text() == Contrast_->Warning) StatusPanels[2]->clear();
    *Contrast_ = {};
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

bool TfrmMain::ShowsSite() const
{
    return Open_->Site() && chbSiteView->isChecked();
}

void TfrmMain::FillSiteLists()
{
    const int colorTop = clbColorList->verticalScrollBar()->value();
    const int picTop = clbPicList->verticalScrollBar()->value();
    clbColorList->setUpdatesEnabled(false);
    clbPicList->setUpdatesEnabled(false);
    clbColorList->clear();
    clbPicList->clear();
    SitePalette_ = SitePalette(*Open_->Site());
    SitePictures_ = SitePictures(*Open_->Site());
    const auto colors = CheckedColors(*Open_->Site());
    const auto pictures = CheckedPictureFiles(*Open_->Site());
    for (const TPaletteColor& color : SitePalette_) {
        const bool lower = Options_.SaveWithLowerCase;
        const std::string code = "#" + ColorByteToHex(GetRValue(color.Value), lower) +
                                 ColorByteToHex(GetGValue(color.Value), lower) + ColorByteToHex(GetBValue(color.Value), lower);
        clbColorList->AddRow(QString::fromStdString(code) + QString(" (%1)").arg(color.Count), colors.at(color.Value), true);
        clbColorList->item(clbColorList->count() - 1)
            ->setData(Qt::UserRole, QColor(GetRValue(color.Value), GetGValue(color.Value), GetBValue(color.Value)));
    }
    for (const TSitePicture& picture : SitePictures_) {
        const std::string& path = picture.Picture->FullPath;
        clbPicList->AddRow(Open_->BelowSite(path), pictures.at(path), picture.Picture->Tickable());
    }
    clbColorList->FitHorizontalExtent(30);
    clbPicList->FitHorizontalExtent(18);
    clbColorList->verticalScrollBar()->setValue(colorTop);
    clbPicList->verticalScrollBar()->setValue(picTop);
    clbColorList->setUpdatesEnabled(true);
    clbPicList->setUpdatesEnabled(true);
    FitPictureList();
}

void TfrmMain::SyncSiteCheckMarks()
{
    const auto colors = CheckedColors(*Open_->Site());
    const auto pictures = CheckedPictureFiles(*Open_->Site());
    for (int row = 0; row < clbColorList->count() && size_t(row) < SitePalette_.size(); ++row)
        clbColorList->SetRowChecked(row, colors.at(SitePalette_[size_t(row)].Value));
    for (int row = 0; row < clbPicList->count() && size_t(row) < SitePictures_.size(); ++row)
        clbPicList->SetRowChecked(row, pictures.at(SitePictures_[size_t(row)].Picture->FullPath));
}

void TfrmMain::SiteColorClickCheck(int row, bool checked)
{
    if (size_t(row) < SitePalette_.size()) SetCheckedByColor(*Open_->Site(), SitePalette_[size_t(row)].Value, checked);
}

void TfrmMain::SitePicClickCheck(int row, bool checked)
{
    if (size_t(row) < SitePictures_.size()) SetPictureFileChecked(*Open_->Site(), SitePictures_[size_t(row)].Picture->FullPath, checked);
}

void TfrmMain::ShowSiteHint(THintList list, int row, const QPoint& at)
{
    if (list == hlPictures) {
        if (size_t(row) >= SitePictures_.size()) return;
        const TPicRecord& pic = *SitePictures_[size_t(row)].Picture;
        if (pic.Tickable()) GraphicHint_->ShowImage(ImageFromBitmap(pic.Bitmap), at);
        else QToolTip::showText(at, QString::fromStdString(DeadReferenceHint(pic.State, pic.Reason)), clbPicList);
        return;
    }
    if (size_t(row) >= SitePalette_.size()) return;
    QStringList files;
    for (const std::string& file : SitePalette_[size_t(row)].Files) files << Open_->BelowSite(file);
    QToolTip::showText(at, files.join('\n'), clbColorList);
}

void TfrmMain::SiteColorDblClick(int row)
{
    // Every ticked occurrence of the value takes the new colour, as from the picker.
    if (size_t(row) < SitePalette_.size() && clbColorList->RowChecked(row))
        mnuSetNewColorClick(SitePalette_[size_t(row)].Value);
}

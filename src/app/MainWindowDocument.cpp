// Opening documents, the file tabs and the two lists with their ticks and hints.
#include "app/MainWindow.h"
#include "app/FocusBack.h"

#include "adjust/ui/BitmapImage.h"
#include "app/HintWindows.h"
#include "app/OpenDocument.h"
#include "app/PreviewContrast.h"
#include "app/PreviewUpdater.h"
#include "app/ProgressWindow.h"
#include "app/WebBrowser.h"
#include "app/model/RecordChecks.h"
#include "app/model/SourceExcerpt.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "document/HtmlStructure.h"
#include "document/Paths.h"
#include "app/model/Options.h"
#include "site/SiteDocument.h"
#include "widgets/MyCheckListBox.h"
#include "widgets/TabSideBar.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QSplitter>
#include <QToolTip>

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

QString TfrmMain::FileText(const TElements& file, const std::string& text)
{
    return QString::fromStdString(DisplayText(text, file.IsUtf8()));
}

int TfrmMain::ShownTab() const
{
    return std::max(0, tcFileList->TabBar()->currentIndex());
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

void TfrmMain::ClearDocumentView()
{
    QTabBar* tabs = tcFileList->TabBar();
    const QSignalBlocker blocker(tabs);
    while (tabs->count() > 0) tabs->removeTab(0);
    clbColorList->clear();
    clbPicList->clear();
    GraphicHint_->hide();
    // Another page's elements are not this one's.
    if (StatusPanels[2]->text() == Contrast_->Warning) StatusPanels[2]->clear();
    *Contrast_ = {};
    SourceHint_->hide();
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
    for (QLabel* panel : StatusPanels) panel->clear();
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
    ClearDocumentView();
    pnlPageList->hide();
    if (Open_->Shown().FileName().empty()) return;

    ShowFileTabs();
    tcFileListChange();
    setWindowTitle("Pictor [" + QString::fromStdString(Open_->Shown().FileName()) + "]");
    CreateSourceMenuItems();

    UpdateUndoCommands();
    SetDocumentCommandsEnabled(true);
    Open_->SetModified(false);
    Preview_->Show(Open_->Shown(), QString::fromStdString(Open_->Shown().WorkFileName()));
}

void TfrmMain::ShowFileTabs()
{
    QTabBar* tabs = tcFileList->TabBar();
    const QSignalBlocker blocker(tabs);
    while (tabs->count() > 0) tabs->removeTab(0);
    for (int tab = 0; tab < Open_->Shown().FileCount(); ++tab)
        tabs->addTab(QFileInfo(QString::fromStdString(Open_->Shown().FilePath(tab))).fileName());
    tabs->setCurrentIndex(0);
}

void TfrmMain::ShowCharCode(const TElements& file)
{
    const std::string_view name = file.EncodingName();
    StatusPanels[0]->setText(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

void TfrmMain::tcFileListChange()
{
    if (!Open_->IsReadable()) return;
    if (ShowsSite()) {
        FillSiteLists();
        ShowCharCode(Open_->Shown().Elements(ShownTab()));
        return;
    }
    const TElements& file = Open_->Shown().Elements(ShownTab());
    clbColorList->setUpdatesEnabled(false);
    clbPicList->setUpdatesEnabled(false);
    clbColorList->clear();
    clbPicList->clear();
    for (const TColorRecord& record : file.Colors) {
        clbColorList->AddRow(FileText(file, record.Text), record.Checked, record.Tickable());
        clbColorList->item(clbColorList->count() - 1)->setData(Qt::UserRole, SwatchOf(record));
    }
    for (const TPicRecord& record : file.Pics)
        clbPicList->AddRow(FileText(file, record.RefText), record.Checked, record.Tickable());
    ShowCharCode(file);
    clbColorList->FitHorizontalExtent(30);
    clbPicList->FitHorizontalExtent(18);
    clbColorList->setUpdatesEnabled(true);
    clbPicList->setUpdatesEnabled(true);
    FitPictureList();
}

void TfrmMain::FitPictureList()
{
    const QList<int> sizes = ListSplitter->sizes();
    QWidget* lower = ListSplitter->widget(1);
    const int frame = lower->height() - clbPicList->viewport()->height();
    const int need = frame + std::max(MinPictureRows, clbPicList->count()) * clbPicList->RowHeight();
    if (sizes.size() == 2 && need < sizes[1]) ListSplitter->setSizes({sizes[0] + sizes[1] - need, need});
}

QColor TfrmMain::SwatchOf(const TColorRecord& record)
{
    const TColor c = record.Color;
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c), AlphaToByte(record.AlphaForm, record.Alpha));
}

// From the row itself: the records may be changing on the worker while the list paints.
bool TfrmMain::SwatchColor(int row, QColor& color) const
{
    const QListWidgetItem* item = row >= 0 ? clbColorList->item(row) : nullptr;
    if (!item || !item->data(Qt::UserRole).isValid()) return false;
    color = item->data(Qt::UserRole).value<QColor>();
    return true;
}

void TfrmMain::SyncCheckMarks()
{
    if (!Open_->IsReadable()) return;
    if (ShowsSite()) return SyncSiteCheckMarks();
    const TElements& file = Open_->Shown().Elements(ShownTab());
    for (int row = 0; row < clbColorList->count() && size_t(row) < file.Colors.size(); ++row)
        clbColorList->SetRowChecked(row, file.Colors[size_t(row)].Checked);
    for (int row = 0; row < clbPicList->count() && size_t(row) < file.Pics.size(); ++row)
        clbPicList->SetRowChecked(row, file.Pics[size_t(row)].Checked);
}

void TfrmMain::ColorListClickCheck(int row, bool checked, Qt::KeyboardModifiers modifiers)
{
    if (!Open_->IsReadable()) return;
    if (ShowsSite()) return SiteColorClickCheck(row, checked);
    // Shift ticks the value in every file the change acts on: the page's, or the whole site's.
    SetColorChecked(Open_->Shown(), ShownTab(), row, checked, false);
    if (!modifiers.testFlag(Qt::ShiftModifier)) return;
    SetCheckedByColor(Open_->Edited(), Open_->Shown().Elements(ShownTab()).Colors.at(size_t(row)).Color, checked);
    SyncCheckMarks();
}

void TfrmMain::PicListClickCheck(int row, bool checked)
{
    if (!Open_->IsReadable()) return;
    if (ShowsSite()) return SitePicClickCheck(row, checked);
    SetPicChecked(Open_->Shown(), ShownTab(), row, checked);
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
    SyncCheckMarks();
    pnlColorPicker->BlankMagnifier();
}

void TfrmMain::alSelectAllExecute()
{
    if (!alSelectAll->isEnabled() || !Open_->IsReadable()) return;
    CheckAll(Open_->Edited());
    SyncCheckMarks();
}

void TfrmMain::alSelectInverseExecute()
{
    if (!alSelectInverse->isEnabled() || !Open_->IsReadable()) return;
    InvertChecks(Open_->Edited());
    SyncCheckMarks();
}

void TfrmMain::ListMouseMove(THintList list, const QPoint& viewportPos)
{
    const TMyCheckListBox* box = list == hlColors ? clbColorList : clbPicList;
    ApplyHint(list, Hints_.MouseMove(list, box->RowAt(viewportPos), Options_.ShowHint), viewportPos);
}

void TfrmMain::ListHintDue(THintList list, const QPoint& viewportPos)
{
    TMyCheckListBox* box = list == hlColors ? clbColorList : clbPicList;
    const int row = box->RowAt(viewportPos);
    // With the hints off, a row still shows its whole text, which a narrow list cuts.
    if (!Options_.ShowHint && row >= 0)
        QToolTip::showText(box->viewport()->mapToGlobal(viewportPos), box->item(row)->text(), box);
    ApplyHint(list, Hints_.HintDue(list, row, Options_.ShowHint), viewportPos);
}

void TfrmMain::ListMouseLeave(THintList list)
{
    ApplyHint(list, Hints_.MouseLeave(list), {});
}

void TfrmMain::ApplyHint(THintList list, const THintAction& action, const QPoint& viewportPos)
{
    QWidget* hint = list == hlColors ? static_cast<QWidget*>(SourceHint_) : static_cast<QWidget*>(GraphicHint_);
    if (action.Kind == THintAction::haHide) hint->hide();
    if (action.Kind != THintAction::haShow || !Open_->IsReadable()) return;
    const TMyCheckListBox* box = list == hlColors ? clbColorList : clbPicList;
    const QPoint at = box->viewport()->mapToGlobal(viewportPos) + QPoint(16, 16);
    if (ShowsSite()) return ShowSiteHint(list, action.Row, at);
    const TElements& file = Open_->Shown().Elements(ShownTab());
    if (list == hlPictures) {
        if (size_t(action.Row) >= file.Pics.size()) return;
        const TPicRecord& pic = file.Pics[size_t(action.Row)];
        if (pic.Tickable()) GraphicHint_->ShowImage(pictor::ImageFromBitmap(pic.Bitmap), at);
        else QToolTip::showText(at, QString::fromStdString(DeadReferenceHint(pic.State, pic.Reason)), clbPicList);
        return;
    }
    if (size_t(action.Row) >= file.Colors.size()) return;
    const TSourceExcerpt excerpt = MakeSourceExcerpt(file.CurrentText(), file.Colors[size_t(action.Row)], Options_.HintViewBytes);
    SourceHint_->ShowExcerpt(FileText(file, excerpt.Before), FileText(file, excerpt.Color), FileText(file, excerpt.After), at);
}

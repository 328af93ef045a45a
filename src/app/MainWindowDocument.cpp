// Opening documents, the file tabs and the two lists with their ticks and hints.
#include "app/MainWindow.h"
#include "app/FocusBack.h"

#include "adjust/ui/BitmapImage.h"
#include "app/HintWindows.h"
#include "app/PreviewContrast.h"
#include "app/PreviewUpdater.h"
#include "app/ProgressWindow.h"
#include "app/WebBrowser.h"
#include "app/model/RecordChecks.h"
#include "app/model/SourceExcerpt.h"
#include "base/InterruptedSaves.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "document/HtmlStructure.h"
#include "document/Paths.h"
#include "app/model/Options.h"
#include "document/WorkSession.h"
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
    QStringList lines;
    for (const TSaveRecovery& recovery : RecoverSavesAbove({folder}))
        lines << QString::fromStdString(RecoveryMessage(recovery));
    if (!lines.isEmpty()) QMessageBox::warning(this, QApplication::applicationName(), lines.join('\n'));
}

QString TfrmMain::FileText(const TElements& file, const std::string& text)
{
    return QString::fromStdString(DisplayText(text, file.IsUtf8()));
}

bool TfrmMain::HasDocument() const
{
    return DocumentReady_ && !Working_ && !Document_->FileName().empty();
}

int TfrmMain::ShownTab() const
{
    return std::max(0, tcFileList->TabBar()->currentIndex());
}

bool TfrmMain::AskUnsavedChanges()
{
    if (!Modified_) return true;
    const QString text = Site_ ? "サイト\"" + SiteFolder_ + "\"の内容は変更されています\r\n保存しますか？"
                               : "ファイル\"" + QString::fromStdString(Document_->FileName()) +
                                     "\"の内容は変更されています\r\n保存しますか？";
    const TFocusBack back(*this);
    const auto answer = QMessageBox::warning(this, QApplication::applicationName(), text,
                                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        alSaveExecute();
        return !Modified_;  // a failed save keeps the window and the changes
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
    if (Site_) LoadSite(SiteFolder_);
    else LoadDocument(QString::fromStdString(Document_->FileName()));
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
    std::unique_ptr<THtmlStructure> next;
    const pictor::TDocumentOptions options = pictor::DocumentOptionsOf(Options_, Pool_);
    const bool done = LoadIntoNewFolder(
        [&](const std::string& folder) {
            next = std::make_unique<THtmlStructure>(folder);
            return next->WorkFolder;
        },
        [&](const TPictureProgress& progress) { next->LoadFromFile(path.toStdString(), options, progress); });
    if (!done) return;
    ShowDocument(std::move(next));
    ReportLoad();
}

bool TfrmMain::LoadIntoNewFolder(const std::function<std::string(const std::string& folder)>& prepare,
                                 const TWorkRunner::TJob& load)
{
    std::string folder;
    bool done = false;
    try {
        if (!Work_) Work_ = std::make_unique<pictor::TWorkSession>();
        folder = prepare(Work_->Path() + std::to_string(++Loads_));
        done = RunWork("構文解析中...", true, load);
    } catch (const std::exception& error) {
        if (!folder.empty()) RemoveWorkFolder(folder);
        ShowLoadFailure(error);
        return false;
    }
    if (!done) RemoveWorkFolder(folder);  // cancelled: the open document stays as it was
    return done;
}

void TfrmMain::ShowLoadFailure(const std::exception& error)
{
    // Nothing of the old document is left to show or to ask about, and the half-read one stays
    // unready: every command that would use it is shut off.
    ShowDocument(std::make_unique<THtmlStructure>());
    DocumentReady_ = false;
    SetDocumentCommandsEnabled(false);
    alUndo->setEnabled(false);
    alRedo->setEnabled(false);
    Modified_ = false;
    setWindowTitle("Pictor");
    for (QLabel* panel : StatusPanels) panel->clear();
    ShowError(error);
}

void TfrmMain::ReportLoad()
{
    Progress_->hide();
    ReportDeadReferences(this, Site_ ? Site_->DeadReferences() : Document_->DeadReferences());
    ReportRejectedColors(this, Edited());
}

void TfrmMain::RemoveWorkFolder(const std::string& folder)
{
    std::error_code ignored;  // what is left goes with the session's folder
    if (Work_ && folder.starts_with(Work_->Path()) && folder.size() > Work_->Path().size())
        std::filesystem::remove_all(folder, ignored);
}

void TfrmMain::ShowDocument(std::unique_ptr<THtmlStructure> document)
{
    DeleteSourceMenuItems();
    ClearDocumentView();
    const std::string old = Edited().WorkFolder;
    Site_.reset();
    SiteFolder_.clear();
    pnlPageList->hide();
    Single_ = std::move(document);
    Document_ = Single_.get();
    RemoveWorkFolder(old);
    DocumentReady_ = true;
    if (Document_->FileName().empty()) return;

    ShowFileTabs();
    tcFileListChange();
    setWindowTitle("Pictor [" + QString::fromStdString(Document_->FileName()) + "]");
    CreateSourceMenuItems();

    UpdateUndoCommands();
    SetDocumentCommandsEnabled(true);
    SetModified(false);
    Preview_->Show(*Document_, QString::fromStdString(Document_->WorkFileName()));
}

void TfrmMain::ShowFileTabs()
{
    QTabBar* tabs = tcFileList->TabBar();
    const QSignalBlocker blocker(tabs);
    while (tabs->count() > 0) tabs->removeTab(0);
    for (int tab = 0; tab < Document_->FileCount(); ++tab)
        tabs->addTab(QFileInfo(QString::fromStdString(Document_->FilePath(tab))).fileName());
    tabs->setCurrentIndex(0);
}

void TfrmMain::ShowCharCode(const TElements& file)
{
    const std::string_view name = file.EncodingName();
    StatusPanels[0]->setText(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

void TfrmMain::tcFileListChange()
{
    if (!HasDocument()) return;
    if (ShowsSite()) {
        FillSiteLists();
        ShowCharCode(Document_->Elements(ShownTab()));
        return;
    }
    const TElements& file = Document_->Elements(ShownTab());
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
    if (!HasDocument()) return;
    if (ShowsSite()) return SyncSiteCheckMarks();
    const TElements& file = Document_->Elements(ShownTab());
    for (int row = 0; row < clbColorList->count() && size_t(row) < file.Colors.size(); ++row)
        clbColorList->SetRowChecked(row, file.Colors[size_t(row)].Checked);
    for (int row = 0; row < clbPicList->count() && size_t(row) < file.Pics.size(); ++row)
        clbPicList->SetRowChecked(row, file.Pics[size_t(row)].Checked);
}

void TfrmMain::ColorListClickCheck(int row, bool checked, Qt::KeyboardModifiers modifiers)
{
    if (!HasDocument()) return;
    if (ShowsSite()) return SiteColorClickCheck(row, checked);
    // Shift ticks the value in every file the change acts on: the page's, or the whole site's.
    SetColorChecked(*Document_, ShownTab(), row, checked, false);
    if (!modifiers.testFlag(Qt::ShiftModifier)) return;
    SetCheckedByColor(Edited(), Document_->Elements(ShownTab()).Colors.at(size_t(row)).Color, checked);
    SyncCheckMarks();
}

void TfrmMain::PicListClickCheck(int row, bool checked)
{
    if (!HasDocument()) return;
    if (ShowsSite()) return SitePicClickCheck(row, checked);
    SetPicChecked(*Document_, ShownTab(), row, checked);
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
    if (!HasDocument()) return;
    SetCheckedByColor(Edited(), picked, checked);
    SyncCheckMarks();
    pnlColorPicker->BlankMagnifier();
}

void TfrmMain::alSelectAllExecute()
{
    if (!alSelectAll->isEnabled() || !HasDocument()) return;
    CheckAll(Edited());
    SyncCheckMarks();
}

void TfrmMain::alSelectInverseExecute()
{
    if (!alSelectInverse->isEnabled() || !HasDocument()) return;
    InvertChecks(Edited());
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
    if (action.Kind != THintAction::haShow || !HasDocument()) return;
    const TMyCheckListBox* box = list == hlColors ? clbColorList : clbPicList;
    const QPoint at = box->viewport()->mapToGlobal(viewportPos) + QPoint(16, 16);
    if (ShowsSite()) return ShowSiteHint(list, action.Row, at);
    const TElements& file = Document_->Elements(ShownTab());
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

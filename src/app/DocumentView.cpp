#include "app/DocumentView.h"

#include "adjust/ui/BitmapImage.h"
#include "app/HintWindows.h"
#include "app/OpenDocument.h"
#include "app/PageList.h"
#include "app/SiteLists.h"
#include "app/UiFonts.h"
#include "app/model/Options.h"
#include "app/model/RecordChecks.h"
#include "app/model/SourceExcerpt.h"
#include "document/HtmlStructure.h"
#include "site/SiteDocument.h"
#include "widgets/MyCheckListBox.h"
#include "widgets/SwatchDelegate.h"
#include "widgets/TabSideBar.h"

#include <QCheckBox>
#include <QCursor>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolTip>
#include <QVBoxLayout>

using namespace pictor;

namespace {

// A list under its caption, taking the height the caption leaves.
QWidget* Captioned(const QString& caption, QWidget* list, const QMargins& margins)
{
    auto* captioned = new QWidget;
    auto* layout = new QVBoxLayout(captioned);
    layout->setContentsMargins(margins);
    layout->setSpacing(0);
    layout->addWidget(new QLabel(caption));
    layout->addWidget(list, 1);
    return captioned;
}

} // namespace

TDocumentView::~TDocumentView() = default;

TDocumentView::TDocumentView(TOpenDocument& open, const TOptions& options, QMainWindow& window)
    : QObject(&window), Open_(open), Options_(options)
{
    GraphicHint_ = new TGraphicHint(&window);
    SourceHint_ = new TSourceHint(&window);
    CreateLists();
    Site_ = std::make_unique<TSiteLists>(Open_, Options_, *clbColorList, *clbPicList);
    SideBar_ = new QSplitter(Qt::Vertical);
    SideBar_->setObjectName("SideBar");
    SideBar_->setChildrenCollapsible(false);
    SideBar_->addWidget(CreatePageList());
    SideBar_->addWidget(tcFileList);
    SideBar_->setStretchFactor(1, 1);
    CreateStatusBar(window);
    connect(&Open_, &TOpenDocument::ModifiedChanged, this,
            [this](bool modified) { StatusPanels[1]->setText(modified ? "変更あり" : "変更なし"); });
}

QWidget* TDocumentView::CreatePageList()
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
    connect(lvPageList, &TPageList::pageChosen, this, &TDocumentView::PageChosen);
    connect(chbSiteView, &QCheckBox::toggled, this, [this] { tcFileListChange(); });
    return pnlPageList;
}

void TDocumentView::CreateLists()
{
    clbColorList = new TMyCheckListBox;
    clbColorList->setObjectName("clbColorList");
    clbColorList->SetDelegate(new TSwatchDelegate([this](int row, QColor& color) { return SwatchColor(row, color); }));
    clbColorList->setFont(FixedFont(12));
    clbColorList->SetRowHeight(clbColorList->fontMetrics().height());
    clbColorList->setStatusTip("Shift+クリックで同じ色を同時選択/選択解除できます ");
    clbPicList = new TMyCheckListBox;
    clbPicList->setObjectName("clbPicList");
    clbPicList->setFont(ProportionalFont(12));
    clbPicList->SetRowHeight(std::max(12, clbPicList->fontMetrics().height()));
    // Below the scroll area's own minimum: a page of one picture needs only a few rows.
    clbPicList->setMinimumHeight(clbPicList->RowHeight() + 2 * clbPicList->frameWidth());
    clbPicList->setStatusTip("ツールチップの表示/非表示はオプションから設定できます");

    ListSplitter = new QSplitter(Qt::Vertical);
    ListSplitter->setObjectName("ListSplitter");
    ListSplitter->setHandleWidth(6);
    ListSplitter->setChildrenCollapsible(false);
    ListSplitter->addWidget(clbColorList);
    ListSplitter->addWidget(Captioned("画像リスト :", clbPicList, {0, 4, 0, 0}));
    // A taller window gives its height to the colours, of which a page has many more.
    ListSplitter->setStretchFactor(0, 1);
    ListSplitter->setStretchFactor(1, 0);

    QWidget* page = Captioned("カラーリスト :", ListSplitter, {2, 2, 2, 2});

    tcFileList = new TTabSideBar(page);
    tcFileList->setObjectName("tcFileList");
    tcFileList->setMinimumWidth(1);
    tcFileList->TabBar()->addTab("(ファイルが開かれていません)");

    connect(tcFileList->TabBar(), &QTabBar::currentChanged, this, &TDocumentView::tcFileListChange);
    connect(clbColorList, &TMyCheckListBox::checkClicked, this, &TDocumentView::ColorListClickCheck);
    connect(clbPicList, &TMyCheckListBox::checkClicked, this,
            [this](int row, bool checked, Qt::KeyboardModifiers) { PicListClickCheck(row, checked); });
    // One selected row in the side bar at most.
    connect(clbColorList, &QListWidget::itemPressed, clbPicList, &QListWidget::clearSelection);
    connect(clbPicList, &QListWidget::itemPressed, clbColorList, &QListWidget::clearSelection);
    connect(clbColorList, &QListWidget::itemDoubleClicked, this, &TDocumentView::ColorDoubleClicked);

    connect(clbColorList, &TMyCheckListBox::mouseMoved, this, [this](const QPoint& p) { ListMouseMove(hlColors, p); });
    connect(clbPicList, &TMyCheckListBox::mouseMoved, this, [this](const QPoint& p) { ListMouseMove(hlPictures, p); });
    connect(clbColorList, &TMyCheckListBox::hintDue, this, [this](const QPoint& p) { ListHintDue(hlColors, p); });
    connect(clbPicList, &TMyCheckListBox::hintDue, this, [this](const QPoint& p) { ListHintDue(hlPictures, p); });
    connect(clbColorList, &TMyCheckListBox::mouseLeft, this, [this] { ListMouseLeave(hlColors); });
    connect(clbPicList, &TMyCheckListBox::mouseLeft, this, [this] { ListMouseLeave(hlPictures); });
}

void TDocumentView::CreateStatusBar(QMainWindow& window)
{
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel;
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 2) StatusPanels[i]->setFixedWidth(80);
        window.statusBar()->addWidget(StatusPanels[i], i < 2 ? 0 : 1);
    }
}

void TDocumentView::ClearStatus()
{
    for (QLabel* panel : StatusPanels) panel->clear();
}

void TDocumentView::SetEnabled(bool enabled)
{
    tcFileList->setEnabled(enabled);
    pnlPageList->setEnabled(enabled);
}

void TDocumentView::SetTabPosition(int position)
{
    tcFileList->SetTabPosition(position);
}

int TDocumentView::TabPosition() const
{
    return tcFileList->TabPosition();
}

void TDocumentView::RepaintLists()
{
    clbColorList->viewport()->update();
    clbPicList->viewport()->update();
}

void TDocumentView::Clear()
{
    QTabBar* tabs = tcFileList->TabBar();
    const QSignalBlocker blocker(tabs);
    while (tabs->count() > 0) tabs->removeTab(0);
    clbColorList->clear();
    clbPicList->clear();
    GraphicHint_->hide();
    SourceHint_->hide();
}

void TDocumentView::ShowPage()
{
    pnlPageList->hide();
    if (Open_.Shown().FileName().empty()) return;
    ShowFileTabs();
    tcFileListChange();
}

void TDocumentView::ShowSite()
{
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
}

void TDocumentView::ShowSitePages()
{
    lvPageList->ShowPages(*Open_.Site(), Open_.SiteFolder().toStdString());
    lvPageList->ChoosePage(Open_.ShownPage());
}

void TDocumentView::ShowSitePage(int page, bool firstShown)
{
    lvPageList->ChoosePage(page);
    ShowFileTabs();
    // The site's lists are the same whichever page is shown.
    if (ShowsSite() && !firstShown) ShowCharCode(Open_.Shown().Page);
    else tcFileListChange();
}

void TDocumentView::ShowRecord(const TRecordAt& record)
{
    chbSiteView->setChecked(false);  // the record is shown in its file's own list
    tcFileList->TabBar()->setCurrentIndex(record.Tab);
    if (auto* item = clbColorList->item(int(record.Row))) {
        clbColorList->setCurrentItem(item);
        clbColorList->scrollToItem(item);
    }
}

void TDocumentView::ShowFileTabs()
{
    QTabBar* tabs = tcFileList->TabBar();
    const QSignalBlocker blocker(tabs);
    while (tabs->count() > 0) tabs->removeTab(0);
    for (int tab = 0; tab < Open_.Shown().FileCount(); ++tab)
        tabs->addTab(QFileInfo(QString::fromStdString(Open_.Shown().FilePath(tab))).fileName());
    tabs->setCurrentIndex(0);
}

void TDocumentView::ShowCharCode(const TElements& file)
{
    const std::string_view name = file.EncodingName();
    StatusPanels[0]->setText(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

int TDocumentView::ShownTab() const
{
    return std::max(0, tcFileList->TabBar()->currentIndex());
}

bool TDocumentView::ShowsSite() const
{
    return Open_.Site() && chbSiteView->isChecked();
}

QString TDocumentView::FileText(const TElements& file, const std::string& text)
{
    return QString::fromStdString(DisplayText(text, file.IsUtf8()));
}

void TDocumentView::tcFileListChange()
{
    if (!Open_.IsReadable()) return;
    if (ShowsSite()) {
        Site_->Fill();
        FitPictureList();
        ShowCharCode(Open_.Shown().Elements(ShownTab()));
        return;
    }
    const TElements& file = Open_.Shown().Elements(ShownTab());
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

void TDocumentView::RefreshColorList()
{
    if (!Open_.IsReadable()) return;
    if (ShowsSite()) {
        Site_->Fill();
        return FitPictureList();
    }
    const TElements& file = Open_.Shown().Elements(ShownTab());
    const int top = clbColorList->verticalScrollBar()->value();
    clbColorList->setUpdatesEnabled(false);
    for (int row = 0; row < clbColorList->count() && size_t(row) < file.Colors.size(); ++row) {
        clbColorList->item(row)->setText(FileText(file, file.Colors[size_t(row)].Text));
        clbColorList->item(row)->setData(Qt::UserRole, SwatchOf(file.Colors[size_t(row)]));
    }
    clbColorList->FitHorizontalExtent(30);
    clbColorList->verticalScrollBar()->setValue(top);
    clbColorList->setUpdatesEnabled(true);
}

void TDocumentView::FitPictureList()
{
    const QList<int> sizes = ListSplitter->sizes();
    QWidget* lower = ListSplitter->widget(1);
    const int frame = lower->height() - clbPicList->viewport()->height();
    const int need = frame + std::max(MinPictureRows, clbPicList->count()) * clbPicList->RowHeight();
    if (sizes.size() == 2 && need < sizes[1]) ListSplitter->setSizes({sizes[0] + sizes[1] - need, need});
}

QColor TDocumentView::SwatchOf(const TColorRecord& record)
{
    const TColor c = record.Color;
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c), AlphaToByte(record.AlphaForm, record.Alpha));
}

// From the row itself: the records may be changing on the worker while the list paints.
bool TDocumentView::SwatchColor(int row, QColor& color) const
{
    const QListWidgetItem* item = row >= 0 ? clbColorList->item(row) : nullptr;
    if (!item || !item->data(Qt::UserRole).isValid()) return false;
    color = item->data(Qt::UserRole).value<QColor>();
    return true;
}

int TDocumentView::ColorRowAtPointer() const
{
    return clbColorList->RowAt(clbColorList->viewport()->mapFromGlobal(QCursor::pos()));
}

void TDocumentView::SyncCheckMarks()
{
    if (!Open_.IsReadable()) return;
    if (ShowsSite()) return Site_->SyncCheckMarks();
    const TElements& file = Open_.Shown().Elements(ShownTab());
    for (int row = 0; row < clbColorList->count() && size_t(row) < file.Colors.size(); ++row)
        clbColorList->SetRowChecked(row, file.Colors[size_t(row)].Checked);
    for (int row = 0; row < clbPicList->count() && size_t(row) < file.Pics.size(); ++row)
        clbPicList->SetRowChecked(row, file.Pics[size_t(row)].Checked);
}

void TDocumentView::ColorListClickCheck(int row, bool checked, Qt::KeyboardModifiers modifiers)
{
    if (!Open_.IsReadable()) return;
    if (ShowsSite()) return Site_->ColorClicked(row, checked);
    // Shift ticks the value in every file the change acts on: the page's, or the whole site's.
    SetColorChecked(Open_.Shown(), ShownTab(), row, checked, false);
    if (!modifiers.testFlag(Qt::ShiftModifier)) return;
    SetCheckedByColor(Open_.Edited(), Open_.Shown().Elements(ShownTab()).Colors.at(size_t(row)).Color, checked);
    SyncCheckMarks();
}

void TDocumentView::PicListClickCheck(int row, bool checked)
{
    if (!Open_.IsReadable()) return;
    if (ShowsSite()) return Site_->PictureClicked(row, checked);
    SetPicChecked(Open_.Shown(), ShownTab(), row, checked);
}

void TDocumentView::ListMouseMove(THintList list, const QPoint& viewportPos)
{
    const TMyCheckListBox* box = list == hlColors ? clbColorList : clbPicList;
    ApplyHint(list, Hints_.MouseMove(list, box->RowAt(viewportPos), Options_.ShowHint), viewportPos);
}

void TDocumentView::ListHintDue(THintList list, const QPoint& viewportPos)
{
    TMyCheckListBox* box = list == hlColors ? clbColorList : clbPicList;
    const int row = box->RowAt(viewportPos);
    // With the hints off, a row still shows its whole text, which a narrow list cuts.
    if (!Options_.ShowHint && row >= 0)
        QToolTip::showText(box->viewport()->mapToGlobal(viewportPos), box->item(row)->text(), box);
    ApplyHint(list, Hints_.HintDue(list, row, Options_.ShowHint), viewportPos);
}

void TDocumentView::ListMouseLeave(THintList list)
{
    ApplyHint(list, Hints_.MouseLeave(list), {});
}

void TDocumentView::ApplyHint(THintList list, const THintAction& action, const QPoint& viewportPos)
{
    QWidget* hint = list == hlColors ? static_cast<QWidget*>(SourceHint_) : static_cast<QWidget*>(GraphicHint_);
    if (action.Kind == THintAction::haHide) hint->hide();
    if (action.Kind != THintAction::haShow || !Open_.IsReadable()) return;
    const TMyCheckListBox* box = list == hlColors ? clbColorList : clbPicList;
    const QPoint at = box->viewport()->mapToGlobal(viewportPos) + QPoint(16, 16);
    const TElements& file = Open_.Shown().Elements(ShownTab());
    if (list == hlPictures) {
        const TPicRecord* pic = ShowsSite() ? Site_->Picture(action.Row)
                                : size_t(action.Row) < file.Pics.size() ? &file.Pics[size_t(action.Row)] : nullptr;
        if (!pic) return;
        if (pic->Tickable()) GraphicHint_->ShowImage(ImageFromBitmap(pic->Bitmap), at);
        else QToolTip::showText(at, QString::fromStdString(DeadReferenceHint(pic->State, pic->Reason)), clbPicList);
        return;
    }
    if (ShowsSite()) {
        if (const auto files = Site_->ColorFiles(action.Row)) QToolTip::showText(at, *files, clbColorList);
        return;
    }
    if (size_t(action.Row) >= file.Colors.size()) return;
    const TSourceExcerpt excerpt = MakeSourceExcerpt(file.CurrentText(), file.Colors[size_t(action.Row)], Options_.HintViewBytes);
    SourceHint_->ShowExcerpt(FileText(file, excerpt.Before), FileText(file, excerpt.Color), FileText(file, excerpt.After), at);
}

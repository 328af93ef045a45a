// The main window's creation and destruction, its settings and its window-level events.
#include "app/MainWindow.h"

#include "app/AppStyle.h"
#include "widgets/ErrorBox.h"
#include "app/ApplicationKeys.h"
#include "app/DocumentView.h"
#include "app/PreviewContrast.h"
#include "app/ProgressWindow.h"
#include "app/UiFonts.h"
#include "app/OpenDocument.h"
#include "app/model/BandLayout.h"
#include "app/model/IniFileCompo.h"
#include "app/model/ProgramPaths.h"
#include "document/Paths.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "colordialog/ui/ColorSelectDialog.h"
#include "document/HtmlStructure.h"
#include "app/model/Options.h"
#include "site/SiteDocument.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

using namespace pictor;

TfrmMain::TfrmMain(const QStringList& arguments, QWidget* parent) : QMainWindow(parent)
{
    Commands_ = new TCommandLock(this);
    Open_ = new TOpenDocument(this);
    Contrast_ = std::make_shared<TContrastState>();
    Style_ = new TAppStyle;
    QApplication::setStyle(Style_);
    setObjectName("frmMain");
    setFont(ProportionalFont(12));
    setWindowIcon(QIcon(":/pictor.png"));
    setMinimumSize(200, 200);
    resize(790, 543);
    setAcceptDrops(true);
    setWindowTitle("Pictor");

    CreateActions();
    CreateToolBars();
    CreateColorPicker();
    CreatePanes();
    CreateMenus();

    Progress_ = new TfrmProgress(this);
    Worker_ = new TWorkRunner(*Progress_, this);
    SetDocumentCommandsEnabled(false);
    alUndo->setEnabled(false);
    alRedo->setEnabled(false);

    LoadSettings();
    CreateColorDialog();
    new TApplicationKeys(this, alSelectAll, alOpen, alOpenSite, alSave, alReload);

    if (!arguments.isEmpty() && QFileInfo(arguments.first()).isDir())
        LoadSite(QFileInfo(arguments.first()).absoluteFilePath());
    else if (!arguments.isEmpty() && pictor::IsPageName(arguments.first().toStdString()))
        LoadDocument(QFileInfo(arguments.first()).absoluteFilePath());
}

TfrmMain::~TfrmMain()
{
    SaveSettings();
}

void TfrmMain::LoadSettings()
{
    Ini_ = std::make_unique<TIniFileCompo>();
    Ini_->SetDefaultFolder(dfUser);
    Ini_->SetFileName(SettingsFilePath());
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    Window_ = pictor::LoadSettings(*Ini_, Options_, screen.width(), screen.height(), ProgramFolder());

    OpenFolder_ = QString::fromStdString(Window_.LastOpenedDirectory);
    resize(Window_.Width, Window_.Height);
    move(Window_.Left, Window_.Top);
    if (Window_.State == 0) setWindowState(Qt::WindowMinimized);
    if (Window_.State == 2) setWindowState(Qt::WindowMaximized);

    mnuVSideBar->setChecked(Window_.SideBarVisible);
    View_->SideBar()->setVisible(Window_.SideBarVisible);
    View_->Lists()->setSizes({Window_.SideBarHeight, std::max(1, Window_.Height - Window_.SideBarHeight)});
    Splitter->setSizes({Window_.SideBarWidth, std::max(1, Window_.Width - Window_.SideBarWidth)});
    mnuVBar->setChecked(Window_.StatusBarVisible);
    statusBar()->setVisible(Window_.StatusBarVisible);
    ArrangeBands();
    ApplyOptions();
}

void TfrmMain::CreateColorDialog()
{
    ColorDialog = new TColorSelectDialog(this);
    ColorDialog->SetUseWebSafeColor(Options_.UseWebSafeColor);
    static constexpr TColor presets[16] = {
        RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),   RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255),
        RGB(255, 255, 255), RGB(128, 0, 0), RGB(0, 128, 0),   RGB(0, 0, 128),   RGB(128, 128, 0), RGB(0, 128, 128),
        RGB(128, 0, 128), RGB(128, 128, 128), RGB(192, 192, 192), RGB(0, 0, 0)};
    for (int slot = 0; slot < 16; ++slot) ColorDialog->SetCustomColors(slot, presets[slot]);
    ColorDialog->SetCustomColors(27, RGB(0, 0, 0));
}

void TfrmMain::mnuDarkPreviewClick(bool dark)
{
    Preview_->SetDark(dark);
}

void TfrmMain::ApplyOptions()
{
    View_->SetTabPosition(Options_.TabPosition);
    Style_->SetHintPause(Options_.HintPauseTime);
    pnlColorPicker->SetLowerCase(Options_.SaveWithLowerCase);
}

std::array<QToolBar*, bnCount> TfrmMain::Bands() const
{
    return {tbMainMenu, tbFile, tbEdit, tbColorAdjust, tbHelp, tbColorPicker};
}

void TfrmMain::ArrangeBands()
{
    const auto bands = Bands();
    QAction* const toggles[bnCount] = {nullptr, mnuVFile, mnuVEdit, mnuVAdjust, mnuVHelp, mnuVColorPicker};
    bool firstRow = true;
    for (const auto& row : pictor::ArrangeBands(Window_.Bands, false)) {
        if (!firstRow) addToolBarBreak(Qt::TopToolBarArea);
        firstRow = false;
        for (TBand band : row) addToolBar(Qt::TopToolBarArea, bands[size_t(band)]);
    }
    for (int b = bnFile; b < bnCount; ++b) {
        toggles[b]->setChecked(Window_.Bands[size_t(b)].Visible);
        bands[size_t(b)]->setVisible(Window_.Bands[size_t(b)].Visible);
    }
}

void TfrmMain::SaveSettings()
{
    TWindowSettings w = Window_;
    w.LastOpenedDirectory = OpenFolder_.toStdString();
    w.State = isMinimized() ? 0 : isMaximized() ? 2 : 1;
    w.Top = y();
    w.Left = x();
    w.Height = height();
    w.Width = width();
    w.SideBarVisible = !View_->SideBar()->isHidden();
    if (w.SideBarVisible) w.SideBarWidth = Splitter->sizes().value(0);
    w.SideBarHeight = View_->Lists()->sizes().value(0);
    w.StatusBarVisible = !statusBar()->isHidden();

    const auto bands = Bands();
    layout()->activate();  // a window that was never shown has placed no band yet
    TBandSettings shown;
    for (int b = 0; b < bnCount; ++b)
        shown[size_t(b)] = {!bands[size_t(b)]->isHidden(), bands[size_t(b)]->y(), bands[size_t(b)]->x()};
    w.Bands = PlaceBands(Window_.Bands, shown);

    Options_.TabPosition = View_->TabPosition();
    pictor::SaveSettings(*Ini_, w, Options_);
}

void TfrmMain::SetDocumentCommandsEnabled(bool enabled)
{
    for (QAction* command : {alSave, alSaveAs, alReload, alSelectAll, alSelectInverse, alOpenfrmHue, alOpenfrmBright,
                             alOpenfrmCB, alInverse, alDark, alContrastCheck})
        command->setEnabled(enabled);
    pnlColorPicker->SetDocumentOpen(enabled);
}

void TfrmMain::ShowError(const std::exception& error)
{
    Progress_->hide();
    ShowErrorBox(this, error);
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        View_->MessagePanel()->setText(tip.isEmpty() ? Contrast_->Warning : tip);
        return true;
    }
    // The page named on the command line was listed before the lists had their heights.
    if (event->type() == QEvent::Show) QTimer::singleShot(0, View_, &TDocumentView::FitPictureList);
    return QMainWindow::event(event);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // A save under way ends first: its files are all replaced or all as they were.
    if (Saving_ || Open_->IsLent()) {
        CloseAfterWork_ = true;
        event->ignore();
        return;
    }
    if (AskUnsavedChanges())
        event->accept();
    else
        event->ignore();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
    Commands_->Run([&] { FilesDropped(paths); });
}

void TfrmMain::FilesDropped(const QStringList& paths)
{
    if (paths.isEmpty()) return;
    const bool folder = QFileInfo(paths.first()).isDir();
    if ((!folder && !pictor::IsPageName(paths.first().toStdString())) || !AskUnsavedChanges()) return;
    if (folder) LoadSite(QFileInfo(paths.first()).absoluteFilePath());
    else LoadDocument(paths.first());
}

QMenu* TfrmMain::createPopupMenu()
{
    return nullptr;  // the bands are shown and hidden from View → Tool bar only
}

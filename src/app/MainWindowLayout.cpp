// Building the main window's actions, menus, bands and panes.
#include "app/MainWindow.h"

#include "app/Cursors.h"
#include "app/DocumentView.h"
#include "app/WebBrowser.h"
#include "colordialog/ui/ColorPickerPanel.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

using pictor::TColorPickerPanel;

namespace {

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const QString& hint,
                    const QIcon& icon = {}, const QKeySequence& shortcut = {})
{
    auto* action = new QAction(icon, caption, owner);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    return action;
}

QToolBar* MakeBand(QWidget* owner, const char* name, const QString& title)
{
    auto* band = new QToolBar(title, owner);
    band->setObjectName(QLatin1String(name));
    band->setAllowedAreas(Qt::TopToolBarArea);
    band->setFloatable(false);
    band->setIconSize(QSize(20, 20));
    return band;
}

void NameButton(QToolBar* band, QAction* action, const char* name)
{
    band->widgetForAction(action)->setObjectName(QLatin1String(name));
}

} // namespace

void TfrmMain::CreateActions()
{
    const auto standard = [this](QStyle::StandardPixmap pixmap) { return style()->standardIcon(pixmap); };
    const auto icon = [](const char* name) { return QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(name))); };

    alOpen = MakeAction(this, "alOpen", "開く(&O)...", "開く", standard(QStyle::SP_DialogOpenButton), QKeySequence(Qt::CTRL | Qt::Key_O));
    alOpenSite = MakeAction(this, "alOpenSite", "サイトを開く(&D)...", "サイトを開く", standard(QStyle::SP_DirOpenIcon), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    alSave = MakeAction(this, "alSave", "上書き保存(&S)", "上書き保存", standard(QStyle::SP_DialogSaveButton), QKeySequence(Qt::CTRL | Qt::Key_S));
    alSaveAs = MakeAction(this, "alSaveAs", "名前を付けて保存(&A)...", "名前を付けて保存", standard(QStyle::SP_DriveHDIcon));
    alReload = MakeAction(this, "alReload", "現在開いているファイルの再読込(&R)", "現在開いているファイルの再読込", standard(QStyle::SP_BrowserReload), QKeySequence(Qt::Key_F5));
    alUndo = MakeAction(this, "alUndo", "元に戻す(&U)", "元に戻す", standard(QStyle::SP_ArrowBack), QKeySequence(Qt::CTRL | Qt::Key_Z));
    alRedo = MakeAction(this, "alRedo", "やり直し(&R)", "やり直し", standard(QStyle::SP_ArrowForward));
    alSelectAll = MakeAction(this, "alSelectAll", "全て選択(&A)", "全て選択", icon("selectall"), QKeySequence(Qt::CTRL | Qt::Key_A));
    alSelectInverse = MakeAction(this, "alSelectInverse", "選択の反転(&I)", "選択の反転", icon("selectinverse"), QKeySequence(Qt::CTRL | Qt::Key_I));
    alOpenfrmHue = MakeAction(this, "alOpenfrmHue", "色相・彩度(&H)...", "色相・彩度", icon("hue"));
    alOpenfrmBright = MakeAction(this, "alOpenfrmBright", "明るさ・コントラスト(&B)...", "明るさ・コントラスト", icon("bright"));
    alOpenfrmCB = MakeAction(this, "alOpenfrmCB", "カラーバランス(&C)...", "カラーバランス", icon("balance"));
    alInverse = MakeAction(this, "alInverse", "階調の反転(&I)", "階調の反転", icon("invert"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    alDark = MakeAction(this, "alDark", "ダークテーマ(&D)...", "ダークテーマ", {});
    alContents = MakeAction(this, "alContents", "目次(&C)", "目次", standard(QStyle::SP_DialogHelpButton), QKeySequence(Qt::Key_F1));
    alContrastCheck = MakeAction(this, "alContrastCheck", "コントラストの確認...", "コントラストの確認");
    mnuExit = MakeAction(this, "mnuExit", "終了(&X)", {});
    mnuReplaceSetting = MakeAction(this, "mnuReplaceSetting", "置換設定(&R)", {});
    mnuReplaceSetting->setVisible(false);
    mnuOption = MakeAction(this, "mnuOption", "オプション(&O)...", {});
    mnuAbout = MakeAction(this, "mnuAbout", "バージョン情報(&A)...", {});
    mnuGoMySite = MakeAction(this, "mnuGoMySite", "作者のサイトを開く(&G)", {});
    // Shortcuts keep working while the bands that show these commands are hidden.
    addActions({alUndo, alSelectInverse, alContents});

    connect(alOpen, &QAction::triggered, this, Locked(&TfrmMain::alOpenExecute));
    connect(alOpenSite, &QAction::triggered, this, Locked(&TfrmMain::alOpenSiteExecute));
    connect(alSave, &QAction::triggered, this, Locked(&TfrmMain::alSaveExecute));
    connect(alSaveAs, &QAction::triggered, this, Locked(&TfrmMain::alSaveAsExecute));
    connect(alReload, &QAction::triggered, this, Locked(&TfrmMain::alReloadExecute));
    connect(alUndo, &QAction::triggered, this, Locked(&TfrmMain::alUndoExecute));
    connect(alRedo, &QAction::triggered, this, Locked(&TfrmMain::alRedoExecute));
    connect(alSelectAll, &QAction::triggered, this, Locked(&TfrmMain::alSelectAllExecute));
    connect(alSelectInverse, &QAction::triggered, this, Locked(&TfrmMain::alSelectInverseExecute));
    connect(alOpenfrmHue, &QAction::triggered, this, Locked(&TfrmMain::alOpenfrmHueExecute));
    connect(alOpenfrmBright, &QAction::triggered, this, Locked(&TfrmMain::alOpenfrmBrightExecute));
    connect(alOpenfrmCB, &QAction::triggered, this, Locked(&TfrmMain::alOpenfrmCBExecute));
    connect(alInverse, &QAction::triggered, this, Locked(&TfrmMain::alInverseExecute));
    connect(alDark, &QAction::triggered, this, Locked(&TfrmMain::alDarkExecute));
    connect(alContents, &QAction::triggered, this, Locked(&TfrmMain::alContentsExecute));
    connect(alContrastCheck, &QAction::triggered, this, Locked(&TfrmMain::alContrastCheckExecute));
    connect(mnuExit, &QAction::triggered, this, Locked(&QWidget::close));
    connect(mnuReplaceSetting, &QAction::triggered, this, Locked(&TfrmMain::mnuReplaceSettingClick));
    connect(mnuOption, &QAction::triggered, this, Locked(&TfrmMain::mnuOptionClick));
    connect(mnuAbout, &QAction::triggered, this, Locked(&TfrmMain::mnuAboutClick));
    mnuGoMySite->setVisible(false);  // we publish no maker's site
}

void TfrmMain::CreateViewToggle(QAction*& item, const char* name, QMenu* menu, const QString& caption, QWidget* target)
{
    item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setCheckable(true);
    item->setChecked(true);
    connect(item, &QAction::triggered, target, &QWidget::setVisible);
}

void TfrmMain::CreateMenus()
{
    MainMenu_ = new QMenuBar;
    MainMenu_->setNativeMenuBar(false);

    QMenu* file = MainMenu_->addMenu("ファイル(&F)");
    file->addActions({alOpen, alOpenSite, alSave, alSaveAs, alReload});
    file->addSeparator();
    file->addAction(mnuExit);

    QMenu* edit = MainMenu_->addMenu("編集(&E)");
    edit->addActions({alUndo, alRedo});
    edit->addSeparator();
    edit->addActions({alSelectAll, alSelectInverse});

    QMenu* view = MainMenu_->addMenu("表示(&V)");
    mnuSource = view->addMenu("ソース(&S)");
    mnuSource->setObjectName("mnuSource");
    mnuSource->menuAction()->setStatusTip("エディタはオプションから選択できます");
    QAction* none = mnuSource->addAction("(なし)");
    none->setEnabled(false);
    view->addSeparator();
    QMenu* bars = view->addMenu("ツールバー(&T)");
    CreateViewToggle(mnuVFile, "mnuVFile", bars, "ファイル(&F)", tbFile);
    CreateViewToggle(mnuVEdit, "mnuVEdit", bars, "編集(&E)", tbEdit);
    CreateViewToggle(mnuVAdjust, "mnuVAdjust", bars, "色調補正(&A)", tbColorAdjust);
    CreateViewToggle(mnuVColorPicker, "mnuVColorPicker", bars, "カラーピッカー(&C)", tbColorPicker);
    CreateViewToggle(mnuVHelp, "mnuVHelp", bars, "ヘルプ(&H)", tbHelp);
    CreateViewToggle(mnuVSideBar, "mnuVSideBar", view, "サイドバー(&B)", View_->SideBar());
    CreateViewToggle(mnuVBar, "mnuVBar", view, "ステータスバー(&A)", statusBar());
    view->addSeparator();
    mnuDarkPreview = view->addAction("ダークモードでプレビュー(&K)");
    mnuDarkPreview->setObjectName("mnuDarkPreview");
    mnuDarkPreview->setCheckable(true);
    mnuDarkPreview->setStatusTip("プレビューを prefers-color-scheme: dark で表示します");
    connect(mnuDarkPreview, &QAction::triggered, this, &TfrmMain::mnuDarkPreviewClick);

    QMenu* adjust = MainMenu_->addMenu("色調補正(&A)");
    adjust->addActions({alOpenfrmHue, alOpenfrmBright, alOpenfrmCB, alInverse, alDark});

    QMenu* tools = MainMenu_->addMenu("ツール(&T)");
    tools->addActions({mnuReplaceSetting, alContrastCheck, mnuOption});

    QMenu* help = MainMenu_->addMenu("ヘルプ(&H)");
    help->addActions({alContents, mnuAbout});
    help->addSeparator();
    help->addAction(mnuGoMySite);

    tbMainMenu->addWidget(MainMenu_);
}

void TfrmMain::CreateToolBars()
{
    tbMainMenu = MakeBand(this, "tbMainMenu", "メニュー");
    tbFile = MakeBand(this, "tbFile", "ファイル");
    tbFile->addActions({alOpen, alOpenSite, alSave, alSaveAs});
    tbFile->addSeparator();
    tbFile->addAction(alReload);
    tbEdit = MakeBand(this, "tbEdit", "編集");
    tbEdit->addActions({alUndo, alRedo});
    tbEdit->addSeparator();
    tbEdit->addActions({alSelectAll, alSelectInverse});
    tbColorAdjust = MakeBand(this, "tbColorAdjust", "色調補正");
    tbColorAdjust->addActions({alOpenfrmHue, alOpenfrmBright, alOpenfrmCB, alInverse});
    NameButton(tbColorAdjust, alOpenfrmHue, "tbHue");
    NameButton(tbColorAdjust, alOpenfrmBright, "tbBright");
    NameButton(tbColorAdjust, alOpenfrmCB, "tbCV");
    NameButton(tbColorAdjust, alInverse, "tbInverse");
    tbHelp = MakeBand(this, "tbHelp", "ヘルプ");
    tbHelp->addAction(alContents);
    tbColorPicker = MakeBand(this, "tbColorPicker", "カラーピッカー");
}

void TfrmMain::CreateColorPicker()
{
    pnlColorPicker = new TColorPickerPanel;
    pnlColorPicker->setObjectName("pnlColorPicker");
    pnlColorPicker->SetPickCursor(ProgramCursor(crCPick));
    tbColorPicker->addWidget(pnlColorPicker);
    connect(pnlColorPicker, &TColorPickerPanel::SelectColorRequested, this, Locked(&TfrmMain::mnuSelectColorClick));
    connect(pnlColorPicker, &TColorPickerPanel::UnselectColorRequested, this, Locked(&TfrmMain::mnuUnselectColorClick));
    connect(pnlColorPicker, &TColorPickerPanel::SetNewColorRequested, this, Locked(&TfrmMain::mnuSetNewColorClick));
}

void TfrmMain::CreatePanes()
{
    View_ = new TDocumentView(*Open_, Options_, *this);
    connect(View_, &TDocumentView::PageChosen, this, Locked(&TfrmMain::ShowSitePage));
    connect(View_, &TDocumentView::ColorDoubleClicked, this, Locked(&TfrmMain::clbColorListDblClick));
    Preview_ = new TPreviewPane(this);
    // Every page the preview shows gets its contrast checked, and a site its neighbours loaded.
    connect(Preview_, &TPreviewPane::Shown, this, [this] {
        CheckShownContrast();
        PrefetchNeighbours();
        emit PreviewShown();
    });
    Splitter = new QSplitter(Qt::Horizontal);
    Splitter->setObjectName("Splitter");
    Splitter->setHandleWidth(7);
    Splitter->setChildrenCollapsible(false);
    Splitter->addWidget(View_->SideBar());
    Splitter->addWidget(Preview_->Browser());
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    setCentralWidget(Splitter);
    connect(Splitter, &QSplitter::splitterMoved, View_, &TDocumentView::RepaintLists);
}

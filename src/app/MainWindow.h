#pragma once
#include "adjust/Adjustment.h"
#include "adjust/ui/ProgressHooks.h"
#include "app/CommandLock.h"
#include "app/OpenDocument.h"
#include "app/WorkRunner.h"
#include "app/model/Options.h"
#include "app/model/Settings.h"
#include "base/Color.h"
#include "base/WorkPool.h"

#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QStringList>

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QMenuBar;
class QSplitter;
class QToolBar;
class QWidget;
class TAppStyle;
class TfrmProgress;
class THelpWindow;
class TDocumentView;
class TWebBrowser;
class TPreviewUpdater;
class IBrowser;

namespace pictor {
class TColorPickerPanel;
class TColorSelectDialog;
class TIniFileCompo;
class THtmlStructure;
class TSiteDocument;
class TWorkingDocument;
struct TContrastState;
class TfrmContrast;
struct TContrastRow;
}

// The main window: band bar, side bar with the file tabs and the two lists, the preview and the
// status bar, over one open document.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // arguments: the program's arguments without the program itself; a first one naming an
    // HTML page is opened.
    explicit TfrmMain(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The option values, read from the settings file at start and written back at exit.
    pictor::TOptions& Options() { return Options_; }

    // --- For the commands: the document, the preview and the change steps. ---
    // The open document's, as TOpenDocument tells them.
    pictor::THtmlStructure& Document() { return Open_->Shown(); }
    pictor::TWorkingDocument& Edited() { return Open_->Edited(); }
    pictor::TSiteDocument* Site() { return Open_->Site(); }
    int ShownPage() const { return Open_->ShownPage(); }
    bool IsDocumentReady() const { return Open_->IsReady(); }
    IBrowser& Web();
    TfrmProgress& Progress() { return *Progress_; }

    // Keeps the preview's scroll offsets for the next document-complete notification.
    void SaveScrollPosition();
    // The colour rows given their records' current texts, then the working copy shown afresh.
    void ReloadPreview();
    // Runs the long part of a command on the worker thread, the commands that would conflict shut
    // off meanwhile; false when it was cancelled. Throws what the job threw.
    bool RunWork(const QString& message, bool cancellable, const TWorkRunner::TJob& job);
    // A change to the records made on the worker: then the working copies, one undoable step and the
    // preview; cancelled or failed, the records and copies as before it.
    void ApplyChange(const TWorkRunner::TJob& change);
    TWorkRunner& Worker() { return *Worker_; }

    bool IsModified() const { return Open_->IsModified(); }
    // The Open dialog's initial folder.
    QString OpenFolder() const { return OpenFolder_; }
    void SetOpenFolder(const QString& folder) { OpenFolder_ = folder; }
    // Puts the options that act at once into effect: the side bar's tab position and the hint pause.
    void ApplyOptions();
    // The application's standard error box with the error's own text.
    void ShowError(const std::exception& error);

    // Unsaved-changes question; false when the user cancels.
    bool AskUnsavedChanges();
    // The shared load routine of Open, Reload, a drop and the command line.
    void LoadDocument(const QString& path);
    // Every page below the folder opened as one site (MainWindowSite.cpp).
    void LoadSite(const QString& folder);
    // Shows that page of the open site, an index into its pages (MainWindowSite.cpp).
    void ShowSitePage(int page);
    // Files dropped on the window: the first one is opened when it is an HTML page or a folder.
    void FilesDropped(const QStringList& paths);

signals:
    // The preview has shown a page of the document afresh.
    void PreviewShown();

public slots:
    void alOpenExecute();
    void alOpenSiteExecute();  // MainWindowSite.cpp
    void alReloadExecute();
    void alUndoExecute();
    void alRedoExecute();
    void alSelectAllExecute();
    void alSelectInverseExecute();
    // The picker's pop-up: tick or untick every occurrence of the picked colour.
    void mnuSelectColorClick(pictor::TColor picked);
    void mnuUnselectColorClick(pictor::TColor picked);

    // --- Commands of the other menus; each lives in the file named after its command group. ---
    void alSaveExecute();           // MainWindowSave.cpp
    void alSaveAsExecute();         // MainWindowSave.cpp
    void alOpenfrmHueExecute();     // MainWindowAdjust.cpp
    void alOpenfrmBrightExecute();  // MainWindowAdjust.cpp
    void alOpenfrmCBExecute();      // MainWindowAdjust.cpp
    void alInverseExecute();        // MainWindowAdjust.cpp
    void alDarkExecute();           // MainWindowAdjust.cpp
    void mnuDarkPreviewClick(bool dark);  // MainWindowPreview.cpp
    void mnuOptionClick();          // MainWindowOptions.cpp
    void mnuReplaceSettingClick();  // MainWindowReplace.cpp
    void alContrastCheckExecute();  // MainWindowContrast.cpp
    void CreateSourceMenuItems();   // MainWindowHelp.cpp
    void DeleteSourceMenuItems();   // MainWindowHelp.cpp
    void alContentsExecute();       // MainWindowHelp.cpp
    void mnuAboutClick();           // MainWindowHelp.cpp
    void alOpneSourceExecute(int tag);  // MainWindowHelp.cpp
    void mnuSetNewColorClick(pictor::TColor picked);  // MainWindowPicker.cpp
    void clbColorListDblClick();    // MainWindowPicker.cpp

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The progress window as the dialogs and commands drive it (MainWindowAdjust.cpp).
    TProgressHooks ProgressHooks();
    // A dialog command: the dialog, then the change (MainWindowAdjust.cpp).
    void RunAdjustCommand(pictor::TAdjustKind kind);
    // The page drawn at size with every ticked colour and picture inverted, the document as it was after.
    QImage RenderMarked(QSize size);
    // The new-colour commands' common tail: recolour, commit, reload (MainWindowPicker.cpp).
    void CommitNewColor(const std::function<void()>& recolour);
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    class TSaving;
    // Actions and components, named as in the menus they belong to; the object names are the same.
    QAction* alOpen;
    QAction* alOpenSite;
    QAction* alSave;
    QAction* alSaveAs;
    QAction* alReload;
    QAction* alUndo;
    QAction* alRedo;
    QAction* alSelectAll;
    QAction* alSelectInverse;
    QAction* alOpenfrmHue;
    QAction* alOpenfrmBright;
    QAction* alOpenfrmCB;
    QAction* alInverse;
    QAction* alDark;
    QAction* mnuDarkPreview;
    QAction* alContents;
    QAction* alContrastCheck;
    QAction* mnuExit;
    QMenu* mnuSource;
    QAction* mnuVFile;
    QAction* mnuVEdit;
    QAction* mnuVAdjust;
    QAction* mnuVColorPicker;
    QAction* mnuVHelp;
    QAction* mnuVSideBar;
    QAction* mnuVBar;
    QAction* mnuReplaceSetting;
    QAction* mnuOption;
    QAction* mnuAbout;
    QAction* mnuGoMySite;

    QToolBar* tbMainMenu;
    QToolBar* tbFile;
    QToolBar* tbEdit;
    QToolBar* tbColorAdjust;
    QToolBar* tbHelp;
    QToolBar* tbColorPicker;
    pictor::TColorPickerPanel* pnlColorPicker;
    // The one colour selection dialog component, kept for the whole run with its palette.
    pictor::TColorSelectDialog* ColorDialog;

    QSplitter* Splitter;  // side bar | preview

    // A slot that runs through the command lock: it does nothing while another command runs.
    template <class C, class R, class... A> auto Locked(R (C::*command)(A...))
    {
        return [this, command](A... arguments) { Commands_->Run([&] { (this->*command)(arguments...); }); };
    }

    // MainWindowLayout.cpp
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateColorPicker();
    // The side bar with the view of the document, and the preview.
    void CreatePanes();
    void CreateViewToggle(QAction*& item, const char* name, QMenu* menu, const QString& caption, QWidget* target);
    // MainWindow.cpp
    void LoadSettings();
    void SaveSettings();
    std::array<QToolBar*, pictor::bnCount> Bands() const;  // in the settings' order
    void ArrangeBands();
    void CreateColorDialog();
    void SetDocumentCommandsEnabled(bool enabled);
    // MainWindowDocument.cpp
    void CheckPickedColor(pictor::TColor picked, bool checked);
    // Shows the open page, or nothing when none is open.
    void ShowDocument();
    // The saves below folder that were cut short, mended before it is read, and a message about them.
    void RecoverInterruptedSaves(const std::string& folder);
    // A failed load: nothing is left open and the error is shown.
    void ShowLoadFailure(const std::exception& error);
    // Runs a load of the open document with its long part on the worker; false when it failed (and was
    // reported) or was cancelled.
    bool RunLoad(const std::function<bool(const TOpenDocument::TRun& run)>& load);
    // The messages after a load: missing files, colour texts a browser drops.
    void ReportLoad();
    // MainWindowSite.cpp
    void ShowSite();
    // The site's folder in the title and the page list, after a load or a save below another folder.
    void ShowSiteFolder();
    // MainWindowPreview.cpp
    void WebDocumentComplete(const QString& address);
    // The preview shows a step without having loaded the page again.
    void PreviewRefreshed();
    // Returns once the preview has shown a page more than shownBefore times in all.
    void WaitForPreview(int shownBefore);
    // MainWindowChanges.cpp
    QList<QAction*> ConflictingCommands() const;
    void RevertChange();
    void UpdateUndoCommands();
    void StepHistory(QAction* command);
    // MainWindowContrast.cpp
    void RememberContrastBeforeChange();
    void ClearContrastWarning();
    // What the contrast check saw is another page's once the page shown changes.
    void ForgetContrast();
    void CheckShownContrast();
    // Ticks the colours the change before a contrast row moved and shows the first in its list.
    void CheckMovedColors(const pictor::TContrastRow& row);
    // The contrast dialog names the page whose pairs it lists, a site's page by its path below the site.
    void NameContrastPage();  // MainWindowSite.cpp

    TCommandLock* Commands_;
    TWorkRunner* Worker_;
    std::unique_ptr<pictor::TIniFileCompo> Ini_;
    pictor::TWindowSettings Window_;
    pictor::TOptions Options_;
    pictor::TWorkPool Pool_;  // every parallel job of a load, a change or a save
    TOpenDocument* Open_;
    TDocumentView* View_;
    TAppStyle* Style_;
    TfrmProgress* Progress_;
    TWebBrowser* Web_;
    TPreviewUpdater* Preview_;
    THelpWindow* Help_ = nullptr;  // made on the first call for help
    QMenuBar* MainMenu_;

    bool Saving_ = false;  // a close asked for meanwhile waits for the save, and for any work
    bool CloseAfterWork_ = false;
    QString OpenFolder_;
    QPoint SavedScroll_;
    int PreviewsShown_ = 0;
    bool PreviewDark_ = false;  // the preview shown in the dark preferred colour scheme
    // Shared with the preview's pending answers, which may outlive the window.
    std::shared_ptr<pictor::TContrastState> Contrast_;
    QPointer<pictor::TfrmContrast> ContrastDialog_;  // while it is open
};

#pragma once
#include "adjust/Adjustment.h"
#include "adjust/ui/ProgressHooks.h"
#include "app/CommandLock.h"
#include "app/OpenDocument.h"
#include "app/PreviewPane.h"
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
#include <vector>

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

// The main window. It puts together the open document (TOpenDocument), its view in the side bar and
// the status bar (TDocumentView), the preview (TPreviewPane) and the commands of the menus and bands,
// which act on the document through the first and show what they did through the others.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // arguments: the program's arguments without the program itself; a first one naming an
    // HTML page is opened.
    explicit TfrmMain(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The option values, read from the settings file at start and written back at exit.
    pictor::TOptions& Options() { return Options_; }

    // The open document's, as TOpenDocument tells them.
    pictor::THtmlStructure& Document() { return Open_->Shown(); }
    pictor::TWorkingDocument& Edited() { return Open_->Edited(); }
    pictor::TSiteDocument* Site() { return Open_->Site(); }
    int ShownPage() const { return Open_->ShownPage(); }
    bool IsDocumentReady() const { return Open_->IsReady(); }
    bool IsModified() const { return Open_->IsModified(); }
    IBrowser& Web() { return Preview_->Web(); }
    TfrmProgress& Progress() { return *Progress_; }
    TWorkRunner& Worker() { return *Worker_; }

    // --- MainWindowChanges.cpp: how a command changes the records. ---
    // The colour rows given their records' current texts, then the working copy shown afresh.
    void ReloadPreview();
    // A change to the records made on the worker: then the working copies, one undoable step and the
    // preview; cancelled or failed, the records and copies as before it.
    void ApplyChange(const TWorkRunner::TJob& change);

    // --- MainWindowOpen.cpp: what the window opens. ---
    // The shared load routine of Open, Reload, a drop and the command line.
    void LoadDocument(const QString& path);
    // Every page below the folder opened as one site.
    void LoadSite(const QString& folder);
    // Shows that page of the open site, an index into its pages.
    void ShowSitePage(int page);
    // Files dropped on the window: the first one is opened when it is an HTML page or a folder.
    void FilesDropped(const QStringList& paths);

signals:
    // The preview has shown a page of the document afresh.
    void PreviewShown();

public slots:
    // MainWindowOpen.cpp
    void alOpenExecute();
    void alOpenSiteExecute();
    void alReloadExecute();
    // MainWindowSave.cpp
    void alSaveExecute();
    void alSaveAsExecute();
    // MainWindowChanges.cpp
    void alUndoExecute();
    void alRedoExecute();
    // MainWindowTicks.cpp
    void alSelectAllExecute();
    void alSelectInverseExecute();
    // The picker's pop-up: tick or untick every occurrence of the picked colour.
    void mnuSelectColorClick(pictor::TColor picked);
    void mnuUnselectColorClick(pictor::TColor picked);
    // MainWindowPicker.cpp
    void mnuSetNewColorClick(pictor::TColor picked);
    void clbColorListDblClick();
    // MainWindowAdjust.cpp
    void alOpenfrmHueExecute();
    void alOpenfrmBrightExecute();
    void alOpenfrmCBExecute();
    void alInverseExecute();
    void alDarkExecute();
    // MainWindowContrast.cpp
    void alContrastCheckExecute();
    // MainWindowOptions.cpp
    void mnuOptionClick();
    void mnuReplaceSettingClick();
    // MainWindowHelp.cpp
    void CreateSourceMenuItems();
    void DeleteSourceMenuItems();
    void alContentsExecute();
    void mnuAboutClick();
    void alOpneSourceExecute(int tag);
    // MainWindow.cpp
    void mnuDarkPreviewClick(bool dark);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
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
    // Puts the options that act at once into effect: the side bar's tab position and the hint pause.
    void ApplyOptions();
    // The application's standard error box with the error's own text.
    void ShowError(const std::exception& error);
    // MainWindowOpen.cpp
    // Unsaved-changes question; false when the user cancels.
    bool AskUnsavedChanges();
    // The saves below folder that were cut short, mended before it is read, and a message about them.
    void RecoverInterruptedSaves(const std::string& folder);
    // Runs a load of the open document with its long part on the worker; false when it failed (and was
    // reported) or was cancelled.
    bool RunLoad(const std::function<bool(const TOpenDocument::TRun& run)>& load);
    // A failed load: nothing is left open and the error is shown.
    void ShowLoadFailure(const std::exception& error);
    // The messages after a load: missing files, colour texts a browser drops.
    void ReportLoad();
    // Nothing of the document shown before is left in the window.
    void ForgetShownDocument();
    // Shows the open page, or nothing when none is open.
    void ShowDocument();
    void ShowSite();
    // The site's folder in the title and the page list, after a load or a save below another folder.
    void ShowSiteFolder();
    // Loads the pages before and after the one shown out of sight, for a quick switch.
    void PrefetchNeighbours();
    // MainWindowChanges.cpp
    QList<QAction*> ConflictingCommands() const;
    // Runs the long part of a command on the worker thread, the commands that would conflict shut
    // off meanwhile; false when it was cancelled. Throws what the job threw.
    bool RunWork(const QString& message, bool cancellable, const TWorkRunner::TJob& job);
    void RevertChange();
    void UpdateUndoCommands();
    void StepHistory(QAction* command);
    // MainWindowTicks.cpp
    void CheckPickedColor(pictor::TColor picked, bool checked);
    // MainWindowPicker.cpp
    // The new-colour commands' common tail: recolour, commit, reload.
    void CommitNewColor(const std::function<void()>& recolour);
    // MainWindowAdjust.cpp
    // The progress window as the dialogs and commands drive it.
    TProgressHooks ProgressHooks();
    // A dialog command: the dialog, then the change.
    void RunAdjustCommand(pictor::TAdjustKind kind);
    // The page drawn at size with every ticked colour and picture inverted, the document as it was after.
    QImage RenderMarked(QSize size);
    // MainWindowContrast.cpp
    void RememberContrastBeforeChange();
    void ClearContrastWarning();
    // What the contrast check saw is another page's once the page shown changes.
    void ForgetContrast();
    void CheckShownContrast();
    // Ticks the colours the change before a contrast row moved and shows the first in its list.
    void CheckMovedColors(const pictor::TContrastRow& row);
    // Where each row's text colour and background are declared, two places a row, given to found later.
    void FindColorPlaces(const std::vector<pictor::TContrastRow>& rows,
                         std::function<void(const std::vector<QString>&)> found);
    // The contrast dialog names the page whose pairs it lists, a site's page by its path below the site.
    void NameContrastPage();

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
    TPreviewPane* Preview_;
    THelpWindow* Help_ = nullptr;  // made on the first call for help
    QMenuBar* MainMenu_;

    bool Saving_ = false;  // a close asked for meanwhile waits for the save, and for any work
    bool CloseAfterWork_ = false;
    QString OpenFolder_;
    // Shared with the preview's pending answers, which may outlive the window.
    std::shared_ptr<pictor::TContrastState> Contrast_;
    QPointer<pictor::TfrmContrast> ContrastDialog_;  // while it is open
};

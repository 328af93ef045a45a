#pragma once
#include "app/model/HintTracker.h"

#include <QObject>
#include <QPoint>

#include <memory>

class QCheckBox;
class QColor;
class QLabel;
class QMainWindow;
class QSplitter;
class QWidget;
class TGraphicHint;
class TMyCheckListBox;
class TOpenDocument;
class TPageList;
class TSiteLists;
class TSourceHint;
class TTabSideBar;

namespace pictor {
struct TColorRecord;
struct TElements;
struct TOptions;
struct TRecordAt;
}

// The side bar and the status bar over the open document: the page list, the file tabs, the colour and
// picture lists with their ticks and hints, and the panels that name the file's encoding and whether the
// document is changed. It shows the document and ticks its records; the commands are the window's.
class TDocumentView : public QObject {
    Q_OBJECT
public:
    // Puts its panels in the window's status bar; the side bar is the window's to place.
    TDocumentView(TOpenDocument& open, const pictor::TOptions& options, QMainWindow& window);
    ~TDocumentView() override;

    // The page list over the file tabs.
    QSplitter* SideBar() const { return SideBar_; }
    // The colour list over the picture list.
    QSplitter* Lists() const { return ListSplitter; }
    // The status panel for hints and warnings.
    QLabel* MessagePanel() const { return StatusPanels[2]; }
    void ClearStatus();
    // While the worker has the records, the lists and the page list take no clicks.
    void SetEnabled(bool enabled);
    void SetTabPosition(int position);
    int TabPosition() const;

    // Nothing shown: no tabs, no rows, no hint.
    void Clear();
    // The open page, if any: its file tabs, the first chosen, and its lists; no page list.
    void ShowPage();
    // The open site: the page list, with the lists showing the whole site.
    void ShowSite();
    // The site's pages listed afresh, after a load or a save below another folder.
    void ShowSitePages();
    // The site's page now shown, chosen in the page list; firstShown: no page was shown before.
    void ShowSitePage(int page, bool firstShown);
    // Shows the record's row in its file's own list.
    void ShowRecord(const pictor::TRecordAt& record);

    // The file of the selected tab: 0 the page, k style sheet k - 1.
    int ShownTab() const;
    // The lists show the whole site, each colour value and picture file once.
    bool ShowsSite() const;
    // The ticks as the records have them.
    void SyncCheckMarks();
    // Gives every colour row its record's current text.
    void RefreshColorList();
    // The picture list keeps the height its rows need (a few at least), the colour list takes the rest.
    void FitPictureList();
    // The colour row under the pointer; -1 for none.
    int ColorRowAtPointer() const;
    // The site's lists, while ShowsSite.
    const TSiteLists& SiteLists() const { return *Site_; }

public slots:
    // Lists the chosen file's colours and pictures, or the whole site's.
    void tcFileListChange();
    void RepaintLists();

signals:
    // A loaded page was chosen in the page list.
    void PageChosen(int page);
    void ColorDoubleClicked();

private:
    QWidget* CreatePageList();
    void CreateLists();
    void CreateStatusBar(QMainWindow& window);
    void ShowFileTabs();
    void ShowCharCode(const pictor::TElements& file);
    void ColorListClickCheck(int row, bool checked, Qt::KeyboardModifiers modifiers);
    void PicListClickCheck(int row, bool checked);
    void ListMouseMove(pictor::THintList list, const QPoint& viewportPos);
    void ListHintDue(pictor::THintList list, const QPoint& viewportPos);
    void ListMouseLeave(pictor::THintList list);
    void ApplyHint(pictor::THintList list, const pictor::THintAction& action, const QPoint& viewportPos);
    bool SwatchColor(int row, QColor& color) const;
    static QColor SwatchOf(const pictor::TColorRecord& record);
    // A text of the file as shown: internal Shift-JIS converted, UTF-8 as it is.
    static QString FileText(const pictor::TElements& file, const std::string& text);

    static constexpr int MinPictureRows = 3;

    TOpenDocument& Open_;
    const pictor::TOptions& Options_;
    TTabSideBar* tcFileList;
    QSplitter* SideBar_;      // the page list over the file tabs
    QWidget* pnlPageList;     // shown while a site is open
    TPageList* lvPageList;
    QCheckBox* chbSiteView;   // the lists show the whole site's colours and pictures
    TMyCheckListBox* clbColorList;
    TMyCheckListBox* clbPicList;
    QSplitter* ListSplitter;  // colour list | picture list
    QLabel* StatusPanels[3];
    TGraphicHint* GraphicHint_;
    TSourceHint* SourceHint_;
    pictor::THintTracker Hints_;
    std::unique_ptr<TSiteLists> Site_;
};

#include "MainWindowTesting.h"
#include "adjust/DarkColors.h"
#include "adjust/ui/DarkDialog.h"
#include "adjust/ui/HueDialog.h"
#include "app/BrowserScript.h"
#include "app/HelpWindow.h"
#include "app/HintWindows.h"
#include "app/MainWindow.h"
#include "app/SaveAsDialog.h"
#include "app/SourceView.h"
#include "app/WebBrowser.h"
#include "app/model/Options.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "colordialog/ui/ColorSelectForm.h"
#include "document/HtmlStructure.h"
#include "widgets/MyCheckListBox.h"
#include "widgets/TabSideBar.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

using namespace pictor;

// A page and one style sheet with red written two ways, and one picture.
const char* const Page =
    "<html><head><link rel=\"stylesheet\" href=\"css/site.css\"></head>\n"
    "<body bgcolor=\"#FFFF00\" style=\"margin:0\"><font color=\"red\">red</font> <font color=\"#008000\">green</font>"
    "<img src=\"img/dot.gif\"></body></html>\n";
const char* const Sheet = "p { color: #FF0000; }\nh1 { color: #0000FF; }\n";

// The main window's wiring to the core and the model: the settings file at start and exit, the
// document commands as the user starts them, and the preview. The logic behind them is tested in the
// model tests.
class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Folders_ = std::make_unique<TTestFolders>();
        PagePath_ = WriteFile(Folders_->Site, "index.html", Page);
        WriteFile(Folders_->Site, "css/site.css", Sheet);
        WriteFile(Folders_->Site, "img/dot.gif", RedGif());
    }

    // The page's one picture keeps the few rows it needs; the colour list takes the rest, after the
    // window is shown and after each load.
    void theColourListTakesTheHeightThePicturesDoNotNeed()
    {
        TfrmMain window({PagePath_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Named(window, "alReload")->trigger();
        const QList<int> sizes = Named<QSplitter>(window, "ListSplitter")->sizes();
        auto* pictures = Named<TMyCheckListBox>(window, "clbPicList");
        QVERIFY2(pictures->viewport()->height() <= 3 * pictures->RowHeight(), qPrintable(QString::number(sizes[1])));
        QVERIFY(sizes[0] > sizes[1]);
    }

    // A first run writes the file at exit; the next run restores the layout. Where the window and the
    // bands go is the model's.
    void theSettingsFileIsWrittenAtExitAndRestoresTheLayout()
    {
        const QString path = Folders_->Settings.filePath("settings.ini");
        {
            TfrmMain window;
            QVERIFY(!QFile::exists(path));
        }
        QVERIFY(FileBytes(path).contains("[Window]\nState=1\n"));

        WriteFile(Folders_->Settings, "settings.ini",
                  "[Window]\nHeight=480\nWidth=640\nTop=30\nLeft=40\n"
                  "[SideBar]\nVisible=0\nWidth=222\n[StatusBar]\nVisible=0\n[Edit]\nVisible=0\n"
                  "[Option]\nTabPosition=0\n");
        {
            TfrmMain window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.size(), QSize(640, 480));
            QCOMPARE(window.pos(), QPoint(40, 30));
            QVERIFY(!Named<TTabSideBar>(window, "tcFileList")->isVisible());
            QVERIFY(!window.statusBar()->isVisible());
            QVERIFY(!Named<QToolBar>(window, "tbEdit")->isVisible());
            QCOMPARE(Named<TTabSideBar>(window, "tcFileList")->TabPosition(), 0);
        }
        const QByteArray text = FileBytes(path);
        QVERIFY(text.contains("Height=480\nWidth=640\nTop=30\nLeft=40\nState=1\n"));
        QVERIFY(text.contains("[SideBar]\nVisible=0\nWidth=222\n"));
    }

    void aCommandLineNameThatIsNoPageIsNotTried()
    {
        TBoxAnswerer boxes;
        TfrmMain window({"/nowhere/index.txt"});
        QCOMPARE(window.windowTitle(), QString("Pictor"));
        QVERIFY(boxes.Texts.isEmpty());  // not even tried
    }

    // While another window is active the application keys neither run nor reach that window.
    void applicationKeysAreSwallowedWhileAnotherWindowIsActive()
    {
        TfrmMain window;
        window.show();
        QWidget other;
        auto* edit = new QLineEdit("some text", &other);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        edit->setFocus();
        edit->deselect();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(!edit->hasSelectedText());
        QTest::keyClick(edit, Qt::Key_B);
        QCOMPARE(edit->text(), QString("some textb"));
    }

    void aCommandLinePageFillsTabsListsAndCaption()
    {
        TfrmMain window({PagePath_});
        QVERIFY(window.IsDocumentReady());
        QCOMPARE(window.windowTitle(), "Pictor [" + PagePath_ + "]");
        QTabBar* tabs = Named<TTabSideBar>(window, "tcFileList")->TabBar();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(Rows(ColorList(window)), (QStringList{"#FFFF00", "red", "#008000"}));
        QCOMPARE(Rows(PicList(window)), QStringList{"img/dot.gif"});
        QVERIFY(ColorList(window)->RowChecked(1));
        // The commands a page allows are used by the tests below; the picker is told of it.
        QVERIFY(Picker(window)->findChild<QAction*>("mnuSelectColor")->isEnabled());
        tabs->setCurrentIndex(1);
        QCOMPARE(Rows(ColorList(window)), (QStringList{"#FF0000", "#0000FF"}));
        QCOMPARE(PicList(window)->count(), 0);
    }

    // Clicks, the picker, Select inverse and Ctrl+A all reach every file and the shown list.
    void ticksReachEveryFile()
    {
        TfrmMain window({PagePath_});
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        THtmlStructure& document = window.Document();
        ClickCheckBox(ColorList(window), 1, Qt::NoModifier);  // "red" alone
        QVERIFY(!document.Page.Colors[1].Checked);
        QVERIFY(document.GetSheet(0).Colors[0].Checked);
        ClickCheckBox(ColorList(window), 1, Qt::ShiftModifier);  // ticked again, everywhere
        ClickCheckBox(ColorList(window), 1, Qt::ShiftModifier);  // and unticked everywhere
        QVERIFY(!document.GetSheet(0).Colors[0].Checked);

        emit Picker(window)->SelectColorRequested(RGB(255, 0, 0));
        QVERIFY(document.GetSheet(0).Colors[0].Checked);
        QVERIFY(ColorList(window)->RowChecked(1));
        emit Picker(window)->UnselectColorRequested(RGB(255, 0, 0));
        QVERIFY(!document.GetSheet(0).Colors[0].Checked);
        QVERIFY(!ColorList(window)->RowChecked(1));

        PicList(window)->item(0)->setCheckState(Qt::Unchecked);  // as a click would
        QVERIFY(!document.Page.Pics[0].Checked);
        Named(window, "alSelectInverse")->trigger();
        QVERIFY(document.GetSheet(0).Colors[0].Checked);
        QVERIFY(!ColorList(window)->RowChecked(0));
        QVERIFY(PicList(window)->RowChecked(0));
        QTest::keyClick(ColorList(window), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(ColorList(window)->RowChecked(0));
        QVERIFY(document.GetSheet(0).Colors[1].Checked);
    }

    // A missing picture and sheet, and a colour text a browser drops, leave the page open: one message
    // names the missing files, one the dropped text; their rows are struck through and cannot be ticked.
    void deadReferencesAndDroppedColourTextsAreNamedOnceAndCannotBeTicked()
    {
        TfrmMain window({PagePath_});
        QFile::remove(Folders_->Site.filePath("img/dot.gif"));
        QFile::remove(Folders_->Site.filePath("css/site.css"));
        WriteFile(Folders_->Site, "index.html",
                  "<link rel=\"stylesheet\" href=\"css/site.css\"><font color=\"rgb(a,b,c)\">x</font>"
                  "<img src=\"img/dot.gif\">");
        TBoxAnswerer boxes;
        Named(window, "alReload")->trigger();
        QVERIFY(window.IsDocumentReady());
        QCOMPARE(boxes.Texts.size(), 2);
        QVERIFY(boxes.Texts[0].contains("dot.gif") && boxes.Texts[0].contains("site.css"));
        QVERIFY(boxes.Texts[0].contains(QString::fromUtf8("見つかりません")));
        QVERIFY(boxes.Texts[1].contains("rgb(a,b,c)") && boxes.Texts[1].contains(QString::fromUtf8(RejectedColorHint)));
        for (QListWidgetItem* row : {PicList(window)->item(0), ColorList(window)->item(0)}) {
            QVERIFY(row->font().strikeOut());
            QVERIFY(!(row->flags() & Qt::ItemIsUserCheckable));
        }
        QCOMPARE(ColorList(window)->item(0)->foreground().color(),
                 ColorList(window)->palette().color(QPalette::Disabled, QPalette::Text));
        Named(window, "alSelectAll")->trigger();
        QVERIFY(!window.Document().Page.Pics[0].Checked);
        QVERIFY(!window.Document().Page.Colors[0].Checked);
    }

    // The progress window lets pending events through as the save begins: a close asked for then waits
    // until the files are all written, and asks nothing once they are.
    void aCloseAskedForDuringASaveWaitsForIt()
    {
        TfrmMain window({PagePath_});
        window.show();
        Recolour(window);
        TBoxAnswerer boxes(QMessageBox::Cancel);
        QMetaObject::invokeMethod(&window, "close", Qt::QueuedConnection);
        Named(window, "alSave")->trigger();
        QCOMPARE(boxes.Texts, QStringList{});
        QVERIFY(!window.IsModified());
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(boxes.Texts, QStringList{});
    }

    // After a failed load there is no document: nothing to use, to show or to ask about.
    void aFailedLoadLeavesNoDocument()
    {
        TfrmMain window({PagePath_});
        Recolour(window);
        QFile::remove(Folders_->Site.filePath("css/site.css"));
        QVERIFY(QFile::link("/dev/zero", Folders_->Site.filePath("css/site.css")));  // no regular file
        TBoxAnswerer boxes(QMessageBox::No);  // the changes are thrown away; then the failure is named
        Named(window, "alReload")->trigger();
        QCOMPARE(boxes.Texts.size(), 2);
        QVERIFY(boxes.Texts[1].contains("site.css"));
        QVERIFY(!window.IsDocumentReady());
        QCOMPARE(ColorList(window)->count(), 0);
        for (const char* command : {"alSave", "alReload", "alSelectAll", "alInverse", "alUndo"})
            QVERIFY2(!Named(window, command)->isEnabled(), command);
        QVERIFY(Named(window, "alOpen")->isEnabled());
        QVERIFY(!window.IsModified());
        QCOMPARE(window.windowTitle(), QString("Pictor"));
        for (int panel = 0; panel < 3; ++panel)
            QVERIFY(Named<QLabel>(window, ("StatusPanel" + std::to_string(panel)).c_str())->text().isEmpty());
        QVERIFY(window.close());
        QCOMPARE(boxes.Texts.size(), 2);  // no question on the way out
    }

    // In the window's Japanese font: the picker's RGB field holds the widest value, and every row of
    // both lists can be scrolled into view whole, check box and swatch included.
    void fieldsAndListsShowTheirWholeTexts()
    {
        const QString picture = "images/warning-about-a-rather-long-picture-name.gif";
        WriteFile(Folders_->Site, picture, RedGif());
        const QString page = WriteFile(Folders_->Site, "long.html",
            ("<html><body text=\"#FFE4B5\" style=\"color: rgb(255, 228, 181)\"><img src=\"" + picture +
             "\"></body></html>").toUtf8());
        TfrmMain window({page});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        auto* rgb = Named<pictor::TColorPickerPanel>(window, "pnlColorPicker")->findChild<QLineEdit*>("ledtRGB");
        QCOMPARE(rgb->font(), window.font());
        const QMargins margins = rgb->textMargins();
        const int room = rgb->contentsRect().width() - margins.left() - margins.right() - 2 * 2;  // the box's own margins
        const int needed = rgb->fontMetrics().horizontalAdvance("255, 228, 181") + 1;  // and the cursor
        QVERIFY2(room >= needed, qPrintable(QString("%1 < %2").arg(room).arg(needed)));

        for (TMyCheckListBox* list : {ColorList(window), PicList(window)}) {
            const bool swatch = list == ColorList(window);
            for (int row = 0; row < list->count(); ++row) {
                const QStyleOptionViewItem option = list->RowOption(row);
                const QRect text = list->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, list);
                const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, list) + 1;
                const int shown = text.width() - 2 * margin - (swatch ? text.height() + 1 : 0);
                const int width = list->fontMetrics().horizontalAdvance(option.text);
                QVERIFY2(shown >= width, qPrintable(option.text + QString(": %1 < %2").arg(shown).arg(width)));
            }
        }
    }

    // With the hints on, the source around the row under the pointer; with them off, the row's whole text.
    void hintsShowTheSourceAroundTheRowUnderThePointer()
    {
        TfrmMain window({PagePath_});
        window.Options().ShowHint = true;
        window.Options().HintViewBytes = 15;  // 7 bytes each side
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* hint = window.findChild<TSourceHint*>();
        QWidget* rows = ColorList(window)->viewport();
        const QPoint onRed = ColorList(window)->visualItemRect(ColorList(window)->item(1)).center();
        QTest::mouseMove(rows, onRed);
        QHelpEvent due(QEvent::ToolTip, onRed, rows->mapToGlobal(onRed));
        QApplication::sendEvent(rows, &due);
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->Before() + "|" + hint->Color() + "|" + hint->After(), QString("color=\"|red|\">red</"));
        QTest::mouseMove(rows, ColorList(window)->visualItemRect(ColorList(window)->item(2)).center());
        QCOMPARE(hint->Color(), QString("#008000"));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(ColorList(window), &leave);
        QVERIFY(!hint->isVisible());

        window.Options().ShowHint = false;
        QTest::mouseMove(rows, onRed);
        QApplication::sendEvent(rows, &due);
        QTRY_COMPARE(QToolTip::text(), QString("red"));
        QVERIFY(!hint->isVisible());
    }

    // An editor that does not start: the file's text shows in the window's own view, with the reason.
    void theSourceShowsHereWhenNoEditorStarts()
    {
        TfrmMain window({PagePath_});
        window.Options().EditorPath = "/nowhere/editor";
        auto* sources = Named<QMenu>(window, "mnuSource");
        QVERIFY(!sources->actions().isEmpty());
        sources->actions().first()->trigger();
        TSourceView* view = nullptr;
        QTRY_VERIFY((view = window.findChild<TSourceView*>()) != nullptr);
        QVERIFY(view->findChild<QLabel*>("lblWhy")->text().contains("/nowhere/editor"));
        QVERIFY(view->findChild<QPlainTextEdit*>("memSource")->toPlainText().contains("color=\"red\""));
        view->close();
    }

    // F5 and a dropped page throw the changes away only after the question, which both ask through one
    // routine; only the first dropped file counts, and only a page. Ctrl+Shift+I inverts.
    void reloadAndADroppedPageAskBeforeThrowingChangesAway()
    {
        TfrmMain window({PagePath_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList before = Rows(ColorList(window));
        QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        const QStringList inverted = Rows(ColorList(window));
        QVERIFY(inverted != before);
        const QString other = WriteFile(Folders_->Site, "other.htm", "<html><body text=\"blue\"></body></html>");
        const QString sheet = Folders_->Site.filePath("css/site.css");
        window.FilesDropped({sheet, other});
        {
            TBoxAnswerer cancel(QMessageBox::Cancel);
            QTest::keyClick(&window, Qt::Key_F5);
            window.FilesDropped({other, sheet});
            QCOMPARE(cancel.Texts.size(), 2);
            QVERIFY(cancel.Texts[1].contains(PagePath_));
        }
        QCOMPARE(Rows(ColorList(window)), inverted);
        QCOMPARE(window.windowTitle(), "Pictor [" + PagePath_ + "]");
        QTRY_VERIFY(window.isActiveWindow());  // the keys reach the window again after the question
        {
            TBoxAnswerer discard(QMessageBox::No);
            QTest::keyClick(&window, Qt::Key_F5);
            QCOMPARE(discard.Texts.size(), 1);
        }
        QCOMPARE(Rows(ColorList(window)), before);
        QCOMPARE(Named<QLabel>(window, "StatusPanel1")->text(), QString("変更なし"));
        QVERIFY(!Named(window, "alUndo")->isEnabled());
        window.FilesDropped({other});
        QCOMPARE(window.windowTitle(), "Pictor [" + other + "]");
        QCOMPARE(Rows(ColorList(window)), QStringList{"blue"});
    }

    // The adjustment dialogs take their snapshot from RenderPage; the scroll position survives
    // a change's reload but not a new load.
    // Every wait is on the page's own word: its signals, or a script's answer.
    void thePreviewRendersTheWholePageAndKeepsItsScrollPosition()
    {
        const QString tall = WriteFile(Folders_->Site, "tall.html",
            "<html><body bgcolor=\"#FFFF00\"><div style=\"height:3000px\">top</div>end</body></html>");
        TfrmMain window({tall});
        auto* view = window.findChild<QWebEngineView*>();
        QSignalSpy sized(view->page(), &QWebEnginePage::contentsSizeChanged);
        QSignalSpy scrolled(view->page(), &QWebEnginePage::scrollPositionChanged);
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        while (window.Web().PageExtent().height() < 3000) QVERIFY(sized.wait(RenderWait));
        const QSize extent = window.Web().PageExtent();
        const QImage rendered = window.Web().RenderPage(extent);
        QCOMPARE(rendered.size(), extent);
        QCOMPARE(rendered.pixelColor(10, extent.height() - 10), QColor(255, 255, 0));
        window.Web().FillRegion();  // the view goes back to filling the preview
        QCOMPARE(view->size(), window.findChild<TWebBrowser*>()->size());

        // The page takes the view's new height when it next lays out; a scroll before that goes nowhere.
        while (Evaluate(window.Web(), "window.innerHeight").toInt() != view->height()) {}
        QCOMPARE(Evaluate(window.Web(), "window.scrollTo(0, 500); window.scrollY").toInt(), 500);
        while (window.Web().ScrollOffsets() != QPoint(0, 500)) QVERIFY(scrolled.wait(RenderWait));
        while (!view->url().isLocalFile() || view->page()->isLoading()) QVERIFY(loaded.wait(RenderWait));
        loaded.clear();
        Named(window, "alInverse")->trigger();  // the page itself changes: it is loaded again
        QVERIFY(loaded.wait(RenderWait));
        // The window's scroll was asked on loadFinished, before this script.
        QCOMPARE(Evaluate(window.Web(), "window.scrollY").toInt(), 500);
        const TBoxAnswerer dropChanges(QMessageBox::No);
        Named(window, "alReload")->trigger();
        QVERIFY(loaded.wait(RenderWait));
        QCOMPARE(Evaluate(window.Web(), "window.scrollY").toInt(), 0);
    }

    // Save as goes into a folder it has to create, and the keys go to the window again afterwards.
    void invertNewColourSaveAndSaveAsWrite()
    {
        TfrmMain window({PagePath_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Named(window, "alInverse")->trigger(); // "red" becomes #00FFFF, as the shut-off test finds
        {
            TModalAnswerer<TfrmColorSelectDlg> answer([](TfrmColorSelectDlg& form) {
                auto* hex = form.findChild<QLineEdit*>("edtHex");
                hex->clear();
                QTest::keyClicks(hex, "#123456");
                form.findChild<QPushButton*>("btnOK")->click();
            });
            emit Named<pictor::TColorPickerPanel>(window, "pnlColorPicker")->SetNewColorRequested(RGB(0, 255, 255));
            QCOMPARE(answer.Count, 1);
        }
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[1].Text), QString("#123456"));
        QCOMPARE(Named<QLabel>(window, "StatusPanel1")->text(), QString("変更あり"));

        Named(window, "alSave")->trigger();
        QVERIFY(FileBytes(PagePath_).contains("color=\"#123456\""));

        QTemporaryDir target;
        const QString folder = target.filePath("new");
        Named(window, "alInverse")->trigger();
        {
            TBoxAnswerer create(QMessageBox::Yes);
            TModalAnswerer<TfrmSaveAs> answer([&](TfrmSaveAs& dialog) {
                dialog.findChild<QLineEdit*>("edtPath")->setText(folder);
                dialog.findChild<QPushButton*>("btnOK")->click();
            });
            Named(window, "alSaveAs")->trigger();
            QCOMPARE(answer.Count, 1);
            QCOMPARE(create.Texts.size(), 1);
        }
        const QString copy = folder + "/index.html";
        QVERIFY(FileBytes(copy).contains("color=\"#EDCBA9\""));
        QCOMPARE(window.windowTitle(), "Pictor [" + copy + "]");
        QTRY_VERIFY(window.isActiveWindow());
    }

    // A second click while the first command waits for the preview, and a command started from
    // inside a running one, both do nothing.
    void aCommandDoesNotStartWhileOneRuns()
    {
        TfrmMain window({PagePath_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* button = Named<QToolBar>(window, "tbColorAdjust")->widgetForAction(Named(window, "alOpenfrmHue"));
        TModalAnswerer<TfrmHue> answer([&](TfrmHue& dialog) {
            Named(window, "alInverse")->trigger();
            dialog.findChild<QPushButton*>("btnCancel")->click();
        });
        QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(answer.Count, 1);
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[1].Text), QString("red"));
        QVERIFY(!window.IsModified());

        Named(window, "alInverse")->trigger();  // and the window takes commands again afterwards
        QVERIFY(window.IsModified());
    }

    // The dark colours and the scheme's block are the core's; here: the command rewrites the colours, or,
    // following the reader, leaves them and writes the block, which the preview shows on demand.
    void darkThemeRewritesOrFollowsTheReader()
    {
        TfrmMain window({WriteFile(Folders_->Site, "light.html",
                                   "<html><head><style>body{background-color:#ffffff}</style></head>"
                                   "<body><font color=\"red\">red</font></body></html>")});
        window.show(); // a hidden preview may never finish a load
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto runDark = [&](bool followReader) {
            TModalAnswerer<TfrmDark> answer([followReader](TfrmDark& dialog) {
                dialog.findChild<QCheckBox*>("chbFollowSystem")->setChecked(followReader);
                dialog.findChild<QPushButton*>("btnOK")->click();
            });
            Named(window, "alDark")->trigger();
            return answer.Count;
        };
        const QString dark = QString::fromStdString(ColorToUpperCode(DarkColor(RGB(255, 255, 255), {})));
        QCOMPARE(runDark(false), 1);
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[0].Text), dark);
        Named(window, "alUndo")->trigger();
        QCOMPARE(runDark(true), 1);
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[0].Text), QString("#ffffff"));

        const auto background = [&] {
            return ScriptAnswer(window.Web(), "document.body ? getComputedStyle(document.body).backgroundColor : ''")
                .toString();
        };
        // The preview is loaded again with the block; the dark scheme is asked for once it is in.
        QTRY_VERIFY_WITH_TIMEOUT(ScriptAnswer(window.Web(), "document.documentElement.outerHTML")
                                     .toString()
                                     .contains("prefers-color-scheme: dark"),
                                 RenderWait);
        Named(window, "mnuDarkPreview")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(background(), QString("rgb(18, 18, 18)"), RenderWait);
        Named(window, "mnuDarkPreview")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(background(), QString("rgb(255, 255, 255)"), RenderWait);
    }

    void f1ShowsTheManualInAWindowOfItsOwn()
    {
        TfrmMain window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F1);
        auto* help = window.findChild<THelpWindow*>();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(help->isWindow());
        QVERIFY(QFile::exists(help->Address().toLocalFile()));
        QTest::keyClick(&window, Qt::Key_F1);  // the same window again
        QCOMPARE(window.findChildren<THelpWindow*>().size(), 1);
    }

private:
    static TMyCheckListBox* ColorList(const TfrmMain& window) { return Named<TMyCheckListBox>(window, "clbColorList"); }
    static TMyCheckListBox* PicList(const TfrmMain& window) { return Named<TMyCheckListBox>(window, "clbPicList"); }
    static TColorPickerPanel* Picker(const TfrmMain& window)
    {
        return Named<TColorPickerPanel>(window, "pnlColorPicker");
    }

    static QStringList Rows(const TMyCheckListBox* list)
    {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }

    static void ClickCheckBox(TMyCheckListBox* list, int row, Qt::KeyboardModifiers modifiers)
    {
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.rect = list->visualItemRect(list->item(row));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = list->item(row)->text();
        const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, box.center());
    }

    // Gives the page's "red" a new colour the way the commands do.
    static void Recolour(TfrmMain& window)
    {
        window.ApplyChange([&](const TPictureProgress&) {
            TColorRecord& red = window.Document().Page.Colors[1];
            red.Text = "#000010";
            red.Color = RGB(0, 0, 16);
        });
    }

    std::unique_ptr<TTestFolders> Folders_;
    QString PagePath_;
};

int main(int argc, char** argv) { return RunWindowTest<MainWindowTest>(argc, argv); }

#include "MainWindow_qtest.moc"

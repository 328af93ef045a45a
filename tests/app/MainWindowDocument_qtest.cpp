#include "MainWindowTesting.h"
#include "app/HintWindows.h"
#include "app/MainWindow.h"
#include "app/WebBrowser.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "document/HtmlStructure.h"
#include "document/Options.h"
#include "document/PictureIO.h"
#include "widgets/MyCheckListBox.h"
#include "widgets/TabSideBar.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QWebEngineView>
#include <QtTest>

using namespace pictor;

// A page and one style sheet with red written two ways, and one picture.
const char* const Page =
    "<html><head><link rel=\"stylesheet\" href=\"css/site.css\"></head>\n"
    "<body bgcolor=\"#FFFF00\" style=\"margin:0\"><font color=\"red\">red</font> <font color=\"#008000\">green</font>"
    "<img src=\"img/dot.gif\"></body></html>\n";
const char* const Sheet = "p { color: #FF0000; }\nh1 { color: #0000FF; }\n";

// Chromium renders in its own time; on a busy machine that can take long.
constexpr int RenderWait = 30000;

class MainWindowDocument : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Settings_ = std::make_unique<QTemporaryDir>();
        Site_ = std::make_unique<QTemporaryDir>();
        qputenv("PICTOR_SETTINGS_DIR", Settings_->path().toUtf8());
        PagePath_ = WriteFile(*Site_, "index.html", Page);
        WriteFile(*Site_, "css/site.css", Sheet);
        WriteFile(*Site_, "img/dot.gif", RedGif());
    }

    void aCommandLinePageFillsTabsListsAndCaption()
    {
        TfrmMain window({PagePath_});
        QVERIFY(window.IsDocumentReady());
        QCOMPARE(window.windowTitle(), "Pictor [" + PagePath_ + "]");
        QTabBar* tabs = window.tcFileList->TabBar();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QString("index.html"));
        QCOMPARE(tabs->tabText(1), QString("site.css"));
        QCOMPARE(Rows(window.clbColorList), (QStringList{"#FFFF00", "red", "#008000"}));
        QCOMPARE(Rows(window.clbPicList), QStringList{"img/dot.gif"});
        QVERIFY(window.clbColorList->RowChecked(1));
        QCOMPARE(window.StatusPanels[0]->text(), QString("Shift-JIS"));
        QCOMPARE(window.StatusPanels[1]->text(), QString("変更なし"));
        for (QAction* command : {window.alSave, window.alSaveAs, window.alReload, window.alSelectAll,
                                 window.alSelectInverse, window.alOpenfrmHue, window.alInverse,
                                 window.pnlColorPicker->findChild<QAction*>("mnuSelectColor")})
            QVERIFY2(command->isEnabled(), qPrintable(command->objectName()));
        QVERIFY(!window.alUndo->isEnabled());
        QVERIFY(!window.alRedo->isEnabled());

        tabs->setCurrentIndex(1);
        QCOMPARE(Rows(window.clbColorList), (QStringList{"#FF0000", "#0000FF"}));
        QCOMPARE(window.clbPicList->count(), 0);
    }

    void shiftClickTicksTheSameColourInEveryFile()
    {
        TfrmMain window({PagePath_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ClickCheckBox(window.clbColorList, 1, Qt::NoModifier);  // "red" alone
        QVERIFY(!window.Document().Page.Colors[1].Checked);
        QVERIFY(window.Document().Sheets[0].Colors[0].Checked);
        ClickCheckBox(window.clbColorList, 1, Qt::ShiftModifier);  // ticked again, everywhere
        ClickCheckBox(window.clbColorList, 1, Qt::ShiftModifier);  // and unticked everywhere
        QVERIFY(!window.Document().Sheets[0].Colors[0].Checked);
        QVERIFY(window.Document().Sheets[0].Colors[1].Checked);
        QVERIFY(window.Document().Page.Colors[0].Checked);
        window.tcFileList->TabBar()->setCurrentIndex(1);
        QVERIFY(!window.clbColorList->RowChecked(0));
        QVERIFY(window.clbColorList->RowChecked(1));
    }

    void thePickedColourIsTickedAndUntickedEverywhere()
    {
        TfrmMain window({PagePath_});
        emit window.pnlColorPicker->UnselectColorRequested(RGB(255, 0, 0));
        QVERIFY(!window.Document().Page.Colors[1].Checked);
        QVERIFY(!window.Document().Sheets[0].Colors[0].Checked);
        QVERIFY(window.Document().Page.Colors[2].Checked);
        QVERIFY(!window.clbColorList->RowChecked(1));
        emit window.pnlColorPicker->SelectColorRequested(RGB(255, 0, 0));
        QVERIFY(window.Document().Sheets[0].Colors[0].Checked);
        QVERIFY(window.clbColorList->RowChecked(1));
    }

    void selectInverseTwiceRestoresEveryFile()
    {
        TfrmMain window({PagePath_});
        window.Document().Sheets[0].Colors[1].Checked = false;
        window.clbPicList->item(0)->setCheckState(Qt::Unchecked);  // as a click would
        QVERIFY(!window.Document().Page.Pics[0].Checked);
        window.alSelectInverse->trigger();
        QVERIFY(window.Document().Sheets[0].Colors[1].Checked);
        QVERIFY(!window.Document().Sheets[0].Colors[0].Checked);
        QVERIFY(!window.clbColorList->RowChecked(0));
        QVERIFY(window.clbPicList->RowChecked(0));
        window.alSelectInverse->trigger();
        QVERIFY(!window.Document().Sheets[0].Colors[1].Checked);
        QVERIFY(window.Document().Sheets[0].Colors[0].Checked);
        QVERIFY(window.clbColorList->RowChecked(0));
        QVERIFY(!window.clbPicList->RowChecked(0));
        window.alSelectAll->trigger();
        QVERIFY(window.Document().Sheets[0].Colors[1].Checked);
        QVERIFY(window.clbPicList->RowChecked(0));
    }

    void undoAndRedoFollowTheRingOfFour()
    {
        TfrmMain window({PagePath_});
        for (int change = 1; change <= 4; ++change) {
            Recolour(window, change);
            QVERIFY(window.alUndo->isEnabled());
            QVERIFY(!window.alRedo->isEnabled());
        }
        QCOMPARE(window.StatusPanels[1]->text(), QString("変更あり"));
        for (int step = 3; step >= 1; --step) {
            QVERIFY(window.alUndo->isEnabled());
            window.alUndo->trigger();
            QVERIFY(window.alRedo->isEnabled());
            QCOMPARE(window.clbColorList->item(1)->text(), ColourText(step));
        }
        QVERIFY(!window.alUndo->isEnabled());
        window.alRedo->trigger();
        QCOMPARE(window.clbColorList->item(1)->text(), ColourText(2));
        Recolour(window, 9);  // a change after Undo ends the way forward
        QVERIFY(!window.alRedo->isEnabled());
        QCOMPARE(window.StatusPanels[1]->text(), QString("変更あり"));
        window.alReload->trigger();
        QCOMPARE(window.StatusPanels[1]->text(), QString("変更なし"));
        QVERIFY(!window.alUndo->isEnabled());
    }

    void aFailedLoadShutsTheDocumentCommandsOff()
    {
        TfrmMain window({PagePath_});
        QFile::remove(Site_->filePath("img/dot.gif"));
        TBoxAnswerer boxes;
        window.alReload->trigger();
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts[0].contains("dot.gif"));
        QVERIFY(!window.IsDocumentReady());
        QCOMPARE(window.tcFileList->TabBar()->count(), 0);
        QCOMPARE(window.clbColorList->count(), 0);
        for (QAction* command : {window.alSave, window.alReload, window.alSelectAll, window.alInverse, window.alUndo})
            QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
        QVERIFY(window.alOpen->isEnabled());
    }

    void thePreviewShowsACommittedChange()
    {
        TfrmMain window({PagePath_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* web = window.findChild<TWebBrowser*>();
        QTRY_COMPARE_WITH_TIMEOUT(PixelOf(web), QColor(255, 255, 0), RenderWait);

        TColorRecord& body = window.Document().Page.Colors[0];
        body.Text = "#0000FF";
        body.Color = RGB(0, 0, 255);
        window.Document().WriteWorkingCopies();
        window.SaveScrollPosition();
        window.ReloadPreview();
        window.CommitChange();
        QTRY_COMPARE_WITH_TIMEOUT(PixelOf(web), QColor(0, 0, 255), RenderWait);
        QCOMPARE(window.clbColorList->item(0)->text(), QString("#0000FF"));
    }

    void thePreviewReadsStyleSheetsAndPicturesAfresh()
    {
        const QString page = WriteFile(*Site_, "boxed.html",
            "<html><head><link rel=\"stylesheet\" href=\"css/box.css\"></head><body style=\"margin:0\">"
            "<img src=\"img/dot.gif\" width=\"100\" height=\"100\"></body></html>");
        WriteFile(*Site_, "css/box.css", "body { background-color: #00FFFF; }\n");
        TfrmMain window({page});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* web = window.findChild<TWebBrowser*>();
        QTRY_COMPARE_WITH_TIMEOUT(PixelOf(web), QColor(0, 255, 255), RenderWait);
        QTRY_COMPARE_WITH_TIMEOUT(PixelAt(web, {50, 50}), QColor(255, 0, 0), RenderWait);

        TColorRecord& background = window.Document().Sheets[0].Colors[0];
        background.Text = "#FF00FF";
        background.Color = RGB(255, 0, 255);
        TPicRecord& dot = window.Document().Page.Pics[0];
        dot.Bitmap.Invert();
        WritePictureWorkCopy(dot.WorkPath, dot.Bitmap);
        window.Document().WriteWorkingCopies();
        window.ReloadPreview();
        QTRY_COMPARE_WITH_TIMEOUT(PixelOf(web), QColor(255, 0, 255), RenderWait);
        QTRY_COMPARE_WITH_TIMEOUT(PixelAt(web, {50, 50}), QColor(0, 255, 255), RenderWait);
    }

    void hintsFollowThePointerOverTheLists()
    {
        TfrmMain window({PagePath_});
        Options().ShowHint = true;
        Options().HintViewBytes = 15;  // 7 bytes each side
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* hint = window.findChild<TSourceHint*>();
        QWidget* rows = window.clbColorList->viewport();
        const QPoint onRed = window.clbColorList->visualItemRect(window.clbColorList->item(1)).center();
        QTest::mouseMove(rows, onRed);
        QVERIFY(!hint->isVisible());  // armed, waiting for the pause
        QHelpEvent due(QEvent::ToolTip, onRed, rows->mapToGlobal(onRed));
        QApplication::sendEvent(rows, &due);
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->Before(), QString("color=\""));
        QCOMPARE(hint->Color(), QString("red"));
        QCOMPARE(hint->After(), QString("\">red</"));
        const QPoint onGreen = window.clbColorList->visualItemRect(window.clbColorList->item(2)).center();
        QTest::mouseMove(rows, onGreen);
        QCOMPARE(hint->Color(), QString("#008000"));
        QTest::mouseMove(rows, QPoint(onGreen.x(), rows->height() - 2));
        QVERIFY(!hint->isVisible());
        QTest::mouseMove(rows, onRed);
        QVERIFY(hint->isVisible());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(window.clbColorList, &leave);
        QVERIFY(!hint->isVisible());
    }

    void aDroppedPageOpensAfterTheQuestion()
    {
        TfrmMain window({PagePath_});
        Recolour(window, 1);
        const QString other = WriteFile(*Site_, "other.htm", "<html><body text=\"blue\"></body></html>");
        const QString sheet = Site_->filePath("css/site.css");
        window.FilesDropped({sheet, other});  // only the first counts, and it is no page
        QCOMPARE(window.tcFileList->TabBar()->count(), 2);
        {
            TBoxAnswerer cancel(QMessageBox::Cancel);
            window.FilesDropped({other, sheet});
            QCOMPARE(cancel.Texts, QStringList("ファイル\"" + PagePath_ + "\"の内容は変更されています\r\n保存しますか？"));
        }
        QCOMPARE(window.tcFileList->TabBar()->count(), 2);
        {
            TBoxAnswerer discard(QMessageBox::No);
            window.FilesDropped({other});
        }
        QCOMPARE(window.windowTitle(), "Pictor [" + other + "]");
        QCOMPARE(Rows(window.clbColorList), QStringList{"blue"});
    }

    void applicationKeysRunTheirCommandsInTheMainWindow()
    {
        TfrmMain window({PagePath_});
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.alSelectInverse->trigger();
        QVERIFY(!window.clbColorList->RowChecked(0));
        QTest::keyClick(window.clbColorList, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(window.clbColorList->RowChecked(0));
        QVERIFY(window.Document().Sheets[0].Colors[0].Checked);
        Recolour(window, 1);
        QTest::keyClick(window.clbColorList, Qt::Key_F5);
        QCOMPARE(window.StatusPanels[1]->text(), QString("変更なし"));
    }

    void thePreviewKeepsItsScrollPositionAcrossAChangeOnly()
    {
        TfrmMain window({TallPage()});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* view = window.findChild<QWebEngineView*>();
        QTRY_VERIFY_WITH_TIMEOUT(window.Web().PageExtent().height() >= 3000, RenderWait);
        window.Web().ScrollTo({0, 500});
        QTRY_COMPARE_WITH_TIMEOUT(window.Web().ScrollOffsets(), QPoint(0, 500), RenderWait);

        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        window.SaveScrollPosition();
        window.ReloadPreview();
        QVERIFY(loaded.wait(RenderWait));
        QTRY_COMPARE_WITH_TIMEOUT(window.Web().ScrollOffsets(), QPoint(0, 500), RenderWait);

        window.alReload->trigger();  // a load starts at the top
        QVERIFY(loaded.wait(RenderWait));
        QTRY_COMPARE_WITH_TIMEOUT(window.Web().ScrollOffsets(), QPoint(0, 0), RenderWait);
    }

    void renderingDrawsTheWholePage()
    {
        TfrmMain window({TallPage()});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY_WITH_TIMEOUT(window.Web().PageExtent().height() >= 3000, RenderWait);
        const QSize extent = window.Web().PageExtent();
        const QImage page = window.Web().RenderPage(extent);
        QCOMPARE(page.size(), extent);
        QCOMPARE(page.pixelColor(10, extent.height() - 10), QColor(255, 255, 0));
        window.Web().FillRegion();
        QCOMPARE(window.findChild<QWebEngineView*>()->size(), window.findChild<TWebBrowser*>()->size());
    }

private:
    QString TallPage() const
    {
        return WriteFile(*Site_, "tall.html",
                         "<html><body bgcolor=\"#FFFF00\"><div style=\"height:3000px\">top</div>end</body></html>");
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

    static QString ColourText(int change) { return QString("#0000%1").arg(change * 16, 2, 16, QChar('0')).toUpper(); }

    // Gives the page's "red" a new colour the way the commands do.
    static void Recolour(TfrmMain& window, int change)
    {
        TColorRecord& red = window.Document().Page.Colors[1];
        red.Text = ColourText(change).toStdString();
        red.Color = RGB(0, 0, change * 16);
        window.Document().WriteWorkingCopies();
        window.SaveScrollPosition();
        window.ReloadPreview();
        window.CommitChange();
    }

    static QColor PixelAt(TWebBrowser* web, QPoint at) { return web->grab().toImage().pixelColor(at); }
    static QColor PixelOf(TWebBrowser* web) { return PixelAt(web, {web->width() - 20, web->height() - 20}); }

    std::unique_ptr<QTemporaryDir> Settings_;
    std::unique_ptr<QTemporaryDir> Site_;
    QString PagePath_;
};

int main(int argc, char** argv)
{
    UseOwnTemporaryFolder();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MainWindowDocument test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowDocument_qtest.moc"

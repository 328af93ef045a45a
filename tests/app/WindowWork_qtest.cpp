#include "MainWindowTesting.h"
#include "app/MainWindow.h"
#include "adjust/ui/HueDialog.h"
#include "app/Browser.h"
#include "app/ProgressWindow.h"
#include "app/WebBrowser.h"
#include "document/HtmlStructure.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QStatusBar>
#include <QtTest>

using namespace pictor;

namespace {

// Colours in the page and a sheet, and three pictures.
const char* const Page =
    "<html><head><link rel=\"stylesheet\" href=\"site.css\"></head>\n"
    "<body bgcolor=\"#FFFF00\"><font color=\"red\">red</font>"
    "<img src=\"a.gif\"><img src=\"b.gif\"><img src=\"c.gif\"></body></html>\n";
const char* const Sheet = "p { color: #123456; }\n";

// What a cancelled command must leave as it found it.
struct TDocumentState {
    QStringList Texts;
    std::vector<TBitmapEx> Pictures;
    QByteArray PageCopy;

    explicit TDocumentState(THtmlStructure& document)
    {
        ForEachColor(document, [&](const TColorRecord& record) { Texts << QString::fromStdString(record.Text); });
        ForEachPicture(document, [&](const TPicRecord& pic) { Pictures.push_back(pic.Bitmap); });
        PageCopy = FileBytes(QString::fromStdString(document.WorkFileName()));
    }
    // Pixels compared, not buffers: a restored picture may be a copy.
    bool operator==(const TDocumentState& other) const
    {
        if (Texts != other.Texts || PageCopy != other.PageCopy || Pictures.size() != other.Pictures.size()) return false;
        for (size_t i = 0; i < Pictures.size(); ++i)
            if (!Pictures[i].SamePixels(other.Pictures[i])) return false;
        return true;
    }
};

QString Shown(IBrowser& web)
{
    QString shown;
    web.RunAsyncScript(QString::fromUtf8(FileBytes(PICTOR_TEST_DATA "/shown-page.js")),
                       [&](bool fulfilled, const QString& value) { shown = fulfilled ? value : "failed: " + value; });
    if (!QTest::qWaitFor([&] { return !shown.isEmpty(); }, RenderWait)) return "no answer";
    return shown;
}

} // namespace

// A command's work runs on the worker: the window meanwhile, and Cancel.
class WindowWorkTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Folders_ = std::make_unique<TTestFolders>();
        PagePath_ = WriteFile(Folders_->Site, "index.html", Page);
        WriteFile(Folders_->Site, "site.css", Sheet);
        for (const char* name : {"a.gif", "b.gif", "c.gif"}) WriteFile(Folders_->Site, name, RedGif());
    }

    // Cancel is pressed as soon as the invert has started, so it is pressed during it whatever the
    // machine's pace: the records, pictures and working copies are as before, and no step is recorded.
    void cancelDuringAnInvertRestoresTheDocument()
    {
        TfrmMain window({PagePath_});
        const TDocumentState before(window.Document());
        int started = 0;
        connect(&window.Worker(), &TWorkRunner::Started, &window, [&] {
            if (started++ == 0) Named<QPushButton>(window.Progress(), "btnCancel")->click();
        });
        Named(window, "alInverse")->trigger();
        QCOMPARE(started, 2);  // the invert, then putting the records back
        QVERIFY(TDocumentState(window.Document()) == before);
        QVERIFY(!window.IsModified());
        QVERIFY(!window.Document().CanUndo());
        QVERIFY(window.Progress().isHidden());

        Named(window, "alInverse")->trigger();  // not cancelled: it changes the document
        QVERIFY(!(TDocumentState(window.Document()) == before));
        QVERIFY(window.Document().CanUndo());
    }

    // While the worker runs, the window still takes what does not touch the document, while every
    // command that would is shut off, and triggering one anyway does nothing.
    void commandsAreShutOffWhileOneRuns()
    {
        TfrmMain window({PagePath_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const char* const conflicting[] = {"alOpen", "alSave", "alSaveAs", "alReload", "alUndo", "alInverse",
                                           "alOpenfrmHue", "alSelectAll", "alContrastCheck", "mnuOption"};
        QStringList enabledMeanwhile;
        bool statusBarToggled = false;
        bool cancelShown = false;
        connect(&window.Worker(), &TWorkRunner::Started, &window, [&] {
            for (const char* name : conflicting)
                if (Named(window, name)->isEnabled()) enabledMeanwhile << name;
            Named(window, "alInverse")->trigger();
            Named(window, "mnuVBar")->trigger();
            statusBarToggled = window.statusBar()->isHidden();
            cancelShown = Named<QPushButton>(window.Progress(), "btnCancel")->isVisible();
        });
        Named(window, "alInverse")->trigger();
        QCOMPARE(enabledMeanwhile, QStringList());
        QVERIFY(statusBarToggled);
        QVERIFY(cancelShown);
        // One invert only: one step back is the page as read.
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[1].Text), QString("#00FFFF"));
        for (const char* name : conflicting)
            if (QByteArray(name) != "alRedo") QVERIFY2(Named(window, name)->isEnabled(), name);
        Named(window, "alUndo")->trigger();
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[1].Text), QString("red"));
        QVERIFY(!Named(window, "alUndo")->isEnabled());
        QVERIFY(Named(window, "alRedo")->isEnabled());
    }

    // With the blue block unticked, a hue shift previews the red block changed and the blue one as it is.
    void theDialogPreviewChangesOnlyTickedColours()
    {
        const QString page = WriteFile(Folders_->Site, "blocks.html",
                                       "<html><body style=\"margin:0\"><div style=\"background:#FF0000;height:60px\"></div>"
                                       "<div style=\"background:#0000FF;height:60px\"></div></body></html>");
        TfrmMain window;
        QVERIFY(OpenShown(window, page));
        // The dialog's snapshot is as large as the page, which Chromium measures after the load.
        QSignalSpy measured(window.findChild<QWebEngineView*>()->page(), &QWebEnginePage::contentsSizeChanged);
        QVERIFY(!window.Web().PageExtent().isEmpty() || measured.wait(RenderWait));
        for (TColorRecord& record : window.Document().Page.Colors)
            if (record.Text == "#0000FF") record.Checked = false;
        QColor red, blue;
        TModalAnswerer<TfrmHue> answer([&](TfrmHue& dialog) {
            dialog.findChild<QSlider*>("TrackBar1")->setValue(120);
            const QImage preview = dialog.findChild<QLabel*>("imgPrev")->pixmap().toImage();
            red = preview.pixelColor(10, 30);
            blue = preview.pixelColor(10, 90);
            dialog.findChild<QPushButton*>("btnCancel")->click();
        });
        Named(window, "alOpenfrmHue")->trigger();
        QCOMPARE(answer.Count, 1);
        QCOMPARE(blue, QColor(0, 0, 255));
        QVERIFY2(red != QColor(255, 0, 0), qPrintable(red.name()));
        // Cancelled: the records are as they were, the blue one still unticked.
        QStringList texts;
        for (const TColorRecord& record : window.Document().Page.Colors) texts << QString::fromStdString(record.Text);
        QCOMPARE(texts, (QStringList{"#FF0000", "#0000FF"}));
        QVERIFY(!window.Document().Page.Colors[1].Checked);
        QVERIFY(!window.IsModified());
    }

    // Sheets linked, imported by a sheet and by the page's style block, pictures named by the page and
    // by a sheet: after an invert, its undo and its redo the page, kept where it was scrolled to, shows
    // what loading it afresh shows.
    void theSwappedPreviewShowsWhatALoadShows()
    {
        WriteFile(Folders_->Site, "css/site.css",
                  "@import \"inner.css\";\n.t { color: #123456; background-color: #ffeecc }\n"
                  ".bg { background-image: url(../img/b.gif); width: 20px; height: 20px }\n");
        WriteFile(Folders_->Site, "css/inner.css", ".u { color: rgb(10, 200, 30) }\n");
        WriteFile(Folders_->Site, "css/more.css", ".v { color: hsl(200, 50%, 40%) }\n");
        for (const char* name : {"img/a.gif", "img/b.gif"}) WriteFile(Folders_->Site, name, RedGif());
        const QString page = WriteFile(
            Folders_->Site, "swap.html",
            "<html><head><link rel=\"stylesheet\" href=\"css/site.css\"><style>@import url(css/more.css);</style></head>"
            "<body><p class=\"t\">t</p><p class=\"u\">u</p><p class=\"v\">v</p><div class=\"bg\"></div>"
            "<img src=\"img/a.gif\" width=\"8\" height=\"8\"><div style=\"height:3000px\"></div></body></html>");
        TfrmMain window;
        window.resize(640, 480);
        QVERIFY(OpenShown(window, page));
        QSignalSpy shown(&window, &TfrmMain::PreviewShown);
        window.Web().RunScript("window.scrollTo(0, 200); 0", {});
        QTRY_COMPARE_WITH_TIMEOUT(window.Web().ScrollOffsets().y(), 200, RenderWait);
        const QString asRead = Shown(window.Web());
        QSignalSpy loads(window.findChild<QWebEngineView*>()->page(), &QWebEnginePage::loadStarted);
        for (const char* step : {"alInverse", "alUndo", "alRedo"}) {
            const int before = int(shown.count());
            Named(window, step)->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(shown.count() > before, RenderWait);
            QCOMPARE(loads.count(), 0);
            const QString swapped = Shown(window.Web());
            QVERIFY2(swapped.contains("background") && swapped.contains("picture"), qPrintable(swapped));
            // The same copies loaded afresh, in a browser of their own.
            TWebBrowser fresh;
            fresh.resize(window.findChild<TWebBrowser*>()->size());
            fresh.show();
            QSignalSpy loaded(fresh.View(), &QWebEngineView::loadFinished);
            fresh.Navigate(QString::fromStdString(window.Document().WorkFileName()));
            QVERIFY(loaded.wait(RenderWait));
            fresh.ScrollTo({0, 200});
            QTRY_COMPARE_WITH_TIMEOUT(fresh.ScrollOffsets().y(), 200, RenderWait);
            QCOMPARE(swapped, Shown(fresh));
            QCOMPARE(swapped == asRead, QByteArray(step) == "alUndo");
            loads.clear();
        }
    }

    // Cancel pressed as soon as the load of a page or of a site has started stops it part-way: the open
    // document, its lists and its preview stay as they were.
    void cancelDuringALoadKeepsTheOpenDocument()
    {
        TfrmMain window({PagePath_});
        const TDocumentState before(window.Document());
        const QString title = window.windowTitle();
        const QString other = WriteFile(Folders_->Site, "other.html", "<body text=\"blue\"><img src=\"a.gif\"></body>");
        connect(&window.Worker(), &TWorkRunner::Started, &window, [&] {
            Named<QPushButton>(window.Progress(), "btnCancel")->click();
        });
        window.LoadDocument(other);
        window.LoadSite(Folders_->Site.path());
        QVERIFY(!window.Site());
        QVERIFY(Named<QWidget>(window, "pnlPageList")->isHidden());
        QCOMPARE(QString::fromStdString(window.Document().FileName()), PagePath_);
        QVERIFY(TDocumentState(window.Document()) == before);
        QCOMPARE(window.windowTitle(), title);
        QVERIFY(window.IsDocumentReady());
        QVERIFY(Named(window, "alInverse")->isEnabled());
        QVERIFY(window.Progress().isHidden());
    }

private:
    std::unique_ptr<TTestFolders> Folders_;
    QString PagePath_;
};

int main(int argc, char** argv) { return RunWindowTest<WindowWorkTest>(argc, argv); }

#include "WindowWork_qtest.moc"

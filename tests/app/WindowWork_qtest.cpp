#include "MainWindowTesting.h"
#include "app/MainWindow.h"
#include "adjust/ui/HueDialog.h"
#include "app/Browser.h"
#include "app/ProgressWindow.h"
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

// Chromium renders in its own time; on a busy machine that can take long.
constexpr int RenderWait = 30000;

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
        QVERIFY(!window.Document().CanUndo());
    }

    // With the blue block unticked, a hue shift previews the red block changed and the blue one as it is.
    void theDialogPreviewChangesOnlyTickedColours()
    {
        const QString page = WriteFile(Folders_->Site, "blocks.html",
                                       "<html><body style=\"margin:0\"><div style=\"background:#FF0000;height:60px\"></div>"
                                       "<div style=\"background:#0000FF;height:60px\"></div></body></html>");
        TfrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy shown(&window, &TfrmMain::PreviewShown);
        window.LoadDocument(page);
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), RenderWait);  // it may come while the load still runs
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

private:
    std::unique_ptr<TTestFolders> Folders_;
    QString PagePath_;
};

int main(int argc, char** argv) { return RunWindowTest<WindowWorkTest>(argc, argv); }

#include "WindowWork_qtest.moc"

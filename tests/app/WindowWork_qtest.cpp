#include "MainWindowTesting.h"
#include "app/MainWindow.h"
#include "app/ProgressWindow.h"
#include "document/HtmlStructure.h"

#include <QAction>
#include <QPushButton>
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
        PageCopy = FileBytes(QString::fromStdString(document.WorkFileName));
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

private:
    std::unique_ptr<TTestFolders> Folders_;
    QString PagePath_;
};

int main(int argc, char** argv) { return RunWindowTest<WindowWorkTest>(argc, argv); }

#include "WindowWork_qtest.moc"

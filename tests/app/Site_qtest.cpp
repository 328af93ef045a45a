#include "MainWindowTesting.h"
#include "app/ContrastDialog.h"
#include "app/MainWindow.h"
#include "app/SaveAsDialog.h"
#include "document/HtmlStructure.h"
#include "site/SiteDocument.h"
#include "widgets/MyCheckListBox.h"
#include "widgets/TabSideBar.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include <sys/stat.h>

using namespace pictor;

namespace {

QString CopyOf(TfrmMain& window, const QString& relative)
{
    return QString::fromStdString(window.Edited().WorkFolder) + relative;
}

} // namespace

// A folder opened as one site: two pages share a sheet and a picture, a third cannot be read.
class SiteTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Folders_ = std::make_unique<TTestFolders>();
        const QTemporaryDir& site = Folders_->Site;
        WriteFile(site, "index.html", "<link rel=\"stylesheet\" href=\"css/site.css\">"
                                      "<body bgcolor=\"#FFFF00\"><img src=\"img/dot.gif\"><p>index</p></body>");
        WriteFile(site, "news/one.html", "<link rel=\"stylesheet\" href=\"../css/site.css\">"
                                         "<font color=\"#FFFF00\">one</font><img src=\"../img/dot.gif\">");
        WriteFile(site, "css/site.css", "p { color: #123456 }\n");
        WriteFile(site, "img/dot.gif", RedGif());
        WriteFile(site, "broken.html", "<link rel=\"stylesheet\" href=\"pipe.css\">");
        QVERIFY(::mkfifo(QFile::encodeName(site.filePath("pipe.css")).constData(), 0600) == 0);
    }

    // Every page listed, the failed one with its reason; the site's palette counts each file once.
    void openingAFolderListsItsPagesAndPalette()
    {
        TfrmMain window({Folders_->Site.path()});
        QVERIFY(window.Site());
        auto* pages = Named<QTreeWidget>(window, "lvPageList");
        QCOMPARE(pages->topLevelItemCount(), 3);
        QVERIFY(pages->topLevelItem(0)->text(0).startsWith("× broken.html (読み込めません: "));
        QVERIFY(pages->topLevelItem(0)->text(0).contains("pipe.css"));
        QCOMPARE(pages->topLevelItem(1)->text(0), QString("index.html"));
        QCOMPARE(pages->topLevelItem(2)->text(0), QString("news/one.html"));
        QCOMPARE(pages->topLevelItem(1)->text(2), QString("2"));
        QCOMPARE(pages->topLevelItem(1)->text(3), QString("1"));
        QVERIFY(window.Document().FileName().ends_with("/index.html"));
        QCOMPARE(window.windowTitle(), "Pictor [" + Folders_->Site.path() + "]");

        QVERIFY(Named<QCheckBox>(window, "chbSiteView")->isChecked());
        auto* colors = Named<TMyCheckListBox>(window, "clbColorList");
        QCOMPARE(colors->count(), 2);
        QCOMPARE(colors->item(0)->text(), QString("#FFFF00 (2)"));
        QCOMPARE(Named<TMyCheckListBox>(window, "clbPicList")->count(), 1);
        // The chosen file's own list, as for a single page.
        Named<QCheckBox>(window, "chbSiteView")->setChecked(false);
        QCOMPARE(colors->count(), 1);
        QCOMPARE(colors->item(0)->text(), QString("#FFFF00"));
        // Shift ticks the value on every page; a row of the site's list ticks every occurrence of it.
        const TColorRecord& other = window.Site()->Pages()[2].Document->Page.Colors[0];
        emit colors->checkClicked(0, false, Qt::ShiftModifier);
        QVERIFY(!other.Checked);
        Named<QCheckBox>(window, "chbSiteView")->setChecked(true);
        QVERIFY(!colors->RowChecked(0));
        emit colors->checkClicked(0, true, Qt::NoModifier);
        QVERIFY(other.Checked && window.Document().Page.Colors[0].Checked);
    }

    // Choosing a page shows its working copy as the last change left it.
    void switchingPagesShowsTheChangedSharedFiles()
    {
        TfrmMain window;
        QVERIFY(OpenShown(window, Folders_->Site.path()));
        QSignalSpy shown(&window, &TfrmMain::PreviewShown);
        Named(window, "alInverse")->trigger();
        auto* pages = Named<QTreeWidget>(window, "lvPageList");
        pages->setCurrentItem(pages->topLevelItem(2));
        QVERIFY(window.Document().FileName().ends_with("/news/one.html"));
        QCOMPARE(QString::fromStdString(window.Document().WorkFileName()), CopyOf(window, "news/one.html"));
        QVERIFY(FileBytes(CopyOf(window, "news/one.html")).contains("#0000FF"));
        QCOMPARE(Named<TTabSideBar>(window, "tcFileList")->TabBar()->count(), 2);
        const int before = shown.count();
        QTRY_VERIFY_WITH_TIMEOUT(shown.count() > before, RenderWait);
        // The contrast report lists the pairs of the page shown, and names it.
        Named(window, "alContrastCheck")->trigger();
        QCOMPARE(window.findChild<TfrmContrast*>()->windowTitle(), QString("コントラストの確認 [news/one.html]"));
        // A failed page is not shown.
        pages->setCurrentItem(pages->topLevelItem(0));
        QVERIFY(window.Document().FileName().ends_with("/news/one.html"));
    }

    // Invert and Save reach the site, not one page; Undo and Redo step the same edited document as
    // the invert (the site's own test steps a site). That each acts on every file once is
    // SiteDocument.ASharedFileChangesOnceInTheWorkingCopiesAndTheSave.
    void invertAndSaveActOnTheWholeSite()
    {
        TfrmMain window({Folders_->Site.path()});
        const QString sheet = Folders_->Site.filePath("css/site.css");
        Named(window, "alInverse")->trigger();
        QVERIFY(window.IsModified());
        Named(window, "alSave")->trigger();
        QVERIFY(!window.IsModified());
        QCOMPARE(FileBytes(sheet), QByteArray("p { color: #EDCBA9 }\n"));
        QVERIFY(FileBytes(Folders_->Site.filePath("news/one.html")).contains("color=\"#0000FF\""));
    }

    // Save as writes the site below another folder, leaving out the failed page, and the window moves
    // there; the layout kept is SiteDocument.SavingBelowAnotherFolderKeepsTheLayoutBelowTheSiteFolder.
    void saveAsWritesTheSiteBelowAnotherFolder()
    {
        TfrmMain window({Folders_->Site.path()});
        Named(window, "alInverse")->trigger();
        QTemporaryDir target;
        {
            TModalAnswerer<TfrmSaveAs> answer([&](TfrmSaveAs& dialog) {
                dialog.findChild<QLineEdit*>("edtPath")->setText(target.path());
                dialog.findChild<QPushButton*>("btnOK")->click();
            });
            Named(window, "alSaveAs")->trigger();
            QCOMPARE(answer.Count, 1);
        }
        QCOMPARE(FileBytes(target.filePath("css/site.css")), QByteArray("p { color: #EDCBA9 }\n"));
        QVERIFY(FileBytes(target.filePath("news/one.html")).contains("#0000FF"));
        QVERIFY(!QFile::exists(target.filePath("broken.html")));
        QVERIFY(FileBytes(Folders_->Site.filePath("css/site.css")).contains("#123456"));
        QCOMPARE(window.windowTitle(), "Pictor [" + target.path() + "]");
        QVERIFY(!window.IsModified());
        QCOMPARE(Named<QTreeWidget>(window, "lvPageList")->topLevelItem(2)->text(0), QString("news/one.html"));
    }

    // Ctrl+Shift+O asks for the folder wherever the focus is, and opens it.
    void theKeyOpensAFolder()
    {
        TfrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TModalAnswerer<QFileDialog> answer([&](QFileDialog& dialog) {
            dialog.setDirectory(Folders_->Site.path());
            dialog.selectFile(Folders_->Site.path());
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        QTest::keyClick(Named<TMyCheckListBox>(window, "clbColorList"), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(answer.Count, 1);
        QVERIFY(window.Site());
        QCOMPARE(window.Site()->Pages().size(), size_t(3));
    }

    // A dropped folder opens as a site; closing with changes asks once, for the whole site.
    void closingWithChangesAsksOnce()
    {
        TfrmMain window;
        window.FilesDropped({Folders_->Site.path()});
        Named(window, "alInverse")->trigger();
        TBoxAnswerer answer(QMessageBox::No);
        QVERIFY(window.close());
        QCOMPARE(answer.Texts.size(), 1);
        QVERIFY(answer.Texts[0].startsWith("サイト\"" + Folders_->Site.path()));
    }

private:
    std::unique_ptr<TTestFolders> Folders_;
};

int main(int argc, char** argv) { return RunWindowTest<SiteTest>(argc, argv); }

#include "Site_qtest.moc"

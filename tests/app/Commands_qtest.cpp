#include "MainWindowTesting.h"
#include "adjust/DarkColors.h"
#include "adjust/ui/DarkDialog.h"
#include "adjust/ui/HueDialog.h"
#include "app/BrowserScript.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/ProgressWindow.h"
#include "app/SaveAsDialog.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "colordialog/ui/ColorSelectForm.h"
#include "document/HtmlStructure.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>

using namespace pictor;

namespace {

const char* const Page = "<html><body bgcolor=\"#FFFF00\"><font color=\"red\">red</font><img src=\"dot.gif\"></body></html>";

} // namespace

// The commands as the user starts them, with a page open.
class CommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Folders_ = std::make_unique<TTestFolders>();
        PagePath_ = WriteFile(Folders_->Site, "index.html", Page);
        WriteFile(Folders_->Site, "dot.gif", RedGif());
    }

    // Save as goes into a folder it has to create, and the keys go to the window again afterwards.
    void invertNewColourSaveAndSaveAsWrite()
    {
        TfrmMain window({PagePath_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Named(window, "alInverse")->trigger();
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[1].Text), QString("#00FFFF"));
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
        QVERIFY(window.Progress().isHidden());
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
    std::unique_ptr<TTestFolders> Folders_;
    QString PagePath_;
};

int main(int argc, char** argv) { return RunWindowTest<CommandsTest>(argc, argv); }

#include "Commands_qtest.moc"

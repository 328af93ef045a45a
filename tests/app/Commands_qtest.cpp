#include "MainWindowTesting.h"
#include "adjust/ui/HueDialog.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/ProgressWindow.h"
#include "app/SaveAsDialog.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "colordialog/ui/ColorSelectForm.h"
#include "document/HtmlStructure.h"

#include <QAction>
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
        QCOMPARE(Named<QLabel>(window, "StatusPanel1")->text(), QString("変更なし"));

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
        QCOMPARE(FileBytes(folder + "/dot.gif").left(3), QByteArray("GIF"));
        QCOMPARE(window.windowTitle(), "Pictor [" + copy + "]");
        QCOMPARE(Named<QLabel>(window, "StatusPanel1")->text(), QString("変更なし"));
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
        QCOMPARE(help->Address().fileName(), QString("index.html"));
        QVERIFY(QFile::exists(help->Address().toLocalFile()));
        QVERIFY(help->findChild<QAction*>("actOpenInBrowser"));
        QTest::keyClick(&window, Qt::Key_F1);  // the same window again
        QCOMPARE(window.findChildren<THelpWindow*>().size(), 1);
    }

private:
    std::unique_ptr<TTestFolders> Folders_;
    QString PagePath_;
};

int main(int argc, char** argv) { return RunWindowTest<CommandsTest>(argc, argv); }

#include "Commands_qtest.moc"

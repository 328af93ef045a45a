#include "MainWindowTesting.h"
#include "app/MainWindow.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "document/Options.h"
#include "widgets/MyCheckListBox.h"
#include "widgets/TabSideBar.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

// Start-up and exit: the settings file, the layout it restores and the keys handled everywhere.
class MainWindowStartup : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Settings_ = std::make_unique<QTemporaryDir>();
        qputenv("PICTOR_SETTINGS_DIR", Settings_->path().toUtf8());
    }

    void aFirstRunCentresTheDefaultWindowAndWritesTheFile()
    {
        const QString path = Settings_->filePath("settings.ini");
        {
            TfrmMain window;
            QCOMPARE(window.windowTitle(), QString("Pictor"));
            QCOMPARE(window.size(), QSize(800, 600));
            const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
            QCOMPARE(window.pos(), QPoint((screen.width() - 800) / 2, (screen.height() - 600) / 2));
            QCOMPARE(window.tcFileList->TabBar()->count(), 1);
            QCOMPARE(window.tcFileList->TabBar()->tabText(0), QString("(ファイルが開かれていません)"));
            QCOMPARE(window.tcFileList->TabPosition(), 3);
            for (QAction* command : {window.alSave, window.alSaveAs, window.alReload, window.alUndo, window.alRedo,
                                     window.alSelectAll, window.alSelectInverse, window.alOpenfrmHue,
                                     window.alInverse, window.pnlColorPicker->findChild<QAction*>("mnuSetNewColor")})
                QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
            QVERIFY(window.alOpen->isEnabled());
            QVERIFY(!QFile::exists(path));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[Window]\nState=1\n"));
        QVERIFY(text.contains("Width=800\n"));
        QVERIFY(text.contains("[ColorPicker]\nVisible=1\nTop=2\nLeft=390\n"));
    }

    void theSettingsFileRestoresTheLayoutAndSurvivesTheRun()
    {
        const QString path = WriteFile(*Settings_, "settings.ini",
            "[Mine]\nKeep=me\n"
            "[Window]\nHeight=480\nWidth=640\nTop=30\nLeft=40\n"
            "[SideBar]\nVisible=0\nWidth=222\n[StatusBar]\nVisible=0\n"
            "[Edit]\nVisible=0\nTop=28\nLeft=127\n"
            "[Option]\nTabPosition=0\nHintViewBytes=0x20\n"
            "[Replace]\nCount=3\nKey0=a\nValue0=A\nKey1=b\nValue1=B\nkey2=c\nValue2=C\n");
        {
            TfrmMain window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.size(), QSize(640, 480));
            QCOMPARE(window.pos(), QPoint(40, 30));
            QVERIFY(!window.tcFileList->isVisible());
            QVERIFY(!window.mnuVSideBar->isChecked());
            QVERIFY(!window.statusBar()->isVisible());
            QVERIFY(!window.tbEdit->isVisible());
            QVERIFY(!window.mnuVEdit->isChecked());
            QVERIFY(window.tbFile->isVisible());
            QCOMPARE(window.tcFileList->TabPosition(), 0);
            QCOMPARE(pictor::Options().HintViewBytes, 32);
            QCOMPARE(pictor::Options().ReplaceKeys, (std::vector<std::string>{"a", "b", "c"}));
            pictor::Options().ReplaceKeys = {"x"};
            pictor::Options().ReplaceValues = {"X"};
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("[Mine]\nKeep=me\n"));
        QVERIFY(text.contains("Height=480\nWidth=640\nTop=30\nLeft=40\nState=1\n"));
        QVERIFY(text.contains("[SideBar]\nVisible=0\nWidth=222\n"));
        QVERIFY(text.contains("[Edit]\nVisible=0\nTop=28\nLeft=127\n"));
        QVERIFY(text.contains("TabPosition=0\nHintViewBytes=32\n"));
        QVERIFY(text.contains("[Replace]\nCount=1\nKey0=x\nValue0=X\nKey1=b\nValue1=B\nkey2=c\nValue2=C\n"));
    }

    void theViewTogglesShowAndHideTheirTargets()
    {
        TfrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.mnuVFile->trigger();
        QVERIFY(!window.tbFile->isVisible());
        QVERIFY(!window.mnuVFile->isChecked());
        window.mnuVSideBar->trigger();
        QVERIFY(!window.tcFileList->isVisible());
        window.mnuVSideBar->trigger();
        QVERIFY(window.tcFileList->isVisible());
        window.mnuVBar->trigger();
        QVERIFY(!window.statusBar()->isVisible());
    }

    void aCommandLinePageNeedsAnExactLowerCaseExtension()
    {
        TBoxAnswerer boxes;
        TfrmMain window({"/nowhere/INDEX.HTM"});
        QCOMPARE(window.windowTitle(), QString("Pictor"));
        QVERIFY(boxes.Texts.isEmpty());  // not even tried
    }

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

    void hoveringShowsTheLongHintInTheStatusBar()
    {
        TfrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.alOpen->showStatusText(window.tbFile);
        QCOMPARE(window.StatusPanels[2]->text(), QString("開く"));
        QStatusTipEvent tip(window.clbColorList->statusTip());
        QApplication::sendEvent(window.clbColorList, &tip);
        QCOMPARE(window.StatusPanels[2]->text(), QString("Shift+クリックで同じ色を同時選択/選択解除できます "));
    }

private:
    std::unique_ptr<QTemporaryDir> Settings_;
};

int main(int argc, char** argv)
{
    UseOwnTemporaryFolder();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MainWindowStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowStartup_qtest.moc"

#pragma once
// What the Qt tests share: a temporary folder of their own, small files and a watcher that
// answers message boxes.
#include "app/Browser.h"
#include "app/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <utility>

// The main of a window test. Each test process gets a temporary folder of its own, so that the
// working copies of tests running side by side never meet; its name has a space and kana, as users'
// folders do, which the preview's addresses must carry.
template <class TTest> int RunWindowTest(int argc, char** argv)
{
    const QTemporaryDir own(QDir::tempPath() + "/ピクター テスト-XXXXXX");
    qputenv("TMPDIR", own.path().toUtf8());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TTest test;
    return QTest::qExec(&test, argc, argv);
}

// Chromium renders in its own time; on a busy machine that can take long.
constexpr int RenderWait = 30000;

// A settings folder and a site folder of the test's own, the settings folder the one in use.
struct TTestFolders {
    TTestFolders() { qputenv("PICTOR_SETTINGS_DIR", Settings.path().toUtf8()); }
    QTemporaryDir Settings, Site;
};

// Shows the window and opens the page, or the folder as a site, waiting until the preview has shown
// it, which may be while the load still runs. A hidden preview may never finish a load.
inline bool OpenShown(TfrmMain& window, const QString& path)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    QSignalSpy shown(&window, &TfrmMain::PreviewShown);
    QFileInfo(path).isDir() ? window.LoadSite(path) : window.LoadDocument(path);
    return !shown.isEmpty() || shown.wait(RenderWait);
}

// A window's action or widget, found as the tests find all of them: by its object name.
template <class T = QAction> T* Named(const QObject& window, const char* name)
{
    T* child = window.findChild<T*>(QLatin1String(name));
    if (!child) qFatal("nothing named %s", name);
    return child;
}

// What a script gives back, once the page answers: waited for as long as it takes to come.
inline QVariant Evaluate(IBrowser& web, const QString& script)
{
    QVariant result;
    bool answered = false;
    QEventLoop loop;
    web.RunScript(script, [&](const QVariant& value) {
        result = value;
        answered = true;
        loop.quit();
    });
    if (!answered) loop.exec();
    return result;
}

// Writes a file below dir, making sub-folders.
inline QString WriteFile(const QTemporaryDir& dir, const QString& relative, const QByteArray& bytes)
{
    const QString path = dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// The file's bytes; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A 2 x 2 GIF, all red.
inline QByteArray RedGif()
{
    return QByteArray::fromHex("474946383961020002008000" "00ff000000000021f90400000000002c00000000020002000002028451003b");
}

// Does `steps` on each modal window of type T that comes up, and counts them.
template <class T> class TModalAnswerer : public QObject {
public:
    explicit TModalAnswerer(std::function<void(T&)> steps) : Steps_(std::move(steps))
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget()); window && window->isVisible()) {
                ++Count;
                Steps_(*window);
            }
        });
        timer->start(20);
    }
    int Count = 0;

private:
    std::function<void(T&)> Steps_;
};

// Answers every message box that comes up with `button` and keeps the texts it saw.
class TBoxAnswerer : public TModalAnswerer<QMessageBox> {
public:
    explicit TBoxAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok)
        : TModalAnswerer<QMessageBox>([this, button](QMessageBox& box) {
              Texts << box.text();
              if (QAbstractButton* answer = box.button(button))
                  answer->click();
              else
                  box.done(button);
          })
    {
    }
    QStringList Texts;
};

// Shows the dialog and names the controls that Tab or Shift+Tab do not leave.
inline QStringList ControlsKeepingTab(QWidget& dialog)
{
    dialog.show();
    dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&dialog)) return {"the dialog never became active"};
    QStringList keeping;
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisible() || !control->isEnabled() ||
            control->window() != &dialog)
            continue;
        for (const auto& [key, modifier] : {std::pair(Qt::Key_Tab, Qt::NoModifier), std::pair(Qt::Key_Backtab, Qt::ShiftModifier)}) {
            control->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(control, key, modifier);
            if (control->hasFocus()) keeping << control->objectName() + (key == Qt::Key_Tab ? " Tab" : " Shift+Tab");
        }
    }
    return keeping;
}

#include "app/ApplicationKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

TApplicationKeys::TApplicationKeys(QWidget* mainWindow, QAction* selectAll, QAction* open, QAction* openSite,
                                   QAction* save, QAction* reload)
    : QObject(mainWindow), MainWindow_(mainWindow), SelectAll_(selectAll), Open_(open), OpenSite_(openSite), Save_(save),
      Reload_(reload)
{
    qApp->installEventFilter(this);
}

TApplicationKeys::~TApplicationKeys()
{
    qApp->removeEventFilter(this);
}

bool TApplicationKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    QAction* command = nullptr;
    if (key->modifiers() & Qt::ControlModifier) {
        if (key->key() == Qt::Key_A) command = SelectAll_;
        else if (key->key() == Qt::Key_O) command = key->modifiers() & Qt::ShiftModifier ? OpenSite_ : Open_;
        else if (key->key() == Qt::Key_S) command = Save_;
    }
    if (key->key() == Qt::Key_F5) command = Reload_;
    if (!command) return QObject::eventFilter(watched, event);
    // Taking the override keeps the menus' shortcuts from firing as well; the key press then
    // comes here and runs the command once.
    event->accept();
    if (type == QEvent::KeyPress && !key->isAutoRepeat() && QApplication::activeWindow() == MainWindow_)
        command->trigger();
    return true;
}

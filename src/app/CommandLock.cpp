#include "app/CommandLock.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <utility>

namespace {

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

TCommandLock::TCommandLock(QWidget* window) : QObject(window), Window_(window) {}

void TCommandLock::Run(const std::function<void()>& command)
{
    if (Running_) return;
    // Ends the lock also when the command throws.
    struct TRunning {
        TCommandLock& Lock;
        explicit TRunning(TCommandLock& lock) : Lock(lock)
        {
            Lock.Running_ = true;
            qApp->installEventFilter(&Lock);
        }
        ~TRunning()
        {
            qApp->removeEventFilter(&Lock);
            Lock.Running_ = false;
        }
    } running(*this);
    command();
}

void TCommandLock::LetInputThrough(const std::function<void()>& during)
{
    // Also a command started outside Run (the page named on the command line) keeps others out.
    struct TThrough {
        TCommandLock& Lock;
        const bool WasRunning;
        explicit TThrough(TCommandLock& lock) : Lock(lock), WasRunning(std::exchange(lock.Running_, true))
        {
            qApp->removeEventFilter(&Lock);
        }
        ~TThrough()
        {
            Lock.Running_ = WasRunning;
            if (WasRunning) qApp->installEventFilter(&Lock);
        }
    } through(*this);
    during();
}

bool TCommandLock::eventFilter(QObject* watched, QEvent* event)
{
    // Only what the user does: the command's own calls (a close from Exit) go through.
    if (!event->spontaneous() || !IsInput(event->type())) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != Window_) return false;
    // An accepted override keeps the window's shortcuts from firing on the key.
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    return true;
}

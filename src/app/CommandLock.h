#pragma once
#include <QObject>

#include <functional>

class QWidget;

// Runs the main window's commands one at a time. While one runs, the window takes no input: the
// event loops a command waits in (the progress window's paint, the preview's layout) would
// otherwise hand clicks and keys to the window in the middle of the command. The dialogs and
// message boxes that the command opens are windows of their own and take input as usual.
class TCommandLock : public QObject {
    Q_OBJECT
public:
    explicit TCommandLock(QWidget* window);
    // Runs the command, unless another one is running: then it does nothing.
    void Run(const std::function<void()>& command);
    // Lets the user's input reach the window while `during` runs (a command's work on the worker
    // thread): other commands stay refused, and the window shuts off those that would conflict.
    void LetInputThrough(const std::function<void()>& during);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* Window_;
    bool Running_ = false;
};

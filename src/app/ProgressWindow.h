#pragma once
#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window shown during long operations: "構文解析中...", "処理中...", "保存中...",
// "プレビューをレンダリング中...", "イメージ書き出し中...". Work on the worker thread also shows a
// count and, where it can be undone, "キャンセル".
class TfrmProgress : public QFrame {
    Q_OBJECT
public:
    explicit TfrmProgress(QWidget* mainWindow);
    // Centres itself on the main window, shows the message and lets it paint once.
    void ShowMessage(const QString& message);
    // The message with a count, and the Cancel button when cancellable.
    void ShowWork(const QString& message, bool cancellable);
    // done of total; a total of 0 shows a busy bar.
    void SetCount(int done, int total);

signals:
    void CancelPressed();

private:
    QWidget* MainWindow_;
    QLabel* Label_;
    QProgressBar* Bar_;
    QPushButton* Cancel_;
};

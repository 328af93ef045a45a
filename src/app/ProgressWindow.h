#pragma once
#include <QFrame>

class QLabel;

// The progress window shown during long operations: "構文解析中...", "処理中...", "保存中...",
// "プレビューをレンダリング中...", "イメージ書き出し中...".
class TfrmProgress : public QFrame {
    Q_OBJECT
public:
    explicit TfrmProgress(QWidget* mainWindow);
    // Centres itself on the main window, shows the message and lets it paint once.
    void ShowMessage(const QString& message);

private:
    QWidget* MainWindow_;
    QLabel* Label_;
};

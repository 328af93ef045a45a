#pragma once
#include <QWidget>

class QToolButton;

// An arrow pair beside a text box: each click (auto-repeating while held) steps by +1 or -1.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

signals:
    void Click(int delta);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* Up_ = nullptr;
    QToolButton* Down_ = nullptr;
};

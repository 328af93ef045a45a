#pragma once
#include <QListWidget>
#include <QStyledItemDelegate>

// Rows of a check list: fixed height, and as wide as the list's horizontal extent.
class TCheckListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The width a row needs to be drawn whole: check box, margins and the option's text.
    virtual int DrawnWidth(const QStyleOptionViewItem& option) const;
    int RowHeight = 12;
    int Extent = 0;
};

// A check list that reports which modifiers a tick was made with, tells when the pointer moves
// over, rests on and leaves it, and repaints itself whole after each horizontal scroll.
class TMyCheckListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TMyCheckListBox(QWidget* parent = nullptr);

    // Replaces the row delegate; the list takes ownership.
    void SetDelegate(TCheckListDelegate* delegate);
    // A row that cannot be ticked is greyed and struck through.
    void AddRow(const QString& text, bool checked, bool tickable);
    void SetRowChecked(int row, bool checked);  // no checkClicked
    bool RowChecked(int row) const;
    int RowAt(const QPoint& viewportPos) const;  // -1 when no row is there
    // The style option a row is drawn with.
    QStyleOptionViewItem RowOption(int row) const;
    void SetRowHeight(int height);
    // Sets the horizontal scroll extent from the rows: the widest text's width plus `slack`, and never
    // less than that row needs as drawn, so that no row is cut short.
    void FitHorizontalExtent(int slack);
    int RowHeight() const;

signals:
    void checkClicked(int row, bool checked, Qt::KeyboardModifiers modifiers);
    void mouseLeft();
    void mouseMoved(const QPoint& viewportPos);
    void hintDue(const QPoint& viewportPos);  // the pointer rested for the hint pause

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ItemChanged(QListWidgetItem* item);

    TCheckListDelegate* Delegate_ = nullptr;
    Qt::KeyboardModifiers LastModifiers_;
    bool Updating_ = false;
};

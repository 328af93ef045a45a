#include "widgets/MyCheckListBox.h"

#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

QSize TCheckListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    // Rows reach across the list at least, so that a selected row is marked over its whole width.
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    return {view ? std::max(Extent, view->viewport()->width()) : Extent, RowHeight};
}

int TCheckListDelegate::DrawnWidth(const QStyleOptionViewItem& option) const
{
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    return style->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), option.widget).width();
}

TMyCheckListBox::TMyCheckListBox(QWidget* parent) : QListWidget(parent)
{
    setMouseTracking(true);
    setUniformItemSizes(true);
    setResizeMode(QListView::Adjust);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    SetDelegate(new TCheckListDelegate(this));
    connect(this, &QListWidget::itemChanged, this, &TMyCheckListBox::ItemChanged);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void TMyCheckListBox::SetDelegate(TCheckListDelegate* delegate)
{
    if (Delegate_) {
        delegate->RowHeight = Delegate_->RowHeight;
        delegate->Extent = Delegate_->Extent;
    }
    delegate->setParent(this);
    setItemDelegate(delegate);
    delete Delegate_;
    Delegate_ = delegate;
}

void TMyCheckListBox::AddRow(const QString& text, bool checked, bool tickable)
{
    auto* item = new QListWidgetItem(text);
    item->setFlags(tickable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                            : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    if (!tickable) {
        QFont font = this->font();
        font.setStrikeOut(true);
        item->setFont(font);
        item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
    }
    Updating_ = true;
    addItem(item);
    Updating_ = false;
}

void TMyCheckListBox::SetRowChecked(int row, bool checked)
{
    Updating_ = true;
    item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    Updating_ = false;
}

bool TMyCheckListBox::RowChecked(int row) const
{
    return item(row)->checkState() == Qt::Checked;
}

int TMyCheckListBox::RowAt(const QPoint& viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

void TMyCheckListBox::SetRowHeight(int height)
{
    Delegate_->RowHeight = height;
    doItemsLayout();
}

int TMyCheckListBox::RowHeight() const
{
    return Delegate_->RowHeight;
}

QStyleOptionViewItem TMyCheckListBox::RowOption(int row) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualItemRect(item(row));
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.checkState = item(row)->checkState();
    option.text = item(row)->text();
    return option;
}

void TMyCheckListBox::FitHorizontalExtent(int slack)
{
    int widest = -1;
    int widestWidth = 0;
    for (int row = 0; row < count(); ++row) {
        const int width = fontMetrics().horizontalAdvance(item(row)->text());
        if (width > widestWidth) {
            widest = row;
            widestWidth = width;
        }
    }
    Delegate_->Extent = widestWidth + slack;
    if (widest >= 0) Delegate_->Extent = std::max(Delegate_->Extent, Delegate_->DrawnWidth(RowOption(widest)));
    doItemsLayout();
}

void TMyCheckListBox::ItemChanged(QListWidgetItem* changed)
{
    if (!Updating_) emit checkClicked(row(changed), changed->checkState() == Qt::Checked, LastModifiers_);
}

void TMyCheckListBox::mousePressEvent(QMouseEvent* event)
{
    LastModifiers_ = event->modifiers();
    QListWidget::mousePressEvent(event);
}

void TMyCheckListBox::mouseReleaseEvent(QMouseEvent* event)
{
    LastModifiers_ = event->modifiers();
    QListWidget::mouseReleaseEvent(event);
}

void TMyCheckListBox::mouseMoveEvent(QMouseEvent* event)
{
    QListWidget::mouseMoveEvent(event);
    emit mouseMoved(event->position().toPoint());
}

void TMyCheckListBox::keyPressEvent(QKeyEvent* event)
{
    LastModifiers_ = event->modifiers();
    QListWidget::keyPressEvent(event);
}

bool TMyCheckListBox::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        emit hintDue(static_cast<QHelpEvent*>(event)->pos());
        return true;  // the lists' own hints replace the tool-tip
    }
    return QListWidget::viewportEvent(event);
}

void TMyCheckListBox::leaveEvent(QEvent* event)
{
    QListWidget::leaveEvent(event);
    emit mouseLeft();
}

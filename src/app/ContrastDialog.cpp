#include "app/ContrastDialog.h"

#include "document/Contrast.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pictor {

namespace {

constexpr int TextStartLength = 30;

QColor Swatch(TColor color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

// The colour as a swatch with its code written on it, in black or white, whichever reads better.
void ShowColour(QTreeWidgetItem& item, int column, TColor color)
{
    const QString code = QString::fromStdString(ColorToCode(color, false));
    item.setBackground(column, Swatch(color));
    item.setForeground(column, ContrastRatio(color, RGB(0, 0, 0)) >= ContrastRatio(color, RGB(255, 255, 255))
                                   ? Qt::black
                                   : Qt::white);
    item.setText(column, code);
    item.setToolTip(column, code);
}

QString RatioText(double ratio)
{
    return QString::fromStdString(ContrastRatioText(ratio));
}

} // namespace

TfrmContrast::TfrmContrast(std::function<void(const TContrastRow&)> tickSource, QWidget* parent)
    : QDialog(parent), TickSource_(std::move(tickSource))
{
    setObjectName("frmContrast");
    setWindowTitle("コントラストの確認");
    auto* layout = new QVBoxLayout(this);
    lblCaption = new QLabel(this);
    lblCaption->setObjectName("lblCaption");
    layout->addWidget(lblCaption);

    lvContrast = new QTreeWidget(this);
    lvContrast->setObjectName("lvContrast");
    lvContrast->setRootIsDecorated(false);
    lvContrast->setHeaderLabels({"テキスト", "文字色", "背景色", "変更前", "現在"});
    lvContrast->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(lvContrast, &QTreeWidget::itemDoubleClicked, this, &TfrmContrast::lvContrastDblClick);
    layout->addWidget(lvContrast);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText("閉じる");
    buttons->button(QDialogButtonBox::Close)->setObjectName("btnClose");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(600, 320);
}

void TfrmContrast::SetRows(std::vector<TContrastRow> rows)
{
    Rows_ = std::move(rows);
    lblCaption->setText(Rows_.empty() ? "コントラストの低い要素はありません"
                                      : "コントラストの低い要素 (行をダブルクリックすると直前の変更で変わった色にチェックを付けます):");
    lvContrast->clear();
    for (const TContrastRow& row : Rows_) {
        auto* item = new QTreeWidgetItem(lvContrast);
        const QString& text = row.Now.Text;
        item->setText(0, text.size() > TextStartLength ? text.left(TextStartLength) + "..." : text);
        item->setToolTip(0, text);
        ShowColour(*item, 1, row.Now.Foreground);
        ShowColour(*item, 2, row.Now.Background);
        item->setText(3, row.Before ? RatioText(*row.Before) : QString("-"));
        item->setText(4, RatioText(row.Now.Ratio));
    }
}

void TfrmContrast::lvContrastDblClick()
{
    const int row = lvContrast->indexOfTopLevelItem(lvContrast->currentItem());
    if (row >= 0) TickSource_(Rows_[size_t(row)]);
}

} // namespace pictor

#include "app/ContrastDialog.h"

#include "document/Contrast.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pictor {

namespace {

constexpr int TextStartLength = 30;
enum TColumn { TextColumn, ForegroundColumn, BackgroundColumn, BeforeColumn, NowColumn, ForegroundPlaceColumn };

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

TfrmContrast::TfrmContrast(std::function<void(const TContrastRow&)> tickSource, TPlacesFinder findPlaces,
                           QWidget* parent)
    : QDialog(parent), TickSource_(std::move(tickSource)), FindPlaces_(std::move(findPlaces))
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
    lvContrast->setHeaderLabels({"テキスト", "文字色", "背景色", "変更前", "現在", "文字色の指定", "背景色の指定"});
    lvContrast->header()->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    connect(lvContrast, &QTreeWidget::itemDoubleClicked, this, &TfrmContrast::lvContrastDblClick);
    layout->addWidget(lvContrast);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText("閉じる");
    buttons->button(QDialogButtonBox::Close)->setObjectName("btnClose");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(860, 320);
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
        item->setText(TextColumn, text.size() > TextStartLength ? text.left(TextStartLength) + "..." : text);
        item->setToolTip(TextColumn, text);
        ShowColour(*item, ForegroundColumn, row.Now.Foreground);
        ShowColour(*item, BackgroundColumn, row.Now.Background);
        item->setText(BeforeColumn, row.Before ? RatioText(*row.Before) : QString("-"));
        item->setText(NowColumn, RatioText(row.Now.Ratio));
    }
    if (Rows_.empty() || !FindPlaces_) return;
    FindPlaces_(Rows_, [dialog = QPointer<TfrmContrast>(this), serial = ++Serial_](const std::vector<QString>& places) {
        if (dialog && dialog->Serial_ == serial) dialog->ShowPlaces(places);
    });
}

void TfrmContrast::ShowPlaces(const std::vector<QString>& places)
{
    for (int row = 0; row < lvContrast->topLevelItemCount(); ++row)
        for (int which = 0; which < 2; ++which) {
            const std::size_t at = std::size_t(row) * 2 + std::size_t(which);
            const QString place = at < places.size() && !places[at].isEmpty() ? places[at] : QString("-");
            QTreeWidgetItem* item = lvContrast->topLevelItem(row);
            item->setText(ForegroundPlaceColumn + which, place);
            item->setToolTip(ForegroundPlaceColumn + which, place);
        }
}

void TfrmContrast::lvContrastDblClick()
{
    const int row = lvContrast->indexOfTopLevelItem(lvContrast->currentItem());
    if (row >= 0) TickSource_(Rows_[size_t(row)]);
}

} // namespace pictor

#include "replace/ui/ReplaceItemDialog.h"

#include "widgets/DialogPlacement.h"
#include "encoding/Cp932.h"
#include "replace/ReplaceItem.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace pictor {

TfrmRTAddItem::TfrmRTAddItem(const TReplaceItem& item, QWidget* parent)
    : QDialog(parent), Item_(item)
{
    setWindowTitle("項目の追加");
    auto* Label1 = new QLabel("置換対象文字列(&T):", this);
    Edit = new QLineEdit(QString::fromStdString(cp932::ToUtf8(item.Key)), this);
    Edit->setObjectName("Edit");
    Label1->setBuddy(Edit);
    auto* Label2 = new QLabel("置換文字列(&R):", this);
    Memo = new QPlainTextEdit(QString::fromStdString(MemoTextOf(item.Value)), this);
    Memo->setObjectName("Memo");
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setTabChangesFocus(true);
    Memo->setFixedSize(420, 160);
    Label2->setBuddy(Memo);
    auto* Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    auto* Button2 = new QPushButton("キャンセル", this);
    Button2->setObjectName("Button2");

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 3);
    layout->addWidget(Edit, 1, 0, 1, 3);
    layout->addWidget(Label2, 2, 0, 1, 3);
    layout->addWidget(Memo, 3, 0, 1, 3);
    layout->addWidget(Button1, 4, 1);
    layout->addWidget(Button2, 4, 2);
    layout->setColumnStretch(0, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &TfrmRTAddItem::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    adjustSize();
    CentreOnScreen(this);
}

void TfrmRTAddItem::Button1Click()
{
    const std::string key = Edit->text().toStdString();
    const std::string memo = Memo->toPlainText().toStdString();
    const TItemCheck check = CheckReplaceItem(key, memo);
    if (check != TItemCheck::Ok) {
        const std::string_view message = ItemCheckMessage(check);
        QMessageBox::warning(this, "エラー", QString::fromUtf8(message.data(), qsizetype(message.size())));
        if (check == TItemCheck::EmptyValue)
            Memo->setFocus();
        else
            Edit->setFocus();
        return;
    }
    Item_ = ItemFromDialog(key, memo);
    accept();
}

} // namespace pictor

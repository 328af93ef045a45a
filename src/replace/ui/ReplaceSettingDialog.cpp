#include "replace/ui/ReplaceSettingDialog.h"

#include "widgets/DialogPlacement.h"
#include "widgets/ErrorBox.h"
#include "base/PictorError.h"
#include "encoding/Cp932.h"
#include "replace/ui/ReplaceItemDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace pictor {

namespace {

constexpr const char* kFileFilter = "置換設定ファイル(*.dat)";

QTableWidgetItem* Cell(const std::string& sjis)
{
    return new QTableWidgetItem(QString::fromStdString(cp932::ToUtf8(sjis)));
}

} // namespace

TfrmReplaceSetting::TfrmReplaceSetting(TReplaceTable table, bool useReplacer, std::string tableFolder, QWidget* parent)
    : QDialog(parent), Table_(std::move(table)), TableFolder_(std::move(tableFolder))
{
    setWindowTitle("置換設定");
    setWindowFlag(Qt::WindowStaysOnTopHint);

    chbUseRepTxtFunc = new QCheckBox("置換機能を使用する(&U)", this);
    chbUseRepTxtFunc->setObjectName("chbUseRepTxtFunc");
    ListView = new QTableWidget(0, 2, this);
    ListView->setObjectName("ListView");
    ListView->setHorizontalHeaderLabels({"置換対象文字列", "置換文字列"});
    ListView->setColumnWidth(0, 150);
    ListView->setColumnWidth(1, 355);
    ListView->horizontalHeader()->setStretchLastSection(true);
    ListView->verticalHeader()->hide();
    ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView->setTabKeyNavigation(false);  // whole rows are chosen: Tab moves on to the buttons
    ListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView->setShowGrid(true);
    ListView->setWordWrap(false);
    ListView->setMinimumSize(530, 260);

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    QPushButton* btnOK = button("btnOK", "OK");
    btnOK->setDefault(true);
    QPushButton* btnCancel = button("btnCancel", "キャンセル");
    QPushButton* btnAdd = button("btnAdd", "追加(&A)...");
    QPushButton* btnEdit = button("btnEdit", "編集(&E)...");
    QPushButton* btnCopy = button("btnCopy", "複製(&C)");
    QPushButton* btnDelete = button("btnDelete", "削除(&D)");
    QPushButton* btnSave = button("btnSave", "設定を保存(&S)...");
    QPushButton* btnLoad = button("btnLoad", "設定を読込(&L)...");
    TableButtons_ = {btnAdd, btnEdit, btnCopy, btnDelete, btnSave, btnLoad};

    auto* layout = new QGridLayout(this);
    layout->addWidget(chbUseRepTxtFunc, 0, 0, 1, 2);
    layout->addWidget(ListView, 1, 0, 8, 1);
    for (int i = 0; i < 4; ++i) layout->addWidget(TableButtons_[size_t(i)], 1 + i, 1);
    layout->setRowMinimumHeight(5, 12);
    layout->addWidget(btnSave, 6, 1);
    layout->addWidget(btnLoad, 7, 1);
    layout->setRowStretch(8, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons, 9, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(chbUseRepTxtFunc, &QCheckBox::toggled, this, &TfrmReplaceSetting::chbUseRepTxtFuncClick);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmReplaceSetting::btnAddClick);
    connect(btnEdit, &QPushButton::clicked, this, &TfrmReplaceSetting::btnEditClick);
    connect(btnCopy, &QPushButton::clicked, this, &TfrmReplaceSetting::btnCopyClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmReplaceSetting::btnDeleteClick);
    connect(btnSave, &QPushButton::clicked, this, &TfrmReplaceSetting::btnSaveClick);
    connect(btnLoad, &QPushButton::clicked, this, &TfrmReplaceSetting::btnLoadClick);
    connect(ListView, &QTableWidget::cellDoubleClicked, this, &TfrmReplaceSetting::btnEditClick);

    chbUseRepTxtFunc->setChecked(useReplacer);
    // toggled does not fire for an unchanged state, and the rule holds from the start.
    chbUseRepTxtFuncClick();
    ShowTable(-1);
    adjustSize();
    CentreOnScreen(this);
}

bool TfrmReplaceSetting::UseReplacer() const { return chbUseRepTxtFunc->isChecked(); }

void TfrmReplaceSetting::chbUseRepTxtFuncClick()
{
    const bool on = chbUseRepTxtFunc->isChecked();
    ListView->setEnabled(on);
    for (QPushButton* b : TableButtons_) b->setEnabled(on);
}

void TfrmReplaceSetting::btnAddClick()
{
    TfrmRTAddItem item({}, this);
    if (item.exec() != QDialog::Accepted) return;
    Table_.push_back(item.Item());
    ShowTable(int(Table_.size()) - 1);
}

void TfrmReplaceSetting::btnEditClick()
{
    const int row = ListView->currentRow();
    if (row < 0 || size_t(row) >= Table_.size()) return;
    TfrmRTAddItem item(Table_[size_t(row)], this);
    if (item.exec() != QDialog::Accepted) return;
    Table_[size_t(row)] = item.Item();
    ShowTable(row);
}

void TfrmReplaceSetting::btnCopyClick()
{
    AppendCopies(Table_, SelectedRows());
    ShowTable(ListView->currentRow());
}

void TfrmReplaceSetting::btnDeleteClick()
{
    RemoveRows(Table_, SelectedRows());
    ShowTable(-1);
}

void TfrmReplaceSetting::btnSaveClick()
{
    const QString chosen = QFileDialog::getSaveFileName(
        this, QString(), QFile::decodeName(TableFolder_.c_str()), kFileFilter);
    if (chosen.isEmpty()) return;
    try {
        SaveReplaceTable(ReplaceTableFileName(QFile::encodeName(chosen).toStdString()), Table_);
    } catch (const TPictorError& error) {
        ShowErrorBox(this, error);
    }
}

void TfrmReplaceSetting::btnLoadClick()
{
    const QString chosen = QFileDialog::getOpenFileName(
        this, QString(), QFile::decodeName(TableFolder_.c_str()), kFileFilter);
    if (chosen.isEmpty()) return;
    // The rows go before the file is read, so a failed load leaves the list empty.
    Table_.clear();
    try {
        Table_ = LoadReplaceTable(QFile::encodeName(chosen).toStdString());
    } catch (const TPictorError& error) {
        ShowErrorBox(this, error);
    }
    ShowTable(-1);
}

void TfrmReplaceSetting::ShowTable(int current)
{
    ListView->clearContents();
    ListView->setRowCount(int(Table_.size()));
    for (size_t row = 0; row < Table_.size(); ++row) {
        ListView->setItem(int(row), 0, Cell(Table_[row].Key));
        ListView->setItem(int(row), 1, Cell(Table_[row].Value));
    }
    if (current >= 0 && current < ListView->rowCount()) ListView->selectRow(current);
}

std::vector<int> TfrmReplaceSetting::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : ListView->selectionModel()->selectedRows()) rows.push_back(index.row());
    return rows;
}

} // namespace pictor

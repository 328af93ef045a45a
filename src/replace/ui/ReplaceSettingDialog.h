#pragma once
#include "replace/ReplaceTable.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace pictor {

// The replacement table editor, filled from Options(); the table and the flag are read back after OK.
class TfrmReplaceSetting : public QDialog {
    Q_OBJECT
public:
    explicit TfrmReplaceSetting(QWidget* parent = nullptr);

    // The Tools menu's command: on OK the table and the flag go to Options(); the preview is not rewritten.
    static void Execute(QWidget* parent);

    const TReplaceTable& Table() const { return Table_; }
    bool UseReplacer() const;

private:
    void chbUseRepTxtFuncClick();
    void btnAddClick();
    void btnEditClick();
    void btnCopyClick();
    void btnDeleteClick();
    void btnSaveClick();
    void btnLoadClick();
    void ShowTable(int current);
    std::vector<int> SelectedRows() const;

    QCheckBox* chbUseRepTxtFunc;
    QTableWidget* ListView;
    std::vector<QPushButton*> TableButtons_;
    TReplaceTable Table_;
};

} // namespace pictor

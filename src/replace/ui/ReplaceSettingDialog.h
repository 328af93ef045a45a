#pragma once
#include "replace/ReplaceTable.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace pictor {

// The replacement table editor; the table and the flag are read back after OK. Tables are saved to
// and loaded from files, starting in tableFolder.
class TfrmReplaceSetting : public QDialog {
    Q_OBJECT
public:
    TfrmReplaceSetting(TReplaceTable table, bool useReplacer, std::string tableFolder, QWidget* parent = nullptr);

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
    std::string TableFolder_;
};

} // namespace pictor

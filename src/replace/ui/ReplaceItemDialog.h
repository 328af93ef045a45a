#pragma once
#include "replace/ReplaceTable.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace pictor {

// One entry of the replacement table, for adding and for editing alike.
class TfrmRTAddItem : public QDialog {
    Q_OBJECT
public:
    // item: the key and the escaped value to start from.
    explicit TfrmRTAddItem(const TReplaceItem& item = {}, QWidget* parent = nullptr);
    // The key and the escaped value; meaningful after OK.
    const TReplaceItem& Item() const { return Item_; }

private:
    void Button1Click();

    QLineEdit* Edit;
    QPlainTextEdit* Memo;
    TReplaceItem Item_;
};

} // namespace pictor

#pragma once
#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;

namespace pictor {

// Asks for the destination folder of Save as. Closes only through its buttons; Escape cancels.
class TfrmSaveAs : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSaveAs(QWidget* parent = nullptr);

    // Set before exec() to the page's folder; after OK, the chosen folder (which then exists).
    std::string Folder;

    // Asks a Yes/No question; replaceable so that tests need no message box.
    std::function<bool(QWidget* parent, const QString& text)> AskYesNo;

    // Folder must exist: a missing one is offered for creation, and No keeps the dialog open.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void btnOKClick();
    void Button1Click();
    void FocusPath();

    QLineEdit* edtPath;
};

} // namespace pictor

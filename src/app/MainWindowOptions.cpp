// Tools → "オプション(&O)...".
#include "app/MainWindow.h"
#include "app/FocusBack.h"
#include "app/OptionDialog.h"

void TfrmMain::mnuOptionClick()
{
    const TFocusBack back(*this);
    pictor::TfrmOption dialog(Options_, this);
    if (dialog.exec() == QDialog::Accepted) ApplyOptions();
}

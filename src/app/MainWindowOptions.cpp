// Tools → "オプション(&O)...".
#include "app/MainWindow.h"
#include "app/OptionDialog.h"

void TfrmMain::mnuOptionClick()
{
    pictor::TfrmOption dialog(Options_, this);
    if (dialog.exec() == QDialog::Accepted) ApplyOptions();
}

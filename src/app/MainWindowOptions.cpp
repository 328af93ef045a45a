// Tools → "オプション(&O)...".
#include "app/MainWindow.h"
#include "app/OptionDialog.h"

void TfrmMain::mnuOptionClick()
{
    if (pictor::TfrmOption::Execute(this)) ApplyOptions();
}

// The commands that tick and untick the records: all, the inverse, and the picked colour's.
#include "app/MainWindow.h"

#include "app/DocumentView.h"
#include "app/model/RecordChecks.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "document/WorkingDocument.h"

#include <QAction>

using namespace pictor;

void TfrmMain::mnuSelectColorClick(TColor picked)
{
    CheckPickedColor(picked, true);
}

void TfrmMain::mnuUnselectColorClick(TColor picked)
{
    CheckPickedColor(picked, false);
}

void TfrmMain::CheckPickedColor(TColor picked, bool checked)
{
    if (!Open_->IsReadable()) return;
    SetCheckedByColor(Open_->Edited(), picked, checked);
    View_->SyncCheckMarks();
    pnlColorPicker->BlankMagnifier();
}

void TfrmMain::alSelectAllExecute()
{
    if (!alSelectAll->isEnabled() || !Open_->IsReadable()) return;
    CheckAll(Open_->Edited());
    View_->SyncCheckMarks();
}

void TfrmMain::alSelectInverseExecute()
{
    if (!alSelectInverse->isEnabled() || !Open_->IsReadable()) return;
    InvertChecks(Open_->Edited());
    View_->SyncCheckMarks();
}

// The preview, the commit step of every change, and Undo and Redo.
#include "app/MainWindow.h"
#include "app/OpenDocument.h"

#include "app/PreviewScheme.h"
#include "app/PreviewUpdater.h"
#include "app/ProgressWindow.h"
#include "app/WebBrowser.h"
#include "app/model/Options.h"
#include "document/HtmlStructure.h"
#include "widgets/MyCheckListBox.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QScrollBar>

using namespace pictor;

IBrowser& TfrmMain::Web()
{
    return *Web_;
}

void TfrmMain::SaveScrollPosition()
{
    SavedScroll_ = Web_->ScrollOffsets();
}

void TfrmMain::RefreshColorList()
{
    if (!Open_->IsReadable()) return;
    if (ShowsSite()) return FillSiteLists();
    const TElements& file = Open_->Shown().Elements(ShownTab());
    const int top = clbColorList->verticalScrollBar()->value();
    clbColorList->setUpdatesEnabled(false);
    for (int row = 0; row < clbColorList->count() && size_t(row) < file.Colors.size(); ++row) {
        clbColorList->item(row)->setText(FileText(file, file.Colors[size_t(row)].Text));
        clbColorList->item(row)->setData(Qt::UserRole, SwatchOf(file.Colors[size_t(row)]));
    }
    clbColorList->FitHorizontalExtent(30);
    clbColorList->verticalScrollBar()->setValue(top);
    clbColorList->setUpdatesEnabled(true);
}

void TfrmMain::ReloadPreview()
{
    RefreshColorList();
    Preview_->Update(Open_->Shown(), QString::fromStdString(Open_->Shown().WorkFileName()));
}

void TfrmMain::mnuDarkPreviewClick(bool dark)
{
    PreviewDark_ = dark;
    Web_->RunScript(pictor::PreferredSchemeScript(dark), {});
}

void TfrmMain::WebDocumentComplete(const QString& address)
{
    if (address != QLatin1String("about:blank")) {
        if (PreviewDark_) Web_->RunScript(pictor::PreferredSchemeScript(true), {});
        QApplication::processEvents();
        Web_->ScrollTo(SavedScroll_);
        CheckShownContrast();
        ++PreviewsShown_;
        emit PreviewShown();
    }
    SavedScroll_ = {};
}

void TfrmMain::PreviewRefreshed()
{
    SavedScroll_ = {};  // the page stayed where it was
    CheckShownContrast();
    ++PreviewsShown_;
    emit PreviewShown();
}

void TfrmMain::WaitForPreview(int shownBefore)
{
    QEventLoop loop;
    const QMetaObject::Connection shown = connect(this, &TfrmMain::PreviewShown, &loop, [&] {
        if (PreviewsShown_ > shownBefore) loop.quit();
    });
    if (PreviewsShown_ <= shownBefore) loop.exec();
    disconnect(shown);
}

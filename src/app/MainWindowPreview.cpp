// The preview, the commit step of every change, and Undo and Redo.
#include "app/MainWindow.h"
#include "app/OpenDocument.h"

#include "app/DocumentView.h"
#include "app/PreviewScheme.h"
#include "app/PreviewUpdater.h"
#include "app/ProgressWindow.h"
#include "app/WebBrowser.h"
#include "app/model/Options.h"
#include "document/HtmlStructure.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>

using namespace pictor;

IBrowser& TfrmMain::Web()
{
    return *Web_;
}

void TfrmMain::SaveScrollPosition()
{
    SavedScroll_ = Web_->ScrollOffsets();
}

void TfrmMain::ReloadPreview()
{
    View_->RefreshColorList();
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

#include "app/PreviewPane.h"

#include "app/PreviewScheme.h"
#include "app/PreviewUpdater.h"
#include "app/WebBrowser.h"
#include "document/HtmlStructure.h"

#include <QApplication>
#include <QEventLoop>

TPreviewPane::TPreviewPane(QObject* parent) : QObject(parent)
{
    Web_ = new TWebBrowser;
    Web_->setObjectName("Web");
    Web_->SetOnDocumentComplete([this](const QString& address) { DocumentComplete(address); });
    // No blank page first: a new view's first navigation can end after the page asked for next, and
    // take its place.
    Updater_ = new TPreviewUpdater(*Web_, [this] { Refreshed(); }, this);
}

IBrowser& TPreviewPane::Web()
{
    return *Web_;
}

void TPreviewPane::Show(const pictor::THtmlStructure& page)
{
    Updater_->Show(page, QString::fromStdString(page.WorkFileName()));
}

void TPreviewPane::ShowAt(const pictor::THtmlStructure& page, QPoint offsets)
{
    SavedScroll_ = offsets;
    Web_->Navigate(QString::fromStdString(page.WorkFileName()));
}

void TPreviewPane::SaveScrollPosition()
{
    SavedScroll_ = Web_->ScrollOffsets();
}

void TPreviewPane::Update(const pictor::THtmlStructure& page)
{
    Updater_->Update(page, QString::fromStdString(page.WorkFileName()));
}

void TPreviewPane::UpdateAndWait(const pictor::THtmlStructure& page)
{
    const int before = ShownCount_;
    SaveScrollPosition();
    Update(page);
    QEventLoop loop;
    const QMetaObject::Connection shown = connect(this, &TPreviewPane::Shown, &loop, [&] {
        if (ShownCount_ > before) loop.quit();
    });
    if (ShownCount_ <= before) loop.exec();
    disconnect(shown);
}

void TPreviewPane::SetDark(bool dark)
{
    Dark_ = dark;
    Web_->RunScript(pictor::PreferredSchemeScript(dark), {});
}

void TPreviewPane::DocumentComplete(const QString& address)
{
    if (address != QLatin1String("about:blank")) {
        if (Dark_) Web_->RunScript(pictor::PreferredSchemeScript(true), {});
        QApplication::processEvents();
        Web_->ScrollTo(SavedScroll_);
        ++ShownCount_;
        emit Shown();
    }
    SavedScroll_ = {};
}

void TPreviewPane::Refreshed()
{
    SavedScroll_ = {};  // the page stayed where it was
    ++ShownCount_;
    emit Shown();
}

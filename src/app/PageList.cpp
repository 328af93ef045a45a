#include "app/PageList.h"

#include "document/Paths.h"
#include "site/SiteDocument.h"

#include <QHeaderView>
#include <QSignalBlocker>

#include <set>

using namespace pictor;

namespace {

enum TColumn { pcPath, pcEncoding, pcColors, pcPictures };

// Colour occurrences and picture files of the page and every sheet it reaches.
std::pair<int, int> Counts(const THtmlStructure& page)
{
    int colors = 0;
    std::set<std::string> pictures;
    for (int file = 0; file < page.FileCount(); ++file) {
        colors += int(page.Elements(file).Colors.size());
        for (const TPicRecord& pic : page.Elements(file).Pics) pictures.insert(pic.FullPath);
    }
    return {colors, int(pictures.size())};
}

} // namespace

TPageList::TPageList(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName("lvPageList");
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setHeaderLabels({"ページ", "文字コード", "色", "画像"});
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(pcPath, QHeaderView::Stretch);
    for (int column : {pcEncoding, pcColors, pcPictures}) header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    setStatusTip("ページを選ぶとプレビューに表示します");
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && !item->data(pcPath, Qt::UserRole + 1).toBool()) emit pageChosen(item->data(pcPath, Qt::UserRole).toInt());
    });
}

void TPageList::ShowPages(const TSiteDocument& site, const std::string& folder)
{
    const QSignalBlocker blocker(this);
    clear();
    for (size_t i = 0; i < site.Pages().size(); ++i) {
        const TSitePage& page = site.Pages()[i];
        // A save below another folder moves the loaded pages.
        const std::string& where = page.Loaded() ? page.Document->FileName() : page.Path;
        const std::string path = PathBelow(where, folder);
        auto* item = new QTreeWidgetItem(this);
        item->setData(pcPath, Qt::UserRole, int(i));
        for (int column : {pcColors, pcPictures}) item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        if (!page.Loaded()) {
            const QString reason = QString::fromStdString(page.ErrorText());
            item->setData(pcPath, Qt::UserRole + 1, true);
            // The reason across the row: it names the file that failed, which may be a sheet.
            item->setText(pcPath, "× " + QString::fromStdString(path) + " (読み込めません: " + reason + ")");
            item->setFirstColumnSpanned(true);
            item->setToolTip(pcPath, reason);
            item->setStatusTip(pcPath, reason);
            item->setForeground(pcPath, Qt::red);
            continue;
        }
        const std::string_view encoding = page.Document->Page.EncodingName();
        const auto [colors, pictures] = Counts(*page.Document);
        item->setText(pcPath, QString::fromStdString(path));
        item->setToolTip(pcPath, QString::fromStdString(where));
        item->setText(pcEncoding, QString::fromUtf8(encoding.data(), qsizetype(encoding.size())));
        item->setText(pcColors, QString::number(colors));
        item->setText(pcPictures, QString::number(pictures));
    }
}

int TPageList::ChosenPage() const
{
    const QTreeWidgetItem* item = currentItem();
    return item ? item->data(pcPath, Qt::UserRole).toInt() : -1;
}

void TPageList::ChoosePage(int page)
{
    const QSignalBlocker blocker(this);
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->data(pcPath, Qt::UserRole).toInt() == page) setCurrentItem(topLevelItem(row));
}

#include "app/SiteLists.h"

#include "app/OpenDocument.h"
#include "app/model/Options.h"
#include "app/model/RecordChecks.h"
#include "site/SiteDocument.h"
#include "widgets/MyCheckListBox.h"

#include <QColor>
#include <QScrollBar>
#include <QStringList>

using namespace pictor;

TSiteLists::TSiteLists(const TOpenDocument& open, const TOptions& options, TMyCheckListBox& colors,
                       TMyCheckListBox& pictures)
    : Open_(open), Options_(options), Colors_(colors), Pictures_(pictures)
{
}

void TSiteLists::Fill()
{
    TSiteDocument& site = *Open_.Site();
    const int colorTop = Colors_.verticalScrollBar()->value();
    const int picTop = Pictures_.verticalScrollBar()->value();
    Colors_.setUpdatesEnabled(false);
    Pictures_.setUpdatesEnabled(false);
    Colors_.clear();
    Pictures_.clear();
    Palette_ = SitePalette(site);
    PictureRows_ = SitePictures(site);
    const auto colors = CheckedColors(site);
    const auto pictures = CheckedPictureFiles(site);
    for (const TPaletteColor& color : Palette_) {
        const bool lower = Options_.SaveWithLowerCase;
        const std::string code = "#" + ColorByteToHex(GetRValue(color.Value), lower) +
                                 ColorByteToHex(GetGValue(color.Value), lower) + ColorByteToHex(GetBValue(color.Value), lower);
        Colors_.AddRow(QString::fromStdString(code) + QString(" (%1)").arg(color.Count), colors.at(color.Value), true);
        Colors_.item(Colors_.count() - 1)
            ->setData(Qt::UserRole, QColor(GetRValue(color.Value), GetGValue(color.Value), GetBValue(color.Value)));
    }
    for (const TSitePicture& picture : PictureRows_) {
        const std::string& path = picture.Picture->FullPath;
        Pictures_.AddRow(Open_.BelowSite(path), pictures.at(path), picture.Picture->Tickable());
    }
    Colors_.FitHorizontalExtent(30);
    Pictures_.FitHorizontalExtent(18);
    Colors_.verticalScrollBar()->setValue(colorTop);
    Pictures_.verticalScrollBar()->setValue(picTop);
    Colors_.setUpdatesEnabled(true);
    Pictures_.setUpdatesEnabled(true);
}

void TSiteLists::SyncCheckMarks()
{
    const auto colors = CheckedColors(*Open_.Site());
    const auto pictures = CheckedPictureFiles(*Open_.Site());
    for (int row = 0; row < Colors_.count() && size_t(row) < Palette_.size(); ++row)
        Colors_.SetRowChecked(row, colors.at(Palette_[size_t(row)].Value));
    for (int row = 0; row < Pictures_.count() && size_t(row) < PictureRows_.size(); ++row)
        Pictures_.SetRowChecked(row, pictures.at(PictureRows_[size_t(row)].Picture->FullPath));
}

void TSiteLists::ColorClicked(int row, bool checked)
{
    if (size_t(row) < Palette_.size()) SetCheckedByColor(*Open_.Site(), Palette_[size_t(row)].Value, checked);
}

void TSiteLists::PictureClicked(int row, bool checked)
{
    if (size_t(row) < PictureRows_.size())
        SetPictureFileChecked(*Open_.Site(), PictureRows_[size_t(row)].Picture->FullPath, checked);
}

const TPicRecord* TSiteLists::Picture(int row) const
{
    return size_t(row) < PictureRows_.size() ? PictureRows_[size_t(row)].Picture : nullptr;
}

std::optional<QString> TSiteLists::ColorFiles(int row) const
{
    if (size_t(row) >= Palette_.size()) return std::nullopt;
    QStringList files;
    for (const std::string& file : Palette_[size_t(row)].Files) files << Open_.BelowSite(file);
    return files.join('\n');
}

std::optional<TColor> TSiteLists::TickedColor(int row) const
{
    if (row < 0 || size_t(row) >= Palette_.size() || !Colors_.RowChecked(row)) return std::nullopt;
    return Palette_[size_t(row)].Value;
}

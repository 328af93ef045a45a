#include "adjust/ui/AdjustDialog.h"

#include "adjust/AdjustPreset.h"
#include "adjust/ui/BitmapImage.h"
#include "adjust/ui/UpDown.h"
#include "base/FileIO.h"
#include "picture/PictureIO.h"

#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

using namespace pictor;

namespace {

constexpr int ClientWidth = 385;
constexpr int ButtonLeft = 272;
constexpr int RowPitch = 56;

std::string NativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString DisplayPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

TViewPoint PointOf(const QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    return {point.x(), point.y()};
}

} // namespace

TAdjustDialog::TAdjustDialog(const TAdjustDialogForm& form, QWidget* owner, IPageSnapshotSource& source,
                             TProgressHooks progress, const TAdjustDialogSettings& settings)
    : QDialog(owner), Kind_(form.Kind), PresetExtension_(form.PresetExtension),
      PresetFilter_(QString::fromUtf8(form.PresetFilter)), Progress_(std::move(progress)),
      OpenName_(settings.PresetFolder), SaveName_(settings.PresetFolder), Limit_(settings.SnapshotLimit)
{
    Result_.Kind = Kind_;
    BuildControls(form);
    TakeSnapshot(source);
    RefreshPreview();
}

void TAdjustDialog::BuildControls(const TAdjustDialogForm& form)
{
    setWindowTitle(QString::fromUtf8(form.Caption));
    setFixedSize(ClientWidth, form.ClientHeight);
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(8, 8, PreviewSide + 2, PreviewSide + 2);
    imgPrev_ = new QLabel(panel);
    imgPrev_->setObjectName("imgPrev");
    imgPrev_->setGeometry(1, 1, PreviewSide, PreviewSide);
    imgPrev_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgPrev_->setCursor(QCursor(Qt::OpenHandCursor));
    imgPrev_->installEventFilter(this);

    auto* popupMenu = new QMenu(this);
    popupMenu->setObjectName("PopupMenu");
    QAction* saveAsBmp = popupMenu->addAction(QString::fromUtf8("ビットマップとして保存(&S)"));
    saveAsBmp->setObjectName("SaveAsBMP");
    connect(saveAsBmp, &QAction::triggered, this, &TAdjustDialog::SaveAsBMPClick);
    imgPrev_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(imgPrev_, &QLabel::customContextMenuRequested, this,
            [this, popupMenu](const QPoint& at) { popupMenu->popup(imgPrev_->mapToGlobal(at)); });

    const auto addButton = [this](const char* name, const char* caption, int top, void (TAdjustDialog::*click)()) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(name);
        button->setGeometry(ButtonLeft, top, 105, 25);
        connect(button, &QPushButton::clicked, this, click);
        return button;
    };
    addButton("btnOK", "OK", 8, &TAdjustDialog::btnOKClick)->setDefault(true);
    addButton("btnCancel", "キャンセル", 40, &TAdjustDialog::btnCancelClick);
    addButton("btnSave", "設定保存", 72, &TAdjustDialog::btnSaveClick);
    addButton("btnLoad", "設定読み込み", 104, &TAdjustDialog::btnLoadClick);

    auto* group = new QGroupBox(QString::fromUtf8("オプション"), this);
    group->setObjectName("GroupBox1");
    group->setGeometry(8, 272, 369, form.GroupHeight);
    const auto parameters = AdjustParameters(form.Kind);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const TAdjustParameter& parameter = parameters[i];
        const TRowRange range{parameter.Min, parameter.Max};
        const int row = int(i);
        const QString number = QString::number(row + 1);
        const int top = 40 + RowPitch * row;

        auto* trackBar = new QSlider(Qt::Horizontal, group);
        trackBar->setObjectName("TrackBar" + number);
        trackBar->setGeometry(8, top, 289, 33);
        trackBar->setRange(range.Min, range.Max);
        trackBar->setValue(parameter.Default);
        trackBar->setSingleStep(1);
        trackBar->setPageStep(1);
        trackBar->setTickPosition(QSlider::TicksBelow);
        trackBar->setTickInterval(range.Max);  // ranges are symmetric: ticks at both ends and 0

        auto* label = new QLabel(QString::fromUtf8(parameter.Caption.data(), qsizetype(parameter.Caption.size())), group);
        label->setObjectName("Label" + number);
        label->move(8, top - 16);
        label->setBuddy(trackBar);

        QWidget* memo = nullptr;
        if (form.MultiLineText) {
            auto* edit = new QPlainTextEdit(QString::number(parameter.Default), group);
            edit->document()->setDefaultTextOption(QTextOption(Qt::AlignRight));
            edit->document()->setDocumentMargin(1);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setTabChangesFocus(true);  // Tab moves on as in every other box; Return still breaks the line
            memo = edit;
        } else {
            auto* edit = new QLineEdit(QString::number(parameter.Default), group);
            edit->setMaxLength(4);
            edit->setAlignment(Qt::AlignRight);
            memo = edit;
        }
        memo->setObjectName("Memo" + number);
        memo->setGeometry(304, top, 33, 20);
        memo->installEventFilter(this);

        auto* upDown = new TUpDown(group);
        upDown->setObjectName("UpDown" + number);
        upDown->setGeometry(337, top, 15, 20);

        Rows_.push_back({trackBar, memo, range});
        connect(trackBar, &QSlider::valueChanged, this, [this, row] { TrackBarChange(row); });
        connect(upDown, &TUpDown::Click, this, [this, row](int delta) { UpDownClick(row, delta); });
    }
}

void TAdjustDialog::TakeSnapshot(IPageSnapshotSource& source)
{
    const QSize page = source.PageSize();
    const TViewPoint size = SnapshotSize(page.width(), page.height(), Limit_);
    const bool any = size.X > 0 && size.Y > 0;
    Snapshot_ = BitmapFromImage(any ? source.Render(QSize(size.X, size.Y)) : QImage(), size.X, size.Y);
    Marked_ = BitmapFromImage(any ? source.RenderMarked(QSize(size.X, size.Y)) : QImage(), size.X, size.Y);
    View_ = TPreviewView(size.X, size.Y);
}

TAdjustment TAdjustDialog::CurrentAdjustment() const
{
    TAdjustment adjustment;
    adjustment.Kind = Kind_;
    for (std::size_t row = 0; row < Rows_.size(); ++row) adjustment.Params[row] = Rows_[row].TrackBar->value();
    return adjustment;
}

QString TAdjustDialog::MemoText(int row) const
{
    QWidget* memo = Rows_[std::size_t(row)].Memo;
    if (const auto* edit = qobject_cast<QLineEdit*>(memo)) return edit->text();
    return static_cast<QPlainTextEdit*>(memo)->toPlainText();
}

void TAdjustDialog::SetMemoText(int row, const QString& text)
{
    QWidget* memo = Rows_[std::size_t(row)].Memo;
    if (auto* edit = qobject_cast<QLineEdit*>(memo))
        edit->setText(text);
    else
        static_cast<QPlainTextEdit*>(memo)->setPlainText(text);
}

void TAdjustDialog::ShowBitmap(const TBitmapEx& bitmap)
{
    imgPrev_->setPixmap(QPixmap::fromImage(ImageFromBitmap(bitmap)));
}

void TAdjustDialog::ShowError(const std::exception& error)
{
    QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), QString::fromLocal8Bit(error.what()));
}

void TAdjustDialog::RefreshPreview()
{
    // Applied even when every parameter is zero, so the preview shows what OK would do to a picture.
    TBitmapEx preview = PreviewOf(Snapshot_, View_, View_.Scroll());
    AdjustMarked(CurrentAdjustment(), PreviewOf(Marked_, View_, View_.Scroll()), preview);
    ShowBitmap(preview);
}

void TAdjustDialog::TrackBarChange(int row)
{
    if (TextFollows_) SetMemoText(row, QString::number(Rows_[std::size_t(row)].TrackBar->value()));
    RefreshPreview();
    TextFollows_ = true;
}

void TAdjustDialog::MemoKeyUp(int row)
{
    const TRow& r = Rows_[std::size_t(row)];
    TextFollows_ = false;
    if (const auto position = TypedPosition(MemoText(row).toStdString(), r.Range)) r.TrackBar->setValue(*position);
    // Also when the position did not change, so the next move of the track bar rewrites the text.
    TextFollows_ = true;
}

void TAdjustDialog::UpDownClick(int row, int delta)
{
    const TRow& r = Rows_[std::size_t(row)];
    SetMemoText(row, QString::number(SteppedValue(MemoText(row).toStdString(), delta, r.Range)));
    MemoKeyUp(row);
}

bool TAdjustDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgPrev_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: imgPrevMouseDown(static_cast<QMouseEvent*>(event)); break;
        case QEvent::MouseMove: imgPrevMouseMove(static_cast<QMouseEvent*>(event)); break;
        case QEvent::MouseButtonRelease: imgPrevMouseUp(static_cast<QMouseEvent*>(event)); break;
        default: break;
        }
        return false;
    }
    for (std::size_t row = 0; row < Rows_.size(); ++row) {
        if (watched != Rows_[row].Memo) continue;
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                UpDownClick(int(row), key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        } else if (event->type() == QEvent::KeyRelease) {
            MemoKeyUp(int(row));
        }
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

void TAdjustDialog::imgPrevMouseDown(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) View_.Press(PointOf(event));
}

void TAdjustDialog::imgPrevMouseMove(QMouseEvent* event)
{
    // The unadjusted page while dragging; the adjustment runs once on release.
    if (event->buttons() & Qt::LeftButton) ShowBitmap(PreviewOf(Snapshot_, View_, View_.DragPosition(PointOf(event))));
}

void TAdjustDialog::imgPrevMouseUp(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) View_.Release(PointOf(event));
    RefreshPreview();
}

void TAdjustDialog::btnOKClick()
{
    Result_ = CurrentAdjustment();
    Accepted_ = !Result_.AllZero();
    accept();
}

void TAdjustDialog::btnCancelClick()
{
    Accepted_ = false;
    reject();
}

QString TAdjustDialog::SavePresetTo(const QString& path)
{
    const std::string name = WithPresetExtension(NativePath(path), PresetExtension_);
    std::vector<int> positions;
    for (const TRow& row : Rows_) positions.push_back(row.TrackBar->value());
    WriteFileAtomic(name, FormatPreset(positions));
    return DisplayPath(name);
}

void TAdjustDialog::LoadPresetFrom(const QString& path)
{
    const std::string name = WithPresetExtension(NativePath(path), PresetExtension_);
    const std::vector<std::string> lines = PresetLines(ReadFileBytes(name));
    for (std::size_t row = 0; row < Rows_.size(); ++row) {
        Rows_[row].TrackBar->setValue(PresetValue(lines, row, name));  // held within the range
        SetMemoText(int(row), QString::fromStdString(lines[row]));
    }
}

void TAdjustDialog::ExportBitmapTo(const QString& path)
{
    const std::string name = WithBmpExtension(NativePath(path));
    const TProgressShown shown(Progress_, QString::fromUtf8("イメージ書き出し中..."));
    TBitmapEx page = Snapshot_;  // shares the pixels until adjusted
    const TAdjustment adjustment = CurrentAdjustment();
    // A hue shift of zero could still lower channels by one step; the page goes out untouched instead.
    if (!adjustment.AllZero()) AdjustMarked(adjustment, Marked_, page);
    WriteFileAtomic(name, EncodeBmp(page));
}

void TAdjustDialog::btnSaveClick()
{
    const QString path = QFileDialog::getSaveFileName(this, QString(), SaveName_, PresetFilter_);
    if (path.isEmpty()) return;
    try {
        SaveName_ = SavePresetTo(path);
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TAdjustDialog::btnLoadClick()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), OpenName_, PresetFilter_);
    if (path.isEmpty()) return;
    OpenName_ = path;
    try {
        LoadPresetFrom(path);
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TAdjustDialog::SaveAsBMPClick()
{
    const QString path = QFileDialog::getSaveFileName(
        this, QString(), BmpName_, QString::fromUtf8("ビットマップファイル(*.bmp);;全てのファイル(*.*)"));
    if (path.isEmpty()) return;
    BmpName_ = path;
    try {
        ExportBitmapTo(path);
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

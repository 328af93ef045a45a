#include "colordialog/ui/ColorPickerPanel.h"

#include "colordialog/ui/ColorSelectControls.h"
#include "document/ColorLiterals.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace pictor {

namespace {

constexpr QSize MagnifierSize(102, 43);

// The screen's pixels in `area`, black where no screen is.
QImage GrabScreenArea(const QRect& area)
{
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QScreen* screen = QGuiApplication::screenAt(area.center());
    if (!screen) return image;
    const QRect geometry = screen->geometry();
    const QRect visible = area & geometry;
    if (visible.isEmpty()) return image;
    const QPixmap shot = screen->grabWindow(0, visible.x() - geometry.x(), visible.y() - geometry.y(),
                                            visible.width(), visible.height());
    QPainter painter(&image);
    painter.drawPixmap(QRect(visible.topLeft() - area.topLeft(), visible.size()), shot);
    return image;
}

TColor ToColor(QRgb rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

} // namespace

TColorPickerPanel::TColorPickerPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("pnlColorPicker");
    setFixedSize(268, 48);

    pnlPrev = new QFrame(this);
    pnlPrev->setObjectName("pnlPrev");
    pnlPrev->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlPrev->setGeometry(0, 1, 104, 45);
    imgPrev = new TImageView(MagnifierSize, QImage::Format_RGB32, pnlPrev);
    imgPrev->setObjectName("imgPrev");
    imgPrev->move(1, 1);
    shpTgtRect = new QFrame(pnlPrev);
    shpTgtRect->setObjectName("shpTgtRect");
    shpTgtRect->setGeometry(47, 17, 10, 10);
    shpTgtRect->setStyleSheet("#shpTgtRect { border: 2px solid palette(dark); background: transparent; }");
    for (QWidget* target : {static_cast<QWidget*>(imgPrev), static_cast<QWidget*>(shpTgtRect)}) {
        target->setCursor(Qt::CrossCursor);
        target->setToolTip("ドラッグ&ドロップで画面上の任意の色を選択できます");
        target->installEventFilter(this);
    }

    auto* fields = new QGridLayout;
    fields->setContentsMargins(106, 2, 0, 2);
    fields->setSpacing(2);
    setLayout(fields);
    ledtColorCode = ReadOnlyField(fields, 0, "ledtColorCode", "カラーコード:");
    ledtRGB = ReadOnlyField(fields, 1, "ledtRGB", "RGB:");

    CPickerPupMnu = new QMenu(this);
    CPickerPupMnu->setObjectName("CPickerPupMnu");
    mnuSelectColor = CPickerPupMnu->addAction("この色を選択(&S)", this,
                                              [this] { emit SelectColorRequested(PickedColor_); });
    mnuUnselectColor = CPickerPupMnu->addAction("この色の選択解除(&U)", this,
                                                [this] { emit UnselectColorRequested(PickedColor_); });
    mnuSetNewColor = CPickerPupMnu->addAction("この色に新しい色を適応(&N)", this,
                                              [this] { emit SetNewColorRequested(PickedColor_); });
    CPickerPupMnu->addSeparator();
    CPickerPupMnu->addAction("キャンセル(&C)", this, &TColorPickerPanel::mnuCancelClick)->setObjectName("mnuCancel");
    mnuSelectColor->setObjectName("mnuSelectColor");
    mnuUnselectColor->setObjectName("mnuUnselectColor");
    mnuSetNewColor->setObjectName("mnuSetNewColor");
    SetDocumentOpen(false);
    BlankMagnifier();
}

QLineEdit* TColorPickerPanel::ReadOnlyField(QGridLayout* fields, int row, const char* name, const QString& label)
{
    auto* caption = new QLabel(label, this);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(caption, row, 0);
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFrame(false);
    // The button face through the palette: a style sheet would fix the field's font at the
    // application's default instead of the window's.
    QPalette face = field->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    field->setPalette(face);
    field->installEventFilter(this);
    fields->addWidget(field, row, 1);
    return field;
}

void TColorPickerPanel::SetPickCursor(const QCursor& cursor)
{
    imgPrev->setCursor(cursor);
    shpTgtRect->setCursor(cursor);
}

void TColorPickerPanel::SetDocumentOpen(bool open)
{
    for (QAction* action : {mnuSelectColor, mnuUnselectColor, mnuSetNewColor}) action->setEnabled(open);
}

void TColorPickerPanel::BlankMagnifier()
{
    imgPrev->Image().fill(palette().color(QPalette::Button));
    imgPrev->update();
}

bool TColorPickerPanel::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == ledtColorCode || watched == ledtRGB) {
        // A click selects the whole text, ready to be copied.
        if (type == QEvent::MouseButtonRelease) static_cast<QLineEdit*>(watched)->selectAll();
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    // The press grabs the mouse, so moves and the release arrive here wherever the pointer is.
    const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    if (type == QEvent::MouseButtonPress)
        Picking_ = true;
    else if (type == QEvent::MouseMove && Picking_)
        imgPrevMouseMove(global);
    else if (type == QEvent::MouseButtonRelease && Picking_)
        imgPrevMouseUp(global);
    return true;
}

void TColorPickerPanel::imgPrevMouseMove(QPoint global)
{
    // A 6x enlargement centred on the pointer: 17 x 7 screen pixels for the 102 x 43 image.
    const int w = MagnifierSize.width(), h = MagnifierSize.height();
    const QImage area = GrabScreenArea(QRect(global.x() - w / 12, global.y() - h / 12, w / 6, h / 6));
    {
        QPainter painter(&imgPrev->Image());
        painter.drawImage(imgPrev->rect(), area);
    }
    imgPrev->update();
    const TColor c = ToColor(area.pixel(w / 12, h / 12));
    ledtRGB->setText(QString("%1, %2, %3").arg(GetRValue(c)).arg(GetGValue(c)).arg(GetBValue(c)));
    ledtColorCode->setText(QString::fromStdString(ColorToCode(c, LowerCase_)));
}

void TColorPickerPanel::imgPrevMouseUp(QPoint global)
{
    Picking_ = false;
    PickedColor_ = ToColor(GrabScreenArea(QRect(global, QSize(1, 1))).pixel(0, 0));
    CPickerPupMnu->popup(global);
}

void TColorPickerPanel::mnuCancelClick()
{
    BlankMagnifier();
    ledtColorCode->clear();
    ledtRGB->clear();
}

} // namespace pictor

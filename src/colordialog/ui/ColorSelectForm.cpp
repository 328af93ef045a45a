#include "colordialog/ui/ColorSelectForm.h"

#include "colordialog/ui/ColorSelectControls.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cstring>

namespace pictor {

namespace {

constexpr int BandWidth = 23;
const char* const FieldNames[] = {"edtH", "edtS", "edtV", "edtR", "edtG", "edtB", "edtHex"};
const char* const UpDownNames[] = {"udH", "udS", "udV", "udR", "udG", "udB"};

QFrame* LoweredPanel(const char* name, QWidget* parent, QRect geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(geometry);
    return panel;
}

QColor ToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

} // namespace

TfrmColorSelectDlg::TfrmColorSelectDlg(const TPaletteCells& customColors, TColor color, bool useWebSafeColor,
                                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), Model_(customColors, color, useWebSafeColor),
      ModeGroup_(new QButtonGroup(this)), PaletteButtons_(new QButtonGroup(this))
{
    setObjectName("frmColorSelectDlg");
    setWindowTitle("色の選択");

    QFrame* Panel2 = LoweredPanel("Panel2", this, QRect(8, 8, BoxSize + 2, BoxSize + 2));
    imgColorBox = new TImageView(QSize(BoxSize, BoxSize), QImage::Format_BGR888, Panel2);
    imgColorBox->setObjectName("imgColorBox");
    imgColorBox->move(1, 1);
    connect(imgColorBox, &TImageView::LeftMouse, this,
            [this](QPointF p) { Apply(Model_.BoxMouse(p.x(), p.y())); });

    // The pointer image lies behind the band's panel; its triangles point at the band's rows.
    const int panelWidth = BandWidth + 2;
    imgArrow = new TImageView(QSize(panelWidth + 26, BoxSize + 20), QImage::Format_RGB32, this);
    imgArrow->setObjectName("imgArrow");
    imgArrow->move(272, 1);
    Panel1 = LoweredPanel("Panel1", imgArrow, QRect(14, 8, panelWidth, BoxSize + 2));
    imgColorBand = new TImageView(QSize(BandWidth, BoxSize), QImage::Format_RGB32, Panel1);
    imgColorBand->setObjectName("imgColorBand");
    imgColorBand->move(1, 1);
    connect(imgColorBand, &TImageView::LeftMouse, this, [this](QPointF p) { Apply(Model_.BandMouse(p.y())); });

    static const char* const hsvNames[] = {"色相", "彩度", "明度"};
    static const char* const rgbNames[] = {"赤", "緑", "青"};
    QGroupBox* rgHSV = ChannelGroup("HSV", cmH, hsvNames);
    rgHSV->setObjectName("rgHSV");
    rgHSV->setGeometry(334, 4, 140, 96);
    QGroupBox* rgRGB = ChannelGroup("RGB", cmR, rgbNames);
    rgRGB->setObjectName("rgRGB");
    rgRGB->setGeometry(334, 104, 140, 96);
    ModeGroup_->button(cmH)->setChecked(true);
    // One group over both boxes: choosing an item in one clears the other.
    connect(ModeGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) Apply(Model_.ModeChange(TChannelMode(id)));
    });

    HexGroup()->setGeometry(334, 204, 140, 56);

    auto* GroupBox2 = new QGroupBox("選択色", this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(482, 4, 136, 62);
    Shape1 = new QFrame(GroupBox2);
    Shape1->setObjectName("Shape1");
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setAutoFillBackground(true);
    Shape1->setGeometry(8, 22, 120, 32);

    PaletteGroup()->setGeometry(482, 70, 136, 92);

    cbUseSafeColor = new QCheckBox("Webセーフカラーのみに制限", this);
    cbUseSafeColor->setObjectName("cbUseSafeColor");
    cbUseSafeColor->setGeometry(8, 272, 260, 22);
    connect(cbUseSafeColor, &QCheckBox::clicked, this, [this](bool on) { Apply(Model_.WebSafeChange(on)); });

    auto* btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnOK->setGeometry(482, 204, 136, 26);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* btnCancel = new QPushButton("キャンセル", this);
    btnCancel->setObjectName("btnCancel");
    btnCancel->setGeometry(482, 236, 136, 26);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(626, 302);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QGroupBox* TfrmColorSelectDlg::ChannelGroup(const QString& title, TChannelMode first, const char* const names[3])
{
    auto* group = new QGroupBox(title, this);
    for (int i = 0; i < 3; ++i) {
        const int channel = first + i;  // TChannelMode and TColorField share the channel order
        const int top = 22 + 24 * i;
        auto* radio = new QRadioButton(names[i], group);
        radio->setGeometry(8, top, 64, 22);
        ModeGroup_->addButton(radio, channel);

        auto* field = new QLineEdit("0", group);
        field->setObjectName(FieldNames[channel]);
        field->setMaxLength(3);
        field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), field));
        field->setGeometry(74, top, 40, 22);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this,
                [this, channel](const QString& text) { Model_.SetFieldText(TColorField(channel), text.toStdString()); });
        Fields_[channel] = field;

        auto* upDown = new TUpDownButtons(group);
        upDown->setObjectName(UpDownNames[channel]);
        upDown->move(116, top);
        connect(upDown, &TUpDownButtons::Stepped, this,
                [this, channel](int delta) { Apply(Model_.UpDownClick(TColorField(channel), delta)); });
    }
    return group;
}

QGroupBox* TfrmColorSelectDlg::HexGroup()
{
    auto* GroupBox1 = new QGroupBox("カラーコード", this);
    GroupBox1->setObjectName("GroupBox1");
    auto* Label1 = new QLabel("値 :", GroupBox1);
    Label1->setObjectName("Label1");
    Label1->setGeometry(8, 24, 28, 22);
    auto* edtHex = new QLineEdit(GroupBox1);
    edtHex->setObjectName("edtHex");
    edtHex->setMaxLength(7);
    edtHex->setGeometry(36, 24, 72, 22);
    edtHex->installEventFilter(this);
    connect(edtHex, &QLineEdit::textEdited, this,
            [this](const QString& text) { Model_.SetFieldText(cfHex, text.toStdString()); });
    Fields_[cfHex] = edtHex;
    auto* SpeedButton1 = new QToolButton(GroupBox1);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setToolTip("更新");
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    SpeedButton1->setGeometry(110, 24, 22, 22);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { Apply(Model_.FieldEntered(cfHex)); });
    return GroupBox1;
}

QGroupBox* TfrmColorSelectDlg::PaletteGroup()
{
    auto* GroupBox3 = new QGroupBox("テンポラリ パレット", this);
    GroupBox3->setObjectName("GroupBox3");
    imgColorCell = new TImageView(QSize(126, 72), QImage::Format_RGB32, GroupBox3);
    imgColorCell->setObjectName("imgColorCell");
    imgColorCell->move(4, 15);
    for (int i = 0; i < PaletteCellCount; ++i) {
        auto* button = new TPaletteCellButton(GroupBox3);
        button->setObjectName(QString("SpeedButtonEX%1").arg(i + 1));
        button->move(5 + 18 * (i % 7), 16 + 18 * (i / 7));
        PaletteButtons_->addButton(button, i);
    }
    connect(PaletteButtons_, &QButtonGroup::idClicked, this, [this](int id) { Apply(Model_.PaletteButtonClick(id)); });
    return GroupBox3;
}

void TfrmColorSelectDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    PaletteButtons_->button(Model_.SelectedCell())->setChecked(true);
    Apply(Model_.FormShow());
}

bool TfrmColorSelectDlg::eventFilter(QObject* watched, QEvent* event)
{
    const auto field = TColorField(std::find(Fields_.begin(), Fields_.end(), watched) - Fields_.begin());
    if (field == cfHex && event->type() == QEvent::KeyPress) {
        // Control characters (backspace, Ctrl+V and the like) pass; printable ones only from the hex set.
        const QString text = static_cast<QKeyEvent*>(event)->text();
        const bool printable = text.size() == 1 && text[0] >= QChar(0x20);
        if (printable && (text[0].unicode() > 0x7F || !IsHexFieldChar(char(text[0].unicode())))) {
            QApplication::beep();
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease) Apply(Model_.FieldEntered(field));
    return QDialog::eventFilter(watched, event);
}

void TfrmColorSelectDlg::Apply(unsigned steps)
{
    if (steps == 0) return;
    if (steps & usShowBox) ShowBox();
    if (steps & usRenderBand) CopyBand();
    if (steps & usDrawPalette) DrawPalette();
    if (steps & usDrawPointer) DrawPointer();
    RefreshControls();
}

void TfrmColorSelectDlg::ShowBox()
{
    QImage& image = imgColorBox->Image();
    std::memcpy(image.bits(), Model_.BoxPixels().data(), Model_.BoxPixels().size());  // rows are packed
    const TColor c = Model_.CurrentColor();
    QPainter painter(&image);
    painter.setPen(GetRValue(c) + GetGValue(c) + GetBValue(c) < 384 ? Qt::white : Qt::black);
    painter.drawEllipse(QRect(Model_.X() - 4, Model_.Y() - 4, 8, 8));
}

void TfrmColorSelectDlg::CopyBand()
{
    QImage& image = imgColorBand->Image();
    for (int y = 0; y < BoxSize; ++y) {
        const TColor c = Model_.BandRows()[y];
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill_n(row, image.width(), qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
}

void TfrmColorSelectDlg::DrawPalette()
{
    QImage& image = imgColorCell->Image();
    image.fill(palette().color(QPalette::Button));
    QPainter painter(&image);
    for (int i = 0; i < PaletteCellCount; ++i) {
        const int left = 18 * (i % 7), top = 18 * (i / 7);
        if (i == Model_.SelectedCell()) painter.fillRect(left + 1, top + 1, 16, 16, palette().color(QPalette::Light));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(left + 3, top + 3, 11, 11);
        painter.fillRect(left + 4, top + 4, 10, 10, ToQColor(Model_.Cells()[i]));
    }
}

void TfrmColorSelectDlg::DrawPointer()
{
    QImage& image = imgArrow->Image();
    image.fill(palette().color(QPalette::Button));
    const int t = 255 - Model_.BandValue();
    const int w = Panel1->width();
    const QPolygon left({{5, t + 1}, {13, t + 9}, {4, t + 18}});
    const QPolygon right({{w + 16, t + 9}, {w + 24, t + 17}, {w + 24, t + 1}});
    QPainter painter(&image);
    painter.setBrush(palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawPolygon(left);
    painter.drawPolygon(right);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(left[0], left[1]);
    painter.drawLine(right[2], right[0]);
}

void TfrmColorSelectDlg::RefreshControls()
{
    for (TImageView* view : {imgArrow, imgColorBox, imgColorBand, imgColorCell}) view->update();
    QPalette swatch = Shape1->palette();
    swatch.setColor(QPalette::Window, ToQColor(Model_.CurrentColor()));
    Shape1->setPalette(swatch);
    for (int f = cfH; f <= cfHex; ++f) {
        // Only changed texts are written, so the caret stays where the user is typing.
        const QString text = QString::fromStdString(Model_.FieldText(TColorField(f)));
        if (Fields_[f]->text() != text) Fields_[f]->setText(text);
    }
    const QSignalBlocker blocker(cbUseSafeColor);
    cbUseSafeColor->setChecked(Model_.WebSafe());
}

} // namespace pictor

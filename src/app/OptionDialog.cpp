#include "app/OptionDialog.h"

#include "widgets/DialogPlacement.h"
#include "app/model/EditorPathCheck.h"
#include "app/model/Options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

namespace pictor {

namespace {

#ifdef _WIN32
constexpr const char* kEditorFilter = "実行可能ファイル(*.exe)";
#else
constexpr const char* kEditorFilter = "実行可能ファイル(*)";
#endif

QSpinBox* SpinField(QWidget* parent, const char* name, int minimum, int maximum, int step)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setSingleStep(step);
    return spin;
}

QLabel* Label(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

template <class T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

TfrmOption::TfrmOption(TOptions& options, QWidget* parent) : QDialog(parent), Options_(options)
{
    setWindowTitle("オプション");
    auto* pages = new QTabWidget(this);
    pages->addTab(CreateGeneralPage(), "全般");
    pages->addTab(CreateOutputPage(), "ファイル出力設定");

    auto* btnOK = Named(new QPushButton("OK", this), "btnOK");
    btnOK->setDefault(true);
    auto* btnCancel = Named(new QPushButton("キャンセル", this), "btnCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOK, &QPushButton::clicked, this, &TfrmOption::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(TrackBar1, &QSlider::valueChanged, this, &TfrmOption::TrackBar1Change);
    connect(edtQuality, &QLineEdit::textEdited, this, &TfrmOption::edtQualityEdited);
    connect(chbIsViewHint, &QCheckBox::toggled, this, &TfrmOption::chbIsViewHintClick);
    connect(chbLimitMaxRes, &QCheckBox::toggled, this, &TfrmOption::chbLimitMaxResClick);
    connect(CheckBox1, &QCheckBox::toggled, this, &TfrmOption::CheckBox1Click);

    LoadOptions();
    adjustSize();
    CentreOnScreen(this);
}

QWidget* TfrmOption::CreateGeneralPage()
{
    auto* page = new QWidget;

    auto* sideBar = new QGroupBox("サイドバー", page);
    cbTabPos = Named(new QComboBox(sideBar), "cbTabPos");
    cbTabPos->addItems({"上", "右", "下", "左"});
    chbIsViewHint = Named(new QCheckBox("ツールチップヒントを表示する(&S)", sideBar), "chbIsViewHint");
    SpinEdit1 = SpinField(sideBar, "SpinEdit1", 0, 99999, 10);
    lblHintPause = Label(sideBar, "ツールチップヒント表示までの待ち時間（ミリ秒）(&T):", SpinEdit1);
    SpinEdit2 = SpinField(sideBar, "SpinEdit2", 1, 9999999, 10);
    lblHintBytes = Label(sideBar, "ツールチップヒント最大表示文字数（バイト）(&M):", SpinEdit2);
    auto* sideGrid = new QGridLayout(sideBar);
    sideGrid->addWidget(Label(sideBar, "タブ位置(&P):", cbTabPos), 0, 0);
    sideGrid->addWidget(cbTabPos, 0, 1);
    sideGrid->addWidget(chbIsViewHint, 1, 0, 1, 2);
    sideGrid->addWidget(lblHintPause, 2, 0);
    sideGrid->addWidget(SpinEdit1, 2, 1);
    sideGrid->addWidget(lblHintBytes, 3, 0);
    sideGrid->addWidget(SpinEdit2, 3, 1);

    auto* editor = new QGroupBox("エディタ", page);
    edtEditorPath = Named(new QLineEdit(editor), "edtEditorPath");
    edtEditorPath->setMinimumWidth(300);
    auto* Button1 = Named(new QPushButton("参照(&B)...", editor), "Button1");
    connect(Button1, &QPushButton::clicked, this, &TfrmOption::Button1Click);
    auto* editorRow = new QHBoxLayout(editor);
    editorRow->addWidget(Label(editor, "ファイルパス(&F):", edtEditorPath));
    editorRow->addWidget(edtEditorPath, 1);
    editorRow->addWidget(Button1);

    auto* other = new QGroupBox("その他", page);
    chbLimitMaxRes = Named(new QCheckBox("プレビューの最大解像度を制限する(&L)", other), "chbLimitMaxRes");
    SpinEdit3 = SpinField(other, "SpinEdit3", 1, 999999, 100);
    lblMaxHeight = Label(other, "最大高(&H)", SpinEdit3);
    lblTimes = new QLabel("×", other);
    SpinEdit4 = SpinField(other, "SpinEdit4", 1, 999999, 100);
    lblMaxWidth = Label(other, "最大幅(&W)", SpinEdit4);
    auto* otherGrid = new QGridLayout(other);
    otherGrid->addWidget(chbLimitMaxRes, 0, 0, 1, 5);
    otherGrid->addWidget(lblMaxHeight, 1, 0);
    otherGrid->addWidget(lblMaxWidth, 1, 2);
    otherGrid->addWidget(SpinEdit3, 2, 0);
    otherGrid->addWidget(lblTimes, 2, 1);
    otherGrid->addWidget(SpinEdit4, 2, 2);
    otherGrid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(sideBar);
    layout->addWidget(editor);
    layout->addWidget(other);
    layout->addStretch();
    return page;
}

QWidget* TfrmOption::CreateOutputPage()
{
    auto* page = new QWidget;

    auto* jpeg = new QGroupBox("Jpeg出力設定", page);
    TrackBar1 = Named(new QSlider(Qt::Horizontal, jpeg), "TrackBar1");
    TrackBar1->setRange(1, 100);
    TrackBar1->setSingleStep(1);
    TrackBar1->setTickInterval(10);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    lblQuality = Label(jpeg, "画質(&Q):", TrackBar1);
    edtQuality = Named(new QLineEdit(jpeg), "edtQuality");
    edtQuality->setMaxLength(3);
    edtQuality->setFixedWidth(edtQuality->fontMetrics().horizontalAdvance("0000") + 12);
    cbSamRate = Named(new QComboBox(jpeg), "cbSamRate");
    cbSamRate->addItems({"4 : 1 : 1 （高速低画質）", "4 : 4 : 4 （低速高画質）"});
    lblSamRate = Label(jpeg, "サンプリングレート(&S):", cbSamRate);
    CheckBox1 = Named(new QCheckBox("ビットマップとして保存する(&J)", jpeg), "CheckBox1");
    auto* jpegGrid = new QGridLayout(jpeg);
    jpegGrid->addWidget(lblQuality, 0, 0);
    jpegGrid->addWidget(TrackBar1, 0, 1);
    jpegGrid->addWidget(edtQuality, 0, 2);
    jpegGrid->addWidget(lblSamRate, 1, 0);
    jpegGrid->addWidget(cbSamRate, 1, 1, 1, 2);
    jpegGrid->addWidget(CheckBox1, 2, 0, 1, 3);

    auto* gif = new QGroupBox("Gif出力設定", page);
    CheckBox2 = Named(new QCheckBox("ビットマップとして保存する(&G)", gif), "CheckBox2");
    (new QVBoxLayout(gif))->addWidget(CheckBox2);

    auto* text = new QGroupBox("HTML/CSS出力設定", page);
    cbSaveWithLowerCase = Named(new QCheckBox("カラーコードを小文字で出力する(&O)", text), "cbSaveWithLowerCase");
    (new QVBoxLayout(text))->addWidget(cbSaveWithLowerCase);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(jpeg);
    layout->addWidget(gif);
    layout->addWidget(text);
    layout->addStretch();
    return page;
}

void TfrmOption::LoadOptions()
{
    const TOptions& o = Options_;
    cbTabPos->setCurrentIndex(o.TabPosition);
    chbIsViewHint->setChecked(o.ShowHint);
    SpinEdit1->setValue(o.HintPauseTime);
    SpinEdit2->setValue(o.HintViewBytes);
    edtEditorPath->setText(QFile::decodeName(o.EditorPath.c_str()));
    chbLimitMaxRes->setChecked(o.LimitMaxResolution);
    SpinEdit3->setValue(o.PreviewMaxHeight);
    SpinEdit4->setValue(o.PreviewMaxWidth);
    TrackBar1->setValue(o.JpegCompressionQuality);
    cbSamRate->setCurrentIndex(o.JpegSamplingRate);
    CheckBox1->setChecked(o.JpegToBmp);
    CheckBox2->setChecked(o.GifToBmp);
    cbSaveWithLowerCase->setChecked(o.SaveWithLowerCase);
    // The signals do not fire for values the controls already had.
    TrackBar1Change(TrackBar1->value());
    chbIsViewHintClick();
    chbLimitMaxResClick();
    CheckBox1Click();
}

void TfrmOption::btnOKClick()
{
    const std::string editorPath = QFile::encodeName(edtEditorPath->text()).toStdString();
    if (!IsEditorPathAccepted(editorPath, ProcessSearchPath())) {
        QMessageBox::warning(this, "エラー", "ファイルが存在しません");
        edtEditorPath->setFocus();
        return;
    }
    TOptions& o = Options_;
    o.TabPosition = cbTabPos->currentIndex();
    o.ShowHint = chbIsViewHint->isChecked();
    o.HintPauseTime = SpinEdit1->value();
    o.HintViewBytes = SpinEdit2->value();
    o.EditorPath = editorPath;
    o.LimitMaxResolution = chbLimitMaxRes->isChecked();
    o.PreviewMaxHeight = SpinEdit3->value();
    o.PreviewMaxWidth = SpinEdit4->value();
    o.JpegToBmp = CheckBox1->isChecked();
    o.JpegSamplingRate = cbSamRate->currentIndex();
    o.JpegCompressionQuality = TrackBar1->value();
    o.GifToBmp = CheckBox2->isChecked();
    o.SaveWithLowerCase = cbSaveWithLowerCase->isChecked();
    accept();
}

void TfrmOption::TrackBar1Change(int position) { edtQuality->setText(QString::number(position)); }

void TfrmOption::edtQualityEdited(const QString& text)
{
    bool isNumber = false;
    const int quality = text.toInt(&isNumber);
    if (isNumber) TrackBar1->setValue(quality);
}

void TfrmOption::Button1Click()
{
    const std::string current = Options_.EditorPath;
    const std::string found = FindExecutable(current, ProcessSearchPath());
    const QString start = QFileInfo(QFile::decodeName((found.empty() ? current : found).c_str())).absolutePath();
    const QString chosen = QFileDialog::getOpenFileName(this, QString(), start, kEditorFilter);
    if (!chosen.isEmpty()) edtEditorPath->setText(chosen);
}

void TfrmOption::chbIsViewHintClick()
{
    const bool on = chbIsViewHint->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{lblHintPause, SpinEdit1, lblHintBytes, SpinEdit2}) w->setEnabled(on);
}

void TfrmOption::chbLimitMaxResClick()
{
    const bool on = chbLimitMaxRes->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{lblMaxHeight, lblTimes, lblMaxWidth, SpinEdit3, SpinEdit4})
        w->setEnabled(on);
}

void TfrmOption::CheckBox1Click()
{
    const bool on = !CheckBox1->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{lblQuality, lblSamRate, cbSamRate, TrackBar1, edtQuality})
        w->setEnabled(on);
}

} // namespace pictor

#include "adjust/ui/DarkDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* MakeEnd(QWidget* owner, const char* name, int value)
{
    auto* box = new QSpinBox(owner);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, 100);
    box->setSuffix(" %");
    box->setValue(value);
    return box;
}

} // namespace

TfrmDark::TfrmDark(QWidget* owner) : QDialog(owner)
{
    setObjectName("frmDark");
    setWindowTitle("ダークテーマ");
    const pictor::TDarkEnds ends;
    edtDarkEnd = MakeEnd(this, "edtDarkEnd", ends.Dark);
    edtLightEnd = MakeEnd(this, "edtLightEnd", ends.Light);
    chbKeepPhotos = new QCheckBox("写真はそのまま(&P) (色数の少ない画像と透過のある画像だけを暗くする)", this);
    chbKeepPhotos->setObjectName("chbKeepPhotos");
    chbKeepPhotos->setChecked(true);
    chbFollowSystem = new QCheckBox("閲覧者の設定に従う(&F) (prefers-color-scheme: dark のときだけ暗くする)", this);
    chbFollowSystem->setObjectName("chbFollowSystem");
    // Pictures have no scheme of their own: a page that follows the reader leaves them.
    connect(chbFollowSystem, &QCheckBox::toggled, chbKeepPhotos, &QWidget::setDisabled);

    auto* form = new QFormLayout;
    form->addRow("白の明度(&D):", edtDarkEnd);
    form->addRow("黒の明度(&L):", edtLightEnd);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setText("キャンセル");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The dark end stays below the light end.
    connect(edtDarkEnd, &QSpinBox::valueChanged, this, [this](int v) { edtLightEnd->setMinimum(v + 1); });
    connect(edtLightEnd, &QSpinBox::valueChanged, this, [this](int v) { edtDarkEnd->setMaximum(v - 1); });
    edtDarkEnd->setMaximum(edtLightEnd->value() - 1);
    edtLightEnd->setMinimum(edtDarkEnd->value() + 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(chbKeepPhotos);
    layout->addWidget(chbFollowSystem);
    layout->addWidget(buttons);
}

TDarkChoice TfrmDark::Choice() const
{
    return {pictor::TAdjustment::Dark({edtDarkEnd->value(), edtLightEnd->value()}, chbKeepPhotos->isChecked()),
            chbFollowSystem->isChecked()};
}

std::optional<TDarkChoice> RunDarkDialog(QWidget* owner)
{
    TfrmDark dialog(owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

#pragma once
#include "app/model/Options.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace pictor {

// The options: loads options into its controls and stores them back on OK. The caller then applies
// TabPosition to the side bar and HintPauseTime to the hints at once.
class TfrmOption : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOption(TOptions& options, QWidget* parent = nullptr);

private:
    QWidget* CreateGeneralPage();
    QWidget* CreateOutputPage();
    void LoadOptions();
    void btnOKClick();
    void TrackBar1Change(int position);
    void edtQualityEdited(const QString& text);
    void Button1Click();
    void chbIsViewHintClick();
    void chbLimitMaxResClick();
    void CheckBox1Click();

    QComboBox* cbTabPos;
    QCheckBox* chbIsViewHint;
    QLabel* lblHintPause;
    QSpinBox* SpinEdit1;
    QLabel* lblHintBytes;
    QSpinBox* SpinEdit2;
    QLineEdit* edtEditorPath;
    QCheckBox* chbLimitMaxRes;
    QLabel* lblMaxHeight;
    QSpinBox* SpinEdit3;
    QLabel* lblTimes;
    QLabel* lblMaxWidth;
    QSpinBox* SpinEdit4;
    QLabel* lblQuality;
    QSlider* TrackBar1;
    QLineEdit* edtQuality;
    QLabel* lblSamRate;
    QComboBox* cbSamRate;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* cbSaveWithLowerCase;
    TOptions& Options_;
};

} // namespace pictor

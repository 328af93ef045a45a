#pragma once
#include "adjust/Adjustment.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QSpinBox;

// What the dark theme dialog asks: the two ends, the picture option, and whether the page follows the
// reader's setting instead of being dark for everyone.
struct TDarkChoice {
    pictor::TAdjustment Adjustment = pictor::TAdjustment::Dark();
    bool FollowSystem = false;
};

// "ダークテーマ": the dark end and the light end (oklch lightness in percent), "写真はそのまま" and
// "閲覧者の設定に従う".
class TfrmDark : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDark(QWidget* owner);
    TDarkChoice Choice() const;

private:
    QSpinBox* edtDarkEnd;
    QSpinBox* edtLightEnd;
    QCheckBox* chbKeepPhotos;
    QCheckBox* chbFollowSystem;
};

// Shows the dialog modally; the choice when OK was pressed.
std::optional<TDarkChoice> RunDarkDialog(QWidget* owner);

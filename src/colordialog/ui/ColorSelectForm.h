#pragma once
#include "colordialog/ColorSelectModel.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;

namespace pictor {

class TImageView;

// The colour selection form: draws the model's state and forwards every event to it.
// Controls carry the names of the original form as object names.
class TfrmColorSelectDlg : public QDialog {
    Q_OBJECT
public:
    TfrmColorSelectDlg(const TPaletteCells& customColors, TColor color, bool useWebSafeColor,
                       QWidget* parent = nullptr);
    const TColorSelectModel& Model() const { return Model_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* ChannelGroup(const QString& title, TChannelMode first, const char* const names[3]);
    QGroupBox* HexGroup();
    QGroupBox* PaletteGroup();
    void Apply(unsigned steps);
    void ShowBox();
    void CopyBand();
    void DrawPalette();
    void DrawPointer();
    void RefreshControls();

    TColorSelectModel Model_;
    QButtonGroup* ModeGroup_;
    QButtonGroup* PaletteButtons_;
    std::array<QLineEdit*, 7> Fields_{};  // by TColorField
    TImageView* imgColorBox;
    TImageView* imgColorBand;
    TImageView* imgArrow;
    TImageView* imgColorCell;
    QFrame* Panel1;
    QFrame* Shape1;
    QCheckBox* cbUseSafeColor;
};

} // namespace pictor

#pragma once
#include "adjust/AdjustParameters.h"
#include "adjust/Adjustment.h"
#include "picture/BitmapEx.h"
#include "adjust/ParameterRow.h"
#include "adjust/PreviewView.h"
#include "adjust/ui/AdjustDialogSettings.h"
#include "adjust/ui/PageSnapshotSource.h"
#include "adjust/ui/ProgressHooks.h"

#include <QDialog>

#include <exception>
#include <vector>

class QLabel;
class QMouseEvent;
class QSlider;
class TUpDown;

// What sets one adjustment dialog apart from the others.
struct TAdjustDialogForm {
    pictor::TAdjustKind Kind;
    const char* Caption;
    int ClientHeight;
    int GroupHeight;  // the parameter rows are those of Kind
    bool MultiLineText;  // text boxes without a length limit that take line breaks
    const char* PresetExtension;
    const char* PresetFilter;
};

// The shared body of the adjustment dialogs: a snapshot of the page with the adjustment previewed on a
// draggable 247 x 247 view, parameter rows kept in step, presets, and export of the adjusted page.
class TAdjustDialog : public QDialog {
    Q_OBJECT
public:
    // Whether OK was pressed with at least one parameter not zero.
    bool Accepted() const { return Accepted_; }
    // The parameters as OK left them (all zero before).
    const pictor::TAdjustment& Result() const { return Result_; }

    // The work behind the file dialogs; failures throw.
    // Returns the name written: `path` with the preset extension appended when it lacks it.
    QString SavePresetTo(const QString& path);
    // Rows are set in turn; a failure stops the load, leaving the rows before it loaded.
    void LoadPresetFrom(const QString& path);
    // Writes the adjusted full snapshot as a 24-bit BMP under `path` with its extension made ".bmp".
    void ExportBitmapTo(const QString& path);

protected:
    // Renders the page snapshot at once.
    TAdjustDialog(const TAdjustDialogForm& form, QWidget* owner, IPageSnapshotSource& source,
                  TProgressHooks progress, const TAdjustDialogSettings& settings);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TRow {
        QSlider* TrackBar;
        QWidget* Memo;
        pictor::TRowRange Range;
    };

    void BuildControls(const TAdjustDialogForm& form);
    void TakeSnapshot(IPageSnapshotSource& source);
    pictor::TAdjustment CurrentAdjustment() const;
    QString MemoText(int row) const;
    void SetMemoText(int row, const QString& text);
    void ShowBitmap(const pictor::TBitmapEx& bitmap);
    void ShowError(const std::exception& error);

    void RefreshPreview();
    void TrackBarChange(int row);
    void MemoKeyUp(int row);
    void UpDownClick(int row, int delta);
    void imgPrevMouseDown(QMouseEvent* event);
    void imgPrevMouseMove(QMouseEvent* event);
    void imgPrevMouseUp(QMouseEvent* event);
    void btnOKClick();
    void btnCancelClick();
    void btnSaveClick();
    void btnLoadClick();
    void SaveAsBMPClick();

    pictor::TAdjustKind Kind_;
    const char* PresetExtension_;
    QString PresetFilter_;
    TProgressHooks Progress_;
    QString OpenName_, SaveName_, BmpName_;  // what each file dialog offers next
    pictor::TSnapshotLimit Limit_;

    std::vector<TRow> Rows_;
    QLabel* imgPrev_ = nullptr;
    pictor::TBitmapEx Snapshot_;
    pictor::TBitmapEx Marked_;  // the snapshot with what a change reaches drawn otherwise
    pictor::TPreviewView View_{0, 0};
    bool TextFollows_ = true;  // a track bar change rewrites its text box

    bool Accepted_ = false;
    pictor::TAdjustment Result_;
};

#pragma once
#include "document/ColorLiterals.h"

#include <QWidget>

class QAction;
class QFrame;
class QGridLayout;
class QLineEdit;
class QMenu;

namespace pictor {

class TImageView;

// The colour picker panel: press on the magnifier, drag anywhere on the screen while it shows
// a 6x enlargement around the pointer and the colour under it, release to pick; the pop-up menu
// then offers the picked colour to the main window through the three signals.
class TColorPickerPanel : public QWidget {
    Q_OBJECT
public:
    explicit TColorPickerPanel(QWidget* parent = nullptr);

    void SetPickCursor(const QCursor& cursor);
    // Whether the colour code shows hexadecimal digits in lower case, as saved files write them.
    void SetLowerCase(bool lowerCase) { LowerCase_ = lowerCase; }
    // The three document commands of the pop-up menu are enabled only with a document open.
    void SetDocumentOpen(bool open);
    bool Picking() const { return Picking_; }
    TColor PickedColor() const { return PickedColor_; }
    QMenu* PopupMenu() const { return CPickerPupMnu; }
    // Fills the magnifier with the button-face colour; the commands call it when they finish.
    void BlankMagnifier();

signals:
    void SelectColorRequested(pictor::TColor color);    // mnuSelectColor
    void UnselectColorRequested(pictor::TColor color);  // mnuUnselectColor
    void SetNewColorRequested(pictor::TColor color);    // mnuSetNewColor

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* ReadOnlyField(QGridLayout* fields, int row, const char* name, const QString& label);
    void imgPrevMouseMove(QPoint global);
    void imgPrevMouseUp(QPoint global);
    void mnuCancelClick();

    QFrame* pnlPrev;
    TImageView* imgPrev;
    QFrame* shpTgtRect;
    QLineEdit* ledtColorCode;
    QLineEdit* ledtRGB;
    QMenu* CPickerPupMnu;
    QAction* mnuSelectColor;
    QAction* mnuUnselectColor;
    QAction* mnuSetNewColor;
    bool Picking_ = false;
    TColor PickedColor_ = 0;
    bool LowerCase_ = false;
};

} // namespace pictor

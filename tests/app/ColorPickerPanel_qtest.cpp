#include "colordialog/ui/ColorPickerPanel.h"


#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include "colordialog/ui/ColorSelectControls.h"

using namespace pictor;

// Picks from a window of a known colour, through the platform's screen grab.
class TColorPickerPanelTest : public QObject {
    Q_OBJECT

    QWidget Target_;
    TColorPickerPanel Panel_;

    QPoint TargetCentre() const { return Target_.geometry().center(); }
    QWidget* Magnifier() { return Panel_.findChild<QWidget*>("imgPrev"); }
    QString Field(const char* name) { return Panel_.findChild<QLineEdit*>(name)->text(); }
    QAction* Command(const char* name) { return Panel_.PopupMenu()->findChild<QAction*>(name); }

private slots:
    void initTestCase()
    {
        Target_.setWindowFlags(Qt::FramelessWindowHint);
        QPalette palette = Target_.palette();
        palette.setColor(QPalette::Window, QColor(12, 34, 186));
        Target_.setPalette(palette);
        Target_.setAutoFillBackground(true);
        Target_.setGeometry(50, 50, 200, 150);
        Target_.show();
        Panel_.move(400, 300);
        Panel_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Target_));
        QVERIFY(QTest::qWaitForWindowExposed(&Panel_));
        if (Target_.screen()->grabWindow(0, 100, 100, 1, 1).toImage().pixel(0, 0) != qRgb(12, 34, 186))
            QSKIP("this platform does not let the screen be read");
    }

    void dragShowsAndReleasePicksTheColourUnderThePointer()
    {
        QSignalSpy selected(&Panel_, &TColorPickerPanel::SelectColorRequested);
        QSignalSpy newColor(&Panel_, &TColorPickerPanel::SetNewColorRequested);
        Panel_.SetLowerCase(true);
        QTest::mousePress(Magnifier(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(Magnifier(), Magnifier()->mapFromGlobal(TargetCentre()));
        QVERIFY(Panel_.Picking());
        QCOMPARE(Field("ledtRGB"), QString("12, 34, 186"));
        QCOMPARE(Field("ledtColorCode"), QString("#0c22ba"));
        const QImage magnified = static_cast<TImageView*>(Magnifier())->Image();
        QCOMPARE(magnified.pixel(101, 42), qRgb(12, 34, 186));

        QTest::mouseRelease(Magnifier(), Qt::LeftButton, {}, Magnifier()->mapFromGlobal(TargetCentre()));
        QVERIFY(!Panel_.Picking());
        QCOMPARE(Panel_.PickedColor(), RGB(12, 34, 186));
        QVERIFY(Panel_.PopupMenu()->isVisible());
        QVERIFY(!Command("mnuSelectColor")->isEnabled());  // no document yet
        Panel_.PopupMenu()->hide();

        Panel_.SetDocumentOpen(true);
        Command("mnuSelectColor")->trigger();
        Command("mnuSetNewColor")->trigger();
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).value<TColor>(), RGB(12, 34, 186));
        QCOMPARE(newColor.count(), 1);

        Command("mnuCancel")->trigger();
        QVERIFY(Field("ledtRGB").isEmpty());
        QVERIFY(Field("ledtColorCode").isEmpty());
        const QImage blank = static_cast<TImageView*>(Magnifier())->Image();
        QCOMPARE(blank.pixel(50, 20), Panel_.palette().color(QPalette::Button).rgb());
    }
};

QTEST_MAIN(TColorPickerPanelTest)
#include "ColorPickerPanel_qtest.moc"

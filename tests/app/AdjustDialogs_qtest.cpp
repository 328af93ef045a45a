#include "MainWindowTesting.h"
#include "adjust/Adjustment.h"
#include "adjust/ui/AdjustCommands.h"
#include "adjust/ui/BitmapImage.h"
#include "adjust/ui/BrightDialog.h"
#include "adjust/ui/ColorBalanceDialog.h"
#include "adjust/ui/HueDialog.h"
#include "app/OptionDialog.h"
#include "app/SaveAsDialog.h"
#include "app/model/Options.h"
#include "colordialog/ui/ColorSelectForm.h"
#include "replace/ui/ReplaceItemDialog.h"
#include "replace/ui/ReplaceSettingDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <initializer_list>

using namespace pictor;

namespace {

// A page whose pixels all differ, rendered by cropping it to the asked size.
class TFakeSource : public IPageSnapshotSource {
public:
    explicit TFakeSource(QSize size) : Page(size, QImage::Format_RGB32)
    {
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) Page.setPixel(x, y, qRgb((x * 5) % 256, (y * 3) % 256, (x + 2 * y) % 256));
    }
    QSize PageSize() override { return Page.size(); }
    QImage Render(QSize size) override
    {
        RenderedSize = size;
        return Page.copy(0, 0, size.width(), size.height());
    }
    // Every pixel ticked.
    QImage RenderMarked(QSize size) override
    {
        QImage marked = Render(size);
        marked.invertPixels();
        return marked;
    }
    QImage Page;
    QSize RenderedSize;
};

TBitmapEx ToBitmap(const QImage& image) { return BitmapFromImage(image, image.width(), image.height()); }

// What the preview must show: the view of the page at `at` on black, adjusted unless dragging.
TBitmapEx ExpectedPreview(const QImage& page, QPoint at, const TAdjustment* adjustment)
{
    QImage view(247, 247, QImage::Format_RGB32);
    view.fill(Qt::black);
    TBitmapEx part = ToBitmap(page.copy(at.x(), at.y(), std::min(247, page.width()), std::min(247, page.height())));
    if (adjustment) AdjustBitmap(*adjustment, part);
    QPainter(&view).drawImage(0, 0, ImageFromBitmap(part));
    return ToBitmap(view);
}

bool Shows(const QDialog& dialog, const QImage& page, QPoint at, const TAdjustment* adjustment)
{
    const QImage shown = dialog.findChild<QLabel*>("imgPrev")->pixmap().toImage();
    return ToBitmap(shown).SamePixels(ExpectedPreview(page, at, adjustment));
}

QSlider* Bar(const QDialog& dialog, int row) { return dialog.findChild<QSlider*>("TrackBar" + QString::number(row)); }
QWidget* Memo(const QDialog& dialog, int row) { return dialog.findChild<QWidget*>("Memo" + QString::number(row)); }

QString MemoText(const QDialog& dialog, int row) { return qobject_cast<QLineEdit*>(Memo(dialog, row))->text(); }

// Selects the text box's text and types over it, key by key.
void Type(const QDialog& dialog, int row, const QString& text)
{
    QWidget* memo = Memo(dialog, row);
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClicks(memo, text);
}

void Mouse(const QDialog& dialog, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QLabel* image = dialog.findChild<QLabel*>("imgPrev");
    QMouseEvent event(type, at, image->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(image, &event);
}

} // namespace

class TestAdjustDialogs : public QObject {
    Q_OBJECT

private slots:
    // The rows become the dialog's kind of adjustment: the hue dialog's in the preset test, the
    // brightness dialog's in the drag test, the colour balance's here.
    void previewShowsTheCoreAdjustment()
    {
        TFakeSource source({300, 280});
        TfrmHue hue(nullptr, source, {}, {});
        TAdjustment expected = TAdjustment::HueSat(0, 0, 0);
        QVERIFY(Shows(hue, source.Page, {}, &expected));  // adjusted also at zero
        TfrmCV balance(nullptr, source, {}, {});
        Type(balance, 1, "255");
        Type(balance, 3, "-7");
        expected = TAdjustment::ColorBalance(255, 0, -7);
        QVERIFY(Shows(balance, source.Page, {}, &expected));
    }

    // Text box, track bar and arrows of a row follow one another.
    void rowsStayInStep()
    {
        TFakeSource source({300, 280});
        TfrmHue hue(nullptr, source, {}, {});
        Type(hue, 1, "20");
        QCOMPARE(Bar(hue, 1)->value(), 20);
        Bar(hue, 2)->setValue(12);
        QCOMPARE(MemoText(hue, 2), QString("12"));
        hue.findChild<QWidget*>("UpDown2")->findChild<QToolButton*>("Up")->click();
        QCOMPARE(Bar(hue, 2)->value(), 13);
        QCOMPARE(MemoText(hue, 2), QString("13"));
    }

    // Tab leaves every box of every dialog; the colour balance boxes still take a line break.
    void tabMovesTheFocusInEveryDialog()
    {
        TFakeSource source({50, 50});
        TfrmHue hue(nullptr, source, {}, {});
        TfrmBright bright(nullptr, source, {}, {});
        TfrmCV balance(nullptr, source, {}, {});
        TOptions options;
        TfrmRTAddItem item;
        TfrmReplaceSetting replace({{"a", "1"}}, true, {});
        TfrmOption optionDialog(options);
        TfrmSaveAs saveAs;
        TfrmColorSelectDlg colour(TPaletteCells{}, RGB(1, 2, 3), false);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&hue, &bright, &balance, &item, &replace, &optionDialog,
                                                                &saveAs, &colour}) {
            const QStringList keeping = ControlsKeepingTab(*dialog);
            QVERIFY2(keeping.isEmpty(), qPrintable(keeping.join(", ")));
            dialog->hide();
        }
        auto* red = qobject_cast<QPlainTextEdit*>(Memo(balance, 1));
        QCOMPARE(red->toPlainText(), QString("0"));
        red->moveCursor(QTextCursor::End);
        QTest::keyClick(red, Qt::Key_Return);
        QCOMPARE(red->toPlainText(), QString("0\n"));
    }

    // The file's lines are the core's; here: what a dialog writes, and a value out of range read back.
    void presetsRoundTrip()
    {
        QTemporaryDir dir;
        TFakeSource source({50, 50});
        TfrmHue saved(nullptr, source, {}, {});
        Type(saved, 1, "-30");
        Type(saved, 2, "15");
        QCOMPARE(saved.SavePresetTo(dir.filePath("settings")), dir.filePath("settings.cch"));
        QCOMPARE(FileBytes(dir.filePath("settings.cch")), QByteArray("-30\r\n15\r\n0\r\n"));

        // An out-of-range value holds the bar at its end but shows as written.
        TfrmHue loaded(nullptr, source, {}, {});
        loaded.LoadPresetFrom(WriteFile(dir, "wide.cch", "-30\n300\r\n0\r\n"));
        QCOMPARE(Bar(loaded, 2)->value(), 255);
        QCOMPARE(MemoText(loaded, 2), QString("300"));
        const TAdjustment expected = TAdjustment::HueSat(-30, 255, 0);
        QVERIFY(Shows(loaded, source.Page, {}, &expected));
    }

    // The BMP encoding is the picture code's; here: the whole page goes out adjusted, and a zero hue
    // shift, which would change some pixels (BitmapEx's test), leaves them as they are.
    void exportWritesTheWholeAdjustedPage()
    {
        QTemporaryDir dir;
        TFakeSource source({300, 280});
        TfrmHue hue(nullptr, source, {}, {});
        TBitmapEx page = ToBitmap(source.Page);
        hue.ExportBitmapTo(dir.filePath("picture.jpg"));
        QVERIFY(ToBitmap(QImage(dir.filePath("picture.bmp"))).SamePixels(page));

        Type(hue, 1, "90");
        Type(hue, 3, "-20");
        hue.ExportBitmapTo(dir.filePath("adjusted"));
        page.HueSat(90, 0, -20);
        QVERIFY(ToBitmap(QImage(dir.filePath("adjusted.bmp"))).SamePixels(page));
    }

    // Edge limits are the core's; here: the view follows the drag, unadjusted until the release.
    void draggingShowsTheUnadjustedPage()
    {
        TFakeSource source({100, 400});
        TfrmBright bright(nullptr, source, {}, {});
        Type(bright, 1, "30");
        const TAdjustment adjustment = TAdjustment::BrightContrast(30, 0);
        Mouse(bright, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
        Mouse(bright, QEvent::MouseMove, {40, 50}, Qt::NoButton, Qt::LeftButton);
        QVERIFY(Shows(bright, source.Page, {0, 50}, nullptr));
        Mouse(bright, QEvent::MouseButtonRelease, {40, 50}, Qt::LeftButton, Qt::NoButton);
        QVERIFY(Shows(bright, source.Page, {0, 50}, &adjustment));
    }

    // OK hands the adjustment on only when a parameter is not zero; the snapshot is capped by the options.
    void commandHelperReturnsTheAcceptedAdjustment()
    {
        const TAdjustDialogSettings settings{{}, {true, 70, 50}};
        TFakeSource source({80, 60});
        QStringList progress;
        const TProgressHooks hooks{{}, [&] { progress << "hide"; }};
        const auto answer = [&](const QString& text, const char* button) {
            progress.clear();
            QTimer::singleShot(0, [&progress, text, button] {
                auto* dialog = qobject_cast<TAdjustDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QCOMPARE(progress.size(), 1);  // the rendering message went before the dialog showed
                if (!text.isEmpty()) Type(*dialog, 2, text);
                dialog->findChild<QPushButton*>(button)->click();
            });
        };
        answer("-25", "btnOK");
        const auto accepted = RunAdjustDialog(akBrightContrast, nullptr, source, hooks, settings);
        QVERIFY(accepted.has_value());
        QCOMPARE(accepted->Params[1], -25);
        QCOMPARE(source.RenderedSize, QSize(70, 50));
        answer("", "btnOK");
        QVERIFY(!RunAdjustDialog(akColorBalance, nullptr, source, hooks, {}).has_value());
        answer("40", "btnCancel");
        QVERIFY(!RunAdjustDialog(akHueSat, nullptr, source, hooks, {}).has_value());
    }
};

QTEST_MAIN(TestAdjustDialogs)
#include "AdjustDialogs_qtest.moc"

#include "adjust/Adjustment.h"
#include "adjust/ui/AdjustCommands.h"
#include "adjust/ui/BrightDialog.h"
#include "adjust/ui/ColorBalanceDialog.h"
#include "adjust/ui/HueDialog.h"
#include "document/Options.h"
#include "document/PictorError.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

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
    QImage Page;
    QSize RenderedSize;
};

TBitmapEx ToBitmap(const QImage& image)
{
    TBitmapEx bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
            p[0] = std::uint8_t(qBlue(c)), p[1] = std::uint8_t(qGreen(c)), p[2] = std::uint8_t(qRed(c));
        }
    return bitmap;
}

// What the preview must show: the view of the page at `at` on black, adjusted unless dragging.
TBitmapEx ExpectedPreview(const QImage& page, QPoint at, const TAdjustment* adjustment)
{
    QImage view(247, 247, QImage::Format_RGB32);
    view.fill(Qt::black);
    QPainter(&view).drawImage(0, 0, page.copy(at.x(), at.y(), std::min(247, page.width()), std::min(247, page.height())));
    TBitmapEx bitmap = ToBitmap(view);
    if (adjustment) AdjustBitmap(*adjustment, bitmap);
    return bitmap;
}

TBitmapEx Shown(const QDialog& dialog)
{
    return ToBitmap(dialog.findChild<QLabel*>("imgPrev")->pixmap().toImage());
}

QSlider* Bar(const QDialog& dialog, int row)
{
    return dialog.findChild<QSlider*>("TrackBar" + QString::number(row));
}

QWidget* Memo(const QDialog& dialog, int row)
{
    return dialog.findChild<QWidget*>("Memo" + QString::number(row));
}

QString MemoText(const QDialog& dialog, int row)
{
    QWidget* memo = Memo(dialog, row);
    if (auto* edit = qobject_cast<QLineEdit*>(memo)) return edit->text();
    return qobject_cast<QPlainTextEdit*>(memo)->toPlainText();
}

// Selects the text box's text and types over it, key by key.
void Type(const QDialog& dialog, int row, const QString& text)
{
    QWidget* memo = Memo(dialog, row);
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClicks(memo, text);
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void Drag(const QDialog& dialog, QPoint from, QPoint to)
{
    QLabel* image = dialog.findChild<QLabel*>("imgPrev");
    Mouse(image, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Mouse(image, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(image, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestAdjustDialogs : public QObject {
    Q_OBJECT

private slots:
    void init() { Options() = TOptions(); }

    void formsFollowTheirLayouts()
    {
        TFakeSource source({300, 280});
        const TfrmHue hue(nullptr, source, {}, {});
        const TfrmBright bright(nullptr, source, {}, {});
        const TfrmCV balance(nullptr, source, {}, {});
        QCOMPARE(hue.windowTitle(), QString("色相・彩度"));
        QCOMPARE(bright.size(), QSize(385, 433));
        QCOMPARE(Bar(hue, 1)->minimum(), -180);
        QCOMPARE(Bar(bright, 2)->maximum(), 100);
        QVERIFY(!Bar(bright, 3));
        QCOMPARE(qobject_cast<QLineEdit*>(Memo(hue, 2))->maxLength(), 4);
        QVERIFY(qobject_cast<QPlainTextEdit*>(Memo(balance, 3)));
        QCOMPARE(balance.findChild<QLabel*>("imgPrev")->cursor().shape(), Qt::OpenHandCursor);
    }

    void previewShowsTheCoreAdjustment()
    {
        TFakeSource source({300, 280});
        TfrmHue hue(nullptr, source, {}, {});
        TAdjustment expected = TAdjustment::HueSat(0, 0, 0);
        QVERIFY(Shown(hue).SamePixels(ExpectedPreview(source.Page, {}, &expected)));  // adjusted also at zero
        Type(hue, 1, "30");
        Type(hue, 2, "-40");
        Type(hue, 3, "20");
        expected = TAdjustment::HueSat(30, -40, 20);
        QCOMPARE(Bar(hue, 2)->value(), -40);
        QVERIFY(Shown(hue).SamePixels(ExpectedPreview(source.Page, {}, &expected)));

        TfrmBright bright(nullptr, source, {}, {});
        Type(bright, 2, "-100");
        Type(bright, 1, "20");
        TBitmapEx grey(247, 247);  // flat grey lifted by 20
        for (int y = 0; y < 247; ++y) std::fill_n(grey.ScanLine(y), grey.Stride(), std::uint8_t(148));
        QVERIFY(Shown(bright).SamePixels(grey));

        TfrmCV balance(nullptr, source, {}, {});
        Type(balance, 1, "255");
        Type(balance, 3, "-7");
        expected = TAdjustment::ColorBalance(255, 0, -7);
        QVERIFY(Shown(balance).SamePixels(ExpectedPreview(source.Page, {}, &expected)));
    }

    void rowsStayInStep()
    {
        TFakeSource source({300, 280});
        TfrmHue hue(nullptr, source, {}, {});
        Type(hue, 1, "20");
        QTest::keyClicks(Memo(hue, 1), "0");  // 200 is out of range
        QCOMPARE(Bar(hue, 1)->value(), 20);
        QCOMPARE(MemoText(hue, 1), QString("200"));

        Type(hue, 1, "-");
        QCOMPARE(Bar(hue, 1)->value(), 0);
        QCOMPARE(MemoText(hue, 1), QString("-"));
        QTest::keyClicks(Memo(hue, 1), "5");
        QCOMPARE(Bar(hue, 1)->value(), -5);

        Type(hue, 2, "-");  // leaves the bar where it was
        Bar(hue, 2)->setValue(12);
        QCOMPARE(MemoText(hue, 2), QString("12"));

        QToolButton* up = hue.findChild<QWidget*>("UpDown2")->findChild<QToolButton*>("Up");
        up->click();
        QCOMPARE(Bar(hue, 2)->value(), 13);
        QCOMPARE(MemoText(hue, 2), QString("13"));
        QTest::keyClick(Memo(hue, 2), Qt::Key_Down);
        QTest::keyClick(Memo(hue, 2), Qt::Key_Down);
        QCOMPARE(MemoText(hue, 2), QString("11"));
        Bar(hue, 1)->setValue(180);
        hue.findChild<QWidget*>("UpDown1")->findChild<QToolButton*>("Up")->click();
        QCOMPARE(MemoText(hue, 1), QString("180"));

        TfrmCV balance(nullptr, source, {}, {});
        QTest::keyClick(Memo(balance, 1), Qt::Key_End);
        QTest::keyClicks(Memo(balance, 1), "4");
        QTest::keyClick(Memo(balance, 1), Qt::Key_Return);
        QTest::keyClicks(Memo(balance, 1), "99");
        QCOMPARE(MemoText(balance, 1), QString("04\n99"));
        QCOMPARE(Bar(balance, 1)->value(), 4);  // only the first line counts
    }

    void okAcceptsOnlyAChange()
    {
        TFakeSource source({50, 50});
        TfrmHue zero(nullptr, source, {}, {});
        zero.findChild<QPushButton*>("btnOK")->click();
        QVERIFY(!zero.Accepted());

        TfrmHue hue(nullptr, source, {}, {});
        Type(hue, 3, "-9");
        hue.findChild<QPushButton*>("btnOK")->click();
        QVERIFY(hue.Accepted());
        QCOMPARE(hue.Lightness(), -9.0);
        QCOMPARE(hue.Hue(), 0.0);

        TfrmCV balance(nullptr, source, {}, {});
        Type(balance, 2, "-3");
        balance.findChild<QPushButton*>("btnOK")->click();
        QVERIFY(balance.Accepted());
        QCOMPARE(balance.Green(), -3);
        QCOMPARE(balance.Red(), 0);
    }

    void presetsRoundTrip()
    {
        QTemporaryDir dir;
        TFakeSource source({50, 50});
        TfrmHue saved(nullptr, source, {}, {});
        Type(saved, 1, "-30");
        Type(saved, 2, "15");
        QCOMPARE(saved.SavePresetTo(dir.filePath("settings")), dir.filePath("settings.cch"));
        QCOMPARE(FileBytes(dir.filePath("settings.cch")), QByteArray("-30\r\n15\r\n0\r\n"));
        QCOMPARE(saved.SavePresetTo(dir.filePath("SETTINGS.CCH")), dir.filePath("SETTINGS.CCH"));

        TfrmHue loaded(nullptr, source, {}, {});
        WriteBytes(dir.filePath("wide.cch"), "-30\n300\r\n0\r\nextra\r\n");
        loaded.LoadPresetFrom(dir.filePath("wide"));
        QCOMPARE(Bar(loaded, 1)->value(), -30);
        QCOMPARE(Bar(loaded, 2)->value(), 255);
        QCOMPARE(MemoText(loaded, 2), QString("300"));
        const TAdjustment expected = TAdjustment::HueSat(-30, 255, 0);
        QVERIFY(Shown(loaded).SamePixels(ExpectedPreview(source.Page, {}, &expected)));

        // A three-line colour balance preset in the two-row dialog: red and green, held within range.
        TfrmCV balance(nullptr, source, {}, {});
        Type(balance, 1, "40");
        Type(balance, 2, "150");
        Type(balance, 3, "5");
        balance.SavePresetTo(dir.filePath("balance"));
        TfrmBright bright(nullptr, source, {}, {});
        bright.LoadPresetFrom(dir.filePath("balance"));
        QCOMPARE(Bar(bright, 1)->value(), 40);
        QCOMPARE(Bar(bright, 2)->value(), 100);
        QCOMPARE(MemoText(bright, 2), QString("150"));

        // A two-line preset in the three-row dialog stops at the missing line; blue keeps its own.
        bright.SavePresetTo(dir.filePath("two"));
        TfrmCV short3(nullptr, source, {}, {});
        Type(short3, 3, "7");
        QVERIFY_THROWS_EXCEPTION(TPictorError, short3.LoadPresetFrom(dir.filePath("two")));
        QCOMPARE(Bar(short3, 2)->value(), 100);
        QCOMPARE(Bar(short3, 3)->value(), 7);
        QCOMPARE(MemoText(short3, 3), QString("7"));

        WriteBytes(dir.filePath("bad.cch"), "5\r\nabc\r\n1\r\n");
        TfrmHue bad(nullptr, source, {}, {});
        QVERIFY_THROWS_EXCEPTION(TPictorError, bad.LoadPresetFrom(dir.filePath("bad.cch")));
        QCOMPARE(Bar(bad, 1)->value(), 5);
        QCOMPARE(MemoText(bad, 2), QString("0"));
        QVERIFY_THROWS_EXCEPTION(TPictorError, bad.LoadPresetFrom(dir.filePath("missing")));
    }

    void exportWritesTheWholeAdjustedPage()
    {
        QTemporaryDir dir;
        TFakeSource source({300, 280});
        QStringList progress;
        const TProgressHooks hooks{[&](const QString& message) { progress << message; }, [&] { progress << "hide"; }};
        TfrmHue hue(nullptr, source, hooks, {});

        // A zero hue shift would change some pixels; the export leaves them as they are.
        TBitmapEx page = ToBitmap(source.Page);
        TBitmapEx zeroShifted = page;
        zeroShifted.HueSat(0, 0, 0);
        QVERIFY(!zeroShifted.SamePixels(page));
        hue.ExportBitmapTo(dir.filePath("picture.jpg"));
        const QByteArray bytes = FileBytes(dir.filePath("picture.bmp"));
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(int(bytes[28]), 24);
        QVERIFY(ToBitmap(QImage(dir.filePath("picture.bmp"))).SamePixels(page));
        QCOMPARE(progress, QStringList({"イメージ書き出し中...", "hide"}));

        Type(hue, 1, "90");
        Type(hue, 3, "-20");
        hue.ExportBitmapTo(dir.filePath("adjusted"));
        page.HueSat(90, 0, -20);
        QVERIFY(ToBitmap(QImage(dir.filePath("adjusted.bmp"))).SamePixels(page));

        progress.clear();
        QVERIFY_THROWS_EXCEPTION(TPictorError, hue.ExportBitmapTo(dir.filePath("no/such/folder/x.bmp")));
        QCOMPARE(progress.last(), QString("hide"));
    }

    void snapshotIsCappedBySettings()
    {
        QTemporaryDir dir;
        Options().LimitMaxResolution = true;
        Options().PreviewMaxWidth = 120;
        Options().PreviewMaxHeight = 90;
        TFakeSource source({300, 280});
        TfrmCV balance(nullptr, source, {}, {});
        QCOMPARE(source.RenderedSize, QSize(120, 90));
        balance.ExportBitmapTo(dir.filePath("capped.bmp"));
        QCOMPARE(QImage(dir.filePath("capped.bmp")).size(), QSize(120, 90));
    }

    void draggingShowsTheUnadjustedPageWithinLimits()
    {
        TFakeSource source({100, 400});  // narrower than the preview
        TfrmBright bright(nullptr, source, {}, {});
        Type(bright, 1, "30");
        const TAdjustment adjustment = TAdjustment::BrightContrast(30, 0);
        QLabel* image = bright.findChild<QLabel*>("imgPrev");

        Mouse(image, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
        Mouse(image, QEvent::MouseMove, {40, 50}, Qt::NoButton, Qt::LeftButton);
        QVERIFY(Shown(bright).SamePixels(ExpectedPreview(source.Page, {0, 50}, nullptr)));
        Mouse(image, QEvent::MouseButtonRelease, {40, 50}, Qt::LeftButton, Qt::NoButton);
        QVERIFY(Shown(bright).SamePixels(ExpectedPreview(source.Page, {0, 50}, &adjustment)));

        Drag(bright, {0, 0}, {0, -1000});  // past the bottom edge
        QVERIFY(Shown(bright).SamePixels(ExpectedPreview(source.Page, {0, 400 - 247}, &adjustment)));

        // Another button neither drags nor keeps the view unadjusted.
        Mouse(image, QEvent::MouseButtonPress, {0, 0}, Qt::RightButton, Qt::RightButton);
        Mouse(image, QEvent::MouseMove, {0, 100}, Qt::NoButton, Qt::RightButton);
        Mouse(image, QEvent::MouseButtonRelease, {0, 100}, Qt::RightButton, Qt::NoButton);
        QVERIFY(Shown(bright).SamePixels(ExpectedPreview(source.Page, {0, 400 - 247}, &adjustment)));

        TFakeSource wide({400, 100});
        TfrmHue hue(nullptr, wide, {}, {});
        Drag(hue, {200, 50}, {-1000, 0});
        const TAdjustment zero = TAdjustment::HueSat(0, 0, 0);
        QVERIFY(Shown(hue).SamePixels(ExpectedPreview(wide.Page, {400 - 247, 0}, &zero)));
    }

    void commandHelperReturnsTheAcceptedAdjustment()
    {
        TFakeSource source({80, 60});
        QStringList progress;
        const TProgressHooks hooks{{}, [&] { progress << "hide"; }};
        const auto answer = [&](const QString& text, const char* button) {
            QTimer::singleShot(0, [&progress, text, button] {
                auto* dialog = qobject_cast<TAdjustDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QCOMPARE(progress.size(), 1);  // the rendering message went before the dialog showed
                if (!text.isEmpty()) Type(*dialog, 2, text);
                dialog->findChild<QPushButton*>(button)->click();
            });
        };
        answer("-25", "btnOK");
        const auto accepted = RunAdjustDialog(akBrightContrast, nullptr, source, hooks, {});
        QVERIFY(accepted.has_value());
        QCOMPARE(accepted->Kind, akBrightContrast);
        QCOMPARE(accepted->Params[1], -25);

        progress.clear();
        answer("", "btnOK");
        QVERIFY(!RunAdjustDialog(akColorBalance, nullptr, source, hooks, {}).has_value());
        progress.clear();
        answer("40", "btnCancel");
        QVERIFY(!RunAdjustDialog(akHueSat, nullptr, source, hooks, {}).has_value());
    }
};

QTEST_MAIN(TestAdjustDialogs)
#include "AdjustDialogs_qtest.moc"

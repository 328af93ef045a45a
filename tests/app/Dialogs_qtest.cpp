#include "MainWindowTesting.h"
#include "adjust/Adjustment.h"
#include "adjust/ui/AdjustCommands.h"
#include "adjust/ui/BitmapImage.h"
#include "adjust/ui/BrightDialog.h"
#include "adjust/ui/ColorBalanceDialog.h"
#include "adjust/ui/HueDialog.h"
#include "app/OptionDialog.h"
#include "app/QtTranslations.h"
#include "app/SaveAsDialog.h"
#include "app/model/Options.h"
#include "colordialog/ui/ColorSelectDialog.h"
#include "colordialog/ui/ColorSelectForm.h"
#include "replace/ui/ReplaceItemDialog.h"
#include "replace/ui/ReplaceSettingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QFileIconProvider>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <initializer_list>
#include <tuple>

using namespace pictor;

namespace {

void Click(QWidget& parent, const char* name) { Named<QAbstractButton>(parent, name)->click(); }

// The options the dialog edits, to compare them at once.
auto Edited(const TOptions& o)
{
    return std::tuple(o.TabPosition, o.ShowHint, o.HintPauseTime, o.HintViewBytes, o.EditorPath, o.LimitMaxResolution,
                      o.PreviewMaxHeight, o.PreviewMaxWidth, o.JpegSamplingRate, o.JpegCompressionQuality, o.JpegToBmp,
                      o.GifToBmp, o.SaveWithLowerCase);
}

// Runs the dialog and does `steps` on its form once the modal loop has shown it; steps must close it.
bool Run(TColorSelectDialog& dialog, const std::function<void(TfrmColorSelectDlg&)>& steps)
{
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<TfrmColorSelectDlg*>(widget); form && form->isVisible()) steps(*form);
    });
    return dialog.Execute();
}

QLineEdit* TypeHex(TfrmColorSelectDlg& form, const QString& text)
{
    auto* edtHex = form.findChild<QLineEdit*>("edtHex");
    edtHex->clear();
    QTest::keyClicks(edtHex, text);
    return edtHex;
}


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

// The dialogs as the user drives them; the adjustment dialogs over a page of known pixels.
class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Options_ = TOptions(); }

    // The rules are the core's; here: the box, the dialog staying open, the focus on the faulty field.
    void itemDialogRefusesAnEmptyValueAndEscapesTheValue()
    {
        TfrmRTAddItem dialog;
        dialog.show();
        Named<QLineEdit>(dialog, "Edit")->setText("a");
        Named<QLineEdit>(dialog, "Edit")->setFocus();
        TBoxAnswerer boxes;
        Click(dialog, "Button1");
        QCOMPARE(boxes.Texts, QStringList("置換文字列が空です"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.focusWidget()->objectName(), QString("Memo"));

        TfrmRTAddItem edited({"k", "a\\r\\nb"});  // the value shown with its line breaks, stored escaped
        QCOMPARE(Named<QPlainTextEdit>(edited, "Memo")->toPlainText(), QString("a\nb"));
        Named<QLineEdit>(edited, "Edit")->setText("<br>");
        Named<QPlainTextEdit>(edited, "Memo")->setPlainText("p\nq");
        Click(edited, "Button1");
        QCOMPARE(edited.result(), int(QDialog::Accepted));
        QCOMPARE(edited.Item(), (TReplaceItem{"<br>", "p\\r\\nq"}));
    }

    void replaceSettingEnablesAndCopies()
    {
        Options_.UseReplacer = false;
        Options_.ReplaceKeys = {"a", "b", "c"};
        Options_.ReplaceValues = {"1", "2\\n", "3"};
        TfrmReplaceSetting dialog(ReplaceTableOf(Options_), Options_.UseReplacer, {});
        const char* dependent[] = {"ListView", "btnAdd", "btnEdit", "btnCopy", "btnDelete", "btnSave", "btnLoad"};
        for (const char* name : dependent) QVERIFY2(!Named<QWidget>(dialog, name)->isEnabled(), name);
        Named<QCheckBox>(dialog, "chbUseRepTxtFunc")->setChecked(true);
        for (const char* name : dependent) QVERIFY2(Named<QWidget>(dialog, name)->isEnabled(), name);
        QVERIFY(dialog.UseReplacer());

        auto* list = Named<QTableWidget>(dialog, "ListView");
        QCOMPARE(list->item(1, 1)->text(), QString("2\\n"));
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        list->selectRow(2);
        list->selectRow(0);
        Click(dialog, "btnCopy");
        QCOMPARE(dialog.Table(), (TReplaceTable{{"a", "1"}, {"b", "2\\n"}, {"c", "3"}, {"a", "1"}, {"c", "3"}}));
    }

    void optionsRoundTrip()
    {
        QTemporaryDir dir;
        const QString editor = WriteFile(dir, "editor", {});
        TOptions& o = Options_;
        o = {.TabPosition = 1, .ShowHint = false, .HintPauseTime = 120, .HintViewBytes = 50, .EditorPath = editor.toStdString(),
             .LimitMaxResolution = true, .PreviewMaxHeight = 700, .PreviewMaxWidth = 900, .JpegSamplingRate = 0,
             .JpegCompressionQuality = 1, .JpegToBmp = true, .GifToBmp = true, .SaveWithLowerCase = true,
             .ReplaceKeys = {}, .ReplaceValues = {}};
        const auto before = Edited(o);

        TfrmOption dialog(Options_);
        QCOMPARE(Named<QComboBox>(dialog, "cbTabPos")->currentIndex(), 1);
        QVERIFY(!Named<QSpinBox>(dialog, "SpinEdit1")->isEnabled());  // hints are off
        QVERIFY(!Named<QSlider>(dialog, "TrackBar1")->isEnabled());  // JPEG goes to BMP
        Click(dialog, "btnOK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(Edited(o) == before);  // OK with nothing changed stores the same values

        // The default editor name is accepted without a file; the other fields are copied as they are.
        TfrmOption second(Options_);
        Named<QLineEdit>(second, "edtEditorPath")->setText(QString::fromStdString(TOptions().EditorPath));
        Named<QCheckBox>(second, "CheckBox1")->setChecked(false);
        auto* quality = Named<QLineEdit>(second, "edtQuality");
        quality->clear();
        QTest::keyClicks(quality, "150");  // the field and the slider follow each other
        QCOMPARE(Named<QSlider>(second, "TrackBar1")->value(), 100);
        Named<QSlider>(second, "TrackBar1")->setValue(55);
        QCOMPARE(quality->text(), QString("55"));
        Click(second, "btnOK");
        QCOMPARE(second.result(), int(QDialog::Accepted));
        QCOMPARE(o.EditorPath, TOptions().EditorPath);
        QVERIFY(!o.JpegToBmp);
        QCOMPARE(o.JpegCompressionQuality, 55);
    }

    void optionsRefuseAMissingEditor()
    {
        Options_.TabPosition = 2;
        TfrmOption dialog(Options_);
        dialog.show();
        Named<QComboBox>(dialog, "cbTabPos")->setCurrentIndex(0);
        Named<QLineEdit>(dialog, "edtEditorPath")->setText("/no/such/editor");
        TBoxAnswerer boxes;
        Click(dialog, "btnOK");
        QCOMPARE(boxes.Texts, QStringList("ファイルが存在しません"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget()->objectName(), QString("edtEditorPath"));
        QCOMPARE(Options_.TabPosition, 2);  // nothing stored
    }

    // An existing folder, taken without a question, and a folder made on Yes are the Save as commands'
    // tests (the site's and the page's).
    void saveAsNeedsAnExistingOrCreatedFolder()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("new/deeper");
        TfrmSaveAs dialog;
        QStringList asked;
        dialog.AskYesNo = [&](QWidget*, const QString& text) {
            asked << text;
            return false;
        };
        dialog.Folder = dir.path().toStdString();
        dialog.show();
        auto* path = Named<QLineEdit>(dialog, "edtPath");
        QCOMPARE(path->text(), dir.path());
        QVERIFY(!dialog.close());  // no system close
        path->setText(missing);
        Click(dialog, "btnOK");
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].contains(missing));
        QVERIFY(dialog.isVisible());
        QVERIFY(!QDir(missing).exists());

        TfrmSaveAs empty;
        empty.show();
        QVERIFY(!Named<QPushButton>(empty, "btnOK")->isEnabled());
        QTest::keyClick(&empty, Qt::Key_Escape);
        QCOMPARE(empty.result(), int(QDialog::Rejected));
        QVERIFY(!empty.isVisible());
    }

    // Message boxes read Japanese, and the folder dialog names a folder's kind through a text the catalogue lacks.
    void qtsOwnTextsReadJapanese()
    {
        QTranslator texts;
        QVERIFY(InstallQtTranslations(texts));
        TQtTextGaps gaps;
        QCoreApplication::installTranslator(&gaps);
        QMessageBox box(QMessageBox::Warning, "Pictor", "?", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QStringList captions;
        for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            captions << box.button(button)->text().remove(QRegularExpression("\\(&.\\)|&"));
        const QString kind = QFileIconProvider().type(QFileInfo(QDir::tempPath()));
        QCoreApplication::removeTranslator(&gaps);
        QCoreApplication::removeTranslator(&texts);
        QCOMPARE(captions, (QStringList{"はい", "いいえ", "キャンセル"}));
        QCOMPARE(kind, QString("フォルダー"));
    }

    // The colour arithmetic is the model's; here: what the colour dialog keeps between runs.
    void theColourDialogKeepsColourOptionAndPaletteOnlyOnOK()
    {
        auto* dialog = new TColorSelectDialog(this);
        dialog->SetCustomColors(0, RGB(255, 0, 0));
        dialog->SetCustomColors(3, RGB(255, 255, 0));
        dialog->SetCustomColors(28, RGB(1, 1, 1)); // out of range: ignored
        dialog->SetColor(RGB(10, 20, 30));
        const TPaletteCells before = dialog->CustomColors();
        QCOMPARE(before[27], TColor(0));
        QString refused;
        QVERIFY(!Run(*dialog, [&](TfrmColorSelectDlg& form) {
            refused = TypeHex(form, "#aGg1 z")->text();
            TypeHex(form, "#00ff80");
            Click(form, "cbUseSafeColor");
            Click(form, "btnCancel");
        }));
        QCOMPARE(refused, QString("#a1"));  // the field takes hex digits only
        QCOMPARE(dialog->Color(), RGB(10, 20, 30));
        QVERIFY(!dialog->UseWebSafeColor());
        QVERIFY(dialog->CustomColors() == before);

        QVERIFY(Run(*dialog, [&](TfrmColorSelectDlg& form) {
            TypeHex(form, "#00ff80");
            Click(form, "btnOK");
        }));
        QCOMPARE(dialog->Color(), RGB(0, 255, 128));
        QCOMPARE(dialog->CustomColors()[27], RGB(0, 255, 128));
        QCOMPARE(dialog->CustomColors()[0], RGB(255, 0, 0));

        QVERIFY(Run(*dialog, [&](TfrmColorSelectDlg& form) {
            Click(form, "cbUseSafeColor");
            Click(form, "btnOK");
        }));
        QVERIFY(dialog->UseWebSafeColor());
        QCOMPARE(dialog->Color(), RGB(0, 255, 102));

        bool shownChecked = false;
        QVERIFY(Run(*dialog, [&](TfrmColorSelectDlg& form) {
            shownChecked = form.findChild<QCheckBox*>("cbUseSafeColor")->isChecked();
            Click(form, "SpeedButtonEX4");
            Click(form, "btnOK");
        }));
        QVERIFY(shownChecked);
        QCOMPARE(dialog->Color(), RGB(255, 255, 0));
    }

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

private:
    TOptions Options_;
};

QTEST_MAIN(DialogsTest)
#include "Dialogs_qtest.moc"

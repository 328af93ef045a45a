#include "MainWindowTesting.h"
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
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
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

} // namespace

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

private:
    TOptions Options_;
};

QTEST_MAIN(DialogsTest)
#include "Dialogs_qtest.moc"

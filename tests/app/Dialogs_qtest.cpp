#include "app/OptionDialog.h"
#include "app/OverwriteQuestion.h"
#include "app/SaveAsDialog.h"
#include "document/Options.h"
#include "replace/ui/ReplaceItemDialog.h"
#include "replace/ui/ReplaceSettingDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace pictor;

namespace {

struct TSeenBox {
    QString Title;
    QString Text;
};

// Answers the next message box with button once it is up, and tells what it showed.
std::shared_ptr<TSeenBox> AnswerNextBox(QMessageBox::StandardButton button = QMessageBox::Ok)
{
    auto seen = std::make_shared<TSeenBox>();
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen->Title = box->windowTitle();
        seen->Text = box->text();
        timer->stop();
        timer->deleteLater();
        box->button(button)->click();
    });
    timer->start();
    return seen;
}

template <class T> T* Child(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(name);
    if (!child) qFatal("no control %s", name);
    return child;
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Options() = TOptions(); }

    void itemDialogChecksInOrder_data();
    void itemDialogChecksInOrder();
    void itemDialogEscapesTheValue();
    void replaceSettingEnablesByItsCheckBox();
    void replaceSettingCopiesAndDeletesSelectedRows();
    void optionsRoundTrip();
    void optionsRefuseAMissingEditor();
    void optionsQualityPair();
    void saveAsAsksForAMissingFolder();
    void saveAsShowsAnExistingFolder();
    void overwriteQuestionAnswers();
};

void DialogsTest::itemDialogChecksInOrder_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("empty key") << "" << "" << "置換対象文字列が空です" << "Edit";
    QTest::newRow("empty value") << "あ" << "" << "置換文字列が空です" << "Memo";
    QTest::newRow("full-width key") << "aあ" << "x" << "置換対象文字列に全角文字を使うことはできません" << "Edit";
}

void DialogsTest::itemDialogChecksInOrder()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TfrmRTAddItem dialog;
    dialog.show();
    Child<QLineEdit>(dialog, "Edit")->setText(key);
    Child<QPlainTextEdit>(dialog, "Memo")->setPlainText(value);
    Child<QPlainTextEdit>(dialog, "Memo")->setFocus();
    if (focus == "Memo") Child<QLineEdit>(dialog, "Edit")->setFocus();
    const auto seen = AnswerNextBox();
    Child<QPushButton>(dialog, "Button1")->click();
    QCOMPARE(seen->Title, QString("エラー"));
    QCOMPARE(seen->Text, message);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.focusWidget()->objectName(), focus);
}

void DialogsTest::itemDialogEscapesTheValue()
{
    TfrmRTAddItem dialog({"k", "a\\r\\nb"});
    QCOMPARE(Child<QPlainTextEdit>(dialog, "Memo")->toPlainText(), QString("a\nb"));
    Child<QLineEdit>(dialog, "Edit")->setText("<br>");
    Child<QPlainTextEdit>(dialog, "Memo")->setPlainText("p\nq");
    Child<QPushButton>(dialog, "Button1")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Item(), (TReplaceItem{"<br>", "p\\r\\nq"}));
}

void DialogsTest::replaceSettingEnablesByItsCheckBox()
{
    Options().UseReplacer = false;
    TfrmReplaceSetting dialog;
    auto* check = Child<QCheckBox>(dialog, "chbUseRepTxtFunc");
    const char* dependent[] = {"ListView", "btnAdd", "btnEdit", "btnCopy", "btnDelete", "btnSave", "btnLoad"};
    for (const char* name : dependent) QVERIFY2(!Child<QWidget>(dialog, name)->isEnabled(), name);
    QVERIFY(Child<QWidget>(dialog, "btnOK")->isEnabled());
    check->setChecked(true);
    for (const char* name : dependent) QVERIFY2(Child<QWidget>(dialog, name)->isEnabled(), name);
    QVERIFY(dialog.UseReplacer());
}

void DialogsTest::replaceSettingCopiesAndDeletesSelectedRows()
{
    Options().UseReplacer = true;
    Options().ReplaceKeys = {"a", "b", "c"};
    Options().ReplaceValues = {"1", "2\\n", "3"};
    TfrmReplaceSetting dialog;
    auto* list = Child<QTableWidget>(dialog, "ListView");
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(list->item(1, 1)->text(), QString("2\\n"));
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    list->selectRow(2);
    list->selectRow(0);
    Child<QPushButton>(dialog, "btnCopy")->click();
    QCOMPARE(dialog.Table(), (TReplaceTable{{"a", "1"}, {"b", "2\\n"}, {"c", "3"}, {"a", "1"}, {"c", "3"}}));
    list->clearSelection();
    list->selectRow(0);
    list->selectRow(1);
    Child<QPushButton>(dialog, "btnDelete")->click();
    QCOMPARE(dialog.Table(), (TReplaceTable{{"c", "3"}, {"a", "1"}, {"c", "3"}}));
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(list->item(0, 0)->text(), QString("c"));
}

void DialogsTest::optionsRoundTrip()
{
    QTemporaryDir dir;
    const QString editor = dir.filePath("editor");
    QFile file(editor);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    TOptions& o = Options();
    o.TabPosition = 1;
    o.ShowHint = false;
    o.HintPauseTime = 120;
    o.HintViewBytes = 50;
    o.EditorPath = editor.toStdString();
    o.LimitMaxResolution = true;
    o.PreviewMaxHeight = 700;
    o.PreviewMaxWidth = 900;
    o.JpegSamplingRate = 0;
    o.JpegCompressionQuality = 1;
    o.JpegToBmp = true;
    o.GifToBmp = true;
    o.SaveWithLowerCase = true;
    const TOptions before = o;

    TfrmOption dialog;
    QCOMPARE(Child<QComboBox>(dialog, "cbTabPos")->currentIndex(), 1);
    QVERIFY(!Child<QSpinBox>(dialog, "SpinEdit1")->isEnabled());
    QVERIFY(!Child<QSpinBox>(dialog, "SpinEdit2")->isEnabled());
    QCOMPARE(Child<QSpinBox>(dialog, "SpinEdit1")->value(), 120);
    QVERIFY(Child<QSpinBox>(dialog, "SpinEdit3")->isEnabled());
    QCOMPARE(Child<QLineEdit>(dialog, "edtQuality")->text(), QString("1"));
    QVERIFY(!Child<QSlider>(dialog, "TrackBar1")->isEnabled());
    QVERIFY(!Child<QComboBox>(dialog, "cbSamRate")->isEnabled());

    // OK with nothing changed stores the same values.
    Child<QPushButton>(dialog, "btnOK")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(o.TabPosition, before.TabPosition);
    QCOMPARE(o.ShowHint, before.ShowHint);
    QCOMPARE(o.HintPauseTime, before.HintPauseTime);
    QCOMPARE(o.HintViewBytes, before.HintViewBytes);
    QCOMPARE(o.EditorPath, before.EditorPath);
    QCOMPARE(o.LimitMaxResolution, before.LimitMaxResolution);
    QCOMPARE(o.PreviewMaxHeight, before.PreviewMaxHeight);
    QCOMPARE(o.PreviewMaxWidth, before.PreviewMaxWidth);
    QCOMPARE(o.JpegSamplingRate, before.JpegSamplingRate);
    QCOMPARE(o.JpegCompressionQuality, before.JpegCompressionQuality);
    QCOMPARE(o.JpegToBmp, before.JpegToBmp);
    QCOMPARE(o.GifToBmp, before.GifToBmp);
    QCOMPARE(o.SaveWithLowerCase, before.SaveWithLowerCase);

    // Changed controls reach Options(); the default editor name is accepted without a file.
    TfrmOption second;
    Child<QComboBox>(second, "cbTabPos")->setCurrentIndex(0);
    Child<QCheckBox>(second, "chbIsViewHint")->setChecked(true);
    Child<QSpinBox>(second, "SpinEdit2")->setValue(9999999);
    Child<QLineEdit>(second, "edtEditorPath")->setText(QString::fromStdString(TOptions().EditorPath));
    Child<QCheckBox>(second, "CheckBox1")->setChecked(false);
    Child<QSlider>(second, "TrackBar1")->setValue(55);
    Child<QComboBox>(second, "cbSamRate")->setCurrentIndex(1);
    Child<QCheckBox>(second, "cbSaveWithLowerCase")->setChecked(false);
    Child<QPushButton>(second, "btnOK")->click();
    QCOMPARE(second.result(), int(QDialog::Accepted));
    QCOMPARE(o.TabPosition, 0);
    QVERIFY(o.ShowHint);
    QCOMPARE(o.HintViewBytes, 9999999);
    QCOMPARE(o.EditorPath, TOptions().EditorPath);
    QVERIFY(!o.JpegToBmp);
    QCOMPARE(o.JpegCompressionQuality, 55);
    QCOMPARE(o.JpegSamplingRate, 1);
    QVERIFY(!o.SaveWithLowerCase);
}

void DialogsTest::optionsRefuseAMissingEditor()
{
    Options().TabPosition = 2;
    TfrmOption dialog;
    dialog.show();
    Child<QComboBox>(dialog, "cbTabPos")->setCurrentIndex(0);
    Child<QLineEdit>(dialog, "edtEditorPath")->setText("/no/such/editor");
    const auto seen = AnswerNextBox();
    Child<QPushButton>(dialog, "btnOK")->click();
    QCOMPARE(seen->Title, QString("エラー"));
    QCOMPARE(seen->Text, QString("ファイルが存在しません"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget()->objectName(), QString("edtEditorPath"));
    QCOMPARE(Options().TabPosition, 2);
    QCOMPARE(Options().EditorPath, TOptions().EditorPath);
}

void DialogsTest::optionsQualityPair()
{
    Options().JpegCompressionQuality = 40;
    TfrmOption dialog;
    dialog.show();
    auto* field = Child<QLineEdit>(dialog, "edtQuality");
    auto* slider = Child<QSlider>(dialog, "TrackBar1");
    field->clear();
    QTest::keyClicks(field, "150");
    QCOMPARE(slider->value(), 100);
    field->clear();
    QTest::keyClicks(field, "ab");
    QCOMPARE(slider->value(), 100);
    slider->setValue(7);
    QCOMPARE(field->text(), QString("7"));
    QCOMPARE(field->maxLength(), 3);
}

void DialogsTest::saveAsAsksForAMissingFolder()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("new/deeper");
    TfrmSaveAs dialog;
    QString asked;
    bool answer = false;
    dialog.AskYesNo = [&](QWidget*, const QString& text) {
        asked = text;
        return answer;
    };
    dialog.show();
    Child<QLineEdit>(dialog, "edtPath")->setText(missing);
    Child<QPushButton>(dialog, "btnOK")->click();
    QCOMPARE(asked, "ディレクトリ\"" + missing + "\"は存在しません\n\r作成しますか？");
    QVERIFY(dialog.isVisible());
    QVERIFY(!QDir(missing).exists());

    answer = true;
    Child<QPushButton>(dialog, "btnOK")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(QDir(missing).exists());
    QCOMPARE(QString::fromStdString(dialog.Folder), missing);
}

void DialogsTest::saveAsShowsAnExistingFolder()
{
    QTemporaryDir dir;
    TfrmSaveAs dialog;
    dialog.AskYesNo = [](QWidget*, const QString&) -> bool { qFatal("asked about an existing folder"); };
    dialog.Folder = dir.path().toStdString();
    dialog.show();
    auto* path = Child<QLineEdit>(dialog, "edtPath");
    QCOMPARE(path->text(), dir.path());
    QCOMPARE(path->selectedText(), dir.path());
    QVERIFY(!dialog.close());  // no system close
    QVERIFY(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());

    TfrmSaveAs empty;
    empty.show();
    QVERIFY(!Child<QPushButton>(empty, "btnOK")->isEnabled());
}

void DialogsTest::overwriteQuestionAnswers()
{
    const auto seen = AnswerNextBox(QMessageBox::YesToAll);
    QCOMPARE(int(AskOverwrite(nullptr, "/site/index.html")), int(TOverwriteAnswer::YesToAll));
    QCOMPARE(seen->Text, QString("ファイル\"/site/index.html\"はすでに存在します\n上書きしますか？"));
    AnswerNextBox(QMessageBox::NoToAll);
    QCOMPARE(int(OverwriteQuestionFor(nullptr)("/a")), int(TOverwriteAnswer::NoToAll));
    AnswerNextBox(QMessageBox::Cancel);
    QCOMPARE(int(AskOverwrite(nullptr, "/a")), int(TOverwriteAnswer::Cancel));
}

QTEST_MAIN(DialogsTest)
#include "Dialogs_qtest.moc"

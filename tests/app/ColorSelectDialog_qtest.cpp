#include "colordialog/ui/ColorSelectDialog.h"
#include "colordialog/ui/ColorSelectForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace pictor;

namespace {

TfrmColorSelectDlg* ShownForm()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TfrmColorSelectDlg*>(widget); form && form->isVisible()) return form;
    return nullptr;
}

// Runs the dialog and does `steps` on its form once the modal loop has shown it; steps must close it.
bool Run(TColorSelectDialog& dialog, const std::function<void(TfrmColorSelectDlg&)>& steps)
{
    QTimer::singleShot(0, [&] {
        if (TfrmColorSelectDlg* form = ShownForm()) steps(*form);
    });
    return dialog.Execute();
}

template <class T>
T* Control(TfrmColorSelectDlg& form, const char* name)
{
    return form.findChild<T*>(name);
}

void Click(TfrmColorSelectDlg& form, const char* name) { Control<QAbstractButton>(form, name)->click(); }

void TypeHex(TfrmColorSelectDlg& form, const QString& text)
{
    auto* edtHex = Control<QLineEdit>(form, "edtHex");
    edtHex->clear();
    QTest::keyClicks(edtHex, text);
}

TColorSelectDialog* Preset(QObject* parent)
{
    auto* dialog = new TColorSelectDialog(parent);
    dialog->SetCustomColors(0, RGB(255, 0, 0));
    dialog->SetCustomColors(3, RGB(255, 255, 0));
    dialog->SetCustomColors(28, RGB(1, 1, 1));  // out of range: ignored
    dialog->SetColor(RGB(10, 20, 30));
    return dialog;
}

} // namespace

class TColorSelectDialogTest : public QObject {
    Q_OBJECT

private slots:
    void cancelLeavesColourOptionAndPalette()
    {
        TColorSelectDialog* dialog = Preset(this);
        const TPaletteCells before = dialog->CustomColors();
        QCOMPARE(before[27], TColor(0));
        TColor edited = 0;
        const bool ok = Run(*dialog, [&](TfrmColorSelectDlg& form) {
            TypeHex(form, "#00ff80");
            Click(form, "cbUseSafeColor");
            edited = form.Model().Cells()[27];
            Click(form, "btnCancel");
        });
        QVERIFY(!ok);
        // The option recomputes from H 150, S 255, V 255, which gives (0, 255, 127) before snapping.
        QCOMPARE(edited, RGB(0, 255, 102));
        QCOMPARE(dialog->Color(), RGB(10, 20, 30));
        QVERIFY(!dialog->UseWebSafeColor());
        QVERIFY(dialog->CustomColors() == before);
    }

    void okTakesColourOptionAndPaletteIntoTheNextRun()
    {
        TColorSelectDialog* dialog = Preset(this);
        QString red, hex;
        QVERIFY(Run(*dialog, [&](TfrmColorSelectDlg& form) {
            TypeHex(form, "#00ff80");
            red = Control<QLineEdit>(form, "edtR")->text();
            Click(form, "btnOK");
        }));
        QCOMPARE(red, QString("0"));
        QCOMPARE(dialog->Color(), RGB(0, 255, 128));
        QCOMPARE(dialog->CustomColors()[27], RGB(0, 255, 128));
        QCOMPARE(dialog->CustomColors()[0], RGB(255, 0, 0));

        int selected = -1;
        QVERIFY(Run(*dialog, [&](TfrmColorSelectDlg& form) {
            selected = form.Model().SelectedCell();
            hex = Control<QLineEdit>(form, "edtHex")->text();
            Click(form, "cbUseSafeColor");
            Click(form, "btnOK");
        }));
        QCOMPARE(selected, 27);
        QCOMPARE(hex, QString("#00FF80"));
        QVERIFY(dialog->UseWebSafeColor());
        QCOMPARE(dialog->Color(), RGB(0, 255, 102));
        QCOMPARE(dialog->CustomColors()[27], RGB(0, 255, 102));

        bool shownChecked = false;
        QVERIFY(Run(*dialog, [&](TfrmColorSelectDlg& form) {
            shownChecked = Control<QCheckBox>(form, "cbUseSafeColor")->isChecked();
            Click(form, "SpeedButtonEX4");
            Click(form, "btnOK");
        }));
        QVERIFY(shownChecked);
        QCOMPARE(dialog->Color(), RGB(255, 255, 0));
    }

    void hexFieldRefusesOtherCharacters()
    {
        TColorSelectDialog* dialog = Preset(this);
        QString text;
        Run(*dialog, [&](TfrmColorSelectDlg& form) {
            TypeHex(form, "#aGg1 z");
            text = Control<QLineEdit>(form, "edtHex")->text();
            Click(form, "btnCancel");
        });
        QCOMPARE(text, QString("#a1"));
    }

    void pressInTheBoxSetsColourSwatchAndFields()
    {
        TColorSelectDialog* dialog = Preset(this);
        dialog->SetColor(RGB(40, 80, 120));  // hue 210
        QColor swatch;
        QString hex;
        QVERIFY(Run(*dialog, [&](TfrmColorSelectDlg& form) {
            QTest::mousePress(form.findChild<QWidget*>("imgColorBox"), Qt::LeftButton, {}, QPoint(255, 0));
            swatch = Control<QFrame>(form, "Shape1")->palette().color(QPalette::Window);
            hex = Control<QLineEdit>(form, "edtHex")->text();
            Click(form, "btnOK");
        }));
        QCOMPARE(dialog->Color(), RGB(0, 127, 255));
        QCOMPARE(swatch, QColor(0, 127, 255));
        QCOMPARE(hex, QString("#007FFF"));
    }
};

QTEST_MAIN(TColorSelectDialogTest)
#include "ColorSelectDialog_qtest.moc"

#include "MainWindowTesting.h"
#include "app/ContrastDialog.h"
#include "app/MainWindow.h"
#include "app/PreviewContrast.h"
#include "document/HtmlStructure.h"

#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

using namespace pictor;

namespace {

// One text below AA (4.47) and one just above it (4.68) that an inversion pushes below.
const char* const Page = "<html><body><p style=\"color:#777;background:#fff\">low</p>"
                         "<p style=\"color:#000;background:#777\">good</p></body></html>";

// The rows of the contrast dialog as text, opening it from the menu; `steps` then acts on it.
QStringList ContrastRows(TfrmMain& window, const std::function<void(QTreeWidget&)>& steps = {})
{
    QStringList rows;
    TModalAnswerer<TfrmContrast> answer([&](TfrmContrast& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>("lvContrast");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows << QStringList{item->text(0), item->background(1).color().name(), item->background(2).color().name(),
                                item->text(3), item->text(4)}.join(' ');
        }
        if (steps) steps(*list);
        dialog.reject();
    });
    Named(window, "alContrastCheck")->trigger();
    if (answer.Count != 1) rows << "the dialog did not come up once";
    return rows;
}

} // namespace

// The contrast check of the preview, its dialog and its warning after a change.
class ContrastTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogListsTheTextsBelowAAAndAFallIsReported()
    {
        TTestFolders folders;
        TfrmMain window({WriteFile(folders.Site, "index.html", Page)});
        QTRY_VERIFY_WITH_TIMEOUT(PreviewTexts(window.Web()).size() == 2, 20000);
        QCOMPARE(ContrastRows(window), QStringList{"low #777777 #ffffff - 4.47"});
        auto* hint = Named<QLabel>(window, "StatusPanel2");
        QVERIFY(hint->text().isEmpty());

        Named(window, "alInverse")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(hint->text(), QString("コントラストが低い要素があります"), 20000);

        Named(window, "alSelectInverse")->trigger();  // nothing ticked
        const QStringList rows = ContrastRows(window, [](QTreeWidget& list) {
            list.setCurrentItem(list.topLevelItem(0));
            emit list.itemDoubleClicked(list.topLevelItem(0), 0);
        });
        QCOMPARE(rows, QStringList{"good #ffffff #888888 4.68 3.54"});
        QStringList ticked;
        for (const TColorRecord& record : window.Document().Page.Colors)
            if (record.Checked) ticked << QString::fromStdString(record.Text);
        QCOMPARE(ticked, QStringList{"#FFFFFF"});
    }
};

int main(int argc, char** argv)
{
    return RunWindowTest<ContrastTest>(argc, argv);
}

#include "Contrast_qtest.moc"

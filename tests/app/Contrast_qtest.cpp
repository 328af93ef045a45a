#include "MainWindowTesting.h"
#include "app/ContrastDialog.h"
#include "app/MainWindow.h"
#include "app/PreviewColorSource.h"
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

void DoubleClick(QTreeWidget& list, int row)
{
    list.setCurrentItem(list.topLevelItem(row));
    emit list.itemDoubleClicked(list.topLevelItem(row), 0);
}

// Ticked colours as "file:text at its position".
QStringList Ticked(TfrmMain& window)
{
    QStringList ticked;
    const THtmlStructure& doc = window.Document();
    for (int tab = 0; tab < doc.FileCount(); ++tab)
        for (const TColorRecord& record : doc.Elements(tab).Colors)
            if (record.Checked)
                ticked << QString("%1:%2 at %3").arg(tab).arg(QString::fromStdString(record.Text)).arg(record.SourcePos);
    return ticked;
}

// One element of the page per way of giving it its colour, each the same grey as the others.
const char* const CascadePage =
    "<html><head><link rel=\"stylesheet\" href=\"s.css\">"
    "<style>.imp{color:#777 !important} .late{color:#777} .specific{color:#777} p{color:#777} .anc{color:#777}</style>"
    "</head><body text=\"#777\" link=\"#777\">"
    "<p class=\"sheet\">sheet</p><p class=\"imp late\">imp</p><p class=\"specific\">specific</p>"
    "<div style=\"color:#777\">style</div><div class=\"anc\"><span>inherited</span></div>"
    "<font color=\"#777\">font</font><span>text</span><a href=\"x.html\">link</a><mark>mark</mark>"
    "<div class=\"media\">media</div></body></html>";
const char* const CascadeSheet =
    ".sheet{color:#777} p.x{color:#777} @media screen{.media{color:#777}} @media print{.media{color:#777}}";

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
        const QStringList rows = ContrastRows(window, [](QTreeWidget& list) { DoubleClick(list, 0); });
        QCOMPARE(rows, QStringList{"good #ffffff #888888 4.68 3.54"});
        QCOMPARE(Ticked(window), QStringList{"0:#FFFFFF at 73"});

        Named(window, "alUndo")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(hint->text().isEmpty(), 20000);
    }

    void aDoubleClickTicksTheOccurrenceThatGivesTheColourNotItsTwins()
    {
        TTestFolders folders;
        TfrmMain window({WriteFile(folders.Site, "index.html",
                                   "<style>.low{color:#777} p{color:#777}</style><p class=\"low\">low</p>"
                                   "<div style=\"color:#777\">div</div><span style=\"background:#222\">dark</span>")});
        QTRY_VERIFY_WITH_TIMEOUT(PreviewTexts(window.Web()).size() == 3, 20000);
        Named(window, "alSelectInverse")->trigger();
        auto* hint = Named<QLabel>(window, "StatusPanel2");
        QString hintForTheBrowsersColour;
        const QStringList rows = ContrastRows(window, [&](QTreeWidget& list) {
            DoubleClick(list, 0);
            hintForTheBrowsersColour = hint->text();
            DoubleClick(list, 1);
        });
        QCOMPARE(rows.value(0).left(4), QString("dark"));
        QCOMPARE(hintForTheBrowsersColour, QString("この文字色を与える色は一覧にありません"));
        QCOMPARE(Ticked(window), QStringList{"0:#777 at 18"});
        QVERIFY(hint->text().isEmpty());
    }

    // The cascade as the browser runs it: where each element's colour is declared.
    void eachElementsColourIsTracedToItsDeclaration()
    {
        TTestFolders folders;
        WriteFile(folders.Site, "s.css", CascadeSheet);
        TfrmMain window({WriteFile(folders.Site, "index.html", CascadePage)});
        QTRY_VERIFY_WITH_TIMEOUT(PreviewTexts(window.Web()).size() == 10, 20000);
        const THtmlStructure& doc = window.Document();
        struct {
            const char* Path;
            int Tab;
            std::string Before;  // what stands just before the colour, or nothing: not a record
        } const cases[] = {
            {"1/0", 1, ".sheet{color:"},
            {"1/1", 0, ".imp{color:"},  // !important beats a later rule
            {"1/2", 0, ".specific{color:"},  // specificity beats order
            {"1/3", 0, "<div style=\"color:"},
            {"1/4/0", 0, ".anc{color:"},  // inherited from an ancestor
            {"1/5", 0, "<font color=\""},
            {"1/6", 0, "text=\""},
            {"1/7", 0, "link=\""},
            {"1/8", 0, ""},  // the browser's own colour
            {"1/9", 1, "screen{.media{color:"},  // the rule of a medium that applies
        };
        for (const auto& c : cases) {
            QStringList expected;
            if (!c.Before.empty()) {
                const TElements& file = doc.Elements(c.Tab);
                const size_t pos = file.Text.find(c.Before) + c.Before.size();
                for (size_t row = 0; row < file.Colors.size(); ++row)
                    if (file.Colors[row].SourcePos == pos) expected << QString("%1:%2").arg(c.Tab).arg(row);
                QCOMPARE(expected.size(), 1);
            }
            QStringList found;
            if (const auto at = RecordOfSource(doc, ColorSourceOf(window.Web(), c.Path)))
                found << QString("%1:%2").arg(at->Tab).arg(at->Row);
            QVERIFY2(found == expected, qPrintable(QString("%1: %2").arg(c.Path, found.join(' '))));
        }
    }
};

int main(int argc, char** argv)
{
    return RunWindowTest<ContrastTest>(argc, argv);
}

#include "Contrast_qtest.moc"

#include "MainWindowTesting.h"
#include "app/ContrastDialog.h"
#include "app/MainWindow.h"
#include "app/PreviewColorSource.h"
#include "app/WebBrowser.h"
#include "document/HtmlStructure.h"
#include "widgets/MyCheckListBox.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QWebEngineView>
#include <QtTest>

using namespace pictor;

namespace {

// One text below AA (4.47) and one just above it (4.68) that an inversion pushes below.
const char* const Page = "<html><body><p style=\"color:#777;background:#fff\">low</p>"
                         "<p style=\"color:#000;background:#777\">good</p></body></html>";

// The rows of the contrast dialog as text, opening it from the menu; `steps` then acts on it.
QStringList ContrastRows(TfrmMain& window, const std::function<void(QTreeWidget&)>& steps = {})
{
    Named(window, "alContrastCheck")->trigger();
    auto* dialog = window.findChild<TfrmContrast*>();
    if (!dialog || !dialog->isVisible() || dialog->isModal()) return {"the dialog did not come up beside the window"};
    QStringList rows;
    auto* list = dialog->findChild<QTreeWidget*>("lvContrast");
    // Where the colours are declared comes from the preview after the rows.
    QTest::qWaitFor([&] { return list->topLevelItemCount() == 0 || !list->topLevelItem(0)->text(5).isEmpty(); }, 20000);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList columns;
        for (int column = 0; column < item->columnCount(); ++column) columns << item->text(column);
        rows << columns.join(' ');
    }
    if (steps) steps(*list);
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

// Shows the page and waits until it has loaded.
void Show(TWebBrowser& browser, const QString& page)
{
    QSignalSpy loaded(browser.View(), &QWebEngineView::loadFinished);
    browser.Navigate(page);
    QVERIFY(loaded.wait(RenderWait));
}

// The declaration that gives the page's first element its colour or its background, as the script finds
// it: "rule p", "rule p in imported.css", "style color:red", "none"; then the colour the browser gave it.
QString Traced(TWebBrowser& browser, bool background)
{
    const QVariantMap answer = Evaluate(browser, ColorSourcesScript({{"1/0", background}})).toList().value(0).toMap();
    QString found = answer.value("kind").toString();
    const QVariantList candidates = answer.value("candidates").toList();
    const int index = answer.value("index").toInt();
    if (index >= 0 && index < candidates.size()) found += ' ' + candidates[index].toString();
    const QString sheet = answer.value("sheet").toString();
    if (!sheet.isEmpty()) found += " in " + QUrl(sheet).fileName();
    const QVariantList rgb = answer.value("color").toList();
    if (rgb.size() >= 3) found += QString(" %1,%2,%3").arg(rgb[0].toInt()).arg(rgb[1].toInt()).arg(rgb[2].toInt());
    return found;
}

} // namespace

// The contrast check of the preview, its dialog and its warning after a change.
class ContrastTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogListsTheTextsBelowAAAndAFallIsReported()
    {
        TTestFolders folders;
        TfrmMain window;
        QVERIFY(OpenShown(window, WriteFile(folders.Site, "index.html", Page)));
        QCOMPARE(ContrastRows(window),
                 QStringList{"low #777777 #FFFFFF - 4.47 index.html: style 属性 index.html: style 属性"});
        auto* hint = Named<QLabel>(window, "StatusPanel2");
        QVERIFY(hint->text().isEmpty());

        // Left open, the dialog shows the rows of each change once the preview has it.
        Named(window, "alContrastCheck")->trigger();
        auto* open = window.findChild<TfrmContrast*>()->findChild<QTreeWidget*>("lvContrast");
        Named(window, "alInverse")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(hint->text(), QString("コントラストが低い要素があります"), RenderWait);
        QCOMPARE(open->topLevelItemCount(), 1);
        QCOMPARE(open->topLevelItem(0)->text(0), QString("good"));

        Named(window, "alSelectInverse")->trigger();  // nothing ticked
        const QStringList rows = ContrastRows(window, [](QTreeWidget& list) { DoubleClick(list, 0); });
        QCOMPARE(rows, QStringList{"good #FFFFFF #888888 4.68 3.54 index.html: style 属性 index.html: style 属性"});
        // The invert moved both colours: the text's own occurrence is ticked, and every occurrence of the
        // background's colour (the first one shown in its list).
        QCOMPARE(Ticked(window), (QStringList{"0:#888888 at 28", "0:#FFFFFF at 73", "0:#888888 at 89"}));
        QCOMPARE(Named<TMyCheckListBox>(window, "clbColorList")->currentRow(), 2);

        Named(window, "alUndo")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(hint->text().isEmpty(), RenderWait);
    }

    void aDoubleClickTicksTheOccurrenceThatGivesTheColourNotItsTwins()
    {
        TTestFolders folders;
        TfrmMain window;
        QVERIFY(OpenShown(window, WriteFile(folders.Site, "index.html",
                                            "<style>.low{color:#777} p{color:#777}</style><p class=\"low\">low</p>"
                                            "<div style=\"font-family:&quot;A&eacute;&quot;;color:#777\">div</div>"
                                            "<span style=\"background:#222\">dark</span>")));
        Named(window, "alSelectInverse")->trigger();
        auto* hint = Named<QLabel>(window, "StatusPanel2");
        QString hintForTheBrowsersColour;
        const QStringList rows = ContrastRows(window, [&](QTreeWidget& list) {
            DoubleClick(list, 0);
            hintForTheBrowsersColour = hint->text();
            DoubleClick(list, 1);
            DoubleClick(list, 2);
        });
        QCOMPARE(rows.value(0).left(4), QString("dark"));
        // The browser's own text colour and the page's white are declared nowhere.
        QVERIFY2(rows.value(0).endsWith(" - index.html: style 属性"), qPrintable(rows.value(0)));
        QVERIFY2(rows.filter(QRegularExpression("^low .* index.html: .low -$")).size() == 1, qPrintable(rows.join('\n')));
        QCOMPARE(hintForTheBrowsersColour, QString("この文字色を与える色は一覧にありません"));
        // The div's style attribute is matched as the browser reads its character references.
        QCOMPARE(Ticked(window), (QStringList{"0:#777 at 18", "0:#777 at 119"}));
        QVERIFY(hint->text().isEmpty());
    }

    // Each page's first element is <p id="t" class="a b">; the colours tell which declaration the browser
    // took, so that the table is checked against the browser as well as the script.
    void theScriptRunsTheCascadeAsTheBrowserDoes()
    {
        const QString many = QString(".a").repeated(1000);
        struct {
            const char* Name;
            QString Style;
            const char* Attribute;  // the style attribute, if any
            const char* Expected;
            bool Background = false;
        } const cases[] = {
            {"an id beats any number of classes", "#t{color:red} " + many + "{color:blue}", "", "rule #t 255,0,0"},
            {"equal specificity: the later rule", ".a{color:red} .b{color:blue}", "", "rule .b 0,0,255"},
            {"higher specificity: the earlier rule", "p.a{color:red} .a{color:blue}", "", "rule p.a 255,0,0"},
            {":is() counts its most specific argument", ":is(#t, .x){color:red} .a.b{color:blue}", "",
             "rule :is(#t, .x) 255,0,0"},
            {":where() counts nothing", "p{color:blue} :where(#t){color:red}", "", "rule p 0,0,255"},
            {":not() counts its most specific argument", "p:not(.x, #y){color:red} .a.b{color:blue}", "",
             "rule p:not(.x, #y) 255,0,0"},
            {"the later layer", "@layer one, two; @layer two{p{color:red}} @layer one{#t{color:blue}}", "",
             "rule p 255,0,0"},
            {"no layer beats every layer", "@layer one{#t{color:red}} p{color:blue}", "", "rule p 0,0,255"},
            {"a layer's own rules beat its inner layers'", "@layer one{p{color:red} @layer two{#t{color:blue}}}", "",
             "rule p 255,0,0"},
            {"!important: the earlier layer, and any layer before none",
             "@layer one, two; @layer one{p{color:red !important}} @layer two{p{color:blue !important}}"
             " p{color:green !important}",
             "", "rule p 255,0,0"},
            {"an imported sheet's layer", "@import url(imported.css) layer(base); p{color:blue}", "", "rule p 0,0,255"},
            {"an imported sheet without one", "@import url(imported.css); p{color:blue}", "",
             "rule #t in imported.css 255,0,0"},
            {"@media that holds, not one that does not",
             "@media print{#t.a{color:green}} @media screen{#t{color:red}} p{color:blue}", "", "rule #t 255,0,0"},
            {"@container without a container holds nowhere", "@container (min-width: 1px){#t{color:red}} p{color:blue}",
             "", "rule p 0,0,255"},
            {"!important beats specificity", "#t{color:red} p{color:blue !important}", "", "rule p 0,0,255"},
            {"a style attribute beats rules", "#t{color:red}", "color:blue", "style color:blue 0,0,255"},
            {"an !important rule beats a style attribute", "p{color:red !important}", "color:blue", "rule p 255,0,0"},
            {"!important in a style attribute beats !important rules", "@layer one{p{color:red !important}}",
             "color:blue !important", "style color:blue !important 0,0,255"},
            {"the background of the first ancestor that paints one", "body{background:red} p{color:blue}", "",
             "rule body 255,0,0", true},
            {"the background shorthand, !important", "p{background:red !important} #t{background-color:blue}", "",
             "rule p 255,0,0", true},
            {"a background in a style attribute", "p{background:red}", "background:blue",
             "style background:blue 0,0,255", true},
        };
        TTestFolders folders;
        WriteFile(folders.Site, "imported.css", "#t{color:red}");
        TWebBrowser browser;
        QStringList wrong;
        for (const auto& c : cases) {
            const QString style = *c.Attribute ? QString(" style=\"%1\"").arg(c.Attribute) : QString();
            Show(browser, WriteFile(folders.Site, "index.html",
                                    QString("<html><head><style>%1</style></head><body><p id=\"t\" class=\"a b\"%2>"
                                            "text</p></body></html>")
                                        .arg(c.Style, style)
                                        .toUtf8()));
            const QString traced = Traced(browser, c.Background);
            if (traced != c.Expected) wrong << QString("%1: %2").arg(c.Name, traced.left(80));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    }
};

int main(int argc, char** argv)
{
    return RunWindowTest<ContrastTest>(argc, argv);
}

#include "Contrast_qtest.moc"

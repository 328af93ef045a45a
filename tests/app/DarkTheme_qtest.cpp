#include "MainWindowTesting.h"
#include "adjust/DarkColors.h"
#include "adjust/ui/DarkDialog.h"
#include "app/BrowserScript.h"
#include "app/MainWindow.h"
#include "document/HtmlStructure.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

using namespace pictor;

namespace {

const char* const Page = "<html><head><style>body{background-color:#ffffff}</style></head>"
                         "<body><font color=\"red\">red</font></body></html>";

QString BodyBackground(TfrmMain& window)
{
    return ScriptAnswer(window.Web(), "document.body ? getComputedStyle(document.body).backgroundColor : ''").toString();
}

} // namespace

// The dark theme command, with and without following the reader, and the preview in either scheme.
class DarkThemeTest : public QObject {
    Q_OBJECT
private slots:
    void darkThemeRewritesOrFollowsTheReader()
    {
        TTestFolders folders;
        const QString path = WriteFile(folders.Site, "index.html", Page);
        TfrmMain window({path});
        // Each change loads the page's copy again: the checks read the page once its load is done.
        QSignalSpy shown(&window, &TfrmMain::PreviewShown);
        const auto waitForPreview = [&] {
            QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 20000);
            shown.clear();
        };
        waitForPreview();
        const std::string dark = ColorToUpperCode(DarkColor(RGB(255, 255, 255), {}));
        {
            TModalAnswerer<TfrmDark> answer([](TfrmDark& dialog) { dialog.findChild<QPushButton*>("btnOK")->click(); });
            Named(window, "alDark")->trigger();
            QCOMPARE(answer.Count, 1);
        }
        waitForPreview();
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[0].Text), QString::fromStdString(dark));
        QVERIFY(window.Document().Page.Colors[1].Text != "red");

        Named(window, "alUndo")->trigger();
        waitForPreview();
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[0].Text), QString("#ffffff"));
        {
            TModalAnswerer<TfrmDark> answer([](TfrmDark& dialog) {
                dialog.findChild<QCheckBox*>("chbFollowSystem")->setChecked(true);
                dialog.findChild<QPushButton*>("btnOK")->click();
            });
            Named(window, "alDark")->trigger();
            QCOMPARE(answer.Count, 1);
        }
        // Not rewritten: the dark colour stands in the scheme's block of the working copy.
        QCOMPARE(QString::fromStdString(window.Document().Page.Colors[0].Text), QString("#ffffff"));
        const QByteArray copy = FileBytes(QString::fromStdString(window.Document().WorkFileName()));
        QVERIFY(copy.contains("@media (prefers-color-scheme: dark) {\nbody { background-color:" + QByteArray(dark.c_str())));
        QVERIFY(copy.contains("<meta name=\"color-scheme\" content=\"light dark\">"));

        waitForPreview();
        QCOMPARE(BodyBackground(window), QString("rgb(255, 255, 255)"));
        Named(window, "mnuDarkPreview")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(BodyBackground(window), QString("rgb(18, 18, 18)"), 20000);
        Named(window, "mnuDarkPreview")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(BodyBackground(window), QString("rgb(255, 255, 255)"), 20000);
    }
};

int main(int argc, char** argv)
{
    return RunWindowTest<DarkThemeTest>(argc, argv);
}

#include "DarkTheme_qtest.moc"

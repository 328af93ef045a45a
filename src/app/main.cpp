#include "app/BenchSteps.h"
#include "app/MainWindow.h"
#include "app/QtTranslations.h"
#include "base/Leftovers.h"
#include "base/MemoryPolicy.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    pictor::RemoveLeftoversOnInterrupt("pictor");
    pictor::KeepFreedMemoryForReuse();
    // Qt WebEngine shares its GL contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pictor");
    QTranslator qtTexts;
    TQtTextGaps qtTextGaps;
    if (InstallQtTranslations(qtTexts)) QCoreApplication::installTranslator(&qtTextGaps);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TfrmMain window(arguments);
    window.show();
    // The bench's scripted steps on the page it names (bench/window-steps.sh).
    if (const QString page = qEnvironmentVariable("PICTOR_BENCH_STEPS"); !page.isEmpty())
        QTimer::singleShot(0, &window, [&window, page] { RunBenchSteps(window, page); });
    if (const QString site = qEnvironmentVariable("PICTOR_BENCH_SITE"); !site.isEmpty())
        QTimer::singleShot(0, &window, [&window, site] { RunSiteBenchSteps(window, site); });
    return app.exec();
}

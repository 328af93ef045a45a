#include "app/MainWindow.h"
#include "base/Leftovers.h"
#include "base/MemoryPolicy.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    pictor::RemoveLeftoversOnInterrupt();
    pictor::KeepFreedMemoryForReuse();
    // Qt WebEngine shares its GL contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pictor");
    // Japanese captions on the standard buttons, where Qt's own translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TfrmMain window(arguments);
    window.show();
    return app.exec();
}

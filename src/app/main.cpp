#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pictor");
    QLabel placeholder("Pictor");
    placeholder.setWindowTitle("Pictor");
    placeholder.resize(800, 600);
    placeholder.show();
    return app.exec();
}

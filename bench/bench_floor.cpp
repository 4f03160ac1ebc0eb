// The floor of the start-up figures: a main window with one label, built
// with the same Qt, started and shown the way the calculator is.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Floor")));
    window.resize(687, 512);
    window.show();
    return QApplication::exec();
}

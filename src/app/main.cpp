#include <QApplication>
#include <QMainWindow>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Qt sets the numeric locale from the environment; every number the program reads or
    // writes uses the "." decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");

    QMainWindow mainWindow;
    mainWindow.setWindowTitle(QStringLiteral("Oxidarium"));
    mainWindow.resize(800, 600);
    mainWindow.show();
    return app.exec();
}

// The smallest Qt program that shows a main window: what the toolkit alone
// costs to start, beside which the program's own start-up is measured.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1300, 800);
    window.show();
    return app.exec();
}

// The yardstick for the program's start-up: a bare Qt main window of the same
// client size, shown and left in the event loop, with nothing else in it.
#include <QApplication>
#include <QMainWindow>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare window");
    auto* client = new QWidget;
    client->setFixedSize(762, 380);
    window.setCentralWidget(client);
    window.show();
    return app.exec();
}

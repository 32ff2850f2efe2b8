// The yardstick for the program's start-up: a bare Qt main window of the same
// client size, shown and left in the event loop.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>
#include <cstring>

// With --text, a menu bar and a line of text too, so that the benchmark tells
// the first use of fonts (which any window with text pays) from what the
// program itself adds.
int main(int argc, char** argv) {
    const bool withText = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare window");
    QWidget* client = withText ? new QLabel("Select the cell to view testing details.") : new QWidget;
    client->setFixedSize(762, 380);
    window.setCentralWidget(client);
    if (withText) {
        window.menuBar()->addMenu("File");
        window.menuBar()->addMenu("Options");
        window.menuBar()->addMenu("Help");
    }
    window.show();
    return app.exec();
}

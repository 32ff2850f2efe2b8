// The program's entry: the whole start-up (title, main window with its first
// load, hidden about box, event loop) lives in the window library.
#include "ui/startup.h"

int main(int argc, char** argv) { return vantrel::ui::Run(argc, argv); }

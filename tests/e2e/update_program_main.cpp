// The program with a loopback data server compiled in, for the end-to-end
// update test; otherwise the same start-up as the real program.
#include "ui/startup.h"

int main(int argc, char** argv) { return vantrel::ui::Run(argc, argv, VANTREL_E2E_DATA_SERVER); }

// The program's entry: the program as it is wired in program.cpp, with the
// built-in data server.
#include "app/program.h"
#include "update/data_server.h"

int main(int argc, char** argv) { return vantrel::RunProgram(argc, argv, update::kDataServer); }

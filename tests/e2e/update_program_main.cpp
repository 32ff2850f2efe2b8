// The program with a loopback data server, for the end-to-end update test;
// otherwise the same start-up as the real program. The test's server listens
// on a port the system picks, so the address comes from the environment.
#include <cstdio>
#include <cstdlib>

#include "app/program.h"

int main(int argc, char** argv) {
    const char* server = std::getenv("VANTREL_E2E_DATA_SERVER");
    if (!server || !*server) {
        std::fprintf(stderr, "VANTREL_E2E_DATA_SERVER is not set (http://127.0.0.1:PORT)\n");
        return 2;
    }
    return vantrel::RunProgram(argc, argv, server);
}

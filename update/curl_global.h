#pragma once

namespace update {

// Initialises libcurl once per process. The program calls it at start, before
// any other thread runs; the worker calls it too, so forgetting is harmless.
// Returns false when libcurl could not be initialised.
bool GlobalInit();

}  // namespace update

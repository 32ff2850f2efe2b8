#pragma once

namespace update {

// Initialises libcurl once per process, when the HTTP module creates its first
// client (on a worker's thread: this libcurl's set-up is thread-safe).
// Returns false when libcurl could not be initialised.
bool GlobalInit();

}  // namespace update

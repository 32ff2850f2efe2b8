#pragma once
// libcurl's process-wide set-up. Built into the HTTP module only.

namespace update {

// Initialises libcurl once per process, when the HTTP module creates its first
// client (on a worker's thread: this libcurl's set-up is thread-safe), and
// makes the process ignore SIGPIPE. Returns false when either fails.
bool GlobalInit();

}  // namespace update

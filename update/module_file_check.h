#pragma once
// The HTTP module is whole before it is loaded. The loader maps the module's
// segments straight from the file; a file cut short (a full disk, a broken
// copy) still maps, and the first touch of a page past its end kills the
// program with SIGBUS. So the file is read first: an ELF shared object of this
// machine's class whose program headers, and every segment they load, lie
// within the file.
#include <optional>
#include <string>

#include "update/failure.h"

namespace update {

// Nothing when the file at path covers all it would map, or cannot be opened
// (the loader then says why in its own words); otherwise a ModuleDamaged
// failure naming path. Never blocks: a FIFO at path is damaged, not waited on.
std::optional<Failure> CheckModuleIsWhole(const std::string& path);

}  // namespace update

#pragma once
// The HTTP module checked whole before it is loaded: an ELF shared object of
// this machine's class whose program headers, and every segment they load, lie
// within the file.
#include <optional>
#include <string>

#include "update/failure.h"

namespace update {

// The loader maps the segments straight from the file, and a file cut short (a
// full disk, a broken copy) still maps: the first touch past its end is SIGBUS.
// Nothing when the file at path covers all it would map, or cannot be opened
// (the loader then says why in its own words); otherwise a ModuleDamaged
// failure naming path. Never blocks: a FIFO at path is damaged, not waited on.
std::optional<Failure> CheckModuleIsWhole(const std::string& path);

}  // namespace update

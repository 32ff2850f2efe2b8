#pragma once
// `vantrel-chart sign -s SECRET.key [-p PUBLIC.pub] [--served SERVED]
// [--force] DIR`: signs the three served files as one release with minisign.
#include <iosfwd>
#include <string>

#include "publisher/arguments.h"

namespace publisher {

// minisign runs once a file, with one trusted comment each
// ("timestamp:T<TAB>file:NAME", T taken once); the key's password, when it
// has one, is asked for once and given to each run. The signatures are
// written under other names first and put in place together: a failure, or
// a stop signal, leaves the signatures there were, and no file of its own.
// A chart check finds an error in is not signed, unless forced, nor a
// release older than the served one; with a public key the signatures are
// then checked as `check --public-key` checks them.
// 0: signed (and, with -p, checked); 1: not signed (errors in the chart, an
// older release, no password, or minisign failed) or the check found an
// error; UsageError for what the command line names that cannot be used.
int RunSign(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace publisher

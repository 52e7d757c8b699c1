// The two informative runs of the program: a short usage text in Portuguese
// and English (--help) and the version line (--version). Both write console
// records like the dialogue's own texts and return 0 without asking anything.
#ifndef DOSMO_APP_USAGE_H_
#define DOSMO_APP_USAGE_H_

#include <string_view>

namespace dosmo {

// The informative run an argument asks for, or nullptr when the argument is
// an ordinary one (the fallback report name).
int (*informativeRun(std::string_view argument))();

}  // namespace dosmo

#endif  // DOSMO_APP_USAGE_H_

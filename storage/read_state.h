// How a read of one of the program's files went. A file that is there but could
// not be read is never taken for an absent one, so it is never written over.
#pragma once

namespace tallyra {

enum class ReadState {
    Missing, // no such file: it reads as empty
    Read,
    Failed,  // there, but could not be read whole (held, no rights, not a regular file)
    Damaged, // read, but not what the program writes there (only where the content is checked)
};

} // namespace tallyra

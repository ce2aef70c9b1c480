#pragma once
// Deleting the user's files so that they can be restored whole.
#include <string>

namespace zep {

// Sends the file at `path` (a full path) to the Recycle Bin without a question
// or a message of the shell's; where the Recycle Bin can't take it, deletes it
// for good. Never throws; the outcome is not examined.
void RecycleFile(const std::string& path);

}  // namespace zep

#include "core/RecycleBin.h"

#include "core/FileSystem.h"

#include <windows.h>
#include <shellapi.h>

namespace zep {
namespace {

bool SendToRecycleBin(const std::string& path) {
    std::string from = path;
    from.append(2, '\0');  // the shell's list of paths ends with an empty one
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return ::SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

}  // namespace

void RecycleFile(const std::string& path) {
    // The shell would take "*" and "?" as wildcards, and a folder with all it
    // holds: only a path that names an existing file goes its way.
    if (!FileExists(path) || !SendToRecycleBin(path)) ::DeleteFileA(path.c_str());
}

}  // namespace zep

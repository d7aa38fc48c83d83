#include "document/file_layout.h"

namespace doc {

std::size_t lastFolderSeparator(std::string_view path) {
#ifdef _WIN32
    // "\" and "/" both separate folders, and ":" ends a drive ("C:OBJDAT.dat").
    return path.find_last_of("\\/:");
#else
    return path.find_last_of('/');
#endif
}

std::string namesFilePath(const std::string& dataPath) {
    // Only a "." in the last part of the path starts an extension.
    const auto lastSeparator = lastFolderSeparator(dataPath);
    const auto lastDot = dataPath.find_last_of('.');
    if (lastDot != std::string::npos &&
        (lastSeparator == std::string::npos || lastDot > lastSeparator))
        return dataPath.substr(0, lastDot) + ".nam";
    return dataPath + ".nam";
}

std::string folderOfPath(const std::string& path) {
    const auto lastSeparator = lastFolderSeparator(path);
    return lastSeparator == std::string::npos ? std::string() : path.substr(0, lastSeparator + 1);
}

std::string fileNameOf(const std::string& path) {
    const auto lastSeparator = lastFolderSeparator(path);
    return lastSeparator == std::string::npos ? path : path.substr(lastSeparator + 1);
}

} // namespace doc

#include "document/file_layout.h"

namespace doc {

std::string namesFilePath(const std::string& dataPath) {
    // Only a "." in the last part of the path starts an extension; only "/" separates folders
    // ("\\" and ":" are ordinary characters of a name here).
    const auto lastSeparator = dataPath.find_last_of('/');
    const auto lastDot = dataPath.find_last_of('.');
    if (lastDot != std::string::npos &&
        (lastSeparator == std::string::npos || lastDot > lastSeparator))
        return dataPath.substr(0, lastDot) + ".nam";
    return dataPath + ".nam";
}

std::string folderOfPath(const std::string& path) {
    const auto lastSeparator = path.find_last_of('/');
    return lastSeparator == std::string::npos ? std::string() : path.substr(0, lastSeparator + 1);
}

} // namespace doc

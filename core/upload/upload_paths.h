// Path texts of the upload: local file names and server directories.
#pragma once

#include <string>

namespace webquill {

// The part after the last backslash, else after the last slash; false when
// the path holds neither.
bool UploadFileNameOf(const std::string& path, std::string& name);
// A server directory as it follows the login directory: one leading
// separator dropped, ending in a slash; empty stays empty.
std::string ServerDirectoryForm(const std::string& path);
// What follows the first occurrence of `base` in `path` (one separator
// dropped from its front), else the whole path; one trailing separator dropped.
std::string RelativeServerPath(const std::string& base, const std::string& path);

}  // namespace webquill

// Enumerates the regular entries of one directory whose names match a wildcard pattern.
#pragma once

#include <functional>
#include <string>

namespace velmora::fs {

// Calls onName for every entry of dir whose name matches pattern, in natural name order
// (NaturalOrder), skipping names beginning with "." and directories (a link to a directory
// counts as one). Returns false with errno set when the directory cannot be opened.
bool ListMatchingFiles(const std::string& dir, const std::string& pattern,
                       const std::function<void(const std::string& name)>& onName);

bool DirectoryExists(const std::string& path);

} // namespace velmora::fs

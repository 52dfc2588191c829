// File-name helpers: trailing separator, extensions, going up a level, wildcard matching.
#pragma once

#include <string>
#include <string_view>

namespace velmora::fs {

// "/a/b" -> "/a/b/"; a path that already ends in "/" stays as is; "" stays "".
std::string IncludeTrailingPathDelimiter(std::string_view path);
// The extension from the last "." of the name part on, dot included; "" without a dot.
std::string ExtractFileExt(std::string_view name);
// The name without its extension.
std::string ChangeFileExtEmpty(std::string_view name);
// One level up: "/a/b" -> "/a", "/a" -> "/", "/" -> "/", "/a/b/" -> "/a".
std::string ParentPath(std::string_view path);

// Case-insensitive wildcard match: "*" any run (dots included), "?" one character, everything
// else itself. "*.*" matches every name, also names without a dot. Characters are code points
// of the UTF-8 name; case folding is Unicode simple folding.
bool MatchesMask(std::string_view name, std::string_view mask);

} // namespace velmora::fs

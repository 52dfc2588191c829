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

// path made absolute against currentDirectory without resolving any symbolic link: "." and
// empty components go, "name/.." goes unless name is a link (through a link ".." leads to the
// link target's parent, which only the file system knows). A path naming a folder ("/", "." or
// ".." at its end) keeps a trailing "/". "" stays "", and so does a relative path when the
// working directory is unknown ("").
std::string AbsolutePath(std::string_view path, std::string_view currentDirectory,
                         bool (*isSymbolicLink)(const std::string&));
bool IsSymbolicLink(const std::string& path);
// The working directory as the user reached it: $PWD when it names the same folder as "." (so
// the links the user went through stay), otherwise the physical path.
std::string CurrentDirectory();

// Case-insensitive wildcard match: "*" any run (dots included), "?" one character, everything
// else itself. "*.*" matches every name, also names without a dot. Characters are code points
// of the UTF-8 name; case folding is Unicode simple folding.
bool MatchesMask(std::string_view name, std::string_view mask);

} // namespace velmora::fs

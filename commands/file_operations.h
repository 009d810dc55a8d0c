#pragma once

#include <string_view>

namespace kelvo {

// The file operations of the file commands. Paths are Windows-1252 as the knowledge base
// gives them; each is found with ResolvePath ("\" a separator, parts found without case).
// None of them asks, shows progress or throws.

/// True when `name` matches the wildcard `pattern` ("*" any run, "?" one character) without
/// regard to case. A pattern ending in ".*" also matches a name without an extension, so
/// "*.*" matches every name.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

/// Copies `fromDir` to `toDir`, overwriting existing files. When the last part of `fromDir`
/// holds a wildcard, every matching file and folder of its folder is copied into `toDir`,
/// which is created when missing; a folder is copied with everything in it. Without one, a
/// file or folder is copied into `toDir` when that is an existing folder, else to `toDir`
/// itself (missing parent folders created). Returns false when the source does not exist,
/// nothing matches, a copy would land inside its own source, or any copy fails.
bool CopyDir(std::string_view fromDir, std::string_view toDir);

/// Deletes `file`: a file, or a folder with everything in it; with a wildcard in the last
/// part, every matching file and folder. Nothing goes to a wastebasket. Returns false when
/// nothing exists or matches, or any deletion fails.
bool DeleteFiles(std::string_view file);

/// Moves or renames the file or folder `from` to `to`; an existing `to` is never replaced.
/// A file is copied and removed where a rename cannot cross file systems. Returns false on
/// any failure.
bool MoveFileOrFolder(std::string_view from, std::string_view to);

}  // namespace kelvo

#pragma once

#include <string>

// Paths as a file dialog handles them: absolute, whole (no length limit),
// without "." or ".." parts and without a trailing "/" except for the root
// folder itself. Only the text is worked on; nothing here touches the file
// system except the two folder queries at the end.

// What a user typed in the file-name box, read against the folder shown:
// an absolute path stays, "~" or a leading "~/" means the home folder, and
// anything else is relative to `folder`.
std::string resolveTypedPath(const std::string& folder, const std::string& typed);

// The folder holding a path ("/" for "/" itself).
std::string parentFolder(const std::string& path);

// A name inside a folder.
std::string joinPath(const std::string& folder, const std::string& name);

// $HOME, or the password database's home folder when it is not set.
std::string homeFolder();

// The process's working folder, or "/" when it cannot be read.
std::string workingFolder();

// Kinds of what a path names, links followed (false when it does not exist).
bool isFolder(const std::string& path);
bool isRegularFile(const std::string& path);
bool pathExists(const std::string& path);

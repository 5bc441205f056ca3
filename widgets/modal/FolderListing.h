#pragma once

#include <string>
#include <vector>

// What a file dialog shows of a folder: its sub-folders and the files that
// match the chosen file type, each group in natural name order. Names that
// start with "." are left out, and so is everything that is neither a folder
// nor a regular file (sockets, pipes, dangling links), which no picture
// loader could read. Links count as what they point to.
struct FolderListing {
    bool readable = false; // false: the folder could not be opened for reading
    std::vector<std::string> folders;
    std::vector<std::string> files;
};

FolderListing listFolder(const std::string& folder, const std::string& pattern);

// Natural name order: runs of digits compare by their value ("img2" before
// "img10"), other bytes one by one with ASCII letters folded to lower case
// (multi-byte letters compare by code point, which is UTF-8's byte order).
// Names that tie this way fall back to plain byte order, so the order is
// total.
bool naturalNameLess(const std::string& a, const std::string& b);

// A file-type pattern such as "*.png": "*" stands for any run of bytes,
// ASCII letters match either case, and "*.*" takes every name (with or
// without a dot), as on the systems these filter texts come from.
bool nameMatchesPattern(const std::string& name, const std::string& pattern);

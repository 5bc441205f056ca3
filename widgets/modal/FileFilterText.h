#pragma once

#include <string>
#include <vector>

// The filter text of a file dialog: pairs of a display text and a pattern,
// each ended by ";", as in "PNG(*.png);*.png;JPEG(*.jpg);*.jpg;".
struct FileFilterEntry {
    std::string display; // "PNG(*.png)"
    std::string pattern; // "*.png"
};

// The pairs in order; a display text without its pattern is dropped.
std::vector<FileFilterEntry> splitFilterText(const std::string& filter);

// The extension a file-type text names: "JPEG(*.jpg)" gives "jpg"; empty
// when the text names none.
std::string typeExtension(const std::string& typeText);

// The file name a save dialog shows after the user picks another file type:
// an empty name becomes "名称未設定", the name's own extension goes and the
// type's extension is put in its place ("名称未設定.jpg"). A type that names
// no single extension ("*.*") leaves the name as it is.
std::string renamedForType(const std::string& name, const std::string& typeText);

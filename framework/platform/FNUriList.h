#pragma once

#include <string>
#include <vector>

// Local file paths named by a text/uri-list (the format of dropped files):
// one URI per line, lines ending in CR LF or LF, lines starting with '#'
// ignored. Only file: URIs of this machine count: "file:///path",
// "file://localhost/path" or "file://<localHost>/path". Percent escapes are
// decoded; a path is kept whole whatever its length. URIs of other schemes
// or hosts, and paths that would decode to a NUL byte, are left out.
std::vector<std::string> FNLocalPathsFromUriList(const std::string& uriList, const std::string& localHost);

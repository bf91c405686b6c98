// SPDX-License-Identifier: MIT
// The files and folders of a drag from a file manager: a text/uri-list of local file
// URLs, taken as the file system's bytes.
#pragma once

#include <string>
#include <vector>

class QByteArray;

// The local paths a text/uri-list names, in its order. Lines end in CRLF (a bare LF is
// taken too); a line starting with '#' is a comment. Only file URLs on this machine
// count (no host, or "localhost"); their paths are percent-decoded byte for byte, so a
// name that is not UTF-8 arrives with its exact bytes. A path holding a NUL byte names
// no file and is left out; a trailing '/' is dropped.
std::vector<std::string> LocalPathsOfUriList(const QByteArray& uriList);

// SPDX-License-Identifier: MIT
#include "app/DroppedItems.h"

#include <QByteArray>
#include <QList>

#include <utility>

namespace {
// The local path of one URI, or an empty string when it names none.
std::string LocalPathOf(QByteArray uri)
{
    // file:///p, file://localhost/p, or the short form file:/p.
    if (!uri.left(5).toLower().startsWith("file:"))
        return {};
    uri.remove(0, 5);
    if (uri.startsWith("//")) {
        const qsizetype slash = uri.indexOf('/', 2);
        if (slash < 0)
            return {};
        const QByteArray host = uri.mid(2, slash - 2).toLower();
        if (!host.isEmpty() && host != "localhost")
            return {};
        uri.remove(0, slash);
    }
    if (!uri.startsWith('/'))
        return {};
    // A query or fragment is not part of the path; a name holding '?' or '#' comes
    // percent-encoded.
    for (const char mark : { '?', '#' }) {
        const qsizetype end = uri.indexOf(mark);
        if (end >= 0)
            uri.truncate(end);
    }
    QByteArray path = QByteArray::fromPercentEncoding(uri);
    if (path.contains('\0'))
        return {};
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path.toStdString();
}
} // namespace

std::vector<std::string> LocalPathsOfUriList(const QByteArray& uriList)
{
    std::vector<std::string> paths;
    for (const QByteArray& line : uriList.split('\n')) {
        const QByteArray uri = line.trimmed();
        if (uri.isEmpty() || uri.startsWith('#'))
            continue;
        std::string path = LocalPathOf(uri);
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

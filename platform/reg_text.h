#pragma once
// The ".reg" text a hive file holds: its keys and typed values in memory, and the reading and
// writing of the text that regedit exports and imports. No file is touched here.

#include "platform/reg_hive.h"

#include <QList>
#include <QPair>
#include <QString>

#include <map>
#include <optional>

namespace reg_hive_detail {

// Keys are kept sorted and compared without regard to letter case, as the registry does.
QString sortKey(const QString &fullPath);
QString joinPath(const QString &root, const QString &path);
bool hasLineBreak(const QString &text);
// A full key path: parts separated by single backslashes, none empty, no line breaks.
bool isValidFullPath(QStringView path);

struct Key
{
    QString path; // full path, root name included, in the case it was first written
    QList<QPair<QString, RegValue>> values;

    qsizetype indexOf(const QString &name) const
    {
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (values[i].first.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }
};

struct Contents
{
    std::map<QString, Key> keys; // by sortKey()
    bool damaged = false; // the file exists but could not be used

    Key *find(const QString &fullPath)
    {
        const auto it = keys.find(sortKey(fullPath));
        return it == keys.end() ? nullptr : &it->second;
    }

    const Key *find(const QString &fullPath) const
    {
        const auto it = keys.find(sortKey(fullPath));
        return it == keys.end() ? nullptr : &it->second;
    }

    Key &ensure(const QString &fullPath)
    {
        Key &key = keys[sortKey(fullPath)];
        if (key.path.isEmpty())
            key.path = fullPath;
        return key;
    }

    void removeTree(const QString &fullPath)
    {
        const QString prefix = sortKey(fullPath);
        for (auto it = keys.begin(); it != keys.end();) {
            if (it->first == prefix || it->first.startsWith(prefix + QChar(1)))
                it = keys.erase(it);
            else
                ++it;
        }
    }
};


struct ParseError
{
    int line = 0;
    QString reason;
};

// Parses a whole file's text; on failure nothing of it is used (the caller treats the hive as
// empty).
std::optional<ParseError> parseHive(const QString &text, Contents &out);
// The file's text: the header, then each key with its values, in key order.
QString formatHive(const Contents &contents);

} // namespace reg_hive_detail

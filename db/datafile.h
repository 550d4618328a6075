#pragma once
// Writing a fresh data file. The program itself never creates tables; make-datafile and the
// tests use this to lay down the schema and the rows a new file starts with.

#include <QString>

namespace DataFile {

// Writes a new data file at path. Fails (with a reason) when the file exists already.
bool create(const QString &path, QString *error = nullptr);

// The connection text for a data file path: Data Source in single quotes, ' doubled. The
// connection makes it when it opens the path (CADODataBase::Open).
QString connectionString(const QString &path);

} // namespace DataFile

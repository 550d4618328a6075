#pragma once
// Error codes and the report text shared by the connection and the recordset.

#include <QString>
#include <QtGlobal>

namespace AdoError {

// Errors raised by the data-access layer itself (the engine's own codes are below 0x10000).
constexpr quint32 NoCurrentRecord = 0x800A0BCDu;
constexpr quint32 ItemNotFound = 0x800A0CC1u;
constexpr quint32 NotUpdatable = 0x800A0CB3u;
constexpr quint32 ObjectClosed = 0x800A0E78u;
constexpr quint32 TypeMismatch = 0x800A0D5Du;
constexpr quint32 InvalidArgument = 0x800A0BB9u;
constexpr quint32 ReadOnlyFile = 0x800A0CB5u;

// The meaning of a code: the known text, else "IDispatch error #n" or "Unknown error 0x...".
QString meaning(quint32 code);

// "<heading> Error\n\tCode = ...\n\tCode meaning = ...\n\tSource = ...\n\tDescription = ...\n"
QString report(const char *heading, quint32 code, const QString &source,
               const QString &description);

} // namespace AdoError

#pragma once
// Statements are fixed texts formatted with integers only; user text travels as values through
// the recordset, never inside a statement. sqlText() enforces that at compile time.

#include <QString>
#include <concepts>

template<typename... Numbers>
requires(std::integral<Numbers> &&...) QString sqlText(const char *format, Numbers... numbers)
{
    return QString::asprintf(format, numbers...);
}

// Table and column names come from the program's own constants; anything else is refused.
bool isPlainIdentifier(const QString &name);

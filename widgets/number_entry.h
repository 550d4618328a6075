#pragma once
// The money edits' number entry: what the edit shows for a value, and which texts read back as
// a number.

#include <QString>

#include <optional>

namespace NumberEntry {

// Shortest general form with at most six significant digits; a million and more in exponent
// form ("1e+06"), as the classic %g conversion writes it.
QString text(float value);

// The value of a decimal number text (optional sign, digits with at most one point, optional
// exponent; blanks around it are ignored). Anything else, an empty text and a comma as the
// decimal mark included, and values a float cannot hold give nothing: an emptied field is a
// mistake to point out, not a silent 0.
std::optional<float> read(const QString &text);

// The message shown when an edit's text does not read as a number.
QString refusal();

} // namespace NumberEntry

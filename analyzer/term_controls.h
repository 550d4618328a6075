#pragma once
// A term is entered as a number plus a "Months"/"Years" drop-down.

#include <cstdint>

class QComboBox;
class QLineEdit;

// Fills a drop-down with "Months" and "Years" (in that order).
void FillTermUnits(QComboBox &unit);

// Whole years show as years, anything else as months.
void ShowTermControls(std::int32_t months, QLineEdit &number, QComboBox &unit);

// The number read as the C library's atoi reads it (optional sign and leading digits, 0 when
// there are none), times 12 unless the first entry ("Months") is selected. Saturates instead of
// overflowing.
std::int32_t ReadTermControls(const QLineEdit &number, const QComboBox &unit);

#pragma once
// The entry limits of the Details and Compare pages. The --report mode of the stand-in caller
// applies them too, so that it never prints figures for a loan no page would accept.

#include <cstdint>

namespace LoanLimits {

inline constexpr double kMaxPrincipal = 50000000;
inline constexpr double kMaxRate = 100; // percent per year
inline constexpr int kMaxTermNumber = 1200; // in the unit the term drop-down shows

inline bool principalAccepted(float principal)
{
    return principal >= 0 && principal <= kMaxPrincipal; // false for NaN
}

inline bool rateAccepted(float rate)
{
    return rate >= 0 && rate <= kMaxRate;
}

// The pages show whole years as years and anything else as months (ShowTermControls), and take
// the number shown within 0..kMaxTermNumber: so up to 1200 months, or 1200 whole years.
inline bool termAccepted(std::int32_t months)
{
    if (months < 0)
        return false;
    return months % 12 == 0 ? months / 12 <= kMaxTermNumber : months <= kMaxTermNumber;
}

} // namespace LoanLimits

#pragma once
// Global scaling: damage and sizes taken from the percentages last applied to
// new ones, computed exactly as the editor always has: in 80-bit extended
// precision (64-bit significand), each step rounded to nearest-even. The steps
// are carried out in integer arithmetic, so every CPU gives the same bits.

#include "document/object_table.h"

#include <cstdint>

namespace doc {

/** The percentages a user can ask for, in the spin boxes and on the command line. */
inline constexpr int kMinScalePercent = 10;
inline constexpr int kMaxScalePercent = 1000;

/** Objects of this class are never scaled. */
inline constexpr std::uint32_t kUnscaledClass = 3;

/** Whether global scaling changes the record: every record whose class is not kUnscaledClass. */
bool isScaled(const ObjectRecord& record);

/** A rescaling from the percentage the values are at to the one wanted. */
struct ScalePercentages {
    int from;
    int to;
};

/** Throws Error "Stored scale <n> is not valid; it must be above 0" for a stored percentage
 * that cannot be divided by; callers check before they write or change anything. */
void checkStoredScale(int percent);

/** A damage: q = (to - from) / from, f = q + 1, p = f * value, each rounded to extended; p rounded
 * to double and truncated toward zero. Results of 2^32 or more give 4294967295. */
std::uint32_t scaleDamage(std::uint32_t value, ScalePercentages percentages);

/** A size held as a single's bits: the same factor times the value, rounded once to single. A
 * finite result beyond the single range gives the largest finite single of its sign; NaN and
 * the infinities are returned as they are. */
std::uint32_t scaleSize(std::uint32_t bits, ScalePercentages percentages);

/** The damage by the damage percentages and every size (kSizeFields) by the size percentages,
 * in every record 0 to the last index that isScaled. Throws, changing nothing, when a percentage
 * to scale from is 0 or below (see checkStoredScale). */
void scaleTable(ObjectTable& table, ScalePercentages damage, ScalePercentages size);

} // namespace doc

#include "document/scaling.h"

#include "document/errors.h"
#include "document/field_table.h"

#include <bit>
#include <cmath>
#include <limits>
#include <string>

namespace doc {

// The roundings are those of the x87 extended format. A compiler whose long double is another
// format (MSVC's is double, AArch64's is quadruple) would give other results.
static_assert(std::numeric_limits<long double>::digits == 64,
              "global scaling needs long double to be the 80-bit extended format (64-bit "
              "significand), as GCC and Clang give it on x86 and x86-64");

namespace {

/** f = (to - from) / from + 1, each step rounded to extended. The x87 unit rounds every
 * operation to the 64-bit significand and has no fused operations, so each step is one rounding.
 * The factor is the same for every field of a run; it is computed once. */
long double factor(ScalePercentages percentages) {
    const long double quotient = static_cast<long double>(percentages.to - percentages.from) /
                                 static_cast<long double>(percentages.from);
    return quotient + 1.0L;
}

std::uint32_t damageBy(long double f, std::uint32_t value) {
    const long double product = f * static_cast<long double>(value);
    const double rounded = static_cast<double>(product);
    if (!(rounded > 0.0))
        return 0;
    if (rounded >= 4294967296.0)
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(rounded); // truncation toward zero
}

std::uint32_t sizeBy(long double f, std::uint32_t bits) {
    const float value = std::bit_cast<float>(bits);
    if (!std::isfinite(value))
        return bits;
    float result = static_cast<float>(f * static_cast<long double>(value)); // one rounding
    if (std::isinf(result))
        result = std::copysign(std::numeric_limits<float>::max(), result);
    return std::bit_cast<std::uint32_t>(result);
}

} // namespace

bool isScaled(const ObjectRecord& record) {
    return record.fields[field::kClass] != kUnscaledClass;
}

void checkStoredScale(int percent) {
    if (percent <= 0)
        throw Error("Stored scale " + std::to_string(percent) +
                    " is not valid; it must be above 0");
}

std::uint32_t scaleDamage(std::uint32_t value, ScalePercentages percentages) {
    return damageBy(factor(percentages), value);
}

std::uint32_t scaleSize(std::uint32_t bits, ScalePercentages percentages) {
    return sizeBy(factor(percentages), bits);
}

void scaleTable(ObjectTable& table, ScalePercentages damage, ScalePercentages size) {
    checkStoredScale(damage.from);
    checkStoredScale(size.from);
    const long double damageFactor = factor(damage);
    const long double sizeFactor = factor(size);
    for (int r = 0; r <= table.lastIndex; ++r) {
        ObjectRecord& record = table.records[static_cast<std::size_t>(r)];
        if (!isScaled(record))
            continue;
        auto& fields = record.fields;
        fields[field::kDamage] = damageBy(damageFactor, fields[field::kDamage]);
        for (const int k : kSizeFields)
            fields[static_cast<std::size_t>(k)] =
                sizeBy(sizeFactor, fields[static_cast<std::size_t>(k)]);
    }
}

} // namespace doc

#include "document/scaling.h"

#include "document/binary_number.h"
#include "document/errors.h"
#include "document/field_table.h"

#include <string>

namespace doc {

namespace {

/** f = (to - from) / from + 1: the difference exact, the quotient and the sum each rounded to
 * extended, as the x87 unit rounds every operation to its 64-bit significand and has no fused
 * operations. The factor is the same for every field of a run; it is computed once. */
BinaryNumber factor(ScalePercentages percentages) {
    const BinaryNumber quotient = roundedQuotient(std::int64_t{percentages.to} - percentages.from,
                                                  percentages.from, kExtendedBits);
    return roundedSum(quotient, exactInteger(1), kExtendedBits);
}

std::uint32_t damageBy(BinaryNumber f, std::uint32_t value) {
    const BinaryNumber product = roundedProduct(f, exactInteger(value), kExtendedBits);
    return truncateToUnsigned(rounded(product, kDoubleBits));
}

std::uint32_t sizeBy(BinaryNumber f, std::uint32_t bits) {
    constexpr std::uint32_t kExponentBits = 0x7F800000u;
    if ((bits & kExponentBits) == kExponentBits) // NaN and the infinities stay
        return bits;
    const std::uint32_t result =
        roundToSingle(roundedProduct(f, exactSingle(bits), kExtendedBits)); // one rounding
    if ((result & ~0x80000000u) == kExponentBits) // beyond the range: the largest finite single
        return (result & 0x80000000u) | 0x7F7FFFFFu;
    return result;
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
    const BinaryNumber damageFactor = factor(damage);
    const BinaryNumber sizeFactor = factor(size);
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

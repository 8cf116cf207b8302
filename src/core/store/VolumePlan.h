#pragma once

#include "core/store/Values.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <cstdint>

// Which of a call's bytes a plan counts against its allowance and prices.
enum class CountedBytes { Both, In, Out };

// A provider's data plan per billing cycle. Sizes are bytes; an MB is
// 1,000,000 bytes and a GB 1,000,000,000, as the sellers of such plans count.
struct VolumePlan {
    static constexpr std::int64_t kMegabyte = 1000 * 1000;
    static constexpr std::int64_t kGigabyte = 1000 * kMegabyte;
    // Ten thousand GB: more than any cycle carries, and room to spare for sums.
    static constexpr std::int64_t kMaxBytes = 10000 * kGigabyte;

    std::int64_t allowanceBytes = 0; // free each cycle; 0: none, every byte is priced
    std::int64_t blockBytes = 0; // data beyond the allowance is sold in blocks of this; 0: not priced
    MoneyValue blockPrice = 0; // 1/10000 of money per block begun
    CountedBytes counted = CountedBytes::Both;
    QDate warnedCycle; // start of the cycle the allowance warnings below belong to
    int warnedLevels = 0; // bit i: kBudgetLevels[i] of the allowance was shown in warnedCycle

    // Nothing to count or price: a provider without a plan.
    [[nodiscard]] bool none() const { return allowanceBytes == 0 && (blockBytes == 0 || blockPrice == 0); }
    [[nodiscard]] bool priced() const { return blockBytes > 0 && blockPrice > 0; }
};

// Every provider's data plan, by provider name.
using VolumePlans = QHash<QString, VolumePlan>;

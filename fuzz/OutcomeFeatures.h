#pragma once
// Hands an outcome to libFuzzer as features: every byte of this section is a counter that it
// watches like coverage, so a new error number or a new kind of header counts as progress.

#include <bit>

#include "fuzz/FuzzTargets.h"

namespace permora::fuzz {

__attribute__((used, section("__libfuzzer_extra_counters"))) inline uint8_t gOutcomeCounters[2048];

inline void CountOutcome(const TOutcome& o) {
  auto count = [](unsigned index) { ++gOutcomeCounters[index % sizeof gOutcomeCounters]; };
  count(static_cast<unsigned>(o.LoadError + 1));                      // 0..~130
  count(256 + static_cast<unsigned>(o.DrawError + 1));                // 256..~390
  if (o.Loaded) {
    const unsigned shape = (o.Grayscale ? 1u : 0u) | (o.MultipleScans ? 2u : 0u);
    count(512 + shape * 32 + static_cast<unsigned>(std::bit_width(static_cast<uint32_t>(o.Width))));
    count(768 + shape * 32 + static_cast<unsigned>(std::bit_width(static_cast<uint32_t>(o.Height))));
    count(1024 + shape * 256 + static_cast<unsigned>(o.DrawError + 1));
  }
}

}  // namespace permora::fuzz

#pragma once

#include <cstdint>
#include <random>

namespace kelvo {

/// A source of random numbers in [0, 1).
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual double NextUnit() = 0;
};

/// A reproducible random source: the same seed gives the same sequence on every machine.
class SeededRandomSource final : public RandomSource {
  public:
    explicit SeededRandomSource(std::uint64_t seed) : engine_(seed) {}
    /// 53 random bits scaled to [0, 1); independent of the standard library's distributions.
    double NextUnit() override {
        return static_cast<double>(engine_() >> 11) * (1.0 / 9007199254740992.0);
    }

  private:
    std::mt19937_64 engine_;
};

}  // namespace kelvo

#pragma once
// A derived value, or the short reason it could not be computed: what the
// report and the noncentral t interval hand on, so that a value that cannot
// be computed never stops the rest. The reason is read after "could not be
// computed because".

#include <optional>
#include <string>
#include <utility>

namespace tarnwick {

struct Value {
    std::optional<double> value;
    std::string whyMissing;  // empty when value is present

    static Value of(double v) { return {v, {}}; }
    static Value missing(std::string why) { return {std::nullopt, std::move(why)}; }
    explicit operator bool() const { return value.has_value(); }
};

}  // namespace tarnwick

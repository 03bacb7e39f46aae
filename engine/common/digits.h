#pragma once
// How many digits a program writes for a number, in one spelling for every
// program and answer.

namespace tarnwick {

enum class Digits {
    shown,  // as the front end shows it: each answer states its own rounding rule
    full,   // the shortest text that reads back to the same double
};

}  // namespace tarnwick

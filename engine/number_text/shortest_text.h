#pragma once
// A double as the shortest text that reads back to the same double: what a
// script reading our files, or a box filled from data, needs to lose nothing.

#include <string>

namespace tarnwick::table_io {

std::string shortestText(double value);

}  // namespace tarnwick::table_io

#pragma once
// How a header's column name is compared with the names a program reads when
// looking for near misses ("Mean1", " sd1"): case and spaces set aside.

#include <string>
#include <string_view>

namespace tarnwick::table_io {

std::string foldedColumnName(std::string_view name);

}  // namespace tarnwick::table_io

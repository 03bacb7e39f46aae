#include "data_error.h"

namespace tarnwick::data {

DataError::DataError(DataErrorNumber number, std::string description, long row, long column)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      row_(row),
      column_(column) {}

}  // namespace tarnwick::data

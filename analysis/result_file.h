#pragma once

#include <string>
#include <vector>

#include "core/result.h"

namespace vesko {

/// The data rows of a result file in file order: blade-1 position and intensity of each point.
struct ResultRows {
  std::vector<double> x;
  std::vector<double> y;
};

/// Reads a result file of the decreasing-width scan in one pass and closes it. The first line is
/// skipped whatever it holds; each following line is one row of comma-separated fields (blanks
/// around a field dropped) and needs three numbers: the first is x, the third y, the second and any
/// further fields are unused. The first line that is empty, short, non-numeric, out of the 64-bit
/// range or longer than 64 KiB ends the data (nothing after it is read). Refused with "Cannot read
/// <path>: <reason>" when the file cannot be read, and with the reason "not a regular file" for a
/// FIFO or a device, which is not opened.
Result<ResultRows> ReadResultFile(const std::string& path);

}  // namespace vesko

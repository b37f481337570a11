#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The entry point every fuzz target defines, called by libFuzzer or by the corpus replay of fuzz_support.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace vesko::fuzz {

/// Stops the program with `what` on standard error when `condition` is false: a finding.
void Require(bool condition, std::string_view what, std::string_view detail = {});

/// The input cut at every NUL byte into `count` texts (missing ones empty, the last takes the rest).
std::vector<std::string> SplitFields(std::string_view input, std::size_t count);

/// A file of this process for inputs that must come from a file (on a memory file system when there
/// is one, so that syncing costs nothing); the folder goes when the process ends.
std::string ScratchPath(std::string_view name);

/// Replaces the file at `path` with exactly `bytes`.
void WriteScratch(const std::string& path, std::string_view bytes);

}  // namespace vesko::fuzz

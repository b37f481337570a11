#pragma once

#include <string>
#include <string_view>

#include "cli/generator_commands.h"

namespace vesko::cli {

/// The usage lines of every command, as the general help and a usage error show them.
extern const std::string_view kUsageLine;

/// The general help: usage, generators, analysis commands, common options and exit statuses.
std::string GeneralHelp();

/// The help of one generator: its usage, its field options and the common options.
std::string GeneratorHelp(const GeneratorCommand& g);

}  // namespace vesko::cli

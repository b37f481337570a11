#include "cli/invocation.h"

#include <string_view>

namespace vesko::cli {
namespace {

const GeneratorCommand* FindGenerator(std::string_view name) {
  for (const GeneratorCommand& g : GeneratorCommands()) {
    if (g.name == name) {
      return &g;
    }
  }
  return nullptr;
}

const FieldOption* FindOption(const GeneratorCommand& g, std::string_view name) {
  for (const FieldOption& o : g.options) {
    if (o.name == name) {
      return &o;
    }
  }
  return nullptr;
}

bool IsAllowed(const FieldOption& o, const std::string& value) {
  if (o.choices.empty()) {
    return true;
  }
  for (const std::string& choice : o.choices) {
    if (choice == value) {
      return true;
    }
  }
  return false;
}

bool IsGiven(const Invocation& inv, std::string_view option) {
  for (const FieldValue& value : inv.values) {
    if (value.option == option) {
      return true;
    }
  }
  return false;
}

}  // namespace

Invocation Parse(const std::vector<std::string>& args) {
  Invocation inv;
  if (args.empty()) {
    inv.usageError = "no generator given";
    return inv;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    inv.help = true;
    return inv;
  }
  if (args[0] == "--version" || args[0] == "-V") {
    inv.version = true;
    return inv;
  }
  inv.generator = FindGenerator(args[0]);
  if (inv.generator == nullptr) {
    inv.usageError = "unknown generator '" + args[0] + "'";
    return inv;
  }
  for (std::size_t k = 1; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (arg == "-h") {
      inv.help = true;
      return inv;
    }
    if (arg.rfind("--", 0) != 0) {
      inv.usageError = "unexpected argument '" + arg + "'";
      return inv;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    std::optional<std::string> inlineValue;
    if (equals != std::string::npos) {
      inlineValue = arg.substr(equals + 1);
    }

    if (name == "help" || name == "stdout" || name == "summary" || name == "json" ||
        name == "ignore-limits") {
      if (inlineValue) {
        inv.usageError = "option '--" + name + "' takes no value";
        return inv;
      }
      if (name == "help") {
        inv.help = true;
        return inv;
      }
      (name == "stdout"          ? inv.toStdout
       : name == "summary"       ? inv.summary
       : name == "ignore-limits" ? inv.ignoreLimits
                                 : inv.json) = true;
      continue;
    }

    const FieldOption* field = FindOption(*inv.generator, name);
    if (field == nullptr && name != "output-folder" && name != "settings-dir") {
      inv.usageError = "unknown option '--" + name + "' for " + inv.generator->name;
      return inv;
    }
    std::string value;
    if (inlineValue) {
      value = *inlineValue;
    } else if (k + 1 < args.size()) {
      value = args[++k];
    } else {
      inv.usageError = "option '--" + name + "' needs a value";
      return inv;
    }

    if (name == "output-folder") {
      inv.outputFolder = value;
    } else if (name == "settings-dir") {
      if (value.empty()) {
        inv.usageError = "option '--settings-dir' needs a folder";
        return inv;
      }
      inv.settingsDir = value;
    } else if (!IsAllowed(*field, value)) {
      inv.usageError = "option '--" + name + "' takes " + field->valueName + ", not '" + value + "'";
      return inv;
    } else {
      inv.values.push_back({name, value});
    }
  }
  if (inv.toStdout && inv.summary) {
    inv.usageError = "options '--stdout' and '--summary' cannot go together";
    return inv;
  }
  if (inv.json && !inv.summary) {
    inv.usageError = "option '--json' goes only with '--summary'";
    return inv;
  }
  for (const FieldOption& o : inv.generator->options) {
    if (o.required && !IsGiven(inv, o.name)) {
      inv.usageError = "option '--" + o.name + "' is required for " + inv.generator->name;
      return inv;
    }
  }
  return inv;
}

}  // namespace vesko::cli

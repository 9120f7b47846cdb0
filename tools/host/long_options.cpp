#include "tools/host/long_options.h"

#include <cstring>

namespace kevo::host {

namespace {

// The option as the user wrote it, without an "=value".
std::string Spelled(const char* argument) {
  return std::string(argument, std::strcspn(argument, "="));
}

const option* OptionWithId(const option* options, int id) {
  for (const option* o = options; o->name != nullptr; ++o) {
    if (o->val == id) return o;
  }
  return nullptr;
}

}  // namespace

bool ParseLongOptions(const std::vector<std::string>& arguments, const option* options,
                      const ApplyOption& apply, std::vector<std::string>& operands,
                      std::string& error) {
  std::vector<std::string> copies(arguments);
  std::vector<char*> argv;
  std::string program = "program";
  argv.push_back(program.data());
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(argv.size()) - 1;

  // "-" first: operands come back in order (code 1), so nothing is permuted; ":" next: a
  // missing value is told apart from an unknown option.
  opterr = 0;
  optind = 0;  // a fresh scan, also on a second call: this call only resets the parser
  getopt_long(1, argv.data(), "-:", options, nullptr);
  while (optind < argc) {
    int at = optind;
    if (argv[at][0] == '-' && argv[at][1] != '-' && argv[at][1] != '\0') {
      operands.push_back(argv[at]);
      ++optind;
      continue;
    }
    int index = -1;
    int id = getopt_long(argc, argv.data(), "-:", options, &index);
    if (id == -1) break;
    if (id == 1) {
      operands.push_back(optarg);
      continue;
    }
    std::string spelled = Spelled(argv[at]);
    const option* known = id == '?' || id == ':' ? OptionWithId(options, optopt) : &options[index];
    if (known == nullptr || spelled != "--" + std::string(known->name)) {
      error = "unknown option " + spelled;
      return false;
    }
    if (id == '?' || id == ':') {
      error = spelled + (id == '?' ? " takes no value" : " needs a value");
      return false;
    }
    if (!apply(id, optarg != nullptr ? optarg : "", error)) return false;
  }
  for (int i = optind; i < argc; ++i) operands.push_back(argv[i]);
  return true;
}

}  // namespace kevo::host

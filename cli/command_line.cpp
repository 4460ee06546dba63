#include "cli/command_line.h"

#include "cli/echoed_value.h"
#include "cli/option_values.h"

#include <cstring>

namespace {

struct OptionSpec {
  const char* name;
  // Null for a flag, which takes no value.
  bool (*parse)(const char* value, CliRequest& request, std::string& error);
};

const OptionSpec kOptions[] = {
    {"--clock", ParseClock},   {"--rate", ParseRate}, {"--sample-point", ParseSamplePoint},
    {"--tolerance", ParseTolerance}, {"--format", ParseFormat}, {"--sjw", ParseSjw},
    {"--decode", ParseDecode}, {"--best", nullptr},
};

const OptionSpec* FindOption(const std::string& name) {
  for (const OptionSpec& option : kOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

// The options that cannot stand together, checked once all are read.
bool CheckCombination(const CliRequest& request, std::string& error) {
  if (request.decode && request.best) {
    error = "quillmere-cli: --best and --decode do not go together: a decoded value is one setting already";
    return false;
  }
  if (request.decode && request.sjwGiven) {
    error = "quillmere-cli: --sjw and --decode do not go together: the decoded value holds its own SJW";
    return false;
  }
  return true;
}

}  // namespace

CliAction ParseCommandLine(int argc, const char* const* argv, CliRequest& request, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) return CliAction::kHelp;
    if (std::strcmp(argument, "--version") == 0) return CliAction::kVersion;
    if (argument[0] != '-' || argument[1] == 0) {
      error = std::string("quillmere-cli: unexpected argument ") + EchoedValue(argument) + " (see --help)";
      return CliAction::kError;
    }

    // "--option=value" or "--option value".
    std::string name = argument;
    const char* value = nullptr;
    const char* equals = std::strchr(argument, '=');
    if (argument[1] == '-' && equals != nullptr) {
      name.assign(argument, static_cast<std::size_t>(equals - argument));
      value = equals + 1;
    }
    const OptionSpec* option = FindOption(name);
    if (option == nullptr) {
      error = std::string("quillmere-cli: unknown option ") + EchoedValue(argument) + " (see --help)";
      return CliAction::kError;
    }
    if (option->parse == nullptr) {
      if (value != nullptr) {
        error = "quillmere-cli: " + name + " takes no value";
        return CliAction::kError;
      }
      request.best = true;  // the one flag
      continue;
    }
    if (value == nullptr) {
      if (i + 1 >= argc) {
        error = "quillmere-cli: missing value for " + name;
        return CliAction::kError;
      }
      value = argv[++i];
    }
    if (!option->parse(value, request, error)) return CliAction::kError;
  }
  return CheckCombination(request, error) ? CliAction::kRun : CliAction::kError;
}

const char* UsageText() {
  return "Usage: quillmere-cli [--clock MHZ] [--rate KBPS] [--sample-point PCT] [--tolerance PCT]\n"
         "                     [--sjw N] [--best] [--format table|tsv|csv|json|hal|spl]\n"
         "       quillmere-cli --decode CAN_BTR [--clock MHZ] [--rate KBPS] [--format FORMAT]\n"
         "\n"
         "Lists every bxCAN bit-timing setting (prescaler 1 to 1024, BS1 1 to 16 tq, BS2 1 to 8 tq)\n"
         "whose bit rate and sample point meet the request, in the order and with the texts of\n"
         "the Quillmere window's result table.\n"
         "\n"
         "  --clock MHZ         peripheral clock in MHz, above 0, at most three decimals (default 42)\n"
         "  --rate KBPS         wanted bit rate in Kbps, above 0 (default 500)\n"
         "  --sample-point PCT  lowest sample point in percent, 0 to 100 (default 40)\n"
         "  --tolerance PCT     allowed rate error in whole percent, 0 to 100 (default 0: exact)\n"
         "  --sjw N             resynchronisation jump width, 1 to 4 tq, written into CAN_BTR\n"
         "                      (default 1); settings whose BS2 is shorter than N are left out\n"
         "  --best              print only the best listed setting: the smallest error; then the\n"
         "                      sample point nearest the advice (87.5% up to 500 Kbps, 80% up to\n"
         "                      800 Kbps, 75% above); then the most quanta per bit; then the first\n"
         "  --decode CAN_BTR    print the setting of a CAN_BTR value (0x hex or decimal) at the\n"
         "                      clock, with its SJW and mode; the error is against --rate, or \"-\"\n"
         "  --format FORMAT     table (default), tsv, csv, json, or code to paste: hal, spl\n"
         "  --help, -h          show this help\n"
         "  --version           show the version\n"
         "\n"
         "Options also take the form --option=value. Exit codes: 0 done; 1 the output could not\n"
         "be written; 2 a value is not accepted (one line on standard error says why);\n"
         "3 --best found no setting that meets the request.\n";
}

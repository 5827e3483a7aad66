#include "driver/program.h"

#include <cstdlib>
#include <string_view>
#include <utility>

#include "driver/build_driver.h"
#include "driver/quellor_options.h"
#include "platform/console.h"
#include "report/report_channel.h"

namespace quellor {
namespace {

constexpr int kExitStrictError = 2;
constexpr int kExitUsage = 2;

// QUELLOR_STRICT=1 asks what --strict asks, for a caller that cannot change the command line.
bool StrictByEnvironment() {
  const char* strict = std::getenv("QUELLOR_STRICT");
  return strict != nullptr && std::string_view(strict) == "1";
}

}  // namespace

int RunQuellor(std::span<const std::string> args, std::string library_name) {
  Result<ParsedArguments<QuellorOptions>> parsed = ParseQuellorOptions(args);
  if (!parsed.ok()) {
    WriteToConsole(ConsoleStream::kError,
                   "quellor: " + parsed.status().message() + "\n" + QuellorUsage());
    return kExitUsage;
  }
  const QuellorOptions& options = parsed->values;
  if (options.help) {
    WriteToConsole(ConsoleStream::kOutput, QuellorUsage());
    return 0;
  }
  if (options.version) {
    WriteToConsole(ConsoleStream::kOutput, "quellor " QUELLOR_VERSION "\n");
    return 0;
  }
  if (parsed->operands.empty()) {
    WriteToConsole(ConsoleStream::kError, QuellorUsage());
    return 0;
  }
  const int code = RunBuild(CommandLineTail(parsed->operands), std::move(library_name));
  if (code == 0 && (options.strict || StrictByEnvironment()) && ErrorsReported() > 0) {
    return kExitStrictError;
  }
  return code;
}

}  // namespace quellor

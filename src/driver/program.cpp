#include "driver/program.h"

#include <cstdlib>
#include <string_view>
#include <utility>

#include "driver/build_driver.h"
#include "driver/preview.h"
#include "driver/quellor_options.h"
#include "platform/console.h"
#include "report/report_channel.h"

namespace quellor {
namespace {

constexpr int kExitStrictError = 2;
constexpr int kExitUsage = 2;

// Whether the environment variable `name` is "1".
bool EnvironmentSays(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && std::string_view(value) == "1";
}

// QUELLOR_STRICT=1 asks what --strict asks, for a caller that cannot change the command line.
bool StrictByEnvironment() { return EnvironmentSays("QUELLOR_STRICT"); }

// QUELLOR_PREVIEW=1 asks what --preview asks.
bool PreviewByEnvironment() { return EnvironmentSays("QUELLOR_PREVIEW"); }

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
  const std::string tail = CommandLineTail(parsed->operands);
  const int code = options.preview || PreviewByEnvironment()
                       ? RunPreview(tail, std::move(library_name))
                       : RunBuild(tail, std::move(library_name));
  if (code == 0 && (options.strict || StrictByEnvironment()) && ErrorsReported() > 0) {
    return kExitStrictError;
  }
  return code;
}

}  // namespace quellor

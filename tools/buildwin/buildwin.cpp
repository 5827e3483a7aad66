// buildwin SOCKET: a build window for watching a build. Listens on the Unix-domain socket,
// serves one build (one connection) and exits when it ends, printing one line per method
// call, texts in UTF-8:
//   BeginFile<TAB>text, ReportMsg<TAB>text, ReportWarning<TAB>flag<TAB>text,
//   ReportError<TAB>flag<TAB>text, EndFile
// Once it listens it says so on standard error, so a script can wait for it.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>

#include "base/ascii.h"
#include "base/cp1252.h"
#include "platform/dispatch/dispatch_wire.h"
#include "platform/dispatch/frame_socket.h"

namespace quellor::dispatch {
namespace {

constexpr char kUsage[] =
    "usage: buildwin SOCKET\n"
    "       buildwin --help | --version\n"
    "  Listens on the Unix-domain socket SOCKET as the build window, serves one build and\n"
    "  prints one line per call it receives (BeginFile, ReportMsg, ReportWarning, ReportError,\n"
    "  EndFile), texts in UTF-8. Exit codes: 0 the build ended, 1 a socket failure, 2 bad usage.\n";

// The methods of the build window, by id (1-based position).
constexpr const char* kMethods[] = {"ReportMsg", "ReportWarning", "ReportError",
                                    "BeginFile", "EndFile",       "ShowMessages"};
constexpr std::int32_t kMethodCount = sizeof(kMethods) / sizeof(kMethods[0]);

Reply LookUp(const LookUpRequest& request) {
  const std::string name = Utf16ToCp1252(request.name);
  for (std::int32_t i = 0; i < kMethodCount; ++i) {
    if (EqualsIgnoreCase(name, kMethods[i])) return {0, i + 1};
  }
  return {kMemberNotFound, 0};
}

std::string Show(const Argument& argument) {
  if (const auto* value = std::get_if<std::int16_t>(&argument)) return std::to_string(*value);
  return Utf16ToUtf8(std::get<std::u16string>(argument));
}

// Arguments are printed as they arrive, last argument first: the flag of ReportWarning and
// ReportError stands before their text.
Reply Invoke(const InvokeRequest& request) {
  if (request.id < 1 || request.id > kMethodCount) return {kMemberNotFound, 0};
  std::string line = kMethods[request.id - 1];
  for (const Argument& argument : request.arguments) {
    line += '\t';
    line += Show(argument);
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
  return {0, 0};
}

int Serve(const std::string& path) {
  auto listener = FrameListener::Listen(path);
  if (!listener.ok()) {
    std::fprintf(stderr, "buildwin: %s\n", listener.status().message().c_str());
    return 1;
  }
  std::fprintf(stderr, "buildwin: listening on %s\n", path.c_str());
  auto connection = listener->Accept();
  if (!connection.ok()) {
    std::fprintf(stderr, "buildwin: %s\n", connection.status().message().c_str());
    return 1;
  }
  while (true) {
    auto payload = connection->Receive();
    if (!payload.ok()) {
      std::fprintf(stderr, "buildwin: %s\n", payload.status().message().c_str());
      return 1;
    }
    if (!payload->has_value()) return 0;  // the build has ended
    const auto request = DecodeRequest(**payload);
    Reply reply{kTypeMismatch, 0};
    if (request) {
      reply = std::holds_alternative<LookUpRequest>(*request)
                  ? LookUp(std::get<LookUpRequest>(*request))
                  : Invoke(std::get<InvokeRequest>(*request));
    }
    if (!connection->Send(EncodeReply(reply)).ok()) return 1;
  }
}

}  // namespace
}  // namespace quellor::dispatch

int main(int argc, char** argv) {
  using quellor::dispatch::kUsage;
  const std::string_view arg = argc == 2 ? argv[1] : "";
  if (arg == "--help" || arg == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (arg == "--version") {
    std::fputs("buildwin " QUELLOR_VERSION "\n", stdout);
    return 0;
  }
  // A name starting with "-" is taken for a mistyped option, never for a socket.
  if (argc != 2 || arg.starts_with("-")) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  return quellor::dispatch::Serve(argv[1]);
}

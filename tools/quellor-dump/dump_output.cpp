// What every subcommand shares: output lines in UTF-8 and the read of an input file.
#include <cstdio>

#include "base/cp1252.h"
#include "base/format.h"
#include "platform/env.h"
#include "platform/files.h"
#include "quellor-dump/dump_command.h"

namespace quellor::dump {

void PrintLine(std::string_view text) {
  const std::string line = Cp1252ToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

void PrintUtf8(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void PrintError(std::string_view text) {
  std::fflush(stdout);
  const std::string line = "quellor-dump: " + Cp1252ToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

std::optional<std::string> ReadInput(const std::string& host_path) {
  OpenOptions options;  // read access, no lock
  Result<std::unique_ptr<File>> file = Env::Default().file_system().Open(host_path, options);
  Result<std::string> bytes = file.ok() ? ReadAll(**file) : Result<std::string>(file.status());
  if (!bytes.ok()) {
    PrintError(bytes.status().message());
    return std::nullopt;
  }
  return std::move(*bytes);
}

std::string ShownPath(std::string_view host_path) { return Utf8ToCp1252(host_path); }

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      out += StringPrintf("\\x%02X", byte);
    } else {
      if (c == '"') out += '\\';
      out += c;
    }
  }
  return out + "\"";
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string out;
  for (const std::uint8_t byte : bytes) out += StringPrintf(out.empty() ? "%02X" : " %02X", byte);
  return out;
}

}  // namespace quellor::dump

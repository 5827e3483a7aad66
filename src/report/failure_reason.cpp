#include "report/failure_reason.h"

#include <string>

#include "base/cp1252.h"
#include "base/format.h"
#include "platform/console.h"
#include "report/report.h"

namespace quellor {

void ExplainOnStandardError(std::string_view reason) {
  WriteToConsole(ConsoleStream::kError, std::string(reason) + "\n");
}

void ReportFileFailure(const char* format, std::string_view path, const Status& reason) {
  Report(StringPrintf(format, std::string(path).c_str()), 2, 1);
  if (!reason.ok()) ExplainOnStandardError(Utf8ToCp1252(reason.message()));
}

}  // namespace quellor

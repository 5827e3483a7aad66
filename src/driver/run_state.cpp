#include "driver/run_state.h"

#include <utility>

#include "driver/project_query.h"
#include "platform/env.h"
#include "report/report_channel.h"

namespace quellor {

RunState& TheRunState() {
  static RunState state;
  return state;
}

void ResetRunState(std::string library_name) {
  TheRunState() = RunState();
  ResetReportChannel();
  ResetTagDll(std::move(library_name));
  Env::Default().Reset();
}

}  // namespace quellor

#include "run/run_state.h"

#include <utility>

#include "platform/env.h"
#include "projectdb/project_query.h"
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

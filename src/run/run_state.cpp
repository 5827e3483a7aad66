#include "run/run_state.h"

namespace quellor {

RunState& TheRunState() {
  static RunState state;
  return state;
}

}  // namespace quellor

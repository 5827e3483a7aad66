// The records of the two discovery queries: read field by field, and checked before a record
// may become an application, a node or an access name.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "accessnames/acc_name.h"
#include "projectdb/project_query.h"

namespace quellor {

// Reads each named field of the current record into `values` (in order, emptied first): text
// as it stands, NULL as empty. False when a field is missing or of any other type.
bool ReadRecordFields(ProjectQuery& query, std::span<const char* const> names,
                      std::span<std::string> values);

// Whether a record may enter the build: its client name (application or node) names one
// folder, its required values are not blank, and every value is one the application's
// DDE.CFG can carry. A historian node has no client application.
bool IsRecordUsable(std::string_view client, std::optional<std::string_view> client_app,
                    const ProjAccName_T& row);

}  // namespace quellor

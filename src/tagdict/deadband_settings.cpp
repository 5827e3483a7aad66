// ReadDeadbandSettings: the two trend deadbands of the project, each a text in the project's
// persistent data scanned as a number; what cannot be read keeps its default.
#include <cstdio>

#include "platform/automation/variant.h"
#include "projectdb/project_query.h"
#include "tagdict/tag_dict.h"

namespace quellor {

namespace {

// Reads the "Value" of the first row of qPersistentData for `name` into `setting` when it is
// a text that starts with a number; leaves `setting` as it was otherwise.
void ReadPersistentNumber(const char* name, float& setting) {
  if (!TagDll().loaded()) return;  // no project attached: nothing can be prepared
  QueryParameters parameters(2);
  parameters.SetText(0, name);
  parameters.SetText(1, "InTouchTrend");
  ProjectQuery query = ProjectQuery::Saved("qPersistentData", parameters.get(), 1);
  if (!query.ok()) return;
  if (!query.NextRow()) return;
  ScopedVariant value;
  if (query.GetFieldValueByFieldName(value.get(), "Value") < 0) return;
  if (value->vt != VT_BSTR || value->bstrVal == nullptr) return;
  float scanned = 0.0f;
  if (std::sscanf(value->bstrVal, "%f", &scanned) == 1) setting = scanned;
}

}  // namespace

void CTagDict::ReadDeadbandSettings() {
  deadband_fraction_ = 0.005f;
  deadband_absolute_ = 1.0f;
  ReadPersistentNumber("DeadbandFractionOfRange", deadband_fraction_);
  ReadPersistentNumber("DeadbandAbsoluteValue", deadband_absolute_);
}

}  // namespace quellor

#include "accessnames/acc_names.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/format.h"
#include "base/numbers.h"
#include "platform/console.h"
#include "report/report.h"

namespace quellor {
namespace {

[[noreturn]] void IndexOutOfRange(int index, int count) {
  WriteToConsole(ConsoleStream::kError,
                 StringPrintf("access-name index %d outside 0..%d\n", index, count - 1));
  std::abort();
}

void ReportChange(const char* format, const std::string& source_name) {
  Report(StringPrintf(format, source_name.c_str()), 0, 1);
}

}  // namespace

CAccNames::CAccNames(ProjAccName_T& row, int& index) { MergeAccessName(row, index); }

const AccName_T& CAccNames::GetRecord(int index) const {
  if (index < 0 || index >= GetCount()) IndexOutOfRange(index, GetCount());
  return names_[static_cast<std::size_t>(index)];
}

AccName_T& CAccNames::RecordAt(int index) {
  if (index < 0 || index >= GetCount()) IndexOutOfRange(index, GetCount());
  return names_[static_cast<std::size_t>(index)];
}

void CAccNames::GetSourceID(int index, int& id) const {
  if (index < 0) IndexOutOfRange(index, GetCount());
  if (index < GetCount()) id = names_[static_cast<std::size_t>(index)].DDESourceID;
}

// One more than the larger of LastDDESource and the highest ID in the set: a file whose "Last
// DDE Source" lags behind its own IDs must not hand out an ID that one of them already has.
std::int32_t CAccNames::NextSourceID() {
  const std::int32_t base = has_ids_ ? std::max(last_dde_source_, highest_id_) : last_dde_source_;
  last_dde_source_ = WrappingAdd(base, 1);
  return last_dde_source_;
}

void CAccNames::MergeAccessName(ProjAccName_T& row, int& index) {
  if (row.Topic.empty()) {
    row.Topic = EqualsIgnoreCase(row.ServerApplication, "View") ? "Tagname" : "None";
  }
  std::string topic = row.Topic;
  if (EqualsIgnoreCase(row.ServerApplication, kPelnetData)) {
    topic = row.MasterServerComputerName + "@" + row.AccessName + "@" + row.Topic;
  }

  const auto found = by_name_.find(row.AccessName);
  if (found == by_name_.end()) {
    AccName_T record;
    record.SourceName = row.AccessName;
    record.TopicName = std::move(topic);
    record.MasterServer = row.MasterServerComputerName;
    record.StandbyServer = row.StandbyServerComputerName;
    record.ApplicationName = row.ServerApplication;
    record.DDESourceID = NextSourceID();
    record.RequestInitialData = 1;
    record.AlwaysAdvise = 0;
    record.SuiteLink = 1;
    index = GetCount();
    AppendRecord(std::move(record));
    return;
  }

  index = static_cast<int>(found->second);
  AccName_T& record = names_[found->second];
  const std::string old_topic = std::exchange(record.TopicName, std::move(topic));
  const std::string old_master = std::exchange(record.MasterServer, row.MasterServerComputerName);
  const std::string old_standby =
      std::exchange(record.StandbyServer, row.StandbyServerComputerName);
  const std::string old_application = std::exchange(record.ApplicationName, row.ServerApplication);
  record.UnsplitApplicationValue.clear();

  if (record.TopicName != old_topic) {
    ReportChange("        Modified Topic for access name %s", record.SourceName);
  }
  if (record.MasterServer != old_master) {
    ReportChange("        Modified Master Server for access name %s", record.SourceName);
  }
  // A standby server given to an access name that had none is no change worth a message.
  if (!old_standby.empty() && record.StandbyServer != old_standby) {
    ReportChange("        Modified Standby Server for access name %s", record.SourceName);
  }
  if (record.ApplicationName != old_application) {
    ReportChange("        Modified Server Application for access name %s", record.SourceName);
  }
}

void CAccNames::AppendRecord(AccName_T record) {
  const std::size_t position = names_.size();
  by_name_.emplace(record.SourceName, position);  // an earlier record of the name stays first
  by_id_.emplace(record.DDESourceID, position);
  highest_id_ = has_ids_ ? std::max(highest_id_, record.DDESourceID) : record.DDESourceID;
  has_ids_ = true;
  if (record.Points != nullptr) {
    record.Points->ForEachKeyed([this, position](DDEPoints::Key key, const DDEPoint_T& point) {
      IndexPoint(position, key, point.TagName);
    });
  }
  names_.push_back(std::move(record));
}

void CAccNames::IndexPoint(std::size_t record, DDEPoints::Key key, std::string_view tag_name) {
  PointRefsOf(tag_name).push_back(PointRef{record, key});
}

PointRefs& CAccNames::PointRefsOf(std::string_view tag_name) {
  // Its callers mostly enter a new name: one lookup that inserts, rather than a find first.
  return *point_index().TryEmplace(tag_name).first;
}

void CAccNames::FixUpPlaceholder() {
  const auto is_placeholder = [](const AccName_T& record) {
    return EqualsIgnoreCase(record.SourceName, kPlaceholderName) &&
           EqualsIgnoreCase(record.TopicName, kPlaceholderName);
  };
  const auto placeholder = std::find_if(names_.begin(), names_.end(), is_placeholder);
  if (placeholder == names_.end()) return;
  for (auto it = names_.begin(); it != names_.end(); ++it) {
    if (it == placeholder || !EqualsIgnoreCase(it->ApplicationName, kPelnetData)) continue;
    placeholder->MasterServer = it->MasterServer;
    placeholder->ApplicationName = it->ApplicationName;
    placeholder->UnsplitApplicationValue.clear();
    return;
  }
}

}  // namespace quellor

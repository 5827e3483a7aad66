// The operations of the tag merge, the recipe clients and the tag browser on a finished set.
#include <memory>
#include <string>

#include "accessnames/acc_names.h"
#include "base/format.h"
#include "report/report.h"

namespace quellor {
namespace {

// The topic, trailing white space removed, ends in "_RO" without regard to case.
bool IsReadOnlyTopic(std::string_view topic) {
  constexpr std::string_view kSuffix = "_RO";
  topic = TrimRightAscii(topic);
  if (topic.size() > kSuffix.size()) topic.remove_prefix(topic.size() - kSuffix.size());
  return EqualsIgnoreCase(topic, kSuffix);
}

// A master server counts as local only for a redundant access name; the standby always does.
bool IsLocal(const AccName_T& record, std::string_view server) {
  return (record.MasterServer == server && !record.StandbyServer.empty()) ||
         record.StandbyServer == server;
}

int PelnetWeight(const AccName_T& record, std::string_view server) {
  const bool local = IsLocal(record, server);
  const bool read_only = IsReadOnlyTopic(record.TopicName);
  if (local) return read_only ? 2 : 4;
  return read_only ? 1 : 3;
}

}  // namespace

void CAccNames::SetAlwaysAdvise(std::span<const int> indices, int value) {
  for (const int index : indices) {
    if (index >= GetCount()) continue;
    RecordAt(index).AlwaysAdvise = value;
  }
}

void CAccNames::SetTagPoint(int source_id, std::string_view tag_name, int tag_index,
                            std::string_view item_name) {
  const auto found = by_id_.find(source_id);
  if (found == by_id_.end()) return;
  AccName_T& record = names_[found->second];
  if (record.Points == nullptr) record.Points = std::make_unique<DDEPoints>();

  if (DDEPoint_T* point = record.Points->FindIgnoreCase(tag_name)) {
    if (point->TagIndex == tag_index && EqualsIgnoreCase(point->ItemName, item_name)) return;
    point->TagIndex = tag_index;
    point->ItemName = std::string(item_name);
    Report(StringPrintf("        DDE data for tag %s has been modified",
                        std::string(tag_name).c_str()),
           0, 1);
    return;
  }
  std::string name(tag_name);
  NotePointName(found->second, name);
  record.Points->PushFront(DDEPoint_T{std::move(name), tag_index, std::string(item_name)});
}

void CAccNames::RemoveTagPoint(std::string_view tag_name) {
  const auto owners = point_owners_.find(tag_name);
  if (owners == point_owners_.end()) return;
  std::vector<std::size_t>& records = owners->second;
  const DDEPoints::Removal removal = names_[records.front()].Points->RemoveFirstExact(tag_name);
  if (removal.name_remains) return;
  records.erase(records.begin());
  if (records.empty()) point_owners_.erase(owners);
}

void CAccNames::SelectPelnetSource(std::span<const int> indices, std::string_view server,
                                   int& id) const {
  id = 0;
  int best = 0;
  for (const int index : indices) {
    if (index >= GetCount()) continue;
    const AccName_T& record = GetRecord(index);
    if (!EqualsIgnoreCase(record.ApplicationName, "PelnetData")) continue;
    const int weight = PelnetWeight(record, server);
    if (weight <= best) continue;
    best = weight;
    id = record.DDESourceID;
    if (weight == 4) return;  // local and read-write: nothing beats it
  }
}

}  // namespace quellor

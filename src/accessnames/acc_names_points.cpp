// The operations of the tag merge, the recipe clients and the tag browser on a finished set.
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "accessnames/acc_names.h"
#include "base/dense_set.h"
#include "base/format.h"
#include "platform/console.h"
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
  SetPointOf(found->second, PointRefsOf(tag_name), tag_name, tag_index, item_name);
}

void CAccNames::RemoveTagPoint(std::string_view tag_name) { RemoveExactPoint(tag_name); }

void CAccNames::ReplaceTagPoint(int source_id, std::string_view tag_name, int tag_index,
                                std::string_view item_name) {
  PointRefs* const refs = RemoveExactPoint(tag_name);
  const auto found = by_id_.find(source_id);
  if (found == by_id_.end()) return;
  SetPointOf(found->second, refs != nullptr ? *refs : PointRefsOf(tag_name), tag_name, tag_index,
             item_name);
}

PointRefs* CAccNames::RemoveExactPoint(std::string_view tag_name) {
  PointRefs* const found = point_index().Find(tag_name);
  if (found == nullptr) return nullptr;
  PointRefs& refs = *found;
  // The first point in record order whose name matches exactly: lowest record, then lowest key.
  std::optional<std::size_t> first;
  for (std::size_t i = 0; i < refs.size(); ++i) {
    const PointRef& ref = refs[i];
    if (names_[ref.record].Points->At(ref.key).TagName != tag_name) continue;
    if (!first || std::tie(ref.record, ref.key) < std::tie(refs[*first].record, refs[*first].key)) {
      first = i;
    }
  }
  if (first) {
    names_[refs[*first].record].Points->Remove(refs[*first].key);
    refs.erase(*first);
  }
  return found;
}

void CAccNames::SetPointOf(std::size_t position, PointRefs& refs, std::string_view tag_name,
                           int tag_index, std::string_view item_name) {
  AccName_T& record = names_[position];
  if (record.Points == nullptr) record.Points = std::make_unique<DDEPoints>();

  // The record's first point of the name, without regard to case: its lowest key.
  const PointRef* first = nullptr;
  for (std::size_t i = 0; i < refs.size(); ++i) {
    const PointRef& ref = refs[i];
    if (ref.record == position && (first == nullptr || ref.key < first->key)) first = &ref;
  }
  if (first != nullptr) {
    DDEPoint_T& point = record.Points->At(first->key);
    if (point.TagIndex == tag_index && EqualsIgnoreCase(point.ItemName, item_name)) return;
    point.TagIndex = tag_index;
    point.ItemName = std::string(item_name);
    Report(StringPrintf("        DDE data for tag %s has been modified",
                        std::string(tag_name).c_str()),
           0, 1);
    return;
  }
  const DDEPoints::Key key = record.Points->PushFront(
      DDEPoint_T{std::string(tag_name), tag_index, std::string(item_name)});
  refs.push_back(PointRef{position, key});
}

void CAccNames::DropPoint(std::size_t record, DDEPoints::Key key) {
  DDEPoints& points = *names_[record].Points;
  PointRefs& refs = *point_index().Find(points.At(key).TagName);
  refs.erase_if([&](const PointRef& ref) { return ref.record == record && ref.key == key; });
  points.Remove(key);
}

void CAccNames::ReconcileTagPoints(const std::function<int(std::string_view, int)>& record_of) {
  DenseSet records_with_point;  // the callback gives 0 (none) or a record of the dictionary
  for (std::size_t position = 0; position < names_.size(); ++position) {
    AccName_T& record = names_[position];
    if (record.Points == nullptr) continue;
    std::vector<std::pair<DDEPoints::Key, int>> moves;  // point, its tag's record
    std::vector<DDEPoints::Key> drops;
    const auto list = [&record](const DDEPoint_T& point, const std::string& fate) {
      WriteToConsole(ConsoleStream::kError,
                     StringPrintf("DDE.CFG: access name %s: point of tag %s (record %d) %s\n",
                                  record.SourceName.c_str(), point.TagName.c_str(), point.TagIndex,
                                  fate.c_str()));
    };
    record.Points->ForEachKeyed([&](DDEPoints::Key key, const DDEPoint_T& point) {
      const int tag_record = record_of(point.TagName, point.TagIndex);
      if (tag_record == 0) {
        list(point, "removed: no such tag in Tagname.X");
        drops.push_back(key);
      } else if (!records_with_point.Insert(static_cast<std::size_t>(tag_record))) {
        list(point, "removed: the tag has a point already");
        drops.push_back(key);
      } else if (tag_record != point.TagIndex) {
        list(point, StringPrintf("moved to the tag's record %d", tag_record));
        moves.emplace_back(key, tag_record);
      }
    });
    if (moves.empty() && drops.empty()) continue;
    for (const auto& [key, tag_record] : moves) record.Points->At(key).TagIndex = tag_record;
    for (const DDEPoints::Key key : drops) DropPoint(position, key);
    const auto moved = static_cast<int>(moves.size());
    const auto removed = static_cast<int>(drops.size());
    Report(StringPrintf("Access Name: %s - %d DDE points did not match Tagname.X: %d moved to "
                        "their tag's record, %d removed",
                        record.SourceName.c_str(), moved + removed, moved, removed),
           1, 0);
  }
}

void CAccNames::SelectPelnetSource(std::span<const int> indices, std::string_view server,
                                   int& id) const {
  id = 0;
  int best = 0;
  for (const int index : indices) {
    if (index >= GetCount()) continue;
    const AccName_T& record = GetRecord(index);
    if (!EqualsIgnoreCase(record.ApplicationName, kPelnetData)) continue;
    const int weight = PelnetWeight(record, server);
    if (weight <= best) continue;
    best = weight;
    id = record.DDESourceID;
    if (weight == 4) return;  // local and read-write: nothing beats it
  }
}

}  // namespace quellor

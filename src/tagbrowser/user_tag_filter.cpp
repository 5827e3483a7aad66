#include "tagbrowser/user_tag_filter.h"

#include <array>

namespace quellor {
namespace {

// The six texts in the order they are stored.
template <typename Filter>
auto StoredTexts(Filter& filter) {
  return std::array{&filter.Name,       &filter.Text2, &filter.Text3,
                    &filter.FilterText, &filter.Text5, &filter.Text6};
}

}  // namespace

Status CUserTagFilter::Serialize(ArchiveReader& ar) { return ar.ReadStrings(StoredTexts(*this)); }

void CUserTagFilter::Serialize(ArchiveWriter& ar) const { ar.WriteStrings(StoredTexts(*this)); }

const CUserTagFilter* CUserTagFilters::Find(std::string_view key) const {
  const auto it = filters_.find(key);
  return it == filters_.end() ? nullptr : it->second.get();
}

void CUserTagFilters::Set(std::string key, std::unique_ptr<CUserTagFilter> filter) {
  filters_.insert_or_assign(std::move(key), std::move(filter));
}

Status CUserTagFilters::Serialize(ArchiveReader& ar) {
  Clear();
  const Result<std::uint32_t> count = ar.ReadCount();
  if (!count.ok()) return count.status();
  for (std::uint32_t i = 0; i < *count; ++i) {
    auto filter = std::make_unique<CUserTagFilter>();
    Result<std::string> key = ar.ReadString();
    if (!key.ok()) return key.status();
    if (Status status = filter->Serialize(ar); !status.ok()) return status;
    Set(std::move(key).value(), std::move(filter));
  }
  return Status::Ok();
}

void CUserTagFilters::Serialize(ArchiveWriter& ar) const {
  ar.WriteCount(filters_.size());
  for (const auto& [key, filter] : filters_) {
    ar.WriteString(key);
    filter->Serialize(ar);
  }
}

}  // namespace quellor

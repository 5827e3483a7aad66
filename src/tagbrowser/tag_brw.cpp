#include "tagbrowser/tag_brw.h"

#include <utility>

#include "report/message_box.h"

namespace quellor {

Status CTagBrw::LoadItems(ArchiveReader& ar) {
  // A short first block is not a failure in itself: the next item fails then.
  ar.ReadRawUpTo(Header1);
  Result<std::string> text = ar.ReadString();
  if (!text.ok()) return text.status();
  HeaderText = std::move(text).value();
  if (Status status = ar.ReadRaw(Header2); !status.ok()) return status;
  Result<std::uint32_t> value = ar.ReadUint32();
  if (!value.ok()) return value.status();
  HeaderValue1 = *value;
  value = ar.ReadUint32();
  if (!value.ok()) return value.status();
  HeaderValue2 = *value;
  if (Status status = SerializeRemoteApps(ar, RemoteApps); !status.ok()) return status;
  return Filters.Serialize(ar);
}

Status CTagBrw::Serialize(ArchiveReader& ar) {
  Status status = LoadItems(ar);
  if (!status.ok()) ShowMessageBox(kTagBrwLoadFailedText);
  return status;
}

void CTagBrw::Serialize(ArchiveWriter& ar) const {
  ar.WriteRaw(Header1);
  ar.WriteString(HeaderText);
  ar.WriteRaw(Header2);
  ar.WriteUint32(HeaderValue1);
  ar.WriteUint32(HeaderValue2);
  SerializeRemoteApps(ar, RemoteApps);
  Filters.Serialize(ar);
}

Status CTagBrw::Load(std::span<const std::uint8_t> bytes) {
  ArchiveReader ar(bytes);
  return Serialize(ar);
}

std::vector<std::uint8_t> CTagBrw::Store() const {
  ArchiveWriter ar;
  Serialize(ar);
  return ar.TakeBytes();
}

// A walk from the head, as the list may hold a user's elements in any order; the number of
// remote applications of one application is small.
void CTagBrw::MergeRemoteApp(const CRemoteApp& app) {
  for (auto it = RemoteApps.begin(); it != RemoteApps.end(); ++it) {
    const int order = app.Name.compare(it->Name);
    if (order == 0) {
      *it = app;
      return;
    }
    if (order < 0) {
      RemoteApps.insert(it, app);
      return;
    }
  }
  RemoteApps.push_back(app);
}

void CTagBrw::MergeFilter(std::unique_ptr<CUserTagFilter> filter) {
  std::string key = filter->Name;
  Filters.Set(std::move(key), std::move(filter));
}

}  // namespace quellor

#include "tagbrowser/remote_app.h"

#include <array>

namespace quellor {
namespace {

// The five texts in the order they are stored.
template <typename App>
auto StoredTexts(App& app) {
  return std::array{&app.Name, &app.Location, &app.AccessName, &app.ApplicationName, &app.Guid};
}

}  // namespace

Status CRemoteApp::Serialize(ArchiveReader& ar) { return ar.ReadStrings(StoredTexts(*this)); }

void CRemoteApp::Serialize(ArchiveWriter& ar) const { ar.WriteStrings(StoredTexts(*this)); }

Status SerializeRemoteApps(ArchiveReader& ar, CRemoteAppList& list) {
  const Result<std::uint32_t> count = ar.ReadCount();
  if (!count.ok()) return count.status();
  for (std::uint32_t i = 0; i < *count; ++i) {
    CRemoteApp app;
    if (Status status = app.Serialize(ar); !status.ok()) return status;
    list.push_back(std::move(app));
  }
  return Status::Ok();
}

void SerializeRemoteApps(ArchiveWriter& ar, const CRemoteAppList& list) {
  ar.WriteCount(list.size());
  for (const CRemoteApp& app : list) app.Serialize(ar);
}

}  // namespace quellor

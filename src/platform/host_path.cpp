#include "platform/host_path.h"

#include <vector>

#include "platform/file_system.h"

namespace quellor {
namespace {

// `path` with its empty and "." components dropped and each ".." taking away the name before
// it; a ".." at the root is dropped, one at the start of a relative path stays.
std::string LexicallyNormal(std::string_view path) {
  const bool absolute = !path.empty() && path.front() == '/';
  std::vector<std::string_view> names;
  while (!path.empty()) {
    const std::size_t slash = path.find('/');
    const std::string_view name = path.substr(0, slash);
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    if (name.empty() || name == ".") continue;
    if (name != "..") {
      names.push_back(name);
    } else if (!names.empty() && names.back() != "..") {
      names.pop_back();
    } else if (!absolute) {
      names.push_back(name);
    }
  }
  std::string normal = absolute ? "/" : "";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) normal += '/';
    normal += names[i];
  }
  return normal.empty() ? "." : normal;
}

}  // namespace

std::string ParentFolder(std::string_view host_path) {
  const std::size_t slash = host_path.find_last_of('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(host_path.substr(0, slash));
}

std::string_view FinalName(std::string_view host_path) {
  const std::size_t slash = host_path.find_last_of('/');
  return slash == std::string_view::npos ? host_path : host_path.substr(slash + 1);
}

std::string JoinHostPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

Result<std::string> WeaklyCanonical(FileSystem& fs, std::string_view host_path) {
  // The longest leading part that exists: whole components are taken off the end until one does.
  std::string_view head = host_path;
  while (!head.empty()) {
    Result<std::string> real = fs.RealPath(std::string(head));
    if (real.ok()) {
      std::string path = std::move(*real);
      const std::string_view rest = host_path.substr(head.size());
      if (!rest.empty() && rest.front() != '/' && path.back() != '/') path += '/';
      return LexicallyNormal(path.append(rest));
    }
    if (real.status().code() != StatusCode::kNotFound || head == "/") return real.status();
    const std::size_t slash = head.find_last_of('/');
    head = slash == std::string_view::npos ? std::string_view()
                                           : head.substr(0, slash == 0 ? 1 : slash);
  }
  return LexicallyNormal(host_path);  // a relative path of which nothing exists
}

}  // namespace quellor

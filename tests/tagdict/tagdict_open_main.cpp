// tagdict_open FOLDER: opens and closes the tag dictionary of FOLDER as a build step does, so
// that the tests can watch the paths that end the process.
#include "report/report_channel.h"
#include "tagdict/tag_dict.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  quellor::OpenReportChannel(std::nullopt);
  { quellor::CTagDict dict(quellor::TagDictOptions{.folder = argv[1]}); }
  quellor::CloseReportChannel();
  return 0;
}

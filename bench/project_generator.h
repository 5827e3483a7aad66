// A generated project for the scale benchmarks: a project database made from the project
// schema whose trend query delivers rows that the merge turns into exactly N dictionary tags,
// the same rows for the same N and seed.
//
// The project has one instrument-network server computer "SRV1" serving every tag, one
// "PelnetData" access name "PN1" on it, and one InTouch application "App1" whose "View" client
// uses that access name. Trees are drawn at random: a block with three logged fields (a group
// and three members), a field tag with two fixed fields (a tag, two members and its value
// member), or a single field tag; integer, real, discrete and message codes mixed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace quellor::bench {

struct GeneratedProject {
  std::int32_t tags = 0;  // dictionary tags the merge makes: the N asked for
  std::int32_t rows = 0;  // rows of qFTTrdData
};

// Writes the project database at `path` (which must not exist). Ends the process with a
// message on standard error when SQLite fails: a benchmark has no other way to go on.
GeneratedProject GenerateProject(const std::filesystem::path& path, std::int32_t tags,
                                 std::uint32_t seed);

}  // namespace quellor::bench

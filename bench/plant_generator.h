// A generated plant for the scale benchmark: a whole machine and project laid out as the sample
// plant is (examples/plant), with N dictionary tags, the same files for the same N and seed.
//
//   ROOT/prefix/machine.reg            the sample plant's registry (QUELLOR_PREFIX=ROOT/prefix)
//   ROOT/prefix/dosdevices/c:          drive C:, a link to ROOT/c
//   ROOT/c/Corvane/InTouchShell        the sample plant's HMI shell application
//   ROOT/c/InTouch                     the folder of AppList.INI
//   ROOT/c/Projects/Plant/Project.mdb  the project (kDatabase below, as the program names it)
//
// The project: two instrument areas on the server computers SCADA1 (standby SCADA2) and SCADA3,
// which are the two historian nodes; 16 Pelnet nodes, 400 blocks; 300 access names, 240 of them
// "PelnetData"; three HMI applications as in the sample plant: Unit1 ("View" on every
// "PelnetData" access name, and "Recipe"), Unit2 (area 2) and Packaging (a few of area 1 and 2).
// Each has "PelnetData" access names, so each dictionary gets every generated tag. Tag trees are
// drawn at random: blocks with logged and unlogged fields and a fixed field, blocks with a
// subfielded field, field tags with fixed fields, single field tags and fixed-field tags; some
// names start with a digit.
#pragma once

#include <cstdint>
#include <filesystem>

namespace quellor::bench {

// The project's path as the program is given it, from drive C:.
inline constexpr const char* kDatabase = "C:\\Projects\\Plant\\Project.mdb";

struct GeneratedPlant {
  std::int32_t tags = 0;   // dictionary tags of each application: the N asked for
  std::int32_t rows = 0;   // rows of TrendData
  std::int32_t trees = 0;  // top-level tags
  std::filesystem::path database;
};

// The most tags a plant may have: each dictionary holds at most 60000 records, and the shell
// application's own records (its alarm groups) are among them.
std::int32_t LargestPlant();

// Writes the plant under `root`, which must not exist yet. Ends the process with a message on
// standard error when it cannot.
GeneratedPlant GeneratePlant(const std::filesystem::path& root, std::int32_t tags,
                             std::uint32_t seed);

// Changes about 1% of the tags of the project database at `database`: every row of one tree in
// a hundred (at least one tree), drawn by `seed`, gets a new description and range. Returns
// the number of trees changed.
std::int32_t ChangeTags(const std::filesystem::path& database, std::uint32_t seed);

}  // namespace quellor::bench

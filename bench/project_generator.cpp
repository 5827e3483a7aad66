#include "project_generator.h"

#include <random>
#include <string>

#include "project_writer.h"

namespace quellor::bench {

namespace {

const char kSetupSql[] =
    "INSERT INTO Blocks VALUES (1, 'NODE1');"
    "INSERT INTO ServerComputerPortToNodes VALUES (1, 'NODE1');"
    "INSERT INTO ServerComputerPorts VALUES (1, 'SRV1');"
    "INSERT INTO PelnetNodes VALUES ('NODE1');"
    "INSERT INTO AccessNames VALUES ('PN1', 'TOPIC', 'SRV1', '', 'PelnetData');"
    "INSERT INTO InTouchAppNames VALUES ('App1');"
    "INSERT INTO ClientAppAccessNames VALUES ('App1', 'View', 'PN1', 1);";

}  // namespace

GeneratedProject GenerateProject(const std::filesystem::path& path, std::int32_t tags,
                                 std::uint32_t seed) {
  static constexpr int kCodes[] = {1, 7, 8, 10};
  std::mt19937 random(seed);
  ProjectWriter writer(path, kSetupSql);
  std::int32_t made = 0;
  for (std::int32_t tree = 0; made < tags; ++tree) {
    // Names are appended, not `"T" + std::to_string(...)`: g++ 12 at -O3 warns falsely
    // (-Wrestrict) on that.
    std::string name = "T";
    name += std::to_string(100000 + tree);
    const int code = kCodes[random() % 4];
    const double lo = static_cast<double>(random() % 100);
    const double hi = lo + 1.0 + static_cast<double>(random() % 10000);
    const unsigned shape = tags - made >= 4 ? random() % 3 : 2;
    if (shape == 0) {  // a block: the group and three field members
      for (int f = 0; f < 3; ++f) {
        std::string field = "F";
        field += std::to_string(f);
        writer.Add({name, field, "", "", "BlkTag", code, 0, lo, hi});
      }
      made += 4;
    } else if (shape == 1) {  // a field tag with two fixed fields and its value member
      for (int x = 0; x < 2; ++x) {
        std::string fixed_field = "X";
        fixed_field += std::to_string(x);
        writer.Add({name, "", "", fixed_field, "FldTag", 0, code, lo, hi});
      }
      made += 4;
    } else {  // a single field tag
      writer.Add({name, "", "", "", "FldTag", 0, code, lo, hi});
      made += 1;
    }
  }
  return GeneratedProject{made, writer.rows()};
}

}  // namespace quellor::bench

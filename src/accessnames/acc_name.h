// The records of an access-name set: one access name with its DDE points and its secondary
// source, and the project's access-name row that the merge takes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "accessnames/dde_points.h"

namespace quellor {

// The I/O server of the instrument network, whose access names the historian nodes serve and
// the tag browser lists as remote applications (compared without regard to case).
inline constexpr std::string_view kPelnetData = "PelnetData";
// The source and topic name of the placeholder access name, which names no real source.
inline constexpr std::string_view kPlaceholderName = "Dummy";

// The secondary data source and failover settings of a redundant access name defined in the
// InTouch application itself. Only the DDE.CFG reader creates one; the build carries it from
// the old file to the new one and never interprets it.
struct SecondarySource_T {
  std::string ApplicationName;  // verbatim: no node part is split off
  std::string TopicName;
  std::int32_t RequestInitialData = 0;
  std::int32_t AlwaysAdvise = 0;
  std::int32_t SuiteLink = 0;
  std::string FailoverExpression;
  std::string FailoverDeadband;
  std::string DFOFlag;
  std::string FBDFlag;
  std::string FailbackDeadband;

  friend bool operator==(const SecondarySource_T&, const SecondarySource_T&) = default;
};

// One access name: one source definition of DDE.CFG. A record belongs to exactly one set,
// which owns its points and its secondary source through the record.
struct AccName_T {
  std::string SourceName;  // the key of the set, compared without regard to case
  std::string TopicName;
  std::string MasterServer;   // the node part of "Application Name"
  std::string StandbyServer;  // from the project only; never written to DDE.CFG
  std::string ApplicationName;
  // An "Application Name" value read from DDE.CFG that names a node and no application
  // ("\\NODE1"), kept as read so that it is written back as it stands; empty otherwise, and
  // cleared once a merge or the placeholder fix-up sets MasterServer and ApplicationName.
  std::string UnsplitApplicationValue;
  std::int32_t DDESourceID = 0;
  std::int32_t RequestInitialData = 0;
  std::int32_t AlwaysAdvise = 0;
  std::int32_t SuiteLink = 0;
  std::unique_ptr<DDEPoints> Points;             // null until the first point is added
  std::unique_ptr<SecondarySource_T> Secondary;  // null unless the file defined one
};

// One access-name row of the project. Discovery has refused rows whose AccessName,
// MasterServerComputerName or ServerApplication is empty; Topic and StandbyServerComputerName
// may be empty. The merge may set Topic to its default.
struct ProjAccName_T {
  std::string AccessName;
  std::string Topic;
  std::string MasterServerComputerName;
  std::string StandbyServerComputerName;
  std::string ServerApplication;
};

}  // namespace quellor

#include <gtest/gtest.h>

#include "platform/dispatch/dispatch_wire.h"
#include "platform/dispatch/remote_dispatch.h"
#include "testing/background_process.h"
#include "testing/temp_dir.h"

namespace quellor::dispatch {
namespace {

TEST(DispatchWire, RequestsAndRepliesRoundTrip) {
  const InvokeRequest invoke{4, {Argument(std::int16_t{-1}), Argument(u"ERROR - \u00B0C")}};
  const auto decoded = DecodeRequest(EncodeRequest(invoke));
  ASSERT_TRUE(decoded.has_value());
  const auto& back = std::get<InvokeRequest>(*decoded);
  EXPECT_EQ(back.id, 4);
  EXPECT_EQ(back.arguments, invoke.arguments);

  const auto look_up = DecodeRequest(EncodeRequest(LookUpRequest{u"ReportMsg"}));
  ASSERT_TRUE(look_up.has_value());
  EXPECT_EQ(std::get<LookUpRequest>(*look_up).name, u"ReportMsg");

  const auto reply = DecodeReply(EncodeReply({kMemberNotFound, 7}));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->result, kMemberNotFound);
  EXPECT_EQ(reply->value, 7);
}

TEST(DispatchWire, RefusesEveryTruncationAndForeignBytes) {
  const auto whole = EncodeRequest(InvokeRequest{2, {Argument(std::int16_t{1}), Argument(u"x")}});
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    EXPECT_FALSE(DecodeRequest(std::span(whole).first(cut)).has_value()) << cut;
  }
  auto trailing = whole;
  trailing.push_back(0);
  EXPECT_FALSE(DecodeRequest(trailing).has_value());
  EXPECT_FALSE(DecodeRequest(std::vector<std::uint8_t>{9}).has_value());
  // An argument of a type the build window never receives (VT_I4).
  EXPECT_FALSE(
      DecodeRequest(std::vector<std::uint8_t>{2, 1, 0, 0, 0, 1, 0, 3, 0, 0, 0, 0, 0}).has_value());
  // A text whose length runs past the frame.
  EXPECT_FALSE(DecodeRequest(std::vector<std::uint8_t>{1, 0xFF, 0xFF, 0xFF, 0xFF}).has_value());
  EXPECT_FALSE(DecodeReply(std::vector<std::uint8_t>{0, 0, 0}).has_value());
}

TEST(RemoteDispatch, ConnectingWhereNobodyListensFails) {
  testing::TempDir dir;
  EXPECT_FALSE(RemoteDispatch::Connect(dir.Join("none.sock")).ok());
}

TEST(Buildwin, PrintsOneLinePerCallAndEndsWithTheBuild) {
  testing::TempDir dir;
  const std::string socket_path = dir.Join("bw");
  testing::BackgroundProcess window(testing::BinaryPath("buildwin"), {socket_path});
  ASSERT_EQ(window.ReadErrorLine(), "buildwin: listening on " + socket_path);
  {
    auto remote = RemoteDispatch::Connect(socket_path);
    ASSERT_TRUE(remote.ok()) << remote.status().ToString();
    std::int32_t begin = 0, warning = 0, end = 0, unknown = 0;
    EXPECT_EQ(remote->GetIdOfName(u"BeginFile", &begin), 0);
    EXPECT_EQ(remote->GetIdOfName(u"reportwarning", &warning), 0);
    EXPECT_EQ(remote->GetIdOfName(u"EndFile", &end), 0);
    EXPECT_EQ(remote->GetIdOfName(u"Shutdown", &unknown), kMemberNotFound);
    const Argument name[] = {Argument(u"C:\\PROJ")};
    EXPECT_EQ(remote->Invoke(begin, name), 0);
    // Automation order: the flag (the last argument) first.
    const Argument warn[] = {Argument(std::int16_t{3}), Argument(u"WARNING - 5 \u00B0C")};
    EXPECT_EQ(remote->Invoke(warning, warn), 0);
    EXPECT_EQ(remote->Invoke(99, {}), kMemberNotFound);
    EXPECT_EQ(remote->Invoke(end, {}), 0);
  }
  const testing::RunResult result = window.Wait();
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "BeginFile\tC:\\PROJ\nReportWarning\t3\tWARNING - 5 \u00B0C\nEndFile\n");
}

}  // namespace
}  // namespace quellor::dispatch

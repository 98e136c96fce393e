#include "maintenance/handler_timing.h"

#include <gmock/gmock.h>

#include <map>

namespace orvane {
namespace {

using ::testing::ElementsAre;

// Answers each helper run from a table by class id, and remembers what it was asked.
class TFakeRunner : public IProcessRunner {
public:
  std::map<std::string, TProcessResult> Answers;
  std::vector<std::string> Programs;
  std::vector<std::string> Arguments;

  TProcessResult Run(const std::string& program, const std::string& arguments,
                     std::uint32_t) override {
    Programs.push_back(program);
    Arguments.push_back(arguments);
    return Answers.at(arguments.substr(0, arguments.find(' ')));
  }
};

TProcessResult Exited(std::uint32_t code, std::string output) {
  return {TProcessResult::TEnd::Exited, code, std::move(output)};
}

const THandlerProbes kProbes{"C:\\Orvane\\HandlerProbe.exe", "C:\\Orvane\\x64\\HandlerProbe.exe",
                             2000};

TEST(HandlerTiming, EachWayAHelperEndsBecomesItsState) {
  TFakeRunner runner;
  runner.Answers = {
      {"{fast}", Exited(0, "created 1500\r\ninitialized 200\r\nqueried 2500 3\r\n")},
      {"{crash}", Exited(0xC0000005, "created 900\r\ninitialized 100\r\n")},
      {"{hang}", {TProcessResult::TEnd::TimedOut, 0, "created 700\n"}},
      {"{refuses}", Exited(3, "failed create 0x80040154\n")},
      {"{silent}", Exited(0, "")},
      {"{nostart}", {TProcessResult::TEnd::NotStarted, 0, "The file was not found"}},
  };
  struct TCase {
    const char* ClassId;
    TTimingState State;
    const char* Detail;
    const char* Column;
    const char* Details;
  } cases[] = {
      {"{fast}", TTimingState::Measured, "", "4.0 ms",
       "4.0 ms (created in 1.5 ms, items added in 2.5 ms)"},
      {"{crash}", TTimingState::Crashed, "0xC0000005", "crashed",
       "Crashed the helper program (0xC0000005)"},
      {"{hang}", TTimingState::TimedOut, "", "hangs", "Did not answer in time (created in 0.7 ms)"},
      {"{refuses}", TTimingState::Failed, "create failed (0x80040154)", "failed",
       "Not measured: create failed (0x80040154)"},
      {"{silent}", TTimingState::Failed, "no report from the helper", "failed",
       "Not measured: no report from the helper"},
      {"{nostart}", TTimingState::Failed, "The file was not found", "failed",
       "Not measured: The file was not found"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.ClassId);
    const THandlerTiming timing = MeasureHandler({c.ClassId, true, "C:\\s.txt"}, runner, kProbes);
    EXPECT_EQ(timing.State, c.State);
    EXPECT_EQ(timing.Detail, c.Detail);
    EXPECT_EQ(TimingText(timing), c.Column);
    EXPECT_EQ(TimingDetails(timing), c.Details);
  }
  const THandlerTiming fast = MeasureHandler({"{fast}", true, "C:\\s.txt"}, runner, kProbes);
  EXPECT_DOUBLE_EQ(*fast.CreateMs, 1.5);
  EXPECT_DOUBLE_EQ(*fast.QueryMs, 2.5);
  EXPECT_DOUBLE_EQ(fast.TotalMs(), 4.0);
  // A hang keeps the steps it got past: here, creation.
  const THandlerTiming hang = MeasureHandler({"{hang}", true, "C:\\s.txt"}, runner, kProbes);
  EXPECT_DOUBLE_EQ(*hang.CreateMs, 0.7);
  EXPECT_FALSE(hang.QueryMs);
}

TEST(HandlerTiming, TheHelperOfTheHandlersBitnessGetsAQuotedSample) {
  TFakeRunner runner;
  runner.Answers = {{"{a}", Exited(0, "queried 1 0")}};
  MeasureHandler({"{a}", false, "C:\\My Files\\a \"b\".txt"}, runner, kProbes);
  MeasureHandler({"{a}", true, "C:\\x.txt"}, runner, kProbes);
  // A drive's root: its backslash must not escape the closing quote.
  MeasureHandler({"{a}", true, "C:\\"}, runner, kProbes);
  EXPECT_THAT(runner.Programs, ElementsAre(kProbes.Probe32, kProbes.Probe64, kProbes.Probe64));
  EXPECT_THAT(runner.Arguments,
              ElementsAre("{a} \"C:\\My Files\\a b.txt\"", "{a} \"C:\\x.txt\"",
                          "{a} \"C:\\\\\""));
  // Without a 64-bit helper a 64-bit handler is not run at all.
  const THandlerTiming none = MeasureHandler({"{a}", true, "x"}, runner, {"p32", "", 10});
  EXPECT_EQ(none.State, TTimingState::Failed);
  EXPECT_EQ(runner.Programs.size(), 3u);
}

TEST(HandlerTiming, SlowestFirstPutsCrashesAndHangsOnTopAndFailuresLast) {
  std::vector<THandlerTiming> timings(5);
  timings[0].State = TTimingState::Measured;
  timings[0].CreateMs = 1;
  timings[0].QueryMs = 2;
  timings[1].State = TTimingState::Failed;
  timings[2].State = TTimingState::Measured;
  timings[2].CreateMs = 40;
  timings[2].QueryMs = 300;
  timings[3].State = TTimingState::TimedOut;
  timings[4].State = TTimingState::Crashed;
  EXPECT_THAT(SlowestFirst(timings), ElementsAre(3u, 4u, 2u, 0u, 1u));
}

TEST(HandlerTiming, ARunStopsWhenProgressSaysSo) {
  TFakeRunner runner;
  runner.Answers = {{"{a}", Exited(0, "queried 1 0")}};
  std::vector<THandlerToMeasure> entries(3, THandlerToMeasure{"{a}", true, "x"});
  std::vector<std::size_t> heard;
  const auto timings = MeasureHandlers(entries, runner, kProbes, [&](std::size_t done, std::size_t total) {
    heard.push_back(done * 10 + total);
    return done < 2;
  });
  EXPECT_EQ(timings.size(), 2u);
  EXPECT_THAT(heard, ElementsAre(13u, 23u));
}

}  // namespace
}  // namespace orvane

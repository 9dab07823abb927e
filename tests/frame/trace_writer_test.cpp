// The trace writer's rules the recorded games do not reach: numbers that are not whole or not
// finite, text to escape, scopes a game leaves open or closes twice.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/frame/trace_writer.h"

namespace zrb {
namespace {

TEST(TraceWriter, DoublesAreShortestRoundTripAndNonFiniteIsNull) {
  TraceWriter trace;
  trace.Double("third", 1.0 / 3.0);
  trace.Double("big", 1e300);
  trace.Double("whole", 16.0);
  trace.Double("nan", std::nan(""));
  trace.Double("inf", -std::numeric_limits<double>::infinity());
  trace.Fixed("fixed", 16.6666666, 3);
  trace.Fixed("fixedInf", std::numeric_limits<double>::infinity(), 3);
  EXPECT_EQ(trace.Finish(),
            "{\"third\":0.3333333333333333,\"big\":1e+300,\"whole\":16,\"nan\":null,"
            "\"inf\":null,\"fixed\":16.667,\"fixedInf\":null}");
}

TEST(TraceWriter, TextIsEscaped) {
  EXPECT_EQ(JsonQuoted("a\"b\\c\nd\te\x01"), "\"a\\\"b\\\\c\\nd\\u0009e\\u0001\"");
  EXPECT_EQ(JsonQuoted("\xE4"), "\"\\u00e4\"");
  EXPECT_EQ(JsonQuoted(""), "\"\"");
  TraceWriter trace;
  trace.String("na\"me", "v");
  EXPECT_EQ(trace.Finish(), "{\"na\\\"me\":\"v\"}");
}

TEST(TraceWriter, UnbalancedScopesStillGiveAWholeObject) {
  TraceWriter trace;
  trace.EndObject();  // one too many: ignored
  trace.EndArray();
  trace.BeginObject("a");
  trace.BeginArray("b");
  trace.Int("c", 1);
  trace.EndObject();  // wrong kind: ignored
  EXPECT_EQ(trace.Finish(), "{\"a\":{\"b\":[1]}}");
}

}  // namespace
}  // namespace zrb

#include "link/canformat/CandumpLog.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vcm {
namespace {

using Kind = CandumpLine::Kind;

struct LineCase {
    const char* line;
    Kind kind;
    std::int64_t timeUs;
    CanFrame frame;
};

TEST(CandumpLog, ReadsTheLinesCanUtilsWrites)
{
    const LineCase cases[] = {
        {"(0000000012.5) can1 7ea#1027", Kind::Frame, 12500000, {0x7EA, 2, {0x10, 0x27}}},
        {"(1700000000.100000) can0 520#", Kind::Frame, 1700000000100000, {0x520, 0, {}}},
        {"(1700000000.100000) can0 244#1122334455667788_C", Kind::Frame, 1700000000100000,
         {0x244, 8, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}}},
        {"(1700000000.100000) can0 3CA#0102 R\r", Kind::Frame, 1700000000100000, {0x3CA, 2, {1, 2}}},
        {"  ", Kind::Blank, 0, {}},
        {"# recorded on the test bench", Kind::Blank, 0, {}},
        {"(1700000000.2) can0 18DAF110#0210C0", Kind::Skipped, 1700000000200000, {}},
        {"(1700000000.3) can0 7DF#R", Kind::Skipped, 1700000000300000, {}},
        {"(1700000000.3) can0 7DF#R8", Kind::Skipped, 1700000000300000, {}},
        {"(1700000000.4) can0 20000080#0000000000000000", Kind::Skipped, 1700000000400000, {}},
        {"(1700000000.5) can0 123##1112233", Kind::Skipped, 1700000000500000, {}},
        {"(1700000000.6) can0 123###0A0B0C", Kind::Skipped, 1700000000600000, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CandumpLine r = parseCandumpLine(c.line);
        ASSERT_EQ(r.kind, c.kind) << r.reason;
        EXPECT_EQ(r.timeUs, c.timeUs);
        EXPECT_EQ(r.frame, c.frame);
        EXPECT_EQ(r.reason.empty(), c.kind != Kind::Skipped) << "only a skipped line says why";
    }
    for (const char* bad : {"1700000000.1 can0 3CA#00", "(1700000000.1 can0 3CA#00", "(17000x0000.1) can0 3CA#00",
                            "(1700000000.1) can0", "(1700000000.1) can0 3CA00", "(1700000000.1) can0 3CA#000",
                            "(1700000000.1) can0 3CA#000000000000000000", "(1700000000.1) can0 3CA#00ZZ",
                            "(1700000000.1) can0 800#00", "(1700000000.1) can0 3C#00",
                            "(1700000000.1) can0 3CA#0011_3"}) {
        const CandumpLine r = parseCandumpLine(bad);
        EXPECT_EQ(std::tuple(r.kind, r.reason.empty()), std::tuple(Kind::Malformed, false)) << bad;
    }
}

TEST(CandumpLog, WritesTheCanUtilsLineAndReadsItBack)
{
    const CanFrame f{0x03A, 3, {0x01, 0xAB, 0xF0}};
    std::string out;
    appendCandumpLine(out, 1700000000123456, "can0", f);
    appendCandumpLine(out, 5000007, "vcan0", CanFrame{0x7FF, 0, {}});
    EXPECT_EQ(out, "(1700000000.123456) can0 03A#01ABF0\n"
                   "(0000000005.000007) vcan0 7FF#\n");

    // The line read keeps pointing into out (its interface name is a view of it).
    const CandumpLine back = parseCandumpLine(std::string_view(out).substr(0, out.find('\n')));
    EXPECT_EQ(std::tuple(back.kind, back.timeUs, back.interface), std::tuple(Kind::Frame, 1700000000123456, "can0"));
    EXPECT_EQ(back.frame, f);
}

} // namespace
} // namespace vcm

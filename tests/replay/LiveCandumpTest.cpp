// candump -L text arriving live, cut anywhere, turned into each adapter's monitor text.
// (The device name that carries it to the ports: HeadlessLiveCandump.)
#include "sources/replay/LiveCandump.h"

#include <gtest/gtest.h>

namespace vcm {
namespace {

constexpr std::string_view kInput = "(1700000000.123456) can0 3CA#0000120000\n"
                                    "(1700000000.123800) can0 18DAF110#0210C0\n" // extended: not this bus
                                    "# a comment\n"
                                    "not candump text\n"
                                    "(1700000000.124000) can0 0B4#000000000013885C\r\n"
                                    "(1700000000.124100) can0 52C#0064"; // the last line has no line end yet

TEST(LiveCandump, FramesBecomeTheAdapterTextWhereverTheInputIsCut)
{
    const struct {
        AdapterForm form;
        std::string frames, last;
    } cases[] = {
        {AdapterForm::Elm327, "3CA 00 00 12 00 00\r\n0B4 00 00 00 00 00 13 88 5C\r\n", "52C 00 64\r\n"},
        {AdapterForm::CanUsb, "t3CA50000120000\rt0B48000000000013885C\r", "t52C20064\r"},
    };
    for (const auto& c : cases) {
        for (std::size_t cut = 0; cut <= kInput.size(); ++cut) {
            CandumpFeed feed(c.form);
            std::string out;
            feed.take(kInput.substr(0, cut), out);
            feed.take(kInput.substr(cut), out);
            ASSERT_EQ(out, c.frames) << cut;
            feed.finish(out); // the end of input takes the unterminated line
            EXPECT_EQ(out, c.frames + c.last);
            EXPECT_EQ(feed.frames(), 3u);
            EXPECT_EQ(feed.linesSkipped(), 1u) << "only the line that is not candump text";
        }
    }
}

} // namespace
} // namespace vcm

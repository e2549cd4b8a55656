// GoogleMock works with the cached GoogleTest build: expectations, order and
// actions on a mocked interface.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LineSink {
public:
    virtual ~LineSink() = default;
    virtual bool Write(const std::string& line) = 0;
    virtual void Close() = 0;
};

class MockLineSink : public LineSink {
public:
    MOCK_METHOD(bool, Write, (const std::string& line), (override));
    MOCK_METHOD(void, Close, (), (override));
};

// Writes lines until one fails; always closes the sink. Returns lines written.
size_t WriteAll(LineSink& sink, const std::vector<std::string>& lines)
{
    size_t written = 0;
    for (const auto& line : lines) {
        if (!sink.Write(line)) break;
        ++written;
    }
    sink.Close();
    return written;
}

using ::testing::InSequence;
using ::testing::Return;

TEST(GoogleMock, CallsInOrderThenCloses)
{
    MockLineSink sink;
    {
        InSequence order;
        EXPECT_CALL(sink, Write("one")).WillOnce(Return(true));
        EXPECT_CALL(sink, Write("two")).WillOnce(Return(true));
        EXPECT_CALL(sink, Close()).Times(1);
    }
    EXPECT_EQ(WriteAll(sink, {"one", "two"}), 2u);
}

TEST(GoogleMock, StopsAtTheFirstFailureAndStillCloses)
{
    MockLineSink sink;
    EXPECT_CALL(sink, Write(::testing::_)).WillOnce(Return(true)).WillOnce(Return(false));
    EXPECT_CALL(sink, Close()).Times(1);
    EXPECT_EQ(WriteAll(sink, {"a", "b", "c"}), 1u);
}

} // namespace

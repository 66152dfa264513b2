#include "layoutpress/cli/cli_files.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testing/files/test_files.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using test_files::pattern;

// Inputs of every size read whole (a file of 0 bytes is read rather than mapped); result
// buffers of every size hold what is written and move whole.
TEST(CliFiles, InputsAndResultBuffersOfEverySize) {
    test_files::TempFolder folder("layoutpress-cli-");
    for (size_t size : {size_t(0), size_t(1), size_t(65537), (size_t(3) << 20) + 3}) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        const test_files::Bytes bytes = pattern(size);
        test_files::write_all(folder.file("in.bin"), bytes);
        InputBytes input;
        std::string error;
        ASSERT_TRUE(read_whole_input(folder.file("in.bin"), input, &error)) << error;
        ASSERT_EQ(input.size(), size);
        EXPECT_TRUE(size == 0 || std::memcmp(input.data(), bytes.data(), size) == 0);

        RawBytes buffer(size);
        ASSERT_NE(buffer.data(), nullptr);
        std::memset(buffer.data(), 0x5A, size);
        RawBytes moved(std::move(buffer));
        RawBytes assigned;
        assigned = std::move(moved);
        EXPECT_EQ(assigned.capacity, size);
        EXPECT_TRUE(size == 0 || (assigned.data()[0] == 0x5A && assigned.data()[size - 1] == 0x5A));
    }
}

// A CR that ends the text keeps its place even when an LF lies past the end.
TEST(CliFiles, LineEndsChangeOnlyInPairs) {
    char text[] = "a\r\nb\rc\r\n";
    ASSERT_EQ(crlf_to_line_feeds(text, 7), 6u);
    EXPECT_EQ(std::string(text, 6), "a\nb\rc\r");
    const std::string lf = "a\nb\r\n\n";
    const std::vector<uint8_t> crlf =
        line_feeds_to_crlf(reinterpret_cast<const uint8_t*>(lf.data()), lf.size());
    EXPECT_EQ(std::string(crlf.begin(), crlf.end()), "a\r\nb\r\n\r\n");
}

#ifndef _WIN32
// Another program shortens the input while it is read: a message and exit code 2, no crash.
TEST(CliFiles, AnInputShortenedWhileItIsReadEndsTheCommandWithAMessage) {
    test_files::TempFolder folder("layoutpress-cli-");
    const std::string path = folder.file("shrinking.txt");
    test_files::write_all(path, pattern(size_t(1) << 20));
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            InputBytes input;
            std::string error;
            if (read_whole_input(path, input, &error) && truncate(path.c_str(), 0) == 0) {
                volatile uint8_t last = input.data()[input.size() - 1];
                (void)last;
            }
            std::_Exit(0); // the file was not mapped: nothing to see
        },
        ::testing::ExitedWithCode(2), "the file was shortened while it was read");
}
#endif

} // namespace
